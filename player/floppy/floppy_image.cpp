// Reading a floppy image: the layout, the FAT, folders with their short and
// long names, and the check of the whole disk made when it is opened.
#include "floppy_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fat_bytes.h"
#include "fat_names.h"

namespace floppy {

namespace {

constexpr int kMaxFolderDepth = 64;
constexpr uint8_t kAttrVolume = 0x08;
constexpr uint8_t kAttrLongName = 0x0F;
constexpr uint8_t kDeleted = 0xE5;

// The 13 characters of a long-name entry, as 8-bit text (characters beyond
// Latin-1 become "_"); false at the terminating 0.
bool AppendLongChars(const uint8_t* p, std::string* out)
{
    static const int kAt[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    for (int at : kAt) {
        const uint32_t c = Get16(p + at);
        if (c == 0)
            return false;
        *out += c < 0x100 ? char(c) : '_';
    }
    return true;
}

std::string SizeDamage(size_t size)
{
    return "the image has " + std::to_string(size) + " bytes; a floppy image has 737280 (720 KB) or 1474560 (1.44 MB)";
}

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "\\") {
        if (c == '\\' || c == '/') {
            if (!part.empty() && part != ".")
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

}  // namespace

const char* ImageErrorText(ImageError error)
{
    switch (error) {
    case ImageError::Ok: return "ok";
    case ImageError::OpenFailed: return "open failed";
    case ImageError::Damaged: return "damaged image";
    case ImageError::NotFound: return "not found";
    case ImageError::NotAFolder: return "not a folder";
    case ImageError::IsAFolder: return "is a folder";
    case ImageError::FolderNotEmpty: return "folder not empty";
    case ImageError::BadName: return "not a usable file name";
    case ImageError::Exists: return "already exists";
    case ImageError::DiskFull: return "disk full";
    case ImageError::RootFull: return "the root folder is full";
    case ImageError::Refused: return "damaged image: not written to";
    case ImageError::WriteFailed: return "write failed";
    }
    return "error";
}

std::string FatDateText(uint16_t date, uint16_t time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", 1980u + (date >> 9), (date >> 5) & 15u, date & 31u,
                  unsigned(time >> 11), (time >> 5) & 63u);
    return text;
}

void ToFatTime(std::time_t when, uint16_t* date, uint16_t* time)
{
    const std::tm* t = std::localtime(&when);
    if (!t || t->tm_year < 80) {
        *date = (1 << 5) | 1;  // 1980-01-01, the first day a FAT date holds
        *time = 0;
        return;
    }
    const int year = std::min(t->tm_year - 80, 127);
    *date = uint16_t((year << 9) | ((t->tm_mon + 1) << 5) | t->tm_mday);
    *time = uint16_t((t->tm_hour << 11) | (t->tm_min << 5) | (t->tm_sec / 2));
}

ImageError FloppyImage::Open(const std::string& path)
{
    *this = FloppyImage();
    std::FILE* file = std::fopen(HostPath(path.c_str()).c_str(), "rb");
    long size = -1;
    if (file && std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0) {
        // No size to tell (a pipe): read whole.
        if (file)
            std::fclose(file);
        std::vector<uint8_t> bytes;
        if (ReadFileImage(path.c_str(), &bytes) != FileResult::Ok)
            return ImageError::OpenFailed;
        return Load(std::move(bytes));
    }
    if (!IsFloppyImageSize(size_t(size))) {
        // Not read at all: a stray multi-gigabyte ".IMG" costs nothing.
        std::fclose(file);
        damage_ = SizeDamage(size_t(size));
        return ImageError::Damaged;
    }
    bytes_.AssignFile(file, size_t(size));
    return Parse();
}

ImageError FloppyImage::Load(std::vector<uint8_t> bytes)
{
    *this = FloppyImage();
    if (!IsFloppyImageSize(bytes.size())) {
        damage_ = SizeDamage(bytes.size());
        return ImageError::Damaged;
    }
    bytes_.Assign(bytes);
    return Parse();
}

ImageError FloppyImage::Parse()
{
    standardLayout_ = !ReadBootGeometry(bytes_.Read(0, 512), bytes_.Size(), &geo_);
    if (standardLayout_)
        geo_ = StandardGeometry(bytes_.Size());
    const uint32_t entries = geo_.ClusterCount() + 2;
    fat_.resize(entries);
    const uint8_t* fat = bytes_.Read(geo_.FatOffset(0), geo_.FatBytes());
    for (uint32_t n = 0; n < entries; ++n) {
        const uint32_t pair = Get16(fat + n * 3 / 2);
        fat_[n] = uint16_t((n & 1) ? pair >> 4 : pair & 0xFFF);
    }
    CheckDisk();
    if (damage_.empty() && bytes_.ReadFailed())
        damage_ = "the image file could not be read";
    return IsClean() ? ImageError::Ok : ImageError::Damaged;
}

bool FloppyImage::Chain(uint32_t start, std::vector<uint32_t>* out, std::string* problem) const
{
    out->clear();
    for (uint32_t n = start;;) {
        if (!geo_.IsCluster(n)) {
            *problem = "leads outside the disk";
            return false;
        }
        if (out->size() >= geo_.ClusterCount()) {
            *problem = "loops";
            return false;
        }
        out->push_back(n);
        const uint16_t next = fat_[n];
        if (next >= kFatEndMin)
            return true;
        if (next == kFatFree) {
            *problem = "runs into a free cluster";
            return false;
        }
        if (next == kFatBad) {
            *problem = "runs into a bad cluster";
            return false;
        }
        n = next;
    }
}

bool FloppyImage::FolderSlots(uint32_t firstCluster, Folder* out, std::string* problem) const
{
    out->cluster = firstCluster;
    out->slots.clear();
    if (firstCluster == 0) {
        bytes_.Read(geo_.RootOffset(), geo_.RootBytes());
        for (uint32_t i = 0; i < geo_.rootEntries; ++i)
            out->slots.push_back(geo_.RootOffset() + i * kEntrySize);
        return true;
    }
    std::vector<uint32_t> clusters;
    if (!Chain(firstCluster, &clusters, problem))
        return false;
    for (uint32_t c : clusters) {
        bytes_.Read(geo_.ClusterOffset(c), geo_.ClusterBytes());
        for (size_t i = 0; i < geo_.ClusterBytes() / kEntrySize; ++i)
            out->slots.push_back(geo_.ClusterOffset(c) + i * kEntrySize);
    }
    return true;
}

std::vector<FloppyImage::Slot> FloppyImage::ParseFolder(const Folder& folder) const
{
    std::vector<Slot> slots;
    std::string longName;
    std::vector<size_t> longSlots;
    int nextOrdinal = 0;
    uint8_t longSum = 0;
    for (size_t offset : folder.slots) {
        const uint8_t* p = bytes_.Read(offset, kEntrySize);
        if (p[0] == 0)
            break;  // the end of the folder
        if (p[0] == kDeleted) {
            nextOrdinal = 0;
            longSlots.clear();
            continue;
        }
        if (p[11] == kAttrLongName) {
            // Long-name pieces come last piece first, numbered down to 1.
            const int ordinal = p[0] & 0x1F;
            if (p[0] & 0x40) {
                nextOrdinal = ordinal;
                longSum = p[13];
                longName.clear();
                longSlots.clear();
            }
            if (ordinal == 0 || ordinal != nextOrdinal || p[13] != longSum) {
                nextOrdinal = 0;
                longSlots.clear();
                continue;
            }
            std::string piece;
            AppendLongChars(p, &piece);
            longName = piece + longName;
            longSlots.push_back(offset);
            --nextOrdinal;
            continue;
        }
        const bool named = nextOrdinal == 0 && !longSlots.empty() && ShortNameChecksum(p) == longSum;
        if (p[11] & kAttrVolume) {
            longSlots.clear();
            continue;
        }
        Slot slot;
        slot.offset = offset;
        std::memcpy(slot.raw, p, 11);
        slot.shortName = ShortNameText(p, p[12]);
        slot.attributes = p[11];
        slot.cluster = Get16(p + 26);
        slot.size = Get32(p + 28);
        slot.time = uint16_t(Get16(p + 22));
        slot.date = uint16_t(Get16(p + 24));
        if (named) {
            slot.longSlots = longSlots;
            slot.name = longName;
        }
        longSlots.clear();
        if (slot.name.empty())
            slot.name = slot.shortName;
        if (slot.shortName == "." || slot.shortName == "..")
            continue;
        slots.push_back(std::move(slot));
    }
    return slots;
}

ImageError FloppyImage::Resolve(const std::string& path, Folder* parent, Slot* slot, bool* isRoot) const
{
    if (bytes_.Empty())
        return ImageError::Damaged;
    const std::vector<std::string> parts = SplitPath(path);
    std::string problem;
    FolderSlots(0, parent, &problem);
    *isRoot = parts.empty();
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::vector<Slot> slots = ParseFolder(*parent);
        auto it = std::find_if(slots.begin(), slots.end(), [&](const Slot& s) {
            return SameName(s.name, parts[i]) || SameName(s.shortName, parts[i]);
        });
        if (it == slots.end())
            return ImageError::NotFound;
        if (i + 1 == parts.size()) {
            *slot = *it;
            return ImageError::Ok;
        }
        if (!it->IsFolder())
            return ImageError::NotAFolder;
        if (it->cluster == 0 || !FolderSlots(it->cluster, parent, &problem))
            return ImageError::Damaged;
    }
    return ImageError::Ok;
}

ImageError FloppyImage::ResolveFolder(const std::string& path, Folder* out) const
{
    Folder parent;
    Slot slot;
    bool isRoot = false;
    const ImageError found = Resolve(path, &parent, &slot, &isRoot);
    if (found != ImageError::Ok || isRoot) {
        *out = parent;
        return found;
    }
    if (!slot.IsFolder())
        return ImageError::NotAFolder;
    std::string problem;
    return slot.cluster != 0 && FolderSlots(slot.cluster, out, &problem) ? ImageError::Ok : ImageError::Damaged;
}

ImageError FloppyImage::List(const std::string& folder, std::vector<ImageEntry>* out) const
{
    out->clear();
    Folder where;
    if (ImageError e = ResolveFolder(folder, &where); e != ImageError::Ok)
        return e;
    for (const Slot& s : ParseFolder(where))
        out->push_back({s.name, s.shortName, s.IsFolder(), s.IsFolder() ? 0 : s.size, s.date, s.time});
    return ImageError::Ok;
}

ImageError FloppyImage::Find(const std::string& path, ImageEntry* out) const
{
    Folder parent;
    Slot s;
    bool isRoot = false;
    if (ImageError e = Resolve(path, &parent, &s, &isRoot); e != ImageError::Ok)
        return e;
    if (isRoot)
        *out = ImageEntry{"", "", true, 0, 0, 0};
    else
        *out = ImageEntry{s.name, s.shortName, s.IsFolder(), s.IsFolder() ? 0 : s.size, s.date, s.time};
    return ImageError::Ok;
}

ImageError FloppyImage::ReadFile(const std::string& path, std::vector<uint8_t>* out) const
{
    out->clear();
    Folder parent;
    Slot s;
    bool isRoot = false;
    if (ImageError e = Resolve(path, &parent, &s, &isRoot); e != ImageError::Ok)
        return e;
    if (isRoot || s.IsFolder())
        return ImageError::IsAFolder;
    if (s.size == 0)
        return ImageError::Ok;
    std::vector<uint32_t> clusters;
    std::string problem;
    if (s.cluster == 0 || !Chain(s.cluster, &clusters, &problem) ||
        uint64_t(clusters.size()) * geo_.ClusterBytes() < s.size)
        return ImageError::Damaged;
    // Clusters that follow each other on the disk are copied in one go.
    out->resize(s.size);
    const size_t cluster = geo_.ClusterBytes();
    size_t done = 0;
    for (size_t i = 0; done < s.size; ++i) {
        size_t run = 1;
        while (i + run < clusters.size() && clusters[i + run] == clusters[i] + run)
            ++run;
        const size_t take = std::min(run * cluster, size_t(s.size) - done);
        bytes_.CopyOut(geo_.ClusterOffset(clusters[i]), take, out->data() + done);
        done += take;
        i += run - 1;
    }
    return bytes_.ReadFailed() ? ImageError::Damaged : ImageError::Ok;
}

uint32_t FloppyImage::FreeClusters() const
{
    uint32_t free = 0;
    for (uint32_t n = 2; n < fat_.size(); ++n)
        free += fat_[n] == kFatFree ? 1 : 0;
    return free;
}

void FloppyImage::CheckDisk()
{
    std::vector<uint8_t> owner(fat_.size(), 0);
    std::vector<uint32_t> seenFolders;
    Folder root;
    std::string problem;
    FolderSlots(0, &root, &problem);
    CheckFolder(root, "", 0, &owner, &seenFolders);
}

// Every entry's chain must stay on the disk, end, fit its size and be the
// entry's alone; every folder may be reached once only.
void FloppyImage::CheckFolder(const Folder& folder, const std::string& prefix, int depth, std::vector<uint8_t>* owner,
                              std::vector<uint32_t>* seenFolders)
{
    if (depth > kMaxFolderDepth) {
        damage_ = "folders nested more than " + std::to_string(kMaxFolderDepth) + " deep at " + prefix;
        return;
    }
    for (const Slot& s : ParseFolder(folder)) {
        const std::string path = prefix + s.name;
        std::vector<uint32_t> clusters;
        std::string problem;
        if (s.IsFolder() && s.cluster == 0) {
            damage_ = "the folder " + path + " has no cluster";
        } else if (s.cluster != 0 && !Chain(s.cluster, &clusters, &problem)) {
            damage_ = "the cluster chain of " + path + " " + problem;
        } else if (!s.IsFolder() && clusters.size() != (s.size + geo_.ClusterBytes() - 1) / geo_.ClusterBytes()) {
            damage_ = "the size of " + path + " (" + std::to_string(s.size) + " bytes) does not match its " +
                      std::to_string(clusters.size()) + " clusters";
        } else if (s.IsFolder() &&
                   std::find(seenFolders->begin(), seenFolders->end(), s.cluster) != seenFolders->end()) {
            damage_ = "the folder " + path + " loops back to a folder above it";
        }
        for (uint32_t c : clusters) {
            if (!damage_.empty())
                break;
            if ((*owner)[c])
                damage_ = "cluster " + std::to_string(c) + " of " + path + " belongs to another file too";
            (*owner)[c] = 1;
        }
        if (!damage_.empty())
            return;
        if (s.IsFolder()) {
            seenFolders->push_back(s.cluster);
            Folder inner;
            FolderSlots(s.cluster, &inner, &problem);
            CheckFolder(inner, path + "\\", depth + 1, owner, seenFolders);
            if (!damage_.empty())
                return;
        }
    }
}

}  // namespace floppy
