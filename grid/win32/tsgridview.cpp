// The inner grid window's view layer: scroll bars and the wheel, the
// cursor, cell hints and scroll hints, painting, and bringing the screen up
// to date after every message.
#include <stdlib.h>

#include "tsgridwnd.h"
#include "tspropertymgr.h"

namespace {

const uint32_t kOptionNoFocusOnScroll = 0x20000;
const uint32_t kOptionDeferHorizontal = 1u << 24;
const uint32_t kOptionDeferVertical = 1u << 25;
const UINT kMouseHWheel = 0x020E;        // WM_MOUSEHWHEEL
const UINT kWheelScrollChars = 0x006C;   // SPI_GETWHEELSCROLLCHARS

// Two states of a bar draw the same pixels. The page areas beside the thumb
// may be marked invisible at either end of the range while they are as
// large as before (none): their rectangles follow from the thumb.
bool SameLook(const SCROLLBARINFO& a, const SCROLLBARINFO& b)
{
    if (!EqualRect(&a.rcScrollBar, &b.rcScrollBar) || a.dxyLineButton != b.dxyLineButton ||
        a.xyThumbTop != b.xyThumbTop || a.xyThumbBottom != b.xyThumbBottom)
        return false;
    for (int part = 0; part <= CCHILDREN_SCROLLBAR; ++part) {
        DWORD ignored = part == 2 || part == 4 ? STATE_SYSTEM_INVISIBLE : 0;
        if ((a.rgstate[part] & ~ignored) != (b.rgstate[part] & ~ignored))
            return false;
    }
    return true;
}

// Sets a bar whose range and page stay. Redrawing a bar costs more than the
// rest of a one-line step, and over a long list most steps leave the thumb
// on the same pixels: the bar is redrawn only when it looks different.
void MoveThumb(HWND window, bool vertical, int32_t from, int32_t to)
{
    int bar = vertical ? SB_VERT : SB_HORZ;
    LONG object = vertical ? OBJID_VSCROLL : OBJID_HSCROLL;
    SCROLLINFO si = {sizeof si, SIF_POS, 0, 0, 0, to, 0};
    SCROLLBARINFO before = {}, after = {};
    before.cbSize = after.cbSize = sizeof before;
    if (GetScrollBarInfo(window, object, &before)) {
        SetScrollInfo(window, bar, &si, FALSE);
        if (GetScrollBarInfo(window, object, &after) && SameLook(before, after))
            return;
        // Back and forth: a bar is redrawn for a change.
        si.nPos = from;
        SetScrollInfo(window, bar, &si, FALSE);
        si.nPos = to;
    }
    SetScrollInfo(window, bar, &si, TRUE);
}

POINT PointerIn(HWND window)
{
    POINT p = {};
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    return p;
}

}  // namespace

bool TsWndMgr::ViewLayer(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t* result)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Seen on the way to the input layer: the focus rectangle comes or goes.
        hasFocus_ = message == WM_SETFOCUS;
        InvalidateFocusCell();
        return false;
    case WM_DESTROY:
        destroyed_ = true;
        return false;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != Window() || LOWORD(lParam) != HTCLIENT)
            return false;  // scroll bars and other windows keep theirs
        UpdateCellHint(PointerIn(Window()));
        *result = SetCursorAtPointer() ? 1 : 0;
        return *result != 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (!(grid_.Options() & kOptionNoFocusOnScroll) && GetFocus() != Window())
            SetFocus(Window());
        OnScroll(message == WM_VSCROLL, LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_MOUSEWHEEL:
    case kMouseHWheel:
        // A turn to the right scrolls right, the opposite sign of a turn away.
        OnWheel(message == WM_MOUSEWHEEL, message == WM_MOUSEWHEEL ? GET_WHEEL_DELTA_WPARAM(wParam)
                                                                   : -GET_WHEEL_DELTA_WPARAM(wParam));
        return true;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        HideCellHint();
        return true;
    case TSM_SYNCBARS:
        barsPosted_ = false;
        SyncBars();
        return true;
    default:
        return false;
    }
}

void TsWndMgr::OnScroll(bool vertical, uint32_t code, uint32_t thumb)
{
    grid_.EnsureLayout();
    bool deferred = (grid_.Options() & (vertical ? kOptionDeferVertical : kOptionDeferHorizontal)) != 0;
    grid_.Scroller().OnScroll(grid_.Geometry(), grid_.Data(), vertical, code, thumb, deferred);
    std::string text;
    if (!grid_.Scroller().Hint(grid_.Geometry(), grid_.Data(), grid_.ViewMgr().hint[vertical ? 1 : 0], vertical,
                               &text)) {
        scrollHint_.Hide();
        return;
    }
    // Beside the bar, level with the pointer.
    RECT window;
    GetWindowRect(Window(), &window);
    POINT at = {};
    GetCursorPos(&at);
    if (vertical)
        at.x = window.right - GetSystemMetrics(SM_CXVSCROLL) - 4;
    else
        at.y = window.bottom - GetSystemMetrics(SM_CYHSCROLL) - 4;
    scrollHint_.Show(text.c_str(), at, vertical);
}

void TsWndMgr::OnWheel(bool vertical, int32_t delta)
{
    uint32_t lines = grid_.ViewMgr().wheelLines;
    if (!lines) {
        UINT system = 3;
        SystemParametersInfoA(vertical ? SPI_GETWHEELSCROLLLINES : kWheelScrollChars, 0, &system,
                              0);
        lines = system == WHEEL_PAGESCROLL ? TS_WHEEL_PAGE : system;
    }
    grid_.EnsureLayout();
    grid_.Scroller().OnWheel(grid_.Geometry(), grid_.Data(), vertical, delta, lines);
}

bool TsWndMgr::SetCursorAtPointer()
{
    POINT p = PointerIn(Window());
    RECT client;
    GetClientRect(Window(), &client);
    if (!PtInRect(&client, p) || !Ts().root)
        return false;
    return Ts().root->SetCursorObject(grid_.ViewMgr().CursorAt(p.x, p.y)) != 0;
}

void TsWndMgr::RefreshCursor(void* context)
{
    TsWndMgr* self = static_cast<TsWndMgr*>(context);
    if (self->Window() && WindowFromPoint([] {
            POINT p = {};
            GetCursorPos(&p);
            return p;
        }()) == self->Window())
        self->SetCursorAtPointer();
}

void TsWndMgr::UpdateCellHint(POINT at)
{
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, Window(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != 0;
    }
    std::string text;
    TsPixels cell;
    TsHit hit{-1, -1};
    if (!grid_.ViewMgr().HintAt(at.x, at.y, &text, &cell, &hit)) {
        HideCellHint();
        return;
    }
    if (hit.row == hintRow_ && hit.col == hintCol_ && text == hintText_)
        return;
    hintRow_ = hit.row;
    hintCol_ = hit.col;
    hintText_ = text;
    grid_.Properties().tooltip = text;
    if (Ts().window)
        Ts().window->ShowTooltip(this, text.c_str(), cell.left, at.y);
}

void TsWndMgr::HideCellHint()
{
    if (hintRow_ < 0 && hintText_.empty())
        return;
    hintRow_ = hintCol_ = -1;
    hintText_.clear();
    grid_.Properties().tooltip.clear();
    if (Ts().window)
        Ts().window->ShowTooltip(this, nullptr, 0, 0);
}

// ---------------------------------------------------------------------------
// Bringing the screen up to date

void TsWndMgr::SyncOrigin()
{
    TsViewState& view = grid_.View();
    uint32_t row = view.FirstRow(), col = view.FirstCol();
    if (row == shownRow_ && col == shownCol_)
        return;
    TsDataMgr& d = grid_.Data();
    RECT client;
    GetClientRect(Window(), &client);
    bool scrolled = false;
    if (grid_.LayoutValid() && !GetUpdateRect(Window(), nullptr, FALSE)) {
        int32_t dy = view.RowOffset(d, shownRow_) - view.RowOffset(d, row);
        int32_t dx = view.ColOffset(d, shownCol_) - view.ColOffset(d, col);
        if (abs(dy) < client.bottom && abs(dx) < client.right) {
            // The pixels still in view move; only the strip that came into
            // view is painted.
            ScrollWindowEx(Window(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
            scrolled = true;
        }
    }
    if (!scrolled)
        InvalidateRect(Window(), nullptr, FALSE);
    shownRow_ = row;
    shownCol_ = col;
}

void TsWndMgr::SyncBars(bool deferMoves)
{
    for (int bar = 1; bar >= 0; --bar) {
        if (!grid_.LayoutValid())
            return;  // a bar that came or went resized the window: the next paint lays out again
        bool vertical = bar == 1;
        if (grid_.Scroller().Tracking(vertical))
            continue;  // the user holds this bar's thumb
        TsScrollBar b = TsScroller::Bar(grid_.Geometry(), grid_.Data(), vertical);
        if (barsSet_[bar] && b == bars_[bar])
            continue;
        bool moveOnly = barsSet_[bar] && b.max == bars_[bar].max && b.page == bars_[bar].page;
        if (deferMoves && moveOnly) {
            if (!barsPosted_)
                barsPosted_ = PostMessageA(Window(), TSM_SYNCBARS, 0, 0) != 0;
            continue;
        }
        int32_t from = bars_[bar].pos;
        bars_[bar] = b;
        barsSet_[bar] = true;
        if (moveOnly) {
            MoveThumb(Window(), vertical, from, b.pos);
            continue;
        }
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, b.max, b.page, b.pos, 0};
        SetScrollInfo(Window(), vertical ? SB_VERT : SB_HORZ, &si, TRUE);
    }
}

void TsWndMgr::InvalidateFocusCell()
{
    TsRect focus;
    TsPixels px;
    if (!grid_.Data().Slot(TS_SLOT_FOCUS).Bounds(&focus) ||
        !grid_.Geometry().CellRect(grid_.Data(), static_cast<uint32_t>(focus.top), static_cast<uint32_t>(focus.left),
                                   &px))
        return;
    RECT r = {px.left, px.top, px.right, px.bottom};
    InvalidateRect(Window(), &r, FALSE);
}

void TsWndMgr::AfterMessage()
{
    // Runs after every message, thousands of times while a client fills the
    // grid: it asks the window system nothing it can know by itself.
    if (!Window() || destroyed_)
        return;
    if (grid_.TakeUpdate()) {
        record_.result.flags |= QF_RESULT_UPDATE_PENDING;
        shownRow_ = grid_.View().FirstRow();
        shownCol_ = grid_.View().FirstCol();
    } else {
        SyncOrigin();
    }
    if (grid_.LayoutValid())
        SyncBars(true);
}

void TsWndMgr::Paint(HDC printDc)
{
    // Lay out first: scroll bars that come or go resize the window.
    for (int i = 0; i < 3 && !grid_.LayoutValid(); ++i) {
        grid_.EnsureLayout();
        SyncBars();
    }
    SyncBars();
    SyncOrigin();
    const auto paintArea = [this](HDC dc, const RECT& r) {
        TsPixels area{r.left, r.top, r.right, r.bottom};
        TsPlanPaint(grid_, area, hasFocus_, &plan_);
        TsPaintOptions options = {(grid_.ViewMgr().drawing & TS_DRAW_NOELLIPSIS) == 0};
        painter_.Paint(dc, r, plan_, options);
    };
    // A copy of the whole client area into a caller's device context
    // (PrintWindow and the like); the window's own paint still comes.
    if (printDc) {
        RECT client;
        GetClientRect(Window(), &client);
        paintArea(printDc, client);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Window(), &ps);
    if (dc) {
        paintArea(dc, ps.rcPaint);
        EndPaint(Window(), &ps);
    }
    grid_.Painted();
}
