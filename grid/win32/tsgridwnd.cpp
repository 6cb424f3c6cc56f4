// TsWndMgr: construction, the message operation, the grid's own switch,
// notifications and the host services; the view layer is tsgridview.cpp.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <set>

#include "tsgridwnd.h"

#include "tsaccessible.h"
#include "tsinputlayer.h"
#include "tssystemcompare.h"

namespace {

// Live grid objects of the process, so that message 1226 from anywhere
// only ever touches a real grid.
std::mutex g_liveLock;
std::set<TsGrid*> g_live;

bool IsLiveGrid(TsGrid* grid)
{
    std::lock_guard<std::mutex> guard(g_liveLock);
    return g_live.count(grid) != 0;
}

}  // namespace

TsWndMgr::TsWndMgr(HWND window, uint32_t maxRows, uint32_t maxCols)
    : TsWindowObject(window),
      display_(Ts().display, RefreshCursor, this),
      grid_(maxRows, maxCols, this),
      editor_(window, EditEnded, this),
      field_(window)
{
    timer_.onTimer = OnTimer;
    timer_.node = nullptr;
    timer_.owner = this;
    std::lock_guard<std::mutex> guard(g_liveLock);
    g_live.insert(&grid_);
}

TsWndMgr::~TsWndMgr()
{
    if (accessible_) {
        TsDisconnectAccessible(accessible_);
        accessible_->Release();
    }
    if (Ts().timer)
        Ts().timer->RemoveAllTimers(&timer_);
    std::lock_guard<std::mutex> guard(g_liveLock);
    g_live.erase(&grid_);
}

int32_t TsWndMgr::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    bool handled = ViewLayer(message, wParam, lParam, &result) ||
                   TsInputLayer(grid_, Window(), message, wParam, lParam, &result) ||
                   OwnSwitch(message, wParam, lParam, &result);
    if (handled)
        record_.result.value = result;
    AfterMessage();
    SendNotifications();
    return handled ? 1 : 0;
}

bool TsWndMgr::OwnSwitch(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t* result)
{
    if (message >= TSM_FIRST && message <= TSM_LAST) {
        *result = grid_.ClientMessage(message, reinterpret_cast<ParamBlock*>(lParam));
        return true;
    }
    switch (message) {
    case WM_DESTROY:
        HideCellHint();
        scrollHint_.Hide();
        editor_.Abandon();
        grid_.EndSearch();
        return true;
    case WM_CANCELMODE:
    case TSM_ENDTRACKING:
        grid_.CaptureLost();
        return true;
    case TSM_DEFERRED:
        if (wParam == TS_DEFER_EDITOR)
            editor_.DestroyClosed();
        else if (wParam != TS_DEFER_SETTLE)
            grid_.Deferred(static_cast<uint32_t>(wParam));
        return true;
    case WM_GETOBJECT: {
        LRESULT object = 0;
        if (!TsAnswerGetObject(&accessible_, &grid_, Window(), wParam, lParam, &object))
            return false;
        *result = object;
        return true;
    }
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = field_.Colors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
            *result = reinterpret_cast<intptr_t>(brush);
            return true;
        }
        return false;
    case WM_SIZE: {
        RECT box;
        GetWindowRect(Window(), &box);
        SIZE outer = {box.right - box.left, box.bottom - box.top};
        bool resized = outer.cx != outerSize_.cx || outer.cy != outerSize_.cy;
        outerSize_ = outer;
        grid_.OnSize(LOWORD(lParam), HIWORD(lParam), resized);
        return true;
    }
    case WM_SETTEXT:
        *result = grid_.SetQueryText(reinterpret_cast<const char*>(lParam));
        return true;
    case WM_GETTEXT:
        *result = grid_.GetQueryText(reinterpret_cast<char*>(lParam), wParam);
        return true;
    case WM_PAINT:
        Paint();
        return true;
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_GETDLGCODE:
        *result = grid_.DialogCode(GetFocus() == Window(), GetKeyState(VK_CONTROL) < 0);
        return true;
    case WM_PALETTECHANGED:
    case TSM_INVALIDATEVIEWS:
        grid_.InvalidateViews();
        return true;
    case TSM_RESETDRAWING:
        grid_.ResetDrawing();
        return true;
    case TSM_MENUTRACK:
        if (wParam == 1) {
            RECT* out = reinterpret_cast<RECT*>(lParam);
            TsPixels px;
            // Without a focus cell the whole grid anchors the menu.
            if (!grid_.MenuAnchor(&px)) {
                RECT client;
                GetClientRect(Window(), &client);
                px = TsPixels{client.left, client.top, client.right, client.bottom};
            }
            if (out) {
                MapPixels(&px, 3);
                *out = RECT{px.left, px.top, px.right, px.bottom};
            }
            *result = out ? 1 : 0;
        } else {
            *result = 1;
        }
        return true;
    case TSM_HILITESTEP:
        grid_.TimerStep(static_cast<uint32_t>(wParam));
        return true;
    case TSM_COPYSLOT: {
        TsGrid* target = reinterpret_cast<TsGrid*>(lParam);
        if (IsLiveGrid(target))
            grid_.CopySlotTo((wParam >> 8) & 0xFF, target, wParam & 0xFF);
        return true;
    }
    case TSM_QUERYCURSOR:
        *result = SetCursorAtPointer() ? 1 : 0;
        return true;
    default:
        return false;
    }
}

void TsWndMgr::SendNotifications()
{
    std::vector<uint32_t> codes = grid_.TakeNotifications();
    if (codes.empty())
        return;
    HWND frame = Frame();
    HWND parent = frame ? GetParent(frame) : nullptr;
    if (!parent)
        return;
    WORD id = static_cast<WORD>(GetDlgCtrlID(frame));
    for (uint32_t code : codes)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(frame));
}

void TsWndMgr::EditEnded(void* self, bool accept)
{
    TsWndMgr* me = static_cast<TsWndMgr*>(self);
    me->grid_.UserEndEdit(accept);
    // What follows a message of the grid's: repaint, notifications.
    if (me->Window())
        SendMessageA(me->Window(), TSM_DEFERRED, TS_DEFER_SETTLE, 0);
}

void TsWndMgr::SearchField(const char* text, const TsPixels& beside)
{
    // The owner grid's "AutoSearch" colours, a half it leaves out from
    // "Default"; tooltip colours when it has none.
    COLORREF colors[2] = {GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT)};
    int pair = grid_.SearchColors();
    if (pair >= 0) {
        TsColors c = grid_.Data().Aliases().Colors(pair);
        const QfGraphic* halves[2] = {c.background, c.text};
        for (int i = 0; i < 2; ++i) {
            if (halves[i] && halves[i]->type == QF_GRAPHIC_COLOR)
                colors[i] = TsColorRef(halves[i]->value, colors[i]);
        }
    }
    uint32_t row = 0, col = 0;
    const QfGraphic* font = grid_.FocusCell(&row, &col) ? grid_.FontOf(row, col) : grid_.FontOf(TS_NO_ROW, 0);
    field_.Show(text, beside, colors[0], colors[1], font ? reinterpret_cast<HFONT>(font->value) : nullptr);
}

void TsWndMgr::Capture(bool on)
{
    if (on)
        SetCapture(Window());
    else if (GetCapture() == Window())
        ReleaseCapture();
}

void TsWndMgr::Accessible(uint32_t event, uint32_t row)
{
    TsRaiseAccessibleEvent(grid_, Window(), event, row);
}

TsTextCompare TsWndMgr::TextCompare()
{
    return TsCompareTextSystem;
}

bool TsWndMgr::FillSlotFromGrid(uintptr_t outerWindow, uint32_t theirs, TsGrid* target, uint32_t into)
{
    HWND outer = reinterpret_cast<HWND>(outerWindow);
    if (outer == Frame() || !IsWindow(outer))
        return false;
    HWND inner = GetWindow(outer, GW_CHILD);
    char cls[16] = "";
    if (!inner || !GetClassNameA(inner, cls, sizeof cls) || lstrcmpiA(cls, TS_GRID_CLASS) != 0)
        return false;
    SendMessageA(inner, TSM_COPYSLOT, (theirs & 0xFF) << 8 | (into & 0xFF), reinterpret_cast<LPARAM>(target));
    return true;
}

bool TsWndMgr::FrameOffsets(int32_t* width, int32_t* height)
{
    RECT frame, inner;
    *width = *height = 0;
    if (!Frame() || !GetClientRect(Frame(), &frame) || !GetWindowRect(Window(), &inner))
        return false;
    *width = (frame.right - frame.left) - (inner.right - inner.left);
    *height = (frame.bottom - frame.top) - (inner.bottom - inner.top);
    return true;
}

bool TsWndMgr::MapPixels(TsPixels* px, int to)
{
    HWND toWindow = nullptr;
    if (to == 1)
        toWindow = Frame() ? GetParent(Frame()) : nullptr;
    else if (to == 2)
        toWindow = Frame();
    else if (to != 3)
        return false;
    if (to != 3 && !toWindow)
        return false;
    POINT corners[2] = {{px->left, px->top}, {px->right, px->bottom}};
    MapWindowPoints(Window(), toWindow, corners, 2);
    *px = TsPixels{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

IQfWindowObject* QFAPI TsMakeGrid(QfHandle window, const QfCreateRecord* record, void*)
{
    uint32_t rows = TS_DEFAULT_MAXROWS, cols = TS_DEFAULT_MAXCOLS;
    if (record && (record->style & TS_WS_PARAMS) && record->createParams) {
        const GridCreateParams* params = static_cast<const GridCreateParams*>(record->createParams);
        rows = params->maxRows;
        cols = params->maxCols;
    }
    TsWndMgr* grid = new (std::nothrow) TsWndMgr(static_cast<HWND>(window), rows, cols);
    if (grid && !grid->Ready()) {
        grid->Release();
        return nullptr;
    }
    return grid;
}
