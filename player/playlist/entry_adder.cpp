// The entry-adding routine: songs, folder rows, placement, scan filters.
#include <algorithm>

#include "eseq_format.h"
#include "midi_title.h"
#include "image_files.h"
#include "playlist_builder.h"
#include "song_paths.h"

namespace playlist {

namespace {

const char kUntitled[] = "untitled";

bool IsBlankTitle(const std::string& title)
{
    return title.empty() || SameTextNoCase(title, kUntitled);
}

}  // namespace

std::string SongTitleFromImage(const std::string& fileName, const std::vector<uint8_t>& bytes)
{
    std::string title;
    if (IsMidiName(fileName, true)) {
        smf::MidiTitleFromImage(bytes.data(), bytes.size(), &title);
        return title;
    }
    if (!eseq::RecogniseImage(bytes.data(), bytes.size()).isEseq)
        return title;  // not a song: no title rather than header bytes
    const size_t head = std::min(bytes.size(), eseq::kTitleReadBytes);
    return eseq::TitleFromImage(bytes.data(), head);
}

bool ReadSongTitle(PlaylistFiles& files, const std::string& path, std::string* title)
{
    std::vector<uint8_t> bytes;
    const size_t wanted = IsMidiName(path, true) ? kReadWhole : eseq::kTitleReadBytes;
    if (files.Read(path, wanted, &bytes) != FileResult::Ok)
        return false;
    *title = SongTitleFromImage(LastPathComponent(path), bytes);
    return true;
}

PlaylistBuilder::PlaylistBuilder(PlaylistRowStore& rows, PlaylistFiles& files, LengthProbe* probe,
                                 PlaylistEvents* events)
    : rows_(rows), files_(files), probe_(probe), events_(events ? *events : none_)
{
}

uint32_t PlaylistBuilder::AddEntry(const std::string& dir, const std::string& name, const StoredEntry& stored)
{
    const std::string ext = ExtensionOf(name);
    if (SameTextNoCase(ext, "ZUB") || SameTextNoCase(ext, "M3U") || SameTextNoCase(ext, "M3U8"))
        return LoadPlaylistFile(JoinSongPath(dir, name));
    if (CatalogKindOf(name) != CatalogKind::None)
        return LoadCatalogDisk(JoinSongPath(dir, name));
    if (IsImageName(name))
        return LoadImageDisk(JoinSongPath(dir, name));
    return AddSong(dir, name, stored);
}

uint32_t PlaylistBuilder::InsertRow(int index, const PlaylistRow& row, int* at, bool idInSortKey)
{
    const int count = rows_.Count();
    if (count + 1 == kMaxRows)
        events_.Overflow(count + 1);
    *at = index == PlaylistRowStore::kAppend || index > count ? count : index;
    return rows_.Insert(index, row, idInSortKey);
}

uint32_t PlaylistBuilder::AddFolderRow(const std::string& dir, const std::string& icon)
{
    PlaylistRow row;
    row.kind = RowKind::Folder;
    row.text[ColPath] = dir;
    row.text[ColName] = LastPathComponent(dir);
    row.icon = icon;
    row.nameHint = dir;
    row.titleColour = kColourRed;
    row.lengthColour = kColourRed;
    row.text[ColSortKey] = row.text[ColName];
    int at = 0;
    return InsertRow(PlaylistRowStore::kAppend, row, &at, true);
}

void PlaylistBuilder::AddToFolder(int folder, uint32_t seconds)
{
    rows_.AddSeconds(folder, seconds);
}

void PlaylistBuilder::ForgetLoadFolder()
{
    loadFolderDir_.clear();
    loadFolderIndex_ = -1;
}

uint32_t PlaylistBuilder::AddSong(const std::string& dir, const std::string& name, const StoredEntry& stored)
{
    const std::string path = JoinSongPath(dir, name);
    FileFacts facts;
    const bool exists = files_.Facts(path, &facts);
    const bool stampMatches = exists && stored.hasStamp && stored.stamp == FormatTimeStamp(facts.written);

    // A stored title stands while the file is unchanged (or gone); a stored
    // length too, and also when the playlist kept no time stamp at all.
    uint32_t seconds = 0;
    const bool keepLength = stored.hasLength && ParseLength(stored.length, &seconds) &&
                            (!exists || stampMatches || !stored.hasStamp);
    const bool keepTitle = !exists || (stored.hasTitle && stampMatches);
    std::string title = keepTitle ? stored.title : std::string();
    std::string lengthText = keepLength ? stored.length : std::string();
    if (exists && (!keepTitle || !keepLength)) {
        std::vector<uint8_t> bytes;
        const bool whole = !keepLength || IsMidiName(name, true);
        if (files_.Read(path, whole ? kReadWhole : eseq::kTitleReadBytes, &bytes) == FileResult::Ok) {
            if (!keepTitle)
                title = SongTitleFromImage(name, bytes);
            if (!keepLength && probe_)
                seconds = (probe_->MeasureImage(bytes.data(), bytes.size()) + 500) / 1000;
        }
    }
    if (!keepLength)
        lengthText = FormatLength(seconds);

    if (options.scan && Rejected(path, title, name))
        return 0;

    // Placement.
    int index = PlaylistRowStore::kAppend;
    int folder = -1;
    if (Loading()) {
        if (rows_.Count() == 0)
            ForgetLoadFolder();
        if (loadFolderDir_.empty() || !SameTextNoCase(dir, loadFolderDir_)) {
            loadFolderDir_ = dir;
            loadFolderIndex_ = AddFolderRow(dir, kIconFolder) != 0 ? rows_.Count() - 1 : -1;
        }
        if (loadFolderIndex_ < 0)
            loadFolderIndex_ = FolderOf(rows_, rows_.Count() - 1);
        folder = loadFolderIndex_;
    } else {
        folder = FindFolderRow(dir);
        if (folder >= 0) {
            index = GroupEnd(rows_, folder);
        } else if (const uint32_t made = AddFolderRow(dir, kIconFolder)) {
            folder = rows_.Count() - 1;
            addFolderDir_ = dir;
            addFolderId_ = made;
        }
    }

    PlaylistRow row;
    row.kind = RowKind::Song;
    row.text[ColPath] = path;
    row.text[ColName] = name;
    row.text[ColTitle] = title;
    row.text[ColLength] = lengthText;
    row.seconds = seconds;
    if (!exists)
        row.icon = kIconMissing;
    row.text[ColSortKey] = LastPathComponent(dir);
    int at = 0;
    const uint32_t id = InsertRow(index, row, &at, true);
    if (id == 0)
        return 0;
    events_.SecondsAdded(seconds);
    if (folder >= 0)
        AddToFolder(folder, seconds);
    if (!Loading())
        events_.TotalsChanged();
    return id;
}

int PlaylistBuilder::FindFolderRow(const std::string& dir)
{
    // Songs are mostly added a folder at a time: the folder row found last
    // is asked first (a folder row's path, once it is `dir`, stays `dir`).
    if (addFolderId_ != 0 && dir == addFolderDir_) {
        const int index = rows_.IndexOf(addFolderId_);
        if (index >= 0)
            return index;
    }
    for (int at = rows_.FindText(ColPath, dir); at >= 0; at = rows_.FindText(ColPath, dir, at + 1)) {
        const PlaylistRow row = rows_.Read(at);
        if (row.IsFolder()) {
            addFolderDir_ = dir;
            addFolderId_ = row.id;
            return at;
        }
    }
    return -1;
}

bool PlaylistBuilder::Rejected(const std::string& path, const std::string& title, const std::string& name)
{
    const ScanFilter& scan = *options.scan;
    const bool blank = IsBlankTitle(title);
    if (!scan.duplicateSongs && IsDuplicate(path, title, name))
        return true;
    return scan.BlankTitlesOnly() ? !blank : !scan.blankTitles && blank;
}

// Another song row with the same title (or, for an untitled song, the same
// file name) whose file has the same size.
bool PlaylistBuilder::IsDuplicate(const std::string& path, const std::string& title, const std::string& name)
{
    FileFacts facts;
    if (!files_.Facts(path, &facts) || facts.size == 0)
        return false;
    auto sameSize = [&](int column, const std::string& wanted) {
        for (int at = rows_.FindText(column, wanted); at >= 0; at = rows_.FindText(column, wanted, at + 1)) {
            const PlaylistRow other = rows_.Read(at);
            FileFacts otherFacts;
            if (!other.IsFolder() && files_.Facts(other.Path(), &otherFacts) && otherFacts.size == facts.size)
                return true;
        }
        return false;
    };
    return sameSize(ColTitle, title) || (IsBlankTitle(title) && sameSize(ColName, name));
}

void PlaylistBuilder::AttachVoiceMap(uint32_t rowId, const std::string& mapPath)
{
    const int index = rows_.IndexOf(rowId);
    if (index < 0)
        return;
    PlaylistRow row = rows_.Read(index);
    std::string title = LastPathComponent(mapPath);
    const size_t dot = title.rfind('.');
    if (dot != std::string::npos)
        title.resize(dot);
    row.text[ColVoiceMap] = mapPath;
    row.text[ColMapName] = title;
    row.mapHint = mapPath;
    rows_.Write(index, row);
}

}  // namespace playlist
