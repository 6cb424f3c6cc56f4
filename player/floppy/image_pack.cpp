#include "image_pack.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "eseq_format.h"
#include "fat_names.h"

namespace floppy {

namespace {

constexpr int kMaxDepth = 32;

struct SourceFile {
    std::string name;  // as on the host
    std::string path;
    std::vector<uint8_t> bytes;
};

class Packer {
public:
    Packer(eseq::BatchFileSystem& fs, size_t imageSize) : fs_(fs), size_(imageSize) {}

    void Walk(const std::string& folder, int depth);
    PackResult Finish()
    {
        Close();
        return std::move(result_);
    }

private:
    void AddDisk(const std::string& folder, std::vector<SourceFile>& files);
    void AddSong(const SourceFile& song);
    FloppyImage Fresh() const { return FloppyImage::Blank(size_, uint32_t(std::time(nullptr)) + serial_++); }
    void Close()
    {
        if (open_)
            result_.images.push_back(std::move(current_));
        open_ = false;
    }
    std::string SizeText() const { return size_ == kImage720 ? "720 KB" : "1.44 MB"; }

    eseq::BatchFileSystem& fs_;
    size_t size_;
    mutable uint32_t serial_ = 0;
    PackedImage current_;
    bool open_ = false;
    PackResult result_;
};

void Packer::Walk(const std::string& folder, int depth)
{
    std::unique_ptr<eseq::BatchListing> listing = fs_.List(folder);
    if (!listing) {
        result_.notes.push_back(folder + ": cannot be listed");
        return;
    }
    std::vector<eseq::BatchListing::Entry> entries;
    bool isDisk = false;
    for (eseq::BatchListing::Entry e; listing->Next(&e);) {
        if (e.isFile && (SameName(e.name, "Pianodir.fil") || SameName(e.name, "Music.dir")))
            isDisk = true;
        entries.push_back(e);
    }
    std::vector<SourceFile> diskFiles;
    for (const eseq::BatchListing::Entry& e : entries) {
        const std::string path = folder + "\\" + e.name;
        if (e.isFolder && e.name[0] != '.' && depth < kMaxDepth) {
            if (!isDisk)
                Walk(path, depth + 1);
            continue;
        }
        if (!e.isFile)
            continue;
        SourceFile file{e.name, path, {}};
        if (!fs_.Read(path, eseq::kReadWhole, &file.bytes)) {
            result_.notes.push_back(path + ": cannot be read");
            continue;
        }
        if (isDisk)
            diskFiles.push_back(std::move(file));
        else if (IsSongImage(file.bytes))
            AddSong(file);
    }
    if (isDisk) {
        AddDisk(folder, diskFiles);
        // A disk's own subfolders come after it.
        for (const eseq::BatchListing::Entry& e : entries) {
            if (e.isFolder && e.name[0] != '.' && depth < kMaxDepth)
                Walk(folder + "\\" + e.name, depth + 1);
        }
    }
}

void Packer::AddDisk(const std::string& folder, std::vector<SourceFile>& files)
{
    PackedImage disk{Fresh(), 0};
    bool whole = true;
    for (const SourceFile& f : files) {
        if (disk.image.WriteFile(f.name, f.bytes.data(), f.bytes.size(), FloppyImage::Existing::KeepBoth) !=
            ImageError::Ok) {
            whole = false;
            break;
        }
        ++disk.files;
    }
    if (whole) {
        Close();
        result_.images.push_back(std::move(disk));
        return;
    }
    result_.notes.push_back(folder + ": the disk does not fit one " + SizeText() +
                            " image; its songs are packed without the catalog");
    for (const SourceFile& f : files) {
        if (IsSongImage(f.bytes))
            AddSong(f);
    }
}

void Packer::AddSong(const SourceFile& song)
{
    const auto write = [&song](PackedImage& into) {
        if (into.image.WriteFile(song.name, song.bytes.data(), song.bytes.size(), FloppyImage::Existing::KeepBoth) !=
            ImageError::Ok)
            return false;
        ++into.files;
        return true;
    };
    if (open_ && write(current_))
        return;
    // A song too large for any image leaves the open one open.
    PackedImage fresh{Fresh(), 0};
    if (write(fresh)) {
        Close();
        current_ = std::move(fresh);
        open_ = true;
        return;
    }
    result_.notes.push_back(song.path + ": does not fit an empty " + SizeText() + " image; left out");
    ++result_.songsLeftOut;
}

}  // namespace

bool IsSongImage(const std::vector<uint8_t>& bytes)
{
    const size_t n = bytes.size();
    if (n >= 14 && std::memcmp(bytes.data(), "MThd", 4) == 0)
        return true;
    if (n >= 20 && std::memcmp(bytes.data(), "RIFF", 4) == 0 && std::memcmp(bytes.data() + 8, "RMID", 4) == 0)
        return true;
    return eseq::RecogniseImage(bytes.data(), n).isEseq;
}

PackResult PackSongs(eseq::BatchFileSystem& fs, const std::string& source, size_t imageSize)
{
    Packer packer(fs, IsFloppyImageSize(imageSize) ? imageSize : kImage720);
    packer.Walk(source, 0);
    return packer.Finish();
}

std::string PackedImageName(const std::string& prefix, int number)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", number);
    return prefix + digits + ".IMG";
}

int FirstFreeImageNumber(eseq::BatchFileSystem& fs, const std::string& folder, const std::string& prefix)
{
    int next = 0;
    std::unique_ptr<eseq::BatchListing> listing = fs.List(folder);
    for (eseq::BatchListing::Entry e; listing && listing->Next(&e);) {
        const std::string& n = e.name;
        if (n.size() != prefix.size() + 8 || !SameName(n.substr(0, prefix.size()), prefix) ||
            !SameName(n.substr(n.size() - 4), ".IMG"))
            continue;
        const std::string digits = n.substr(prefix.size(), 4);
        bool allDigits = true;
        for (char c : digits)
            allDigits = allDigits && std::isdigit(static_cast<unsigned char>(c));
        if (allDigits)
            next = std::max(next, std::stoi(digits) + 1);
    }
    return next;
}

}  // namespace floppy
