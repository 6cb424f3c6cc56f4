// Loads Tsf.dll as the grid does and reaches it only through its exports,
// the root object and the interface slots. Also captures what the library
// writes to the debugger output, and pumps messages while waiting.
#ifndef ZUB_FRAMEWORK_TESTS_TSF_HARNESS_H
#define ZUB_FRAMEWORK_TESTS_TSF_HARNESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "qf.h"
#include "qfguid.h"

namespace tsf {

template <class F>
F Proc(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

typedef QfMgr*(__stdcall* GetInterfaceFn)(void);
typedef int (*TraceFn)(const char*, ...);
typedef HRESULT(__stdcall* GetClassObjectFn)(const QfGuid&, const QfGuid&, void**);
typedef HRESULT(__stdcall* PlainFn)(void);

// One load of the library for the whole test program.
struct Library {
    HMODULE module = nullptr;
    QfMgr* root = nullptr;
    TraceFn trace = nullptr;
    GetClassObjectFn getClassObject = nullptr;
    PlainFn canUnloadNow = nullptr, registerServer = nullptr, unregisterServer = nullptr;

    static Library& Get()
    {
        static Library lib;
        return lib;
    }
    IQfMemory* memory() { return *root->MemoryHolder(); }
    IQfTimerMgr* timer() { return *root->TimerHolder(); }
    IQfRgnMgr* region() { return *root->RegionHolder(); }
    IQfTextMgr* text() { return *root->TextHolder(); }
    IQfWndMgr* window() { return *root->WindowHolder(); }
    IQfDispMgr* display() { return *root->DisplayHolder(); }
    IQfThreadMgr* thread() { return *root->ThreadHolder(); }

private:
    Library()
    {
        module = LoadLibraryA("Tsf.dll");
        if (!module)
            return;
        auto get = Proc<GetInterfaceFn>(module, "QfGetInterface");
        root = get ? get() : nullptr;
        trace = Proc<TraceFn>(module, "QfTraceOutput");
        getClassObject = Proc<GetClassObjectFn>(module, "DllGetClassObject");
        canUnloadNow = Proc<PlainFn>(module, "DllCanUnloadNow");
        registerServer = Proc<PlainFn>(module, "DllRegisterServer");
        unregisterServer = Proc<PlainFn>(module, "DllUnregisterServer");
    }
};

inline QfGuid Guid(const char* text)
{
    QfGuid g = {};
    QfGuidFromText(text, &g);
    return g;
}

// Debugger output arrives as an exception the system raises and handles
// itself; a vectored handler sees each line first.
class DebugCapture {
public:
    DebugCapture() { handler_ = AddVectoredExceptionHandler(1, OnException); }
    ~DebugCapture() { RemoveVectoredExceptionHandler(handler_); }
    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> guard(Mutex());
        return Store();
    }
    void Clear()
    {
        std::lock_guard<std::mutex> guard(Mutex());
        Store().clear();
    }

private:
    static std::mutex& Mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<std::string>& Store()
    {
        static std::vector<std::string> lines;
        return lines;
    }
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* e)
    {
        if (e->ExceptionRecord->ExceptionCode != DBG_PRINTEXCEPTION_C || e->ExceptionRecord->NumberParameters < 2)
            return EXCEPTION_CONTINUE_SEARCH;
        const char* text = reinterpret_cast<const char*>(e->ExceptionRecord->ExceptionInformation[1]);
        std::lock_guard<std::mutex> guard(Mutex());
        Store().push_back(text ? text : "");
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    void* handler_;
};

// Dispatches this thread's messages until done() holds or the time runs out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

inline DWORD WINAPI RunFunction(void* p)
{
    std::function<void()>* work = static_cast<std::function<void()>*>(p);
    (*work)();
    delete work;
    return 0;
}

// Starts work on a new thread; the caller closes the handle.
inline HANDLE StartThread(std::function<void()> work)
{
    auto* box = new std::function<void()>(std::move(work));
    HANDLE thread = CreateThread(nullptr, 0, RunFunction, box, 0, nullptr);
    if (!thread)
        delete box;
    return thread;
}

// Runs work on a new thread while this thread keeps its messages moving,
// so that the new thread can send to windows of this one.
inline void RunOnThread(const std::function<void()>& work)
{
    HANDLE thread = StartThread(work);
    ASSERT_NE(thread, nullptr);
    PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 30000);
    CloseHandle(thread);
}

// A window of the calling thread with the given class: other test programs
// running at the same time have windows of the same classes.
struct WindowSearch {
    const char* name;
    HWND found;
};

inline BOOL CALLBACK MatchClass(HWND h, LPARAM p)
{
    WindowSearch* s = reinterpret_cast<WindowSearch*>(p);
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, s->name) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

inline HWND FindThreadWindow(const char* className)
{
    WindowSearch search = {className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A window that records the diagnostic lines sent to it.
class DiagnosticSink {
public:
    DiagnosticSink()
    {
        message_ = RegisterWindowMessageA("QFM_DIAGNOTIFY");
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TsfTestDiagnostics";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "TsfTestDiagnostics", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DiagnosticSink() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    std::vector<std::string> lines;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        DiagnosticSink* self = reinterpret_cast<DiagnosticSink*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && m == self->message_) {
            EXPECT_EQ(w, 0u);
            self->lines.push_back(reinterpret_cast<const char*>(l));
            return 1;
        }
        return DefWindowProcA(h, m, w, l);
    }
    UINT message_;
    HWND window_;
};

}  // namespace tsf

#endif
