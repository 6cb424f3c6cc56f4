// PlaylistSession: the playlist window's state and behaviour without the
// window. One lives while the window exists. It works on the rows only
// through its PlaylistGrid, asks the main window for songs through
// PlayerLink and shows what it knows through PlaylistView; the Windows
// dialog (win32/playlist_dialog.cpp) turns messages into these calls.
#ifndef ZUB_PLAYLIST_PLAYLIST_SESSION_H
#define ZUB_PLAYLIST_PLAYLIST_SESSION_H

#include <cstdint>
#include <string>
#include <vector>

#include "grid_row_store.h"
#include "playlist_builder.h"
#include "playlist_grid.h"
#include "sequencer.h"

namespace playlist {

// The main window's options the playlist reads.
enum class PlayerOption { AutoPlay, SongGap, Loop, SortByDiskDir, UsePianodirLengths, AlwaysOnTop };

// Internal commands to the main window.
enum : int { kCmdPlay = 103, kCmdStop = 105, kCmdRefresh = 150, kCmdOpenSong = 151 };

// What the playlist needs of the main window.
class PlayerLink {
public:
    virtual ~PlayerLink() = default;
    virtual SequencerState State() = 0;
    virtual bool Option(PlayerOption option) = 0;
    // CurrentSongPath and VoiceMapPath.
    virtual std::string CurrentSongPath() = 0;
    virtual void SetSong(const std::string& path, const std::string& voiceMap) = 0;
    virtual void SetUserStop() = 0;
    // A WM_COMMAND to the main window, sent (it has taken effect on return).
    virtual void Command(int id) = 0;
    // The song gap: blocks for `ms` milliseconds.
    virtual void Wait(uint32_t ms) = 0;
};

// What the window shows besides the grid.
class PlaylistView {
public:
    virtual ~PlaylistView() = default;
    virtual void SetStatus(int part, const std::string& text) = 0;
    // Timer 1: the playing row's animation, every 500 ms.
    virtual void StartAnimation() = 0;
    virtual void StopAnimation() = 0;
    // The arrow buttons are hidden while the list is sorted by folder.
    virtual void ShowArrows(bool shown) = 0;
    // "Error" caption, error icon.
    virtual void ShowError(const std::string& text) = 0;
};

// Status bar parts.
enum StatusPart { kPartLabel, kPartFolder, kPartFolderLength, kPartTotalsLabel, kPartFolders, kPartSongs, kPartTotal };

struct PlaylistFlags {
    uint32_t playingRowId = 0;
    uint32_t cuedRowId = 0;
    bool playlistModified = false;
    bool titlesModified = false;
    bool buildScanActive = false;
    bool sortedByDiskDir = false;
    int64_t totalSeconds = 0;
    SequencerState lastState = SequencerState::NoFile;
};

// What a title edit may do, decided when it is asked for.
struct TitleEdit {
    bool active = false;
    uint32_t rowId = 0;
    size_t limit = 0;  // the text paste obeys it too
    std::string oldTitle;
};

class PlaylistSession : private PlaylistEvents {
public:
    PlaylistSession(PlaylistGrid& grid, PlaylistFiles& files, LengthProbe* probe, PlayerLink& player, PlaylistView& view);

    PlaylistFlags flags;
    PlaylistGrid& Grid() { return grid_; }
    GridRowStore& Rows() { return rows_; }
    PlaylistBuilder& Builder() { return builder_; }
    PlaylistFiles& Files() { return files_; }

    // Loading and adding (through the one entry-adding routine).
    uint32_t LoadPlaylist(const std::string& path);
    uint32_t LoadCatalog(const std::string& path);
    uint32_t AddFile(const std::string& path);
    // Problems met while reading playlists and catalogs since the last call.
    std::vector<std::string> TakeProblems();

    // Saving (the file's path is chosen by the window): ".M3U" and ".M3U8"
    // as such lists, anything else as ".ZUB", after the edited titles were
    // written back; false when the file could not be written. Title
    // write-back problems go to `problems`.
    bool Save(const std::string& path, std::vector<std::string>* problems);
    void SaveTitles(std::vector<std::string>* problems);
    bool ExportTo(const std::string& path);

    // Advancing (ZM_PLAYLIST_STEP): 0 automatic, 1 next, -1 previous.
    void Step(int step);
    // The Cue button, and a double click on a song row.
    void Cue();
    // A double click: songs cue; a folder row shows or hides its songs.
    void DoubleClick();
    // Next (0x10) and Previous (0x20) for the main window's controls.
    unsigned NavigationBits();

    // Playing-row tracking (ZM_PLAYLIST_STATE) and the animation tick with
    // n from 0 to 4.
    void FollowState();
    void AnimationTick(int n);
    void RefreshCurrentDisk();
    void RecountTotals();
    void ShowTotalSeconds();

    // Scrolling: a wheel step (and a scroll-bar line) down (+1) or up (-1),
    // half a page beyond the visible rows, a column right or left.
    void WheelStep(int down);
    void HalfPage(int down);
    void ScrollColumn(int right);

    // Rows.
    void Move(int step);
    void DeleteSelected();
    void ShowAllSongs(bool shown);
    void SortByFolder(bool on);

    // Title editing: notification 14 (returns true when an edit began) and
    // the end of an edit.
    bool BeginTitleEdit();
    void EndTitleEdit();
    const TitleEdit& Edit() const { return edit_; }
    bool Editing();

    // The first selected row, -1 when nothing is selected.
    int SelectedRow();

private:
    // PlaylistEvents
    void SecondsAdded(int64_t seconds) override;
    void TotalsChanged() override;
    void Overflow(int rows) override;
    void Problem(const std::string& text) override;

    void LoadRow(int index);
    void Demote(int folder);
    void MakeFocus(int index);
    void ScrollIntoView(int first, int last, int step);
    bool Playable(int index);

    PlaylistGrid& grid_;
    GridRowStore rows_;
    PlaylistFiles& files_;
    PlayerLink& player_;
    PlaylistView& view_;
    PlaylistBuilder builder_;
    TitleEdit edit_;
    std::vector<std::string> problems_;
};

// Texts of the status bar and the window title.
std::string FoldersText(int folders, int directories);
std::string SongsText(int songs);
std::string TotalText(int64_t seconds);
// "Zub PlayList - [%s]" or "ESEQ PlayList - [...]" for the path the window
// opened on (an empty file name: "[Untitled]").
std::string WindowTitle(const std::string& fileName);

}  // namespace playlist

#endif
