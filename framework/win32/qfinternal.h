// Shared state of the framework library's Windows side.
#ifndef ZUB_FRAMEWORK_WIN32_QFINTERNAL_H
#define ZUB_FRAMEWORK_WIN32_QFINTERNAL_H

#include <windows.h>

#include <new>
#include <string.h>

#include "qf.h"

// Identifiers in their 16-byte form, converted from text once at load.
struct QfIds {
    QfGuid cafeObject, cafeCreator, unknown, classFactory;
    QfGuid memory, timer, region, text, window, display, thread;
    QfGuid memoryClass, timerClass, regionClass, textClass, windowClass, displayClass, threadClass;
};
extern QfIds g_qfIds;

// The library's own module, found by its name "Tsf" at load; null before.
extern HMODULE g_qfModule;
extern HWND g_qfHiddenWindow;
extern UINT g_qfDiagnotify;
// The framework's own thread banks: 4 bytes (the thread's notification
// object) and 260 bytes (the trace line buffer).
extern uint32_t g_qfObjectBank;
extern uint32_t g_qfTraceBank;

QfMgr* QfRoot();
IQfMemory* QfMemory();
IQfThreadMgr* QfThreads();
IQfTimerMgr* QfTimers();
IQfTextMgr* QfText();
IQfWndMgr* QfWindows();
IQfDispMgr* QfDisplay();

// Load steps, in the order the entry point runs them.
void QfConvertIds();
void QfRegisterLocalCreators();
void QfAcquireServices();
void QfReleaseServices();
bool QfRegisterHiddenWindowClass();
HWND QfCreateHiddenWindow();
void QfDestroyHiddenWindow();
void QfLoadRootSettings();
void QfFreeTraceState();

// Local creators used by the class records: make the singleton on first
// request and query it.
typedef QfResult (*QfLocalCreator)(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateMemoryMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateThreadMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateTimerMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateRgnMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateTextMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateDispMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);
QfResult QfCreateWndMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context);

// Tooltips: one per thread, kept in a thread bank reserved at load.
void QfTooltipInit();
int32_t QfTooltipShow(HWND owner, const char* text, int x, int y);

// Hands a message to a window object's handler on the calling thread and
// returns the result the handler left in the object's record (not its
// handled flag); the record's previous result is kept.
intptr_t QfDeliverToObject(IQfWindowObject* object, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The window service's "Paint" and "Event" statistics: the thread bank is
// reserved at load; a timing object lives while a window object handles one
// message. "Event" counts only while a diagnostic window is attached.
void QfWindowStatsInit();
void QfEnableEventStats(bool on);
class QfMessageTiming {
public:
    explicit QfMessageTiming(uint32_t message);
    ~QfMessageTiming();
    QfMessageTiming(const QfMessageTiming&) = delete;
    QfMessageTiming& operator=(const QfMessageTiming&) = delete;

private:
    void* stats_;
    bool paint_;
    bool event_ = false;
    uint64_t paintCpu_ = 0;
    uint64_t start_ = 0;
};

// Window service internals used by the hidden window.
void QfBroadcastToWindowObjects(UINT message, WPARAM wParam, LPARAM lParam, HWND except);
IQfWindowObject* QfCreateWindowFromRecord(const QfCreateRecord* record);

// Diagnostics kept on the hidden window's side.
intptr_t QfSetDiagnosticWindow(HWND window);
void QfDropDiagnosticWindow();

// Assertion report: a trace line, and a debugger break when Scroll Lock was
// pressed and a debugger is there to take it.
int QfAssertReport(const char* expression, int line);
#define QF_ASSERT(e) ((e) ? (void)0 : (void)QfAssertReport(#e, __LINE__))

// Trace points of the COM server layer; silent unless built for diagnostics.
#ifdef QF_DIAGNOSTIC_BUILD
#define QF_COM_TRACE(...) QfTraceOutput(__VA_ARGS__)
#else
#define QF_COM_TRACE(...) ((void)0)
#endif

// The common part of every service object: identity, query and counting.
// The services are singletons in static storage, so the count never frees.
template <class Interface>
class QfServiceBase : public Interface {
public:
    explicit QfServiceBase(const QfGuid* iid, const char* name) : iid_(iid), name_(name) {}
    QfResult QFAPI QueryInterface(const QfGuid& iid, void** out) override
    {
        if (!out)
            return QF_E_POINTER;
        if (IsEqual(iid, *iid_) || IsEqual(iid, g_qfIds.cafeObject) || IsEqual(iid, g_qfIds.unknown)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return QF_S_OK;
        }
        *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t QFAPI AddRef() override { return static_cast<uint32_t>(InterlockedIncrement(&refs_)); }
    uint32_t QFAPI Release() override { return static_cast<uint32_t>(InterlockedDecrement(&refs_)); }
    // Services take no creation context.
    QfResult Initialize(uint32_t context)
    {
        if (context)
            QF_COM_TRACE("Tf:  W - Initializer %08x unused.\n", context);
        return QF_S_OK;
    }
    const char* Name() const { return name_; }

private:
    static bool IsEqual(const QfGuid& a, const QfGuid& b) { return memcmp(&a, &b, sizeof a) == 0; }
    const QfGuid* iid_;
    const char* name_;
    LONG refs_ = 0;
};

// The calling thread's object of type T, kept through a pointer in a thread
// bank and made on first use when create is set; null without the bank.
template <class T>
T* QfThreadObject(uint32_t bank, bool create)
{
    if (bank == QF_BANK_FAILED || !QfThreads())
        return nullptr;
    T** slot = static_cast<T**>(QfThreads()->GetBank(bank));
    if (!slot)
        return nullptr;
    if (!*slot && create)
        *slot = new (std::nothrow) T();
    return *slot;
}

// Constructs a singleton in static storage on first use.
template <class T>
T* QfSingleton()
{
    alignas(T) static unsigned char storage[sizeof(T)];
    static T* instance = new (storage) T();
    return instance;
}

template <class T>
QfResult QfLocalCreate(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    if (!out)
        return QF_E_POINTER;
    *out = nullptr;
    if (outer)
        return QF_E_NOAGGREGATION;
    T* object = QfSingleton<T>();
    QfResult status = object->Initialize(context);
    if (status < 0)
        return status;
    return object->QueryInterface(iid, out);
}

#endif
