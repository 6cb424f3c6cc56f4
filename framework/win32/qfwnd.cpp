// IQfWndMgr: the window map, window objects, the dispatcher procedure,
// class registration with its probe, the message sink and cross-thread
// calls into window objects.
#include "qflock.h"
#include "qfinternal.h"

namespace {

// A window object that only carries its record: what a window without a
// manager of its own gets, and the null window object.
class PlainWindowObject : public IQfWindowObject {
public:
    explicit PlainWindowObject(HWND window, bool isStatic) : static_(isStatic) { record_.window = window; }
    QfResult QFAPI QueryInterface(const QfGuid& iid, void** out) override
    {
        if (!out)
            return QF_E_POINTER;
        if (memcmp(&iid, &g_qfIds.cafeObject, sizeof iid) == 0 || memcmp(&iid, &g_qfIds.unknown, sizeof iid) == 0) {
            *out = static_cast<IQfWindowObject*>(this);
            AddRef();
            return QF_S_OK;
        }
        *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t QFAPI AddRef() override { return static_cast<uint32_t>(InterlockedIncrement(&refs_) + 1); }
    uint32_t QFAPI Release() override
    {
        LONG left = InterlockedDecrement(&refs_);
        if (left == -1 && !static_) {
            this->~PlainWindowObject();
            QfMemory()->FreePoolBlock(this);
            return 0;
        }
        return static_cast<uint32_t>(left + 1);
    }
    int32_t QFAPI HandleMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    QfWindowRecord* QFAPI GetRecord() override { return &record_; }

private:
    LONG refs_ = 0;
    bool static_;
    QfWindowRecord record_ = {};
};

PlainWindowObject g_nullWindow(nullptr, true);

// Window handle to window object, 256 chains keyed by the sum of the
// handle's 16-bit halves. The map holds one reference to each object.
class WindowMap {
public:
    IQfWindowObject* Find(HWND window)
    {
        QfLockGuard guard(lock_);
        for (Entry* e = chains_[Index(window)]; e; e = e->next) {
            if (e->window == window)
                return e->object;
        }
        return nullptr;
    }
    // Takes over one reference from the caller.
    bool Attach(HWND window, IQfWindowObject* object)
    {
        QfLockGuard guard(lock_);
        for (Entry* e = chains_[Index(window)]; e; e = e->next) {
            if (e->window == window) {
                IQfWindowObject* old = e->object;
                e->object = object;
                old->Release();
                return true;
            }
        }
        Entry* e = new (std::nothrow) Entry{window, object, chains_[Index(window)]};
        if (!e)
            return false;
        chains_[Index(window)] = e;
        return true;
    }
    // Hands the map's reference to the caller, or null.
    IQfWindowObject* Detach(HWND window)
    {
        QfLockGuard guard(lock_);
        for (Entry** link = &chains_[Index(window)]; *link; link = &(*link)->next) {
            if ((*link)->window == window) {
                Entry* dead = *link;
                *link = dead->next;
                IQfWindowObject* object = dead->object;
                delete dead;
                return object;
            }
        }
        return nullptr;
    }
    template <class F>
    void ForEach(F f)
    {
        QfLockGuard guard(lock_);
        for (Entry* head : chains_) {
            for (Entry* e = head; e; e = e->next)
                f(e->window, e->object);
        }
    }

private:
    struct Entry {
        HWND window;
        IQfWindowObject* object;
        Entry* next;
    };
    static unsigned Index(HWND window)
    {
        uintptr_t h = reinterpret_cast<uintptr_t>(window);
        return static_cast<unsigned>((h & 0xFFFF) + ((h >> 16) & 0xFFFF)) & 0xFF;
    }
    QfRecursiveLock lock_;
    Entry* chains_[256] = {};
};

WindowMap g_map;

// Classes registered with a factory, by atom.
struct ProbedClass {
    ATOM atom;
    HINSTANCE instance;
    char name[64];
    const QfClassCreation* creation;
};
QfRecursiveLock g_classLock;
ProbedClass g_classes[64];

const QfClassCreation* CreationFor(HWND window)
{
    ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    QfLockGuard guard(g_classLock);
    for (const ProbedClass& c : g_classes) {
        if (c.atom && c.atom == atom)
            return c.creation;
    }
    return nullptr;
}

// The record CallWindowObject sends across threads with message 1048.
struct CallRecord {
    IQfWindowObject* object;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

}  // namespace

intptr_t QfDeliverToObject(IQfWindowObject* object, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    QfWindowRecord* record = object->GetRecord();
    QfMessageResult saved = record->result;
    record->result.value = 0;
    record->result.flags = 0;
    object->HandleMessage(message, wParam, lParam);
    intptr_t value = record->result.value;
    record->result = saved;
    return value;
}

namespace {

LRESULT ForwardToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND parent = GetParent(window);
    if (!parent)
        return 0;
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL) {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        MapWindowPoints(window, parent, &p, 1);
        lParam = MAKELPARAM(p.x, p.y);
    }
    return SendMessageA(parent, message, wParam, lParam);
}

LRESULT CALLBACK Dispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE && !g_map.Find(window)) {
        if (const QfClassCreation* creation = CreationFor(window)) {
            IQfWindowObject* made = creation->factory
                                        ? creation->factory(window, reinterpret_cast<const QfCreateRecord*>(lParam),
                                                            creation->context)
                                        : nullptr;
            if (!made)
                return FALSE;
            made->GetRecord()->window = window;
            if (!g_map.Attach(window, made)) {
                made->Release();
                return FALSE;
            }
        }
    }
    if (message == QF_MSG_CALLOBJECT) {
        CallRecord* call = reinterpret_cast<CallRecord*>(lParam);
        return call && call->object ? QfDeliverToObject(call->object, call->message, call->wParam, call->lParam) : 0;
    }
    IQfWindowObject* object = g_map.Find(window);
    if (!object)
        return DefWindowProcA(window, message, wParam, lParam);
    object->AddRef();  // kept alive while its handler runs
    QfWindowRecord* record = object->GetRecord();
    QfMessageResult saved = record->result;
    record->result.value = 0;
    record->result.flags = 0;
    bool handled;
    {
        QfMessageTiming timing(message);
        handled = object->HandleMessage(message, wParam, lParam) != 0;
    }
    QfMessageResult result = record->result;
    record->result = saved;
    LRESULT value = handled ? result.value : DefWindowProcA(window, message, wParam, lParam);
    if (result.flags & QF_RESULT_FORWARD_TO_PARENT)
        ForwardToParent(window, message, wParam, lParam);
    if (result.flags & QF_RESULT_UPDATE_PENDING)
        InvalidateRect(window, nullptr, FALSE);
    if (message == WM_NCDESTROY) {
        if (IQfWindowObject* mapped = g_map.Detach(window)) {
            mapped->GetRecord()->window = nullptr;
            mapped->Release();
        }
    }
    object->Release();
    return value;
}

// The procedure a factory class is first registered with: on the probe
// window it installs the dispatcher as the class procedure and refuses the
// probe window itself.
LRESULT CALLBACK StartupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs && cs->lpCreateParams && cs->lpszName && strcmp(cs->lpszName, "ClassInit") == 0) {
            SetClassLongPtrA(window, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(Dispatcher));
            return FALSE;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class QfWndMgr : public QfServiceBase<IQfWndMgr> {
public:
    QfWndMgr() : QfServiceBase(&g_qfIds.window, "IQfWndMgr") {}

    QfHandle QFAPI GetMessageSink() override
    {
        QfLockGuard guard(lock_);
        if (sink_ && IsWindow(sink_))
            return sink_;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = g_qfModule;
        wc.lpszClassName = "QfNullWnd";
        ::RegisterClassA(&wc);  // a second registration fails harmlessly
        sink_ = CreateWindowExA(0, "QfNullWnd", "(Message Sink)", WS_POPUP | WS_DISABLED, 0, 0, 10, 10, nullptr,
                                nullptr, g_qfModule, nullptr);
        return sink_;
    }
    IQfWindowObject* QFAPI FindWindowObject(QfHandle window) override
    {
        return g_map.Find(static_cast<HWND>(window));
    }
    QfResult QFAPI AttachWindowObject(QfHandle window, IQfWindowObject* object) override
    {
        if (!window || !object)
            return QF_E_POINTER;
        object->AddRef();
        if (!g_map.Attach(static_cast<HWND>(window), object)) {
            object->Release();
            return QF_E_OUTOFMEMORY;
        }
        return QF_S_OK;
    }
    IQfWindowObject* QFAPI GetWindowObject(QfHandle window) override
    {
        HWND h = static_cast<HWND>(window);
        QfLockGuard guard(lock_);
        if (IQfWindowObject* found = g_map.Find(h)) {
            found->AddRef();
            return found;
        }
        if (!h || !IsWindow(h))
            return nullptr;
        void* block = QfMemory()->AllocBlock(sizeof(PlainWindowObject));
        if (!block)
            return nullptr;
        PlainWindowObject* made = new (block) PlainWindowObject(h, false);
        if (!g_map.Attach(h, made)) {
            made->Release();
            return nullptr;
        }
        made->AddRef();
        return made;
    }
    IQfWindowObject* QFAPI GetNullWindowObject() override
    {
        g_nullWindow.AddRef();
        return &g_nullWindow;
    }
    QfResult QFAPI DetachWindowObject(QfHandle window) override
    {
        IQfWindowObject* object = g_map.Detach(static_cast<HWND>(window));
        if (!object)
            return QF_S_FALSE;
        object->Release();
        return QF_S_OK;
    }
    uintptr_t QFAPI SetThreadValue(uintptr_t value) override
    {
        uintptr_t* slot = static_cast<uintptr_t*>(QfThreads()->GetBank(g_qfObjectBank));
        if (!slot)
            return 0;
        uintptr_t old = *slot;
        *slot = value;
        return old;
    }
    uintptr_t QFAPI GetThreadValue() override
    {
        uintptr_t* slot = static_cast<uintptr_t*>(QfThreads()->GetBank(g_qfObjectBank));
        return slot ? *slot : 0;
    }
    QfWindowProc QFAPI GetDispatcherProc() override { return reinterpret_cast<QfWindowProc>(Dispatcher); }
    IQfWindowObject* QFAPI CreateWindowObject(const QfCreateRecord* record) override
    {
        return QfCreateWindowFromRecord(record);
    }
    intptr_t QFAPI CallWindowObject(IQfWindowObject* object, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) override
    {
        if (!object)
            return 0;
        HWND window = static_cast<HWND>(object->GetRecord()->window);
        if (!window || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
            return QfDeliverToObject(object, message, wParam, lParam);
        }
        CallRecord call = {object, message, wParam, lParam};
        return QfRoot()->SendMessageSafe(window, QF_MSG_CALLOBJECT, 0, reinterpret_cast<intptr_t>(&call));
    }
    int32_t QFAPI PostWindowObject(IQfWindowObject* object, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) override
    {
        HWND window = object ? static_cast<HWND>(object->GetRecord()->window) : nullptr;
        return window ? PostMessageA(window, message, wParam, lParam) : 0;
    }
    int32_t QFAPI ShowTooltip(IQfWindowObject* object, const char* text, int32_t x, int32_t y) override;
    QfResult QFAPI ReturnWindowObject(IQfWindowObject* object) override
    {
        if (!object || object == &g_nullWindow)
            return object ? (g_nullWindow.Release(), QF_S_OK) : QF_S_FALSE;
        HWND window = static_cast<HWND>(object->GetRecord()->window);
        if (window && !IsWindow(window) && g_map.Find(window) == object)
            DetachWindowObject(window);
        object->Release();
        return QF_S_OK;
    }
    uint16_t QFAPI RegisterClassProbed(const QfClassRecord* record, const char* name,
                                       const QfClassCreation* creation) override;
    uint16_t QFAPI RegisterClass(const QfClassRecord* record, const char* name) override
    {
        if (!record || !record->procedure || !(record->className || name))
            return 0;
        WNDCLASSA wc = ToClass(record, name);
        return ::RegisterClassA(&wc);
    }
    int32_t QFAPI UnregisterClass(const char* name) override
    {
        if (!name)
            return 0;
        HINSTANCE instance = g_qfModule;
        {
            QfLockGuard guard(g_classLock);
            for (ProbedClass& c : g_classes) {
                if (c.atom && lstrcmpiA(c.name, name) == 0) {
                    instance = c.instance;
                    c = ProbedClass();
                }
            }
        }
        return ::UnregisterClassA(name, instance);
    }

private:
    static WNDCLASSA ToClass(const QfClassRecord* record, const char* name)
    {
        WNDCLASSA wc;
        static_assert(sizeof(QfClassRecord) == sizeof(WNDCLASSA), "class record mirrors WNDCLASSA");
        memcpy(&wc, record, sizeof wc);
        if (!wc.hInstance)
            wc.hInstance = g_qfModule;
        if (!wc.lpszClassName)
            wc.lpszClassName = name;
        return wc;
    }

    QfRecursiveLock lock_;
    HWND sink_ = nullptr;
};

uint16_t QfWndMgr::RegisterClassProbed(const QfClassRecord* record, const char* name,
                                       const QfClassCreation* creation)
{
    if (!record)
        return 0;
    if (record->procedure)
        return RegisterClass(record, name);
    if (!creation || !name)
        return 0;
    WNDCLASSA wc = ToClass(record, name);
    wc.lpfnWndProc = StartupProc;
    wc.cbWndExtra += 4;
    ATOM atom = ::RegisterClassA(&wc);
    if (!atom)
        return 0;
    {
        QfLockGuard guard(g_classLock);
        ProbedClass* free = nullptr;
        for (ProbedClass& c : g_classes) {
            if (!c.atom) {
                free = &c;
                break;
            }
        }
        if (!free) {
            ::UnregisterClassA(wc.lpszClassName, wc.hInstance);
            return 0;
        }
        free->atom = atom;
        free->instance = wc.hInstance;
        lstrcpynA(free->name, wc.lpszClassName, sizeof free->name);
        free->creation = creation;
    }
    HWND probe = CreateWindowExA(0, wc.lpszClassName, "ClassInit", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                 wc.hInstance, const_cast<QfClassCreation*>(creation));
    if (probe)
        DestroyWindow(probe);
    WNDCLASSA check = {};
    if (GetClassInfoA(wc.hInstance, wc.lpszClassName, &check) && check.lpfnWndProc == Dispatcher)
        return atom;
    UnregisterClass(wc.lpszClassName);
    return 0;
}

QfWndMgr* Service()
{
    return QfSingleton<QfWndMgr>();
}

}  // namespace

int32_t QFAPI QfWndMgr::ShowTooltip(IQfWindowObject* object, const char* text, int32_t x, int32_t y)
{
    HWND owner = object ? static_cast<HWND>(object->GetRecord()->window) : nullptr;
    return QfTooltipShow(owner, text, x, y);
}

void QfBroadcastToWindowObjects(UINT message, WPARAM wParam, LPARAM lParam, HWND except)
{
    // Collect first: a receiver may create or destroy windows.
    HWND windows[512];
    int count = 0;
    g_map.ForEach([&](HWND window, IQfWindowObject*) {
        if (window != except && count < 512)
            windows[count++] = window;
    });
    for (int i = 0; i < count; ++i) {
        if (IsWindow(windows[i]))
            QfRoot()->SendMessageSafe(windows[i], message, wParam, lParam);
    }
}

IQfWindowObject* QfCreateWindowFromRecord(const QfCreateRecord* r)
{
    HWND window = r ? CreateWindowExA(r->exStyle, r->className, r->name, static_cast<DWORD>(r->style), r->x, r->y,
                                      r->cx, r->cy, static_cast<HWND>(r->parent), static_cast<HMENU>(r->menu),
                                      static_cast<HINSTANCE>(r->instance), r->createParams)
                    : nullptr;
    IQfWindowObject* object = window ? Service()->GetWindowObject(window) : nullptr;
    return object ? object : Service()->GetNullWindowObject();
}

QfResult QfCreateWndMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfWndMgr>(iid, out, outer, context);
}
