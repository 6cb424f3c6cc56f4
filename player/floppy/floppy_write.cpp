// Changing a floppy image in memory: blank disks, writing, replacing and
// deleting files, new folders. Each change first works out whether it can
// be made whole and only then touches the image, so a refused change leaves
// it exactly as it was.
#include <algorithm>
#include <cstring>
#include <set>

#include "fat_bytes.h"
#include "fat_names.h"
#include "floppy_image.h"

namespace floppy {

namespace {

constexpr uint8_t kAttrArchive = 0x20;
constexpr uint8_t kAttrFolder = 0x10;
constexpr uint8_t kDeleted = 0xE5;
constexpr size_t kNoSlot = size_t(-1);

// The folder part and the last component of a path.
void SplitLeaf(const std::string& path, std::string* folder, std::string* leaf)
{
    std::string trimmed = path;
    while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    const size_t cut = trimmed.find_last_of("\\/");
    *folder = cut == std::string::npos ? std::string() : trimmed.substr(0, cut);
    *leaf = cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

uint64_t ClustersFor(uint64_t size, size_t clusterBytes)
{
    return size / clusterBytes + (size % clusterBytes ? 1 : 0);
}

}  // namespace

// Only a disk that read cleanly, and read whole, is changed.
bool FloppyImage::Writable()
{
    if (bytes_.Empty() || !IsClean())
        return false;
    bytes_.Mutable();
    return !bytes_.ReadFailed();
}

FloppyImage FloppyImage::Blank(size_t size, uint32_t serial)
{
    FloppyImage image;
    image.geo_ = StandardGeometry(size);
    image.bytes_.Assign(std::vector<uint8_t>(size, 0));
    WriteBootSector(image.geo_, serial, image.bytes_.Mutable());
    image.fat_.assign(image.geo_.ClusterCount() + 2, kFatFree);
    image.fat_[0] = uint16_t(0xF00 | image.geo_.media);
    image.fat_[1] = kFatEnd;
    image.SyncFats();
    return image;
}

std::vector<uint32_t> FloppyImage::Allocate(uint32_t count) const
{
    // The lowest free clusters: a file written to a fresh disk lies in one run.
    std::vector<uint32_t> clusters;
    for (uint32_t n = 2; n < fat_.size() && clusters.size() < count; ++n) {
        if (fat_[n] == kFatFree)
            clusters.push_back(n);
    }
    return clusters;
}

void FloppyImage::WriteChain(const std::vector<uint32_t>& clusters)
{
    for (size_t i = 0; i < clusters.size(); ++i)
        fat_[clusters[i]] = i + 1 < clusters.size() ? uint16_t(clusters[i + 1]) : kFatEnd;
}

void FloppyImage::FreeChain(uint32_t start)
{
    std::vector<uint32_t> clusters;
    std::string problem;
    if (start != 0 && Chain(start, &clusters, &problem)) {
        for (uint32_t c : clusters)
            fat_[c] = kFatFree;
    }
}

void FloppyImage::SyncFats()
{
    uint8_t* first = bytes_.Mutable() + geo_.FatOffset(0);
    for (uint32_t n = 0; n < fat_.size(); ++n) {
        uint8_t* p = first + n * 3 / 2;
        const uint32_t v = fat_[n];
        if (n & 1) {
            p[0] = uint8_t((p[0] & 0x0F) | ((v & 0x0F) << 4));
            p[1] = uint8_t(v >> 4);
        } else {
            p[0] = uint8_t(v);
            p[1] = uint8_t((p[1] & 0xF0) | (v >> 8));
        }
    }
    for (uint32_t copy = 1; copy < geo_.fatCount; ++copy)
        std::memcpy(bytes_.Mutable() + geo_.FatOffset(copy), first, geo_.FatBytes());
}

void FloppyImage::MarkDeleted(const Slot& slot)
{
    for (size_t offset : slot.longSlots)
        bytes_.Mutable()[offset] = kDeleted;
    bytes_.Mutable()[slot.offset] = kDeleted;
}

// A free slot of the folder; when it has none, a subfolder grows by a
// cluster (`extraCluster` set, `offset` then unknown) and the root is full.
ImageError FloppyImage::TakeSlot(const Folder& folder, uint32_t* extraCluster, size_t* offset, size_t* endMark) const
{
    *extraCluster = 0;
    *endMark = kNoSlot;
    for (size_t i = 0; i < folder.slots.size(); ++i) {
        const uint8_t first = *bytes_.Read(folder.slots[i], 1);
        if (first == 0 || first == kDeleted) {
            *offset = folder.slots[i];
            // Taking the folder's end mark: the next slot becomes the end, so
            // nothing left beyond the old end comes into view.
            if (first == 0 && i + 1 < folder.slots.size())
                *endMark = folder.slots[i + 1];
            return ImageError::Ok;
        }
    }
    if (folder.cluster == 0)
        return ImageError::RootFull;
    *extraCluster = 1;
    return ImageError::Ok;
}

// Adds a zeroed cluster to the end of a subfolder; its offset.
size_t FloppyImage::GrowFolder(const Folder& folder)
{
    const std::vector<uint32_t> grown = Allocate(1);
    std::vector<uint32_t> chain;
    std::string problem;
    Chain(folder.cluster, &chain, &problem);
    fat_[chain.back()] = uint16_t(grown[0]);
    WriteChain(grown);
    const size_t offset = geo_.ClusterOffset(grown[0]);
    std::memset(bytes_.Mutable() + offset, 0, geo_.ClusterBytes());
    return offset;
}

void FloppyImage::WriteEntry(size_t offset, const uint8_t raw11[11], uint8_t attributes, uint32_t cluster,
                             uint32_t size, std::time_t when)
{
    uint8_t* p = bytes_.Mutable() + offset;
    uint16_t date = 0, time = 0;
    ToFatTime(when ? when : (writeTime_ ? writeTime_ : std::time(nullptr)), &date, &time);
    std::memset(p, 0, kEntrySize);
    std::memcpy(p, raw11, 11);
    p[11] = attributes;
    Put16(p + 14, time);  // created
    Put16(p + 16, date);
    Put16(p + 18, date);  // last access
    Put16(p + 22, time);  // last write
    Put16(p + 24, date);
    Put16(p + 26, cluster);
    Put32(p + 28, size);
}

// Where a new entry for `path` goes: its folder, that folder's entries and
// the entry's own name.
ImageError FloppyImage::FindPlace(const std::string& path, Folder* folder, std::vector<Slot>* slots,
                                  std::string* leaf)
{
    missing_ = 0;
    if (!Writable())
        return ImageError::Refused;
    std::string folderPath;
    SplitLeaf(path, &folderPath, leaf);
    if (ImageError e = ResolveFolder(folderPath, folder); e != ImageError::Ok)
        return e;
    *slots = ParseFolder(*folder);
    return ImageError::Ok;
}

// Takes the slot TakeSlot chose: the end mark moves on, or the folder grows.
size_t FloppyImage::UseSlot(const Folder& folder, size_t offset, size_t endMark, uint32_t extra)
{
    if (endMark != kNoSlot)
        bytes_.Mutable()[endMark] = 0;
    return extra ? GrowFolder(folder) : offset;
}

ImageError FloppyImage::WriteFile(const std::string& path, const uint8_t* data, size_t size, Existing existing,
                                  std::string* written, std::time_t when)
{
    Folder folder;
    std::vector<Slot> slots;
    std::string leaf;
    if (ImageError e = FindPlace(path, &folder, &slots, &leaf); e != ImageError::Ok)
        return e;
    const Slot* old = nullptr;
    std::set<std::string> taken;
    for (const Slot& s : slots) {
        taken.insert(s.shortName);
        if (!old && (SameName(s.name, leaf) || SameName(s.shortName, leaf)))
            old = &s;
    }
    if (old && old->IsFolder())
        return ImageError::IsAFolder;
    const bool replace = old && existing == Existing::Replace;
    uint8_t raw[11];
    if (replace)
        std::memcpy(raw, old->raw, 11);
    else if (!MakeShortName(leaf, taken, old != nullptr, raw))
        return ImageError::BadName;

    // What the change needs, before anything is touched.
    size_t offset = replace ? old->offset : 0;
    size_t endMark = kNoSlot;
    uint32_t extra = 0;
    if (!replace) {
        if (ImageError e = TakeSlot(folder, &extra, &offset, &endMark); e != ImageError::Ok)
            return e;
    }
    const uint64_t need = ClustersFor(size, geo_.ClusterBytes()) + extra;
    std::vector<uint32_t> oldClusters;
    std::string problem;
    if (replace && old->cluster != 0)
        Chain(old->cluster, &oldClusters, &problem);
    const uint64_t available = uint64_t(FreeClusters()) + oldClusters.size();
    if (need > available) {
        missing_ = (need - available) * geo_.ClusterBytes();
        return ImageError::DiskFull;
    }

    if (replace) {
        FreeChain(old->cluster);
        for (size_t at : old->longSlots)
            bytes_.Mutable()[at] = kDeleted;  // the long name belonged to the old file
    }
    offset = UseSlot(folder, offset, endMark, extra);
    const std::vector<uint32_t> clusters = Allocate(uint32_t(need - extra));
    WriteChain(clusters);
    for (size_t i = 0; i < clusters.size(); ++i) {
        uint8_t* to = bytes_.Mutable() + geo_.ClusterOffset(clusters[i]);
        const size_t from = i * geo_.ClusterBytes();
        const size_t take = std::min(geo_.ClusterBytes(), size - from);
        std::memcpy(to, data + from, take);
        std::memset(to + take, 0, geo_.ClusterBytes() - take);
    }
    WriteEntry(offset, raw, kAttrArchive, clusters.empty() ? 0 : clusters[0], uint32_t(size), when);
    SyncFats();
    if (written)
        *written = ShortNameText(raw);
    return ImageError::Ok;
}

ImageError FloppyImage::MakeFolder(const std::string& path)
{
    Folder parent;
    std::vector<Slot> slots;
    std::string leaf;
    if (ImageError e = FindPlace(path, &parent, &slots, &leaf); e != ImageError::Ok)
        return e;
    std::set<std::string> taken;
    for (const Slot& s : slots) {
        if (SameName(s.name, leaf) || SameName(s.shortName, leaf))
            return ImageError::Exists;
        taken.insert(s.shortName);
    }
    uint8_t raw[11];
    if (!MakeShortName(leaf, taken, false, raw))
        return ImageError::BadName;
    size_t offset = 0, endMark = kNoSlot;
    uint32_t extra = 0;
    if (ImageError e = TakeSlot(parent, &extra, &offset, &endMark); e != ImageError::Ok)
        return e;
    if (1 + extra > FreeClusters()) {
        missing_ = (1 + extra - FreeClusters()) * uint64_t(geo_.ClusterBytes());
        return ImageError::DiskFull;
    }
    offset = UseSlot(parent, offset, endMark, extra);
    const std::vector<uint32_t> own = Allocate(1);
    WriteChain(own);
    const size_t inside = geo_.ClusterOffset(own[0]);
    std::memset(bytes_.Mutable() + inside, 0, geo_.ClusterBytes());
    const std::time_t now = writeTime_ ? writeTime_ : std::time(nullptr);
    const uint8_t dot[11] = {'.', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    const uint8_t dotdot[11] = {'.', '.', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    WriteEntry(inside, dot, kAttrFolder, own[0], 0, now);
    WriteEntry(inside + kEntrySize, dotdot, kAttrFolder, parent.cluster, 0, now);
    WriteEntry(offset, raw, kAttrFolder, own[0], 0, now);
    SyncFats();
    return ImageError::Ok;
}

ImageError FloppyImage::Delete(const std::string& path)
{
    if (!Writable())
        return ImageError::Refused;
    Folder parent;
    Slot slot;
    bool isRoot = false;
    if (ImageError e = Resolve(path, &parent, &slot, &isRoot); e != ImageError::Ok)
        return e;
    if (isRoot)
        return ImageError::IsAFolder;
    if (slot.IsFolder()) {
        Folder inner;
        std::string problem;
        FolderSlots(slot.cluster, &inner, &problem);
        if (!ParseFolder(inner).empty())
            return ImageError::FolderNotEmpty;
    }
    FreeChain(slot.cluster);
    MarkDeleted(slot);
    SyncFats();
    return ImageError::Ok;
}

ImageError FloppyImage::Save(const std::string& path) const
{
    if (bytes_.Empty() || !IsClean())
        return ImageError::Refused;
    const uint8_t* all = bytes_.All();
    if (bytes_.ReadFailed())
        return ImageError::Refused;
    return WriteFileImage(path.c_str(), all, bytes_.Size()) == FileResult::Ok ? ImageError::Ok
                                                                                        : ImageError::WriteFailed;
}

}  // namespace floppy
