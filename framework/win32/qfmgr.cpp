// QfMgr: the root object, its resource modules and its requests to the
// hidden framework window.
#include <stdarg.h>
#include <stdlib.h>

#include "qfinternal.h"
#include "qflock.h"
#include "qfpattern.h"

const char* QfStockColorName(uint32_t index);
const char* QfStockCursorName(uint32_t index);
const char* QfStockIconName(uint32_t index);

namespace {

// Request record carried by message 1226.
enum RequestKind : uint32_t { kStockColor, kStockCursor, kStockIcon, kCall };
struct Request {
    RequestKind kind;
    uintptr_t args[2];
};

struct ModuleNode {
    HMODULE module;
    ModuleNode* next;
};

class QfMgrImpl : public QfMgr {
public:
    int32_t QFAPI Alert(const char* text) override
    {
        return MessageBoxA(nullptr, text ? text : "", "TsFramework Alert", 0x1030);
    }
    int32_t QFAPI IsStringPointer(uintptr_t value) override { return (value >> 16) != 0; }
    QfHandle QFAPI LoadMenuRef(const char* reference, int32_t option) override
    {
        return QfDisplay() ? QfDisplay()->LoadMenuRef(reference, option) : nullptr;
    }
    intptr_t QFAPI SendMessageSafe(QfHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(static_cast<HWND>(window), message, wParam, lParam, SMTO_BLOCK, 0x7FFFFFFF, &result))
            return static_cast<intptr_t>(result);
        return SendMessageA(static_cast<HWND>(window), message, wParam, lParam);
    }
    const char* QFAPI GetStockColorName(uint32_t index) override
    {
        return reinterpret_cast<const char*>(Ask(kStockColor, index, 0));
    }
    const char* QFAPI GetStockCursorName(uint32_t index) override
    {
        return reinterpret_cast<const char*>(Ask(kStockCursor, index, 0));
    }
    const char* QFAPI GetStockIconName(uint32_t index) override
    {
        return reinterpret_cast<const char*>(Ask(kStockIcon, index, 0));
    }
    uintptr_t QFAPI CallOnFrameworkThread(QfFrameworkCall call, uintptr_t argument) override
    {
        return call ? Ask(kCall, reinterpret_cast<uintptr_t>(call), argument) : 0;
    }
    IQfWindowObject* QFAPI CreateWindowOnFrameworkThread(const QfCreateRecord* record) override
    {
        return reinterpret_cast<IQfWindowObject*>(
            SendMessageSafe(g_qfHiddenWindow, QF_MSG_CREATEWINDOW, 0, reinterpret_cast<intptr_t>(record)));
    }
    intptr_t QFAPI RefreshDisplayObjects() override { return SendMessageSafe(g_qfHiddenWindow, QF_MSG_REFRESH, 0, 0); }
    int32_t QFAPI GetLogPixelsY() override { return logPixelsY_; }
    int32_t QFAPI GetLogPixelsX() override { return logPixelsX_; }
    IQfWindowObject* QFAPI CreateWindowObject(const QfCreateRecord* record) override
    {
        return QfCreateWindowFromRecord(record);
    }
    int32_t QFAPI SetCursorObject(QfGraphic* cursor) override
    {
        if (!cursor || (cursor->type & 0xFFFF) != QF_GRAPHIC_CURSOR || !cursor->value)
            return 0;
        SetCursor(reinterpret_cast<HCURSOR>(cursor->value));
        return 1;
    }
    QfHandle QFAPI GetBlankIcon(int32_t size) override { return QfDisplay() ? QfDisplay()->GetBlankIcon(size) : nullptr; }
    int32_t QFAPI IsBlankIcon(QfHandle icon) override { return QfDisplay() ? QfDisplay()->IsBlankIcon(icon) : 0; }
    QfHandle QFAPI CopyBlankIcon(int32_t size) override
    {
        return QfDisplay() ? QfDisplay()->CopyBlankIcon(size) : nullptr;
    }
    QfHandle QFAPI GetPaletteHandle() override { return QfDisplay() ? QfDisplay()->GetPaletteHandle() : nullptr; }
    int32_t DiagnosticPrintf(int32_t level, const char* format, ...) override;
    intptr_t QFAPI SetDiagnosticWindow(QfHandle window) override
    {
        return SendMessageSafe(g_qfHiddenWindow, QF_MSG_SETDIAGWND, 0, reinterpret_cast<intptr_t>(window));
    }
    IQfMemory** QFAPI MemoryHolder() override { return &memory; }
    IQfTimerMgr** QFAPI TimerHolder() override { return &timer; }
    IQfRgnMgr** QFAPI RegionHolder() override { return &region; }
    IQfTextMgr** QFAPI TextHolder() override { return &text; }
    IQfWndMgr** QFAPI WindowHolder() override { return &window; }
    IQfDispMgr** QFAPI DisplayHolder() override { return &display; }
    IQfThreadMgr** QFAPI ThreadHolder() override { return &thread; }
    int32_t QFAPI AddResourceModule(QfHandle module) override;
    int32_t QFAPI RemoveResourceModule(QfHandle module) override;
    QfHandle QFAPI LoadModuleIcon(const char* name) override
    {
        return LoadFromModules(name, [](HMODULE m, LPCSTR n) -> QfHandle { return LoadIconA(m, n); });
    }
    QfHandle QFAPI LoadModuleCursor(const char* name) override
    {
        return LoadFromModules(name, [](HMODULE m, LPCSTR n) -> QfHandle { return LoadCursorA(m, n); });
    }
    QfHandle QFAPI LoadModuleMenu(const char* name) override
    {
        return LoadFromModules(name, [](HMODULE m, LPCSTR n) -> QfHandle { return LoadMenuA(m, n); });
    }

    void LoadSettings()
    {
        logPixelsX_ = logPixelsY_ = 96;
        if (HDC dc = GetDC(nullptr)) {
            logPixelsX_ = GetDeviceCaps(dc, LOGPIXELSX);
            logPixelsY_ = GetDeviceCaps(dc, LOGPIXELSY);
            ReleaseDC(nullptr, dc);
        }
    }

    IQfMemory* memory = nullptr;
    IQfTimerMgr* timer = nullptr;
    IQfRgnMgr* region = nullptr;
    IQfTextMgr* text = nullptr;
    IQfWndMgr* window = nullptr;
    IQfDispMgr* display = nullptr;
    IQfThreadMgr* thread = nullptr;

private:
    uintptr_t Ask(RequestKind kind, uintptr_t a, uintptr_t b)
    {
        Request request = {kind, {a, b}};
        return static_cast<uintptr_t>(
            SendMessageSafe(g_qfHiddenWindow, QF_MSG_REQUEST, 0, reinterpret_cast<intptr_t>(&request)));
    }

    template <class Loader>
    QfHandle LoadFromModules(const char* name, Loader load)
    {
        if (!name)
            return nullptr;
        LPCSTR resource = name;
        // A whole-text decimal number names a resource number.
        if (IsStringPointer(reinterpret_cast<uintptr_t>(name)) && QfMatchPattern(name, "* +#* !?") >= 0) {
            unsigned long number = strtoul(name, nullptr, 10);
            if (number <= 0xFFFF)
                resource = MAKEINTRESOURCEA(number);
        }
        QfLockGuard guard(modulesLock_);
        for (ModuleNode* node = modules_; node; node = node->next) {
            if (QfHandle found = load(node->module, resource))
                return found;
        }
        return nullptr;
    }

    int32_t logPixelsX_ = 96;
    int32_t logPixelsY_ = 96;
    QfRecursiveLock modulesLock_;
    ModuleNode* modules_ = nullptr;
};

QfMgrImpl g_root;

int32_t QfMgrImpl::AddResourceModule(QfHandle module)
{
    char path[80];
    if (!module || GetModuleFileNameA(static_cast<HMODULE>(module), path, sizeof path) == 0)
        return 0;
    ModuleNode* node = new (std::nothrow) ModuleNode{static_cast<HMODULE>(module), nullptr};
    if (!node)
        return 0;
    QfLockGuard guard(modulesLock_);
    ModuleNode** tail = &modules_;
    while (*tail)
        tail = &(*tail)->next;
    *tail = node;
    return 1;
}

int32_t QfMgrImpl::RemoveResourceModule(QfHandle module)
{
    QfLockGuard guard(modulesLock_);
    for (ModuleNode** link = &modules_; *link; link = &(*link)->next) {
        if ((*link)->module == module) {
            ModuleNode* dead = *link;
            *link = dead->next;
            delete dead;
            return 1;
        }
    }
    return 0;
}

int32_t QfMgrImpl::DiagnosticPrintf(int32_t, const char* format, ...)
{
    if (!format)
        return 0;
    char line[1025];
    va_list args;
    va_start(args, format);
    int n = wvsprintfA(line, format, args);
    va_end(args);
    if (n < 0)
        return 0;
    if (n > 0 && line[n - 1] == '\n')
        line[n - 1] = '\0';
    if (g_qfHiddenWindow)
        SendMessageSafe(g_qfHiddenWindow, g_qfDiagnotify, 0, reinterpret_cast<intptr_t>(line));
    return 1;
}

}  // namespace

LRESULT QfRunRequest(void* raw)
{
    const Request* request = static_cast<const Request*>(raw);
    if (!request)
        return 0;
    uint32_t index = static_cast<uint32_t>(request->args[0]);
    switch (request->kind) {
    case kStockColor:
        return reinterpret_cast<LRESULT>(QfStockColorName(index));
    case kStockCursor:
        return reinterpret_cast<LRESULT>(QfStockCursorName(index));
    case kStockIcon:
        return reinterpret_cast<LRESULT>(QfStockIconName(index));
    case kCall:
        return static_cast<LRESULT>(reinterpret_cast<QfFrameworkCall>(request->args[0])(request->args[1]));
    }
    return 0;
}

QfMgr* QfRoot()
{
    return &g_root;
}

void QfLoadRootSettings()
{
    g_root.LoadSettings();
}

IQfMemory* QfMemory() { return g_root.memory; }
IQfThreadMgr* QfThreads() { return g_root.thread; }
IQfTimerMgr* QfTimers() { return g_root.timer; }
IQfTextMgr* QfText() { return g_root.text; }
IQfWndMgr* QfWindows() { return g_root.window; }
IQfDispMgr* QfDisplay() { return g_root.display; }

extern "C" QfMgr* QFAPI QfGetInterface(void)
{
    return &g_root;
}
