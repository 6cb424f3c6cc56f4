// The setting that says where the copy commands write: a drive ("A:", the
// default), a floppy image file that a USB floppy emulator reads, or any
// other folder. A missing image is made blank at 720 KB unless 1.44 MB is
// chosen. Stored as two values: the place as text and the blank size in KB.
#ifndef ZUB_FLOPPY_COPY_TARGET_CHOICE_H
#define ZUB_FLOPPY_COPY_TARGET_CHOICE_H

#include <cstdint>
#include <memory>
#include <string>

#include "copy_target.h"

namespace floppy {

// The names of the stored values.
extern const char kCopyTargetValue[];     // "CopyTarget": "A:" or a path
extern const char kCopyImageSizeValue[];  // "CopyImageSize": 720 or 1440

enum class TargetKind { Drive, Image, Folder };

struct CopyTargetChoice {
    std::string where = "A:";
    size_t blankSize = kImage720;

    TargetKind Kind() const;
    // The stored blank size: 720 or 1440.
    uint32_t SizeKb() const { return blankSize == kImage1440 ? 1440 : 720; }
};

// What the user typed, tidied: blanks and quotes trimmed, a drive written
// "A:" ("a", "a:", "A:\" alike). False when nothing is left.
bool ParseTargetText(const std::string& typed, std::string* where);

// The choice from the stored values; anything unusable gives the default
// ("A:"; 720 KB unless 1440 is stored).
CopyTargetChoice ChoiceFromStored(const std::string& where, uint32_t sizeKb);

// Reads and writes the two values through a settings store (anything with
// ReadString/ReadNumber/WriteString/WriteNumber by name).
template <class Store>
CopyTargetChoice LoadCopyTargetChoice(Store& store)
{
    std::string where;
    uint32_t sizeKb = 720;
    store.ReadString(kCopyTargetValue, where);
    store.ReadNumber(kCopyImageSizeValue, sizeKb);
    return ChoiceFromStored(where, sizeKb);
}

template <class Store>
bool SaveCopyTargetChoice(Store& store, const CopyTargetChoice& choice)
{
    const bool where = store.WriteString(kCopyTargetValue, choice.where);
    return store.WriteNumber(kCopyImageSizeValue, choice.SizeKb()) && where;
}

// The target the copy commands talk to.
std::unique_ptr<CopyTarget> MakeCopyTarget(const CopyTargetChoice& choice);

}  // namespace floppy

#endif
