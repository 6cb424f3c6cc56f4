#include <windows.h>

#include "qf.h"

namespace {

// The framework services the grid library works through: the root from
// QfGetInterface and the seven service interfaces from its slots 20 to 26,
// each with a reference of the grid's own until the library unloads.
struct FrameworkServices {
    QfMgr* root = nullptr;
    IQfMemory* memory = nullptr;
    IQfTimerMgr* timer = nullptr;
    IQfRgnMgr* region = nullptr;
    IQfTextMgr* text = nullptr;
    IQfWndMgr* window = nullptr;
    IQfDispMgr* display = nullptr;
    IQfThreadMgr* thread = nullptr;

    FrameworkServices()
    {
        root = QfGetInterface();
        if (!root)
            return;
        Take(root->MemoryHolder(), &memory);
        Take(root->TimerHolder(), &timer);
        Take(root->RegionHolder(), &region);
        Take(root->TextHolder(), &text);
        Take(root->WindowHolder(), &window);
        Take(root->DisplayHolder(), &display);
        Take(root->ThreadHolder(), &thread);
    }
    ~FrameworkServices()
    {
        Drop(&thread);
        Drop(&display);
        Drop(&window);
        Drop(&text);
        Drop(&region);
        Drop(&timer);
        Drop(&memory);
    }
    FrameworkServices(const FrameworkServices&) = delete;
    FrameworkServices& operator=(const FrameworkServices&) = delete;

    template <class I>
    static void Take(I** holder, I** mine)
    {
        *mine = holder ? *holder : nullptr;
        if (*mine)
            (*mine)->AddRef();
    }
    template <class I>
    static void Drop(I** mine)
    {
        if (*mine)
            (*mine)->Release();
        *mine = nullptr;
    }
};

FrameworkServices g_framework;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        if (g_framework.memory)
            QfTraceOutput("Ts:  I - Framework services acquired.\n");
    }
    return TRUE;
}
