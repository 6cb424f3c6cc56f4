// The UI tests' probe: a library that global hooks load into the player.
// It writes what the player's own windows say into the tests' shared memory.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>

#include "../ui_probe.h"
#include "command_ids.h"
#include "probe_windows.h"

namespace {

const char kMainClass[] = "ZubodeckMWnd";

bool IsPlayerMain(HWND hwnd)
{
    char name[32] = {};
    return hwnd && GetClassNameA(hwnd, name, sizeof(name)) && strcmp(name, kMainClass) == 0;
}

// Maps the shared block for the duration of one hook call.
class SharedView {
public:
    SharedView()
    {
        map_ = OpenFileMappingA(FILE_MAP_WRITE, FALSE, ZUB_PROBE_MAPPING);
        if (map_)
            view_ = static_cast<ProbeShared*>(MapViewOfFile(map_, FILE_MAP_WRITE, 0, 0, sizeof(ProbeShared)));
    }
    ~SharedView()
    {
        if (view_)
            UnmapViewOfFile(view_);
        if (map_)
            CloseHandle(map_);
    }
    ProbeShared* Get() const { return view_; }

private:
    HANDLE map_ = nullptr;
    ProbeShared* view_ = nullptr;
};

void AddItems(ProbeShared& s, HMENU menu, int barPos, int depth)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count && s.itemCount < static_cast<int>(sizeof(s.items) / sizeof(s.items[0])); ++i) {
        ProbeMenuItem& item = s.items[s.itemCount++];
        item.menuBarPos = barPos;
        item.depth = depth;
        item.position = i;
        item.state = GetMenuState(menu, i, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        item.id = sub ? 0 : GetMenuItemID(menu, i);
        GetMenuStringA(menu, i, item.text, sizeof(item.text), MF_BYPOSITION);
        if (sub && depth == 0)
            AddItems(s, sub, barPos, 1);
    }
}

// Asks the main window for each button's tooltip text, as the toolbar's
// tooltip control does when the pointer rests on a button.
void FillTips(ProbeShared& s, HWND main)
{
    s.toolCount = 0;
    s.tipCount = 0;
    HWND toolbar = GetDlgItem(main, IDC_TOOLBAR);
    if (!toolbar)
        return;
    HWND tooltips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    if (tooltips)
        s.toolCount = static_cast<int>(SendMessageA(tooltips, TTM_GETTOOLCOUNT, 0, 0));
    const int buttons = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < buttons && s.tipCount < static_cast<int>(sizeof(s.tips) / sizeof(s.tips[0])); ++i) {
        TBBUTTON button = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = tooltips;
        info.hdr.idFrom = static_cast<UINT_PTR>(button.idCommand);
        info.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(main, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        ProbeToolbarTip& tip = s.tips[s.tipCount++];
        tip.command = button.idCommand;
        tip.text[0] = '\0';
        if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(info.lpszText))
            lstrcpynA(tip.text, info.lpszText, sizeof(tip.text));
    }
}

void FillQuery(ProbeShared& s, HWND main)
{
    s.itemCount = 0;
    HMENU bar = GetMenu(main);
    int popups = GetMenuItemCount(bar);
    for (int i = 0; i < popups; ++i) {
        ProbeMenuItem& item = s.items[s.itemCount++];
        item.menuBarPos = -1;
        item.depth = 0;
        item.position = i;
        item.id = 0;
        item.state = GetMenuState(bar, i, MF_BYPOSITION);
        GetMenuStringA(bar, i, item.text, sizeof(item.text), MF_BYPOSITION);
        AddItems(s, GetSubMenu(bar, i), i, 0);
    }
    s.statusParts = 0;
    HWND status = GetDlgItem(main, IDC_STATUSBAR);
    if (status) {
        int parts = static_cast<int>(SendMessageA(status, SB_GETPARTS, 0, 0));
        for (int i = 0; i < parts && i < 4; ++i) {
            char text[264] = {};
            if (LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, i, 0)) < sizeof(text))
                SendMessageA(status, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
            strcpy(s.status[i].text, text);
            s.statusParts = i + 1;
        }
    }
    FillTips(s, main);
    InterlockedIncrement(&s.queryCount);
}

// Grid messages as the playlist sends them: the outer "Tessaline" window
// is the dialog's item 1014, the grid itself its first child.
LRESULT GridSend(HWND inner, UINT message, uint32_t d0, uintptr_t d1)
{
    struct {
        uint32_t d0;
        uintptr_t d1;
    } block = {d0, d1};
    return SendMessageA(inner, message, 0, reinterpret_cast<LPARAM>(&block));
}

void DoGridRequest(ProbeGridRequest& r, HWND dialog)
{
    const UINT kSetSelRange = 1283, kSelectionOp = 1284, kSetProp = 1286, kSetFocusSel = 1294, kEndEdit = 1316;
    HWND outer = GetDlgItem(dialog, 1014);
    HWND inner = GetWindow(outer, GW_CHILD);
    r.answer[0] = '\0';
    switch (r.op) {
    case kProbeSelectRow: {
        int32_t rect[4] = {r.arg, r.row, r.arg > 0 ? r.arg : -1, r.row};
        const uint32_t h = static_cast<uint32_t>(GridSend(inner, kSetSelRange, 0, reinterpret_cast<uintptr_t>(rect)));
        GridSend(inner, kSetFocusSel, h, 0);
        GridSend(inner, kSelectionOp, h | 2u << 16, 0);  // release
        break;
    }
    case kProbeNotify:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1014, r.arg), reinterpret_cast<LPARAM>(outer));
        break;
    case kProbeEditText:
        GridSend(inner, kSetProp, 0x3024u << 16, reinterpret_cast<uintptr_t>(r.text));
        break;
    case kProbeEndEdit:
        GridSend(inner, kEndEdit, 0, static_cast<uintptr_t>(r.arg));
        break;
    case kProbeStatusTexts: {
        HWND status = GetDlgItem(dialog, 301);
        const int parts = status ? static_cast<int>(SendMessageA(status, SB_GETPARTS, 0, 0)) : 0;
        for (int i = 0; i < parts; ++i) {
            char text[264] = {};
            if (LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, i, 0)) < sizeof(text))
                SendMessageA(status, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
            if (strlen(r.answer) + strlen(text) + 2 < sizeof(r.answer)) {
                strcat(r.answer, text);
                strcat(r.answer, "\n");
            }
        }
        break;
    }
    default:
        break;
    }
    InterlockedIncrement(&r.done);
}

}  // namespace

// Where a slider draws its thumb: the rectangles are the control's own and
// cannot be read from another process.
void FillSlider(ProbeShared& s, HWND slider)
{
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&s.sliderThumb));
    SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&s.sliderChannel));
    InterlockedIncrement(&s.sliderCount);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT query = RegisterWindowMessageA(ZUB_PROBE_QUERY_MESSAGE);
    static const UINT gridQuery = RegisterWindowMessageA(ZUB_PROBE_GRID_MESSAGE);
    static const UINT sliderQuery = RegisterWindowMessageA(ZUB_PROBE_SLIDER_MESSAGE);
    static const UINT layoutQuery = RegisterWindowMessageA(ZUB_PROBE_LAYOUT_MESSAGE);
    static const UINT pictureQuery = RegisterWindowMessageA(ZUB_PROBE_PICTURE_MESSAGE);
    if (code == HC_ACTION) {
        const CWPSTRUCT* c = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (c->message == gridQuery) {
            SharedView view;
            if (view.Get())
                DoGridRequest(view.Get()->grid, c->hwnd);
        }
        const bool ours = c->message == query || c->message == sliderQuery || c->message == layoutQuery ||
                          c->message == pictureQuery;
        if (ours && IsPlayerMain(c->hwnd)) {
            SharedView view;
            ProbeShared* s = view.Get();
            HWND target = reinterpret_cast<HWND>(c->wParam);
            if (s && c->message == query) {
                FillQuery(*s, c->hwnd);
            } else if (s && c->message == sliderQuery) {
                FillSlider(*s, target);
            } else if (s && c->message == layoutQuery) {
                FillLayout(*s, target);
            } else if (s) {
                s->pictureWritten = WritePicture(target, s->picturePath);
                InterlockedIncrement(&s->pictureCount);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_COMMAND && IsPlayerMain(m->hwnd)) {
            SharedView view;
            if (ProbeShared* s = view.Get()) {
                LONG n = InterlockedIncrement(&s->commandCount) - 1;
                if (n < static_cast<LONG>(sizeof(s->commands) / sizeof(s->commands[0])))
                    s->commands[n] = LOWORD(m->wParam);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
