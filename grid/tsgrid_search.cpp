// AutoSearch: characters typed in a grid with AutoSearch columns (and not
// taken by an edit) gather in a search text shown in the AutoSearch field;
// the focus moves to the first row whose text in an AutoSearch column begins
// with it. One grid of the process searches at a time. The search ends on
// Esc, Enter, Tab, a key or click that moves the focus, a resize, a change of
// option bit 19, the loss of the keyboard, the start of an edit, another
// grid's search, or a pause of kPause milliseconds.
#include "tsgrid.h"

#include <mutex>

#include "tsautosearch.h"
#include "tsvalue.h"

namespace {

const uint32_t kPause = 3000;

std::mutex g_searchLock;
TsGrid* g_searcher = nullptr;  // the grid that runs the process's AutoSearch

}  // namespace

bool TsGrid::Searching() const
{
    if (search_.text.empty())
        return false;
    std::lock_guard<std::mutex> guard(g_searchLock);
    return g_searcher == this;
}

bool TsGrid::SearchChar(uint32_t code)
{
    if (!TsHasSearchColumns(data_))
        return false;
    {
        std::lock_guard<std::mutex> guard(g_searchLock);
        if (g_searcher != this) {
            // The other grid ends its search on its own thread.
            if (g_searcher)
                g_searcher->host_->EndSearchLater();
            g_searcher = this;
            search_.text.clear();
        }
    }
    if (search_.text.size() < TS_VALUE_MAX)
        search_.text.push_back(static_cast<char>(code));
    search_.lastKey = host_->Now();
    uint32_t row = 0, col = 0;
    bool has = FocusCell(&row, &col);
    int32_t found = TsSearchRows(data_, search_.text, has ? static_cast<int32_t>(row) : -1);
    if (found >= 0) {
        // The row changes; the focus column stays where the user put it.
        uint32_t firstRow, lastRow, firstCol, lastCol;
        if (!has)
            col = ShownEnds(&firstRow, &lastRow, &firstCol, &lastCol) ? firstCol : 0;
        MoveFocus(static_cast<uint32_t>(found), col, kSelectOnly);
        int32_t r = found;
        data_.Slot(TS_SLOT_SEARCH).Set(TsRect{r, 0, r, TS_ALL_COLS - 1});
    }
    if (!Searching())
        return true;  // the window's answer to the move ended it (a resize)
    ShowSearch();
    if (!search_.timer)
        search_.timer = host_->StartTimer(kPause / 50);
    return true;
}

void TsGrid::ShowSearch()
{
    // The field stands at the focus cell's lower left, or at the top of the grid.
    TsPixels beside{0, 0, 0, 0};
    uint32_t row, col;
    if (FocusCell(&row, &col))
        Geometry().CellRect(data_, row, col, &beside);
    host_->SearchField(search_.text.c_str(), beside);
}

void TsGrid::EndSearch()
{
    bool mine = false;
    {
        std::lock_guard<std::mutex> guard(g_searchLock);
        if (g_searcher == this) {
            g_searcher = nullptr;
            mine = true;
        }
    }
    if (!mine && search_.text.empty())
        return;
    search_.text.clear();
    if (search_.timer)
        host_->StopTimer(search_.timer);
    search_.timer = 0;
    data_.Slot(TS_SLOT_SEARCH).Clear();
    host_->SearchField(nullptr, TsPixels{0, 0, 0, 0});
}

void TsGrid::ForgetSearch()
{
    std::lock_guard<std::mutex> guard(g_searchLock);
    if (g_searcher == this)
        g_searcher = nullptr;
}

void TsGrid::SearchPause()
{
    search_.timer = 0;
    if (!Searching())
        return;
    uint32_t quiet = host_->Now() - search_.lastKey;
    if (quiet >= kPause) {
        EndSearch();
        return;
    }
    uint32_t ticks = (kPause - quiet + 49) / 50;
    search_.timer = host_->StartTimer(ticks ? ticks : 1);
}
