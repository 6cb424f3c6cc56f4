// The playlist session: loading, saving, totals and the status texts.
#include "playlist_session.h"

#include <cstdio>

#include "playlist_save.h"
#include "title_writeback.h"
#include "song_paths.h"

namespace playlist {

namespace {

const char* Plural(int n)
{
    return n == 1 ? "" : "s";
}

}  // namespace

std::string FoldersText(int folders, int directories)
{
    const char* kind = folders == 0 ? "Disk/Dir" : directories == folders ? "Dir" : directories == 0 ? "Disk" : "Disk/Dir";
    char text[64];
    std::snprintf(text, sizeof text, "\t%d %s%s", folders, kind, Plural(folders));
    return text;
}

std::string SongsText(int songs)
{
    char text[64];
    std::snprintf(text, sizeof text, "\t%d File%s", songs, Plural(songs));
    return text;
}

std::string TotalText(int64_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    char text[64];
    std::snprintf(text, sizeof text, "\t%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string WindowTitle(const std::string& fileName)
{
    if (fileName.empty())
        return "Zub PlayList - [Untitled]";
    const CatalogKind kind = CatalogKindOf(fileName);
    if (kind == CatalogKind::Pianodir)
        return "ESEQ PlayList - [Pianodir.fil]";
    if (kind == CatalogKind::MusicDir)
        return "ESEQ PlayList - [Music.dir]";
    return "Zub PlayList - [" + fileName + "]";
}

PlaylistSession::PlaylistSession(PlaylistGrid& grid, PlaylistFiles& files, LengthProbe* probe, PlayerLink& player,
                                 PlaylistView& view)
    : grid_(grid), rows_(grid), files_(files), player_(player), view_(view), builder_(rows_, files, probe, this)
{
}

// ---------------------------------------------------------------------------
// Builder events

void PlaylistSession::SecondsAdded(int64_t seconds)
{
    flags.totalSeconds += seconds;
    if (flags.totalSeconds < 0)
        flags.totalSeconds = 0;
    ShowTotalSeconds();
}

void PlaylistSession::TotalsChanged()
{
    RecountTotals();
    RefreshCurrentDisk();
}

void PlaylistSession::Overflow(int rows)
{
    char text[96];
    std::snprintf(text, sizeof text, "Playlist grid overflow. MaxRows = %d.", rows);
    view_.ShowError(text);
}

void PlaylistSession::Problem(const std::string& text)
{
    problems_.push_back(text);
}

std::vector<std::string> PlaylistSession::TakeProblems()
{
    std::vector<std::string> out;
    out.swap(problems_);
    return out;
}

// ---------------------------------------------------------------------------
// Loading, adding, saving

uint32_t PlaylistSession::LoadPlaylist(const std::string& path)
{
    builder_.options.usePianodirLengths = player_.Option(PlayerOption::UsePianodirLengths);
    const uint32_t id = builder_.LoadPlaylistFile(path);
    flags.playlistModified = false;
    return id;
}

uint32_t PlaylistSession::LoadCatalog(const std::string& path)
{
    builder_.options.usePianodirLengths = player_.Option(PlayerOption::UsePianodirLengths);
    const uint32_t id = builder_.LoadCatalogDisk(path);
    flags.playlistModified = false;
    return id;
}

uint32_t PlaylistSession::AddFile(const std::string& path)
{
    builder_.options.usePianodirLengths = player_.Option(PlayerOption::UsePianodirLengths);
    std::string dir, name;
    SplitSongPath(path, &dir, &name);
    const uint32_t id = builder_.AddEntry(dir, name);
    if (id != 0)
        flags.playlistModified = true;
    return id;
}

bool PlaylistSession::Save(const std::string& path, std::vector<std::string>* problems)
{
    const std::string ext = ExtensionOf(path);
    if (SameTextNoCase(ext, "M3U") || SameTextNoCase(ext, "M3U8")) {
        if (flags.titlesModified)
            SaveSongTitles(rows_, files_, problems);
        flags.titlesModified = false;
        if (!ExportM3u(rows_, files_, path))
            return false;
    } else if (!SavePlaylistFile(rows_, files_, path, flags.titlesModified, problems)) {
        return false;
    }
    flags.titlesModified = false;
    flags.playlistModified = false;
    return true;
}

void PlaylistSession::SaveTitles(std::vector<std::string>* problems)
{
    if (!flags.titlesModified)
        return;
    SaveSongTitles(rows_, files_, problems);
    flags.titlesModified = false;
}

bool PlaylistSession::ExportTo(const std::string& path)
{
    const std::string ext = ExtensionOf(path);
    if (SameTextNoCase(ext, "M3U") || SameTextNoCase(ext, "M3U8"))
        return ExportM3u(rows_, files_, path);
    if (SameTextNoCase(ext, "ZUB"))
        return SavePlaylistFile(rows_, files_, path, false, nullptr);
    return ExportCsv(rows_, files_, path);
}

// ---------------------------------------------------------------------------
// Totals and the current disk

void PlaylistSession::RecountTotals()
{
    const int count = grid_.RowCount();
    const int folders = count > 0 ? grid_.Rows(0, -1).CountFolderRows() : 0;
    // A disk's title names its catalog (a directory's is empty).
    int disks = 0;
    for (const char* catalog : {kPianodirFile, kMusicDirFile})
        disks += folders > 0 ? grid_.Range(ColTitle, 0, ColTitle, -1).Find(catalog).CountFolderRows() : 0;
    const int directories = folders - disks;
    view_.SetStatus(kPartFolders, FoldersText(folders, directories));
    view_.SetStatus(kPartSongs, SongsText(count - folders));
    ShowTotalSeconds();
}

void PlaylistSession::ShowTotalSeconds()
{
    view_.SetStatus(kPartTotal, TotalText(flags.totalSeconds));
}

void PlaylistSession::RefreshCurrentDisk()
{
    const int index = flags.playingRowId ? rows_.IndexOf(flags.playingRowId) : -1;
    if (index < 0) {
        flags.playingRowId = 0;
        if (!flags.buildScanActive) {
            view_.SetStatus(kPartFolder, "");
            view_.SetStatus(kPartFolderLength, "");
        }
        return;
    }
    const int folder = rows_.FolderOf(index);
    if (folder < 0)
        return;
    const PlaylistRow row = rows_.Read(folder);
    view_.SetStatus(kPartLabel, row.icon == kIconFolder ? "\t\tCurrent Dir:" : "\t\tCurrent Disk:");
    view_.SetStatus(kPartFolder, row.Name());
    view_.SetStatus(kPartFolderLength, row.text[ColLength]);
}

int PlaylistSession::SelectedRow()
{
    return grid_.CurrentSelection().FirstRow();
}

void PlaylistSession::MakeFocus(int index)
{
    if (index >= 0)
        grid_.Row(index).MakeCurrent();
}

}  // namespace playlist
