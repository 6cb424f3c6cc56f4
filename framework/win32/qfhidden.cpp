// The hidden framework window "QfFrameworkGdtMgr": requests from other
// threads, display-setting notifications, and the diagnostic channel.
#include "qfinternal.h"

LRESULT QfRunRequest(void* request);

namespace {

const char kClassName[] = "QfFrameworkGdtMgr";

IQfWindowObject* g_diagnostic = nullptr;  // the attached diagnostic window object

LRESULT OnRequest(LPARAM lParam)
{
    return QfRunRequest(reinterpret_cast<void*>(lParam));
}

LRESULT OnDiagnotify(WPARAM wParam, LPARAM lParam)
{
    HWND target = g_diagnostic ? static_cast<HWND>(g_diagnostic->GetRecord()->window) : nullptr;
    if (target)
        SendMessageA(target, g_qfDiagnotify, wParam, lParam);
    return 1;
}

LRESULT CALLBACK HiddenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_qfDiagnotify && message != 0)
        return OnDiagnotify(wParam, lParam);
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_FONTCHANGE:
    case QF_MSG_REFRESH:
        QfBroadcastToWindowObjects(1126, 0, 0, nullptr);
        return message == QF_MSG_REFRESH ? 1 : 0;
    case WM_PALETTECHANGED:
        QfBroadcastToWindowObjects(WM_PALETTECHANGED, wParam, lParam, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTEISCHANGING:
    case WM_ACTIVATEAPP:
    case WM_MOUSEMOVE:
    case 1124:
    case 1127:
        return 0;
    case QF_MSG_REQUEST:
        return OnRequest(lParam);
    case QF_MSG_CREATEWINDOW: {
        IQfWindowObject* made = QfCreateWindowFromRecord(reinterpret_cast<const QfCreateRecord*>(lParam));
        return reinterpret_cast<LRESULT>(made);
    }
    case QF_MSG_SETDIAGWND:
        return QfSetDiagnosticWindow(reinterpret_cast<HWND>(lParam));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        QfDropDiagnosticWindow();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool QfRegisterHiddenWindowClass()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HiddenProc;
    wc.hInstance = g_qfModule;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND QfCreateHiddenWindow()
{
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "TsFramework", WS_POPUP, 10, 10, 50, 20,
                           nullptr, nullptr, g_qfModule, nullptr);
}

void QfDestroyHiddenWindow()
{
    if (g_qfHiddenWindow && IsWindow(g_qfHiddenWindow))
        DestroyWindow(g_qfHiddenWindow);
    g_qfHiddenWindow = nullptr;
    UnregisterClassA(kClassName, g_qfModule);
}

// Replaces the attached diagnostic window. The attach report goes through
// the new window, so the window itself sees that it was attached.
intptr_t QfSetDiagnosticWindow(HWND window)
{
    IQfWindowObject* next =
        window ? QfWindows()->GetWindowObject(window) : QfWindows()->GetNullWindowObject();
    if (!next)
        next = QfWindows()->GetNullWindowObject();
    HWND oldWindow = g_diagnostic ? static_cast<HWND>(g_diagnostic->GetRecord()->window) : nullptr;
    HWND newWindow = static_cast<HWND>(next->GetRecord()->window);
    if (next != g_diagnostic && (oldWindow || newWindow))
        QfRoot()->DiagnosticPrintf(0, "TS: (QfMgr) Detaching diagnostic window %08x", oldWindow);
    IQfWindowObject* old = g_diagnostic;
    g_diagnostic = next;
    if (old)
        old->Release();
    QfEnableEventStats(newWindow != nullptr);
    if (newWindow)
        QfRoot()->DiagnosticPrintf(0, "TS: (QfMgr) Attaching diagnostic window %08x", newWindow);
    return 1;
}

void QfDropDiagnosticWindow()
{
    if (g_diagnostic) {
        g_diagnostic->Release();
        g_diagnostic = nullptr;
    }
    QfEnableEventStats(false);
}
