// Changing the list: moving rows within folders and folder groups,
// deleting, demoting catalog disks, showing and hiding songs, sorting.
#include "playlist_session.h"

namespace playlist {

namespace {

constexpr uint32_t kAlignTop = 12;
constexpr uint32_t kAlignBottom = 8;

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && SameTextNoCase(text.substr(text.size() - tail.size()), tail);
}

// A catalog path without its "\Pianodir.fil" or "\Music.dir".
std::string WithoutCatalog(const std::string& path)
{
    for (const char* name : {kPianodirFile, kMusicDirFile}) {
        const std::string tail = std::string("\\") + name;
        if (EndsWithNoCase(path, tail) || EndsWithNoCase(path, "/" + std::string(name)))
            return path.substr(0, path.size() - tail.size());
    }
    return path;
}

}  // namespace

void PlaylistSession::ScrollIntoView(int first, int last, int step)
{
    const GridSelection visible = grid_.VisibleRows();
    const int shownFirst = visible.FirstRow();
    const int shownLast = visible.LastRow();
    if (shownFirst >= 0 && first >= shownFirst && last <= shownLast)
        return;
    grid_.Rows(first, last).ScrollTo(step < 0 ? kAlignTop : kAlignBottom);
}

// Once one of its songs moved or went, a catalog disk no longer matches
// its catalog: it becomes a plain directory.
void PlaylistSession::Demote(int folder)
{
    PlaylistRow row = rows_.Read(folder);
    if (!row.IsFolder() || row.icon == kIconFolder)
        return;
    row.icon = kIconFolder;
    row.text[ColPath] = WithoutCatalog(row.Path());
    row.nameHint = WithoutCatalog(row.nameHint);
    row.text[ColTitle].clear();
    rows_.Write(folder, row);
    RecountTotals();  // one disk fewer, one directory more
    RefreshCurrentDisk();
}

void PlaylistSession::Move(int step)
{
    const GridSelection selected = grid_.CurrentSelection();
    const int first = selected.FirstRow();
    const int last = selected.LastRow();
    if (first < 0 || (step != 1 && step != -1))
        return;
    const int count = grid_.RowCount();
    if (rows_.Kind(first) == RowKind::Song) {
        const int folder = rows_.FolderOf(first);
        const int end = rows_.GroupEnd(folder);
        if (first + step <= folder || last + step >= end)
            return;  // a song moves within its folder only
        grid_.Rows(first, last).MoveRows(step);
        grid_.Rows(first + step, last + step).MakeCurrent();
        ScrollIntoView(first + step, last + step, step);
        Demote(folder);
    } else {
        // A folder row moves with its songs past the whole neighbouring group.
        const int end = rows_.GroupEnd(first);
        int by = 0;
        if (step < 0 && first > 0)
            by = rows_.FolderOf(first - 1) - first;
        else if (step > 0 && end < count)
            by = rows_.GroupEnd(end) - end;
        if (by == 0 || first + by < 0)
            return;
        grid_.Rows(first, end - 1).MoveRows(by);
        MakeFocus(first + by);
        ScrollIntoView(first + by, first + by + (end - 1 - first), step);
    }
    flags.playlistModified = true;
}

void PlaylistSession::DeleteSelected()
{
    const int index = SelectedRow();
    if (index < 0)
        return;
    const PlaylistRow row = rows_.Read(index);
    if (row.id == 0)
        return;
    if (row.IsFolder()) {
        flags.totalSeconds -= row.seconds;
        rows_.Remove(index, rows_.GroupEnd(index) - index);
    } else {
        const int folder = rows_.FolderOf(index);
        flags.totalSeconds -= row.seconds;
        if (folder < 0) {
            rows_.Remove(index, 1);
        } else {
            rows_.AddSeconds(folder, -static_cast<int64_t>(row.seconds));
            if (rows_.GroupEnd(folder) - folder <= 2) {
                rows_.Remove(folder, index - folder + 1);  // its only song: the folder goes too
            } else {
                rows_.Remove(index, 1);
                Demote(folder);
            }
        }
    }
    if (flags.totalSeconds < 0)
        flags.totalSeconds = 0;

    const int count = grid_.RowCount();
    if (count > 0) {
        const int focus = index < count ? index : count - 1;
        MakeFocus(focus);
    }
    if (flags.cuedRowId && rows_.IndexOf(flags.cuedRowId) < 0)
        flags.cuedRowId = 0;
    RecountTotals();
    RefreshCurrentDisk();
    flags.playlistModified = true;
}

void PlaylistSession::ShowAllSongs(bool shown)
{
    const GridSelection all = grid_.Rows(0, -1);
    if (!all.Empty())
        grid_.Send(TSM_OUTLINE, all.Handle() | 1u << 16 | (shown ? 1u : 0u) << 24);
}

void PlaylistSession::SortByFolder(bool on)
{
    flags.sortedByDiskDir = on;
    view_.ShowArrows(!on);
    if (!on) {
        grid_.Send(TSM_SORTROWS, 3, 0);  // the natural order
        return;
    }
    const int count = grid_.RowCount();
    const PropertyId order = TS_PROP(TS_GROUP_ROWS, TS_PART_LIST, 0x13);
    const std::vector<std::string> before = grid_.Rows(0, -1).GetTexts(order, count);
    TsSortRequest request = {"+a", {2, 1, 2, 3, 4, 5, 6, 7}};
    grid_.Send(TSM_SORTROWS, 0, &request);
    if (grid_.Rows(0, -1).GetTexts(order, count) != before)
        flags.playlistModified = true;
}

}  // namespace playlist
