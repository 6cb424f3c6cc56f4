// The copy target setting and the target it makes.
#include "copy_target_setting.h"

#include <cctype>

#include "playlist_row.h"

namespace playlist {

const char kCopyTargetValue[] = "CopyTarget";
const char kCopyImageSizeValue[] = "CopyImageSize";

CopyTargetSetting NormalisedCopyTarget(const std::string& target, uint32_t imageKb)
{
    CopyTargetSetting s;
    s.target = TrimBlanks(target);
    if (s.target.empty())
        s.target = "A:";
    if (s.target.size() == 1 && std::isalpha(static_cast<unsigned char>(s.target[0])))
        s.target += ':';
    if (s.target.size() == 3 && s.target[1] == ':' && (s.target[2] == '\\' || s.target[2] == '/'))
        s.target.resize(2);  // "E:\" is the drive "E:"
    if (s.target.size() == 2 && s.target[1] == ':')
        s.target[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s.target[0])));
    s.imageKb = imageKb == 1440 ? 1440 : 720;
    return s;
}

bool IsImageTarget(const std::string& target)
{
    const std::string ext = ExtensionOf(target);
    return SameTextNoCase(ext, "IMG") || SameTextNoCase(ext, "IMA");
}

std::unique_ptr<floppy::CopyTarget> MakeCopyTarget(const CopyTargetSetting& setting)
{
    const CopyTargetSetting s = NormalisedCopyTarget(setting.target, setting.imageKb);
    if (IsImageTarget(s.target))
        return std::make_unique<floppy::ImageCopyTarget>(s.target, s.imageKb == 1440 ? floppy::kImage1440
                                                                                      : floppy::kImage720);
    // A drive is written in its root.
    return std::make_unique<floppy::FolderCopyTarget>(s.target.size() == 2 ? s.target + "\\" : s.target);
}

}  // namespace playlist
