#include "copy_target_choice.h"

#include "image_paths.h"

namespace floppy {

const char kCopyTargetValue[] = "CopyTarget";
const char kCopyImageSizeValue[] = "CopyImageSize";

namespace {

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "a", "a:", "A:\" or "A:/": a drive's root.
bool IsDriveText(const std::string& text)
{
    if (text.empty() || !IsLetter(text[0]) || text.size() > 3)
        return false;
    if (text.size() == 1)
        return true;
    return text[1] == ':' && (text.size() == 2 || text[2] == '\\' || text[2] == '/');
}

}  // namespace

TargetKind CopyTargetChoice::Kind() const
{
    if (IsDriveText(where))
        return TargetKind::Drive;
    return HasImageExtension(where) ? TargetKind::Image : TargetKind::Folder;
}

bool ParseTargetText(const std::string& typed, std::string* where)
{
    const size_t first = typed.find_first_not_of(" \t\"");
    if (first == std::string::npos)
        return false;
    const size_t last = typed.find_last_not_of(" \t\"");
    std::string text = typed.substr(first, last - first + 1);
    if (IsDriveText(text)) {
        const char letter = static_cast<char>(text[0] >= 'a' ? text[0] - 'a' + 'A' : text[0]);
        text = std::string(1, letter) + ":";
    }
    *where = text;
    return true;
}

CopyTargetChoice ChoiceFromStored(const std::string& where, uint32_t sizeKb)
{
    CopyTargetChoice choice;
    std::string tidy;
    if (ParseTargetText(where, &tidy))
        choice.where = tidy;
    choice.blankSize = sizeKb == 1440 ? kImage1440 : kImage720;
    return choice;
}

std::unique_ptr<CopyTarget> MakeCopyTarget(const CopyTargetChoice& choice)
{
    switch (choice.Kind()) {
    case TargetKind::Drive:
        return std::make_unique<FolderCopyTarget>(choice.where.substr(0, 2) + "\\");
    case TargetKind::Image:
        return std::make_unique<ImageCopyTarget>(choice.where, choice.blankSize);
    case TargetKind::Folder:
        break;
    }
    return std::make_unique<FolderCopyTarget>(choice.where);
}

}  // namespace floppy
