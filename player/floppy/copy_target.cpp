#include "copy_target.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace floppy {

namespace {

fs::path Host(const std::string& path)
{
    return fs::path(HostPath(path.c_str()));
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(Host(path), ec);
}

}  // namespace

std::string NextNumberedPath(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        dot = path.size();
    size_t digits = dot;
    while (digits > nameStart && path[digits - 1] >= '0' && path[digits - 1] <= '9')
        --digits;
    const std::string head = path.substr(0, digits), tail = path.substr(dot);
    if (digits == dot)
        return head + "1" + tail;
    std::string number = path.substr(digits, dot - digits);
    // Decimal increment of the text, so any width works.
    size_t i = number.size();
    while (i > 0 && number[i - 1] == '9')
        number[--i] = '0';
    if (i == 0)
        number.insert(number.begin(), '1');
    else
        ++number[i - 1];
    return head + number + tail;
}

// ---- a folder of the host --------------------------------------------------

FolderCopyTarget::FolderCopyTarget(std::string folder) : folder_(std::move(folder)) {}

std::string FolderCopyTarget::Name() const
{
    std::string name = folder_;
    while (name.size() > 1 && (name.back() == '\\' || name.back() == '/'))
        name.pop_back();
    return name;
}

bool FolderCopyTarget::IsPresent()
{
    std::error_code ec;
    return fs::is_directory(Host(folder_), ec);
}

bool FolderCopyTarget::IsBlank()
{
    std::error_code ec;
    fs::directory_iterator it(Host(folder_), ec);
    return !ec && it == fs::directory_iterator();
}

bool FolderCopyTarget::Erase()
{
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(Host(folder_), ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code kind;
        if (!it->is_directory(kind))
            files.push_back(it->path());
    }
    if (ec)
        return false;
    for (const fs::path& file : files) {
        if (!fs::remove(file, ec))
            return false;
    }
    return true;
}

uint64_t FolderCopyTarget::FreeBytes()
{
    std::error_code ec;
    const fs::space_info space = fs::space(Host(folder_), ec);
    return ec ? 0 : space.available;
}

TargetWrite FolderCopyTarget::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = Name() + "\\" + name;
    // The new file is written whole beside the old one, so it must fit
    // beside it. When the host cannot tell, the write itself finds out.
    std::error_code ec;
    const fs::space_info space = fs::space(Host(folder_), ec);
    if (!ec && bytes.size() > space.available)
        return TargetWrite::DiskFull;
    errno = 0;
    if (WriteFileImage(path.c_str(), bytes.data(), bytes.size()) == FileResult::Ok)
        return TargetWrite::Written;
    return errno == ENOSPC ? TargetWrite::DiskFull : TargetWrite::Failed;
}

// ---- a floppy image file ---------------------------------------------------

ImageCopyTarget::ImageCopyTarget(std::string path, size_t blankSize)
    : path_(std::move(path)), blankSize_(IsFloppyImageSize(blankSize) ? blankSize : kImage720)
{
}

std::string ImageCopyTarget::Name() const
{
    const size_t slash = path_.find_last_of("\\/");
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

bool ImageCopyTarget::IsPresent()
{
    if (loaded_)
        return true;
    if (!Exists(path_)) {
        image_ = FloppyImage::Blank(blankSize_, uint32_t(std::time(nullptr)));
        if (image_.Save(path_) != ImageError::Ok)
            return false;
    } else if (image_.Open(path_) == ImageError::OpenFailed) {
        return false;
    }
    problem_ = image_.IsClean() ? std::string() : "damaged image: " + image_.Damage();
    loaded_ = true;
    return true;
}

bool ImageCopyTarget::Usable()
{
    return IsPresent() && image_.IsClean();
}

bool ImageCopyTarget::IsBlank()
{
    std::vector<ImageEntry> entries;
    return IsPresent() && image_.List("", &entries) == ImageError::Ok && entries.empty();
}

bool ImageCopyTarget::Erase()
{
    std::vector<ImageEntry> entries;
    if (!Usable() || image_.List("", &entries) != ImageError::Ok)
        return false;
    for (const ImageEntry& e : entries) {
        if (e.isFolder)
            continue;
        if (image_.Delete(e.shortName) != ImageError::Ok)
            return false;
        dirty_ = true;
    }
    return true;
}

uint64_t ImageCopyTarget::FreeBytes()
{
    return Usable() ? image_.FreeBytes() : 0;
}

TargetWrite ImageCopyTarget::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    if (!Usable())
        return TargetWrite::Failed;
    switch (image_.WriteFile(name, bytes.data(), bytes.size())) {
    case ImageError::Ok:
        dirty_ = true;
        return TargetWrite::Written;
    case ImageError::DiskFull:
    case ImageError::RootFull:
        return TargetWrite::DiskFull;
    default:
        return TargetWrite::Failed;
    }
}

bool ImageCopyTarget::ReplaceDisk()
{
    if (!Commit())
        return false;
    std::string next = NextNumberedPath(path_);
    for (int tries = 0; Exists(next) && tries < 10000; ++tries)
        next = NextNumberedPath(next);
    if (Exists(next))
        return false;
    FloppyImage blank = FloppyImage::Blank(blankSize_, uint32_t(std::time(nullptr)));
    if (blank.Save(next) != ImageError::Ok)
        return false;
    path_ = next;
    image_ = std::move(blank);
    loaded_ = true;
    dirty_ = false;
    problem_.clear();
    return true;
}

bool ImageCopyTarget::Commit()
{
    if (!dirty_)
        return true;
    if (image_.Save(path_) != ImageError::Ok)
        return false;
    dirty_ = false;
    return true;
}

}  // namespace floppy
