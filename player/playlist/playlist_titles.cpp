// Editing song titles in the grid: the limit by the song's kind when the
// edit begins, and marking the changed title (and its catalog disk) for
// writing back when it ends.
#include "playlist_session.h"

#include "title_writeback.h"

namespace playlist {

namespace {

constexpr uint32_t kEditingOpen = 1;
constexpr uint32_t kEditCancelled = 16;

}  // namespace

bool PlaylistSession::Editing()
{
    return grid_.GridNumber(prop::kEditState) == static_cast<int32_t>(kEditingOpen);
}

bool PlaylistSession::BeginTitleEdit()
{
    if (grid_.GridNumber(prop::kEditRefused) != 0)
        return false;
    const GridSelection cell = grid_.EditCell();
    const int row = cell.FirstRow();
    const int col = cell.FirstCol();
    if (row < 0 || col < 0)
        return false;
    const int32_t titleColumn = grid_.Column(ColTitle).GetNumber(prop::kColumnId);
    if (grid_.Column(col).GetNumber(prop::kColumnId) != titleColumn || rows_.Kind(row) != RowKind::Song)
        return false;
    const PlaylistRow song = rows_.Read(row);
    const size_t limit = TitleEditLimit(files_, song.Path());
    if (limit == 0)
        return false;  // Disk Orchestra songs and files that hold no title
    edit_.active = true;
    edit_.rowId = song.id;
    edit_.limit = limit;
    edit_.oldTitle = song.Title();
    TsEditRequest request = {1, static_cast<int32_t>(limit), {0, 0}};
    grid_.Send(TSM_BEGINEDIT, 0, &request);
    // The caret at the end, the whole title selected.
    const int32_t length = static_cast<int32_t>(song.Title().size() < limit ? song.Title().size() : limit);
    grid_.SetGridNumber(prop::kEditCaret, length);
    grid_.SetGridNumber(prop::kEditSelLength, -length);
    return true;
}

void PlaylistSession::EndTitleEdit()
{
    // The first end notification of an edit decides; a second (accepted,
    // then ended) finds no edit.
    if (!edit_.active)
        return;
    edit_.active = false;
    if (grid_.GridNumber(prop::kEditState) == static_cast<int32_t>(kEditCancelled))
        return;
    const int row = rows_.IndexOf(edit_.rowId);
    if (row < 0)
        return;  // the row went while it was edited
    // The editor's text, while the grid reports the end; when the grid has
    // stored an accepted text already, the cell holds it.
    const GridSelection cell = grid_.Cell(row, ColTitle);
    std::string title = cell.GetText(CellProp(prop::kCellValue));
    if (title == edit_.oldTitle) {
        ValueList text(grid_.Lists(), 1);
        grid_.Send(TSM_GETPROP, static_cast<uint32_t>(prop::kEditText) << 16, text.get());
        title = text.Text(0);
    }
    if (title.size() > edit_.limit)
        title.resize(edit_.limit);
    if (title == edit_.oldTitle)
        return;
    cell.SetText(CellProp(prop::kCellValue), title);
    cell.SetText(CellProp(prop::kCellTextColour), kColourMagenta);
    flags.titlesModified = true;
    // Saving rewrites a catalog disk's titles when its title is marked.
    const int folder = rows_.FolderOf(row);
    if (folder >= 0 && rows_.Icon(folder) != kIconFolder)
        grid_.Cell(folder, ColTitle).SetText(CellProp(prop::kCellTextColour), kColourMagenta);
}

}  // namespace playlist
