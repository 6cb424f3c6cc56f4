// TsWndMgr, the inner grid window: a window object over the portable grid.
// Its message operation runs the layers in order (view messages, input
// messages, then the grid's own switch with the client messages), then asks
// for a repaint when something changed and sends pending notifications to
// the parent of the "Tessaline" window.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <set>

#include "tsgrid.h"
#include "tsservices.h"
#include "tswindowobject.h"

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

class TsWndMgr;

// The grid's slot in the timer service.
struct GridTimer : QfTimerClient {
    TsWndMgr* owner;
};

class TsWndMgr final : public TsWindowObject<TsWndMgr>, private TsGridHost {
public:
    TsWndMgr(HWND window, uint32_t maxRows, uint32_t maxCols) : TsWindowObject(window), grid_(maxRows, maxCols, this)
    {
        timer_.onTimer = OnTimer;
        timer_.node = nullptr;
        timer_.owner = this;
        std::lock_guard<std::mutex> guard(g_liveLock);
        g_live.insert(&grid_);
    }
    ~TsWndMgr()
    {
        if (Ts().timer)
            Ts().timer->RemoveAllTimers(&timer_);
        std::lock_guard<std::mutex> guard(g_liveLock);
        g_live.erase(&grid_);
    }
    bool Ready() const { return grid_.Ready(); }

    // ICafeObject
    int32_t QFAPI HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    HWND Frame() const { return GetParent(Window()); }
    bool ViewLayer(uint32_t message);
    bool OwnSwitch(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t* result);
    void Paint();
    void SendNotifications();

    // TsGridHost
    intptr_t SendToFrame(uint32_t message, ParamBlock* block) override
    {
        return SendMessageA(Frame(), message, 0, reinterpret_cast<LPARAM>(block));
    }
    bool FillSlotFromGrid(uintptr_t outerWindow, uint32_t theirs, TsGrid* target, uint32_t into) override;
    uint32_t StartTimer(uint32_t ticks) override { return Ts().timer ? Ts().timer->AddTimer(&timer_, ticks) : 0; }
    void StopTimer(uint32_t id) override
    {
        if (Ts().timer)
            Ts().timer->RemoveTimer(&timer_, id);
    }
    uint32_t Now() override { return GetTickCount(); }
    void ModeChanged(bool) override { InvalidateRect(Window(), nullptr, FALSE); }
    bool MapPixels(TsPixels* px, int to) override;

    static void QFAPI OnTimer(QfTimerClient* client, uint32_t)
    {
        PostMessageA(static_cast<GridTimer*>(client)->owner->Window(), TSM_HILITESTEP, 0, 0);
    }

    TsGrid grid_;
    GridTimer timer_;
};

int32_t TsWndMgr::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    bool handled = ViewLayer(message) || OwnSwitch(message, wParam, lParam, &result);
    if (handled)
        record_.result.value = result;
    if (grid_.TakeUpdate())
        record_.result.flags |= QF_RESULT_UPDATE_PENDING;
    SendNotifications();
    return handled ? 1 : 0;
}

// The view layer: the scroll bars take the keyboard focus first unless
// option bit 17 says otherwise; scrolling itself comes with the layout.
bool TsWndMgr::ViewLayer(uint32_t message)
{
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && !(grid_.Options() & 0x20000) && GetFocus() != Window())
        SetFocus(Window());
    return false;
}

bool TsWndMgr::OwnSwitch(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t* result)
{
    if (message >= TSM_FIRST && message <= TSM_LAST) {
        *result = grid_.ClientMessage(message, reinterpret_cast<ParamBlock*>(lParam));
        return true;
    }
    switch (message) {
    case WM_DESTROY:
    case WM_CANCELMODE:
    case TSM_DEFERRED:
    case TSM_ENDTRACKING:
        return true;
    case WM_SIZE:
        grid_.OnSize(LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_SETTEXT:
        *result = grid_.SetQueryText(reinterpret_cast<const char*>(lParam));
        return true;
    case WM_GETTEXT:
        *result = grid_.GetQueryText(reinterpret_cast<char*>(lParam), wParam);
        return true;
    case WM_PAINT:
        Paint();
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
        grid_.HiliteStep();
        return true;
    case TSM_COPYSLOT: {
        TsGrid* target = reinterpret_cast<TsGrid*>(lParam);
        if (IsLiveGrid(target))
            grid_.CopySlotTo((wParam >> 8) & 0xFF, target, wParam & 0xFF);
        return true;
    }
    case TSM_QUERYCURSOR:
        return true;  // the grid sets no cursor of its own yet
    default:
        return false;
    }
}

void TsWndMgr::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Window(), &ps);
    if (dc) {
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_3DFACE));
        EndPaint(Window(), &ps);
    }
    grid_.Painted();
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

}  // namespace

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
