#include "image_files.h"

#include "image_paths.h"

namespace playlist {

namespace {

bool SameStamp(const FileFacts& a, const FileFacts& b)
{
    const FileTime& x = a.written;
    const FileTime& y = b.written;
    return a.size == b.size && x.year == y.year && x.month == y.month && x.day == y.day && x.hour == y.hour &&
           x.minute == y.minute && x.second == y.second;
}

FileTime FromFat(uint16_t date, uint16_t time)
{
    return FileTime{1980 + (date >> 9), (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63, (time & 31) * 2};
}

}  // namespace

bool IsImageName(const std::string& name)
{
    return floppy::HasImageExtension(name);
}

floppy::FloppyImage* ImagePlaylistFiles::Into(const std::string& path, std::string* inner, std::string* imagePath)
{
    std::string image;
    if (!floppy::SplitImagePath(path, &image, inner))
        return nullptr;
    if (imagePath)
        *imagePath = image;
    FileFacts stamp;
    if (!HostPlaylistFiles::Facts(image, &stamp)) {
        images_.erase(image);
        return nullptr;
    }
    auto found = images_.find(image);
    if (found != images_.end() && SameStamp(found->second.stamp, stamp))
        return &found->second.image;
    // Read whole, so no file stays open and the image can be replaced.
    std::vector<uint8_t> bytes;
    if (HostPlaylistFiles::Read(image, kReadWhole, &bytes) != FileResult::Ok) {
        images_.erase(image);
        return nullptr;
    }
    Loaded& loaded = images_[image];
    loaded.image.Load(std::move(bytes));
    loaded.stamp = stamp;
    return &loaded.image;
}

const floppy::FloppyImage* ImagePlaylistFiles::ImageOf(const std::string& path, std::string* inner,
                                                        std::string* imagePath)
{
    return Into(path, inner, imagePath);
}

FileResult ImagePlaylistFiles::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    std::string inner;
    const floppy::FloppyImage* image = Into(path, &inner, nullptr);
    if (!image || inner.empty())
        return HostPlaylistFiles::Read(path, maxBytes, out);
    if (image->ReadFile(inner, out) != floppy::ImageError::Ok)
        return FileResult::OpenFailed;
    if (maxBytes != kReadWhole && out->size() > maxBytes)
        out->resize(maxBytes);
    return FileResult::Ok;
}

bool ImagePlaylistFiles::Facts(const std::string& path, FileFacts* facts)
{
    std::string inner;
    const floppy::FloppyImage* image = Into(path, &inner, nullptr);
    if (!image || inner.empty())
        return HostPlaylistFiles::Facts(path, facts);
    floppy::ImageEntry entry;
    if (image->Find(inner, &entry) != floppy::ImageError::Ok || entry.isFolder)
        return false;
    facts->size = entry.size;
    facts->written = FromFat(entry.date, entry.time);
    return true;
}

FileResult ImagePlaylistFiles::Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string inner, imagePath;
    if (!floppy::SplitImagePath(path, &imagePath, &inner))
        return HostPlaylistFiles::Write(path, bytes);
    // Written from the file as it is now: a copy kept from before could lack
    // what another writer put into the image within the same second.
    images_.erase(imagePath);
    floppy::FloppyImage* image = Into(path, &inner, &imagePath);
    if (!image)
        return FileResult::OpenFailed;
    if (!image->IsClean()) {
        problems_.push_back(imagePath + ": damaged image: " + image->Damage() + "; nothing is written into it");
        return FileResult::OpenFailed;
    }
    floppy::ImageError result = image->WriteFile(inner, bytes.data(), bytes.size());
    if (result == floppy::ImageError::Ok)
        result = image->Save(imagePath);
    if (result != floppy::ImageError::Ok) {
        problems_.push_back(imagePath + ": " + floppy::ImageErrorText(result) + "; the image is as it was");
        images_.erase(imagePath);  // the copy in memory may hold the refused change
        return FileResult::ReadFailed;
    }
    // Our own write: the file's new stamp goes with what is in memory.
    HostPlaylistFiles::Facts(imagePath, &images_[imagePath].stamp);
    return FileResult::Ok;
}

std::vector<std::string> ImagePlaylistFiles::TakeProblems()
{
    std::vector<std::string> out;
    out.swap(problems_);
    return out;
}

}  // namespace playlist
