// TsWndMgr, the inner grid window: a window object over the portable grid.
// Its message operation runs the layers in order (the view's messages,
// the input messages, then the grid's own switch with the client
// messages), then brings the window up to date: repaints what changed,
// scrolls its pixels when only the origin moved (so a one-line scroll
// repaints one strip), sets the scroll bars, and sends pending
// notifications to the parent of the "Tessaline" window.
#ifndef ZUB_GRID_WIN32_TSGRIDWND_H
#define ZUB_GRID_WIN32_TSGRIDWND_H

#include <windows.h>

#include <string>

#include <oleacc.h>

#include "tseditwnd.h"
#include "tsgdimetrics.h"
#include "tsgrid.h"
#include "tshintwnd.h"
#include "tspainter.h"
#include "tspaintplan.h"
#include "tsqfdisplay.h"
#include "tssearchfield.h"
#include "tsservices.h"
#include "tswindowobject.h"

class TsWndMgr;

// The grid's slot in the timer service.
struct TsGridTimer : QfTimerClient {
    TsWndMgr* owner;
};

class TsWndMgr final : public TsWindowObject<TsWndMgr>, private TsGridHost {
public:
    TsWndMgr(HWND window, uint32_t maxRows, uint32_t maxCols);
    ~TsWndMgr();
    bool Ready() const { return grid_.Ready(); }

    // ICafeObject
    int32_t QFAPI HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    HWND Frame() const { return GetParent(Window()); }
    bool OwnSwitch(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t* result);
    void SendNotifications();
    // The user ended the edit in the editor window (outside the grid's messages).
    static void EditEnded(void* self, bool accept);

    // The view layer (tsgridview.cpp).
    bool ViewLayer(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t* result);
    void OnScroll(bool vertical, uint32_t code, uint32_t thumb);
    void OnWheel(bool vertical, int32_t delta);
    bool SetCursorAtPointer();
    void UpdateCellHint(POINT at);
    void HideCellHint();
    // Paints the invalid area, or with `printDc` the whole client area
    // into that device context (WM_PRINTCLIENT).
    void Paint(HDC printDc = nullptr);
    // After every message: what changed reaches the screen.
    void AfterMessage();
    void SyncOrigin();
    // Sets the scroll bars from the view. A bar whose range and page stay
    // and whose thumb only moves is set later (deferred: a posted message),
    // since a redrawn bar costs more than the scroll itself, and many steps
    // in a row then move the thumb once. A moved thumb redraws its bar only
    // when it lands on other pixels.
    void SyncBars(bool deferMoves = false);
    void InvalidateFocusCell();
    static void RefreshCursor(void* context);

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
    TsDisplayService* Display() override { return Ts().display ? &display_ : nullptr; }
    TsMetrics* Metrics() override { return &metrics_; }
    bool FrameOffsets(int32_t* width, int32_t* height) override;
    void FlushNotifications() override { SendNotifications(); }
    bool PostDeferred(uint32_t item) override { return PostMessageA(Window(), TSM_DEFERRED, item, 0) != FALSE; }
    TsEditor* Editor() override { return &editor_; }
    void SearchField(const char* text, const TsPixels& beside) override;
    void EndSearchLater() override { PostMessageA(Window(), TSM_DEFERRED, TS_DEFER_END_SEARCH, 0); }
    void Capture(bool on) override;
    void Accessible(uint32_t event, uint32_t row) override;
    TsTextCompare TextCompare() override;
    TsClickMetrics ClickMetrics() override
    {
        return TsClickMetrics{GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK)};
    }

    // Timers due at one tick share their identifier: the grid sorts them out.
    static void QFAPI OnTimer(QfTimerClient* client, uint32_t id)
    {
        PostMessageA(static_cast<TsGridTimer*>(client)->owner->Window(), TSM_HILITESTEP, id, 0);
    }

    // Before the grid: it takes them at its construction.
    TsQfDisplay display_;
    TsGdiMetrics metrics_;
    TsGrid grid_;
    TsGridTimer timer_;
    TsEditWindow editor_;
    TsSearchField field_;
    IAccessible* accessible_ = nullptr;
    SIZE outerSize_ = {0, 0};  // the window's own size at the last WM_SIZE
    TsScrollHint scrollHint_;
    TsPaintPlan plan_;
    TsPainter painter_;
    // What the screen shows: the origin painted, the scroll bars set; and
    // whether the window has the keyboard (the focus rectangle shows).
    uint32_t shownRow_ = 0, shownCol_ = 0;
    TsScrollBar bars_[2] = {};
    bool barsSet_[2] = {false, false};
    bool barsPosted_ = false;
    bool hasFocus_ = false;
    bool destroyed_ = false;
    // The cell whose hint the tooltip shows (-1: none), and its text.
    int32_t hintRow_ = -1, hintCol_ = -1;
    std::string hintText_;
    bool trackingLeave_ = false;
};

#endif
