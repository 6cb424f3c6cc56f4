// Advancing, cueing and loading songs into the player, and following what
// the player does with them (the playing row and its animation).
#include "playlist_session.h"

namespace playlist {

namespace {

constexpr uint32_t kSongGapMs = 2000;
constexpr unsigned kNextBit = 0x10;
constexpr unsigned kPreviousBit = 0x20;

}  // namespace

// A song row the advance may load: not a folder row, not a missing song.
bool PlaylistSession::Playable(int index)
{
    return rows_.Kind(index) == RowKind::Song && rows_.Icon(index) != kIconMissing;
}

void PlaylistSession::Step(int step)
{
    const bool automatic = step == 0;
    const int s = step < 0 ? -1 : 1;
    const int count = grid_.RowCount();
    if (count < 2)
        return;
    const bool loop = player_.Option(PlayerOption::Loop);

    int accepted = -1;
    int current = flags.cuedRowId ? rows_.IndexOf(flags.cuedRowId) : -1;
    if (current < 0) {
        const int selected = SelectedRow();
        if (selected >= 0 && selected < count && Playable(selected))
            accepted = selected;
        else if (selected >= 0 && selected < count)
            current = selected;
        else
            current = s > 0 ? 0 : count;  // before the first row, or past the last
    }
    // Each row is looked at once at most: a list of nothing but folder rows
    // and missing songs ends the search instead of circling for ever.
    for (int looked = 0; accepted < 0 && looked <= count; ++looked) {
        int candidate = current + s;
        if (candidate < 0 || candidate >= count) {
            if (!loop)
                return;
            candidate = candidate < 0 ? count - 1 : 0;
        }
        if (Playable(candidate))
            accepted = candidate;
        current = candidate;
    }
    if (accepted < 0)
        return;
    if (automatic && player_.Option(PlayerOption::SongGap))
        player_.Wait(kSongGapMs);
    MakeFocus(accepted);
    LoadRow(accepted);
    if (!player_.Option(PlayerOption::AutoPlay))
        player_.Command(kCmdPlay);
}

void PlaylistSession::LoadRow(int index)
{
    const PlaylistRow row = rows_.Read(index);
    if (row.id == 0 || row.IsFolder())
        return;
    std::string map = row.text[ColVoiceMap];
    const int folder = rows_.FolderOf(index);
    if (folder >= 0 && rows_.Icon(folder) != kIconFolder)
        map = rows_.Read(folder).text[ColVoiceMap];  // a catalog disk's map serves all its songs
    flags.cuedRowId = row.id;
    player_.SetSong(row.Path(), map);
    player_.Command(kCmdOpenSong);
}

void PlaylistSession::Cue()
{
    if (player_.State() == SequencerState::Playing) {
        player_.SetUserStop();
        player_.Command(kCmdStop);
    }
    const int count = grid_.RowCount();
    if (count < 2)
        return;
    int target = SelectedRow();
    if (target < 0) {
        target = 1;
        MakeFocus(target);
    } else if (rows_.Kind(target) == RowKind::Folder) {
        ++target;
    }
    if (target < count)
        LoadRow(target);
}

void PlaylistSession::DoubleClick()
{
    const int selected = SelectedRow();
    if (selected < 0 || rows_.Kind(selected) == RowKind::Song) {
        Cue();
        return;
    }
    GridSelection songs = grid_.Row(selected);
    songs.SongRowsOf();
    const bool allShown = songs.Count(CountOf::Shown) == songs.Count(CountOf::Rows);
    songs.HideRows(allShown);
}

unsigned PlaylistSession::NavigationBits()
{
    const uint32_t reference = flags.playingRowId ? flags.playingRowId : flags.cuedRowId;
    if (reference == 0)
        return 0;
    const int index = rows_.IndexOf(reference);
    if (index < 0)
        return 0;
    if (player_.Option(PlayerOption::Loop))
        return kNextBit | kPreviousBit;
    unsigned bits = index + 1 != grid_.RowCount() ? kNextBit : 0;
    if (index > 1)
        bits |= kPreviousBit;
    return bits;
}

void PlaylistSession::FollowState()
{
    const SequencerState state = player_.State();
    if (state == flags.lastState)
        return;
    flags.lastState = state;
    switch (state) {
    case SequencerState::Opened: {
        const int index = flags.playingRowId ? rows_.IndexOf(flags.playingRowId) : -1;
        if (index >= 0)
            grid_.Cell(index, ColName).ClearCells(TS_CELL_ICON);
        flags.playingRowId = 0;
        view_.StopAnimation();
        if (!flags.buildScanActive) {
            view_.SetStatus(kPartFolder, "");
            view_.SetStatus(kPartFolderLength, "");
        }
        break;
    }
    case SequencerState::Playing: {
        GridSelection found = grid_.Column(ColPath);
        found.Find(player_.CurrentSongPath());
        if (found.Count(CountOf::Rows) != 1)
            break;
        const int index = found.FirstRow();
        rows_.SetIcon(index, PlayingIcon(0));
        flags.playingRowId = flags.cuedRowId = rows_.IdAt(index);
        view_.StartAnimation();
        RefreshCurrentDisk();
        break;
    }
    case SequencerState::Paused:
        view_.StopAnimation();
        break;
    default:
        break;
    }
}

void PlaylistSession::AnimationTick(int n)
{
    const int index = flags.playingRowId ? rows_.IndexOf(flags.playingRowId) : -1;
    if (index < 0) {
        flags.playingRowId = 0;
        view_.StopAnimation();
        return;
    }
    rows_.SetIcon(index, PlayingIcon(n));
}

}  // namespace playlist
