#include "image_paths.h"

#include <filesystem>
#include <system_error>

#include "batch_host.h"
#include "fat_names.h"

namespace fs = std::filesystem;

namespace floppy {

namespace {

bool IsHostFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(HostPath(path.c_str())), ec);
}

std::unique_ptr<eseq::BatchListing> ListFolder(const FloppyImage& image, const std::string& inner)
{
    std::vector<ImageEntry> entries;
    if (image.List(inner, &entries) != ImageError::Ok)
        return nullptr;
    std::vector<eseq::BatchListing::Entry> listed;
    for (const ImageEntry& e : entries)
        listed.push_back({e.name, e.isFolder, !e.isFolder});
    return std::make_unique<eseq::SortedListing>(std::move(listed));
}

}  // namespace

bool HasImageExtension(const std::string& path)
{
    if (path.size() < 4)
        return false;
    const std::string ext = path.substr(path.size() - 4);
    return SameName(ext, ".IMG") || SameName(ext, ".IMA");
}

bool SplitImagePath(const std::string& path, std::string* image, std::string* inner)
{
    for (size_t end = 0; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '\\' && path[end] != '/')
            continue;
        const std::string head = path.substr(0, end);
        if (HasImageExtension(head) && IsHostFile(head)) {
            *image = head;
            *inner = end < path.size() ? path.substr(end + 1) : std::string();
            return true;
        }
    }
    return false;
}

bool ReadThroughImage(const std::string& path, std::vector<uint8_t>* out)
{
    std::string image, inner;
    if (!SplitImagePath(path, &image, &inner))
        return ReadFileImage(path.c_str(), out) == FileResult::Ok;
    FloppyImage disk;
    if (disk.Open(image) == ImageError::OpenFailed)
        return false;
    return disk.ReadFile(inner, out) == ImageError::Ok;
}

bool CopyOutOfImage(const std::string& path, const std::string& target)
{
    std::string image, inner;
    if (!SplitImagePath(path, &image, &inner) || inner.empty())
        return false;
    std::vector<uint8_t> bytes;
    return ReadThroughImage(path, &bytes) &&
           WriteFileImage(target.c_str(), bytes.data(), bytes.size()) == FileResult::Ok;
}

bool ListThroughImage(const std::string& folder, std::unique_ptr<eseq::BatchListing>* listing)
{
    std::string image, inner;
    if (!SplitImagePath(folder, &image, &inner))
        return false;
    listing->reset();
    FloppyImage disk;
    if (disk.Open(image) != ImageError::OpenFailed)
        *listing = ListFolder(disk, inner);
    return true;
}

std::string HostFileOf(const std::string& path, const std::string& folder)
{
    std::string image, inner;
    if (!SplitImagePath(path, &image, &inner))
        return path;
    const size_t cut = inner.find_last_of("\\/");
    const std::string name = cut == std::string::npos ? inner : inner.substr(cut + 1);
    const char separator = folder.find('\\') != std::string::npos || folder.find('/') == std::string::npos ? '\\' : '/';
    std::string target = folder;
    if (!target.empty() && target.back() != '\\' && target.back() != '/')
        target += separator;
    target += name;
    return CopyOutOfImage(path, target) ? target : std::string();
}

const FloppyImage* ImageAwareFileSystem::Into(const std::string& path, std::string* inner)
{
    std::string image;
    if (!SplitImagePath(path, &image, inner))
        return nullptr;
    std::unique_ptr<FloppyImage>& slot = images_[image];
    if (!slot) {
        slot = std::make_unique<FloppyImage>();
        slot->Open(image);
    }
    return slot.get();
}

bool ImageAwareFileSystem::FolderExists(const std::string& path)
{
    std::string inner;
    if (const FloppyImage* image = Into(path, &inner)) {
        ImageEntry entry;
        return image->Find(inner, &entry) == ImageError::Ok && entry.isFolder;
    }
    return host_.FolderExists(path);
}

bool ImageAwareFileSystem::CreateFolder(const std::string& path)
{
    std::string inner;
    return !Into(path, &inner) && host_.CreateFolder(path);
}

bool ImageAwareFileSystem::RemoveFolder(const std::string& path)
{
    std::string inner;
    return !Into(path, &inner) && host_.RemoveFolder(path);
}

std::unique_ptr<eseq::BatchListing> ImageAwareFileSystem::List(const std::string& folder)
{
    std::string inner;
    const FloppyImage* image = Into(folder, &inner);
    return image ? ListFolder(*image, inner) : host_.List(folder);
}

bool ImageAwareFileSystem::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    std::string inner;
    const FloppyImage* image = Into(path, &inner);
    if (!image)
        return host_.Read(path, maxBytes, out);
    if (image->ReadFile(inner, out) != ImageError::Ok)
        return false;
    if (maxBytes != eseq::kReadWhole && out->size() > maxBytes)
        out->resize(maxBytes);
    return true;
}

eseq::CopyResult ImageAwareFileSystem::Write(const std::string& path, const std::vector<uint8_t>& bytes,
                                             bool overwrite)
{
    std::string inner;
    return Into(path, &inner) ? eseq::CopyResult::Failed : host_.Write(path, bytes, overwrite);
}

eseq::CopyResult ImageAwareFileSystem::Copy(const std::string& from, const std::string& to, bool overwrite)
{
    std::vector<uint8_t> bytes;
    if (!Read(from, eseq::kReadWhole, &bytes))
        return eseq::CopyResult::Failed;
    return Write(to, bytes, overwrite);
}

bool ImageAwareFileSystem::Delete(const std::string& path)
{
    std::string inner;
    return !Into(path, &inner) && host_.Delete(path);
}

std::vector<std::string> ImageAwareFileSystem::Problems() const
{
    std::vector<std::string> problems;
    for (const auto& [path, image] : images_) {
        if (!image->IsClean())
            problems.push_back(path + ": damaged image: " + image->Damage());
    }
    return problems;
}

}  // namespace floppy
