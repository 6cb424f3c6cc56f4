// Library start-up and shut-down: take the framework's services, install
// them as the portable core's host, and register the two window classes
// with the framework's window service (unregistered again at unload).
#include <windows.h>

#include "ts.h"
#include "tshost.h"
#include "tsservices.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// Block memory: pool blocks and reservations from the memory service, pages
// committed here.
class FrameworkMemory final : public TsMemory {
public:
    void* Reserve(uint32_t bytes) override { return Ts().memory ? Ts().memory->AllocBlock(bytes) : nullptr; }
    bool Commit(void* at, uint32_t bytes) override
    {
        return VirtualAlloc(at, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
    }
    void Decommit(void* at, uint32_t bytes) override { VirtualFree(at, bytes, MEM_DECOMMIT); }
    void Release(void* block, uint32_t bytes) override
    {
        if (Ts().memory)
            Ts().memory->FreeBlock(block, bytes);
    }
};

void Diagnostic(const char* line)
{
    if (Ts().root)
        Ts().root->DiagnosticPrintf(0, "%s", line);
}

void Trace(const char* text)
{
    QfTraceOutput("%s", text);
}

struct GridClass {
    const char* manager;
    const char* className;  // null: the manager name
    uint32_t style;
    QfClassCreation creation;
    char registered[64];
};

GridClass g_classes[] = {
    {"TsFrameWndMgr", TS_FRAME_CLASS, 0x4000 /* global class */, {TsMakeFrame, nullptr}, ""},
    {"TsWndMgr", nullptr, 0, {TsMakeGrid, nullptr}, ""},
};

class Library {
public:
    Library()
    {
        TsServices& s = services_;
        s.module = reinterpret_cast<HINSTANCE>(&__ImageBase);
        s.root = QfGetInterface();
        if (!s.root)
            return;
        Take(s.root->MemoryHolder(), &s.memory);
        Take(s.root->TimerHolder(), &s.timer);
        Take(s.root->RegionHolder(), &s.region);
        Take(s.root->TextHolder(), &s.text);
        Take(s.root->WindowHolder(), &s.window);
        Take(s.root->DisplayHolder(), &s.display);
        Take(s.root->ThreadHolder(), &s.thread);
        QfGuidFromText(QF_IID_ICAFEOBJECT_TEXT, &s.cafeObject);
        host_.text = s.text;
        host_.memory = &memory_;
        host_.diagnostic = Diagnostic;
        host_.trace = Trace;
        TsSetHost(&host_);
        if (!s.window || !s.text || !s.memory)
            return;
        for (GridClass& c : g_classes) {
            QfClassRecord record = {};
            record.style = c.style;
            record.instance = s.module;
            record.className = c.className;
            if (s.window->RegisterClassProbed(&record, c.manager, &c.creation))
                lstrcpynA(c.registered, c.className ? c.className : c.manager, sizeof c.registered);
        }
    }
    ~Library()
    {
        TsServices& s = services_;
        for (GridClass& c : g_classes) {
            if (c.registered[0] && s.window)
                s.window->UnregisterClass(c.registered);
            c.registered[0] = '\0';
        }
        Drop(&s.thread);
        Drop(&s.display);
        Drop(&s.window);
        Drop(&s.text);
        Drop(&s.region);
        Drop(&s.timer);
        Drop(&s.memory);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    TsServices services_;

private:
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

    FrameworkMemory memory_;
    TsHost host_;
};

Library g_library;

}  // namespace

TsServices& Ts()
{
    return g_library.services_;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
