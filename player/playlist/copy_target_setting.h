// Where the copy commands write: the "CopyTarget" setting. A drive letter
// ("A:", the default, for machines with a floppy drive), any folder (a
// mapped drive, a USB stick), or a floppy image file (".IMG" / ".IMA") that
// a USB floppy emulator reads; a missing image is made blank at the size
// of "CopyImageSize" (720 or 1440 KB, 720 by default) when a copy starts.
// The copy commands only see the floppy::CopyTarget this makes.
#ifndef ZUB_PLAYLIST_COPY_TARGET_SETTING_H
#define ZUB_PLAYLIST_COPY_TARGET_SETTING_H

#include <cstdint>
#include <memory>
#include <string>

#include "copy_target.h"

namespace playlist {

extern const char kCopyTargetValue[];     // "CopyTarget"
extern const char kCopyImageSizeValue[];  // "CopyImageSize"

struct CopyTargetSetting {
    std::string target = "A:";
    uint32_t imageKb = 720;  // 720 or 1440
};

// A stored text and number made sane: blanks trimmed, an empty target is
// "A:", a bare letter is its drive, any size but 1440 is 720.
CopyTargetSetting NormalisedCopyTarget(const std::string& target, uint32_t imageKb);
bool IsImageTarget(const std::string& target);
std::unique_ptr<floppy::CopyTarget> MakeCopyTarget(const CopyTargetSetting& setting);

}  // namespace playlist

#endif
