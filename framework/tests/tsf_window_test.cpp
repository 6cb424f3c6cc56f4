// Text, window and diagnostic services of Tsf.dll and its trace output.
#include <regex>

#include "tsf_harness.h"

using tsf::Library;

namespace {

Library& Lib()
{
    return Library::Get();
}

std::string Text(QfString* s)
{
    return QfStringText(s);
}

int Capacity(QfString* s)
{
    static const int caps[] = {0, 9, 25, 57, 121, 249};
    return caps[s->sizeClass & 0x0F];
}

TEST(TsfStrings, CapacityBoundaries)
{
    IQfTextMgr* t = Lib().text();
    QfString* empty = t->AllocString(0);
    EXPECT_EQ(Capacity(empty), 0);
    EXPECT_EQ(t->AllocString(0x10000), empty) << "only the low 16 bits count";
    struct Case {
        uint32_t request;
        int capacity;
    } cases[] = {{1, 9}, {9, 9}, {10, 25}, {57, 57}, {58, 121}, {121, 121}, {122, 249}, {300, 249}, {0x10009, 9}};
    for (const Case& c : cases) {
        QfString* s = t->AllocString(c.request);
        ASSERT_NE(s, empty) << c.request;
        EXPECT_EQ(Capacity(s), c.capacity) << c.request;
        EXPECT_EQ(s->refs, 0);
        EXPECT_EQ(s->length, 0);
        EXPECT_EQ(Text(s), "");
        EXPECT_EQ(t->ReleaseString(s), QF_S_OK);
    }
    // A request of 512 is read modulo 512: the shared empty string.
    EXPECT_EQ(t->AllocString(512), empty);
    t->ReleaseString(empty);
    t->ReleaseString(empty);
    t->ReleaseString(empty);
}

TEST(TsfStrings, SharedEmptyStringIsNeverFreed)
{
    IQfTextMgr* t = Lib().text();
    QfString* empty = t->AllocString(0);
    for (int i = 0; i < 5; ++i)
        t->ReleaseString(empty);
    QfString* again = t->AllocString(0);
    EXPECT_EQ(again, empty);
    EXPECT_EQ(Text(again), "");
    EXPECT_EQ(t->FreeString(again), QF_S_FALSE);
    t->ReleaseString(again);
}

TEST(TsfStrings, HoldersMinusOneAndRelease)
{
    IQfTextMgr* t = Lib().text();
    QfString* s = t->MakeString("Pale Yellow", -1);
    EXPECT_EQ(Text(s), "Pale Yellow");
    EXPECT_EQ(s->length, 11);
    EXPECT_EQ(Capacity(s), 25);
    EXPECT_EQ(t->AddRefString(s), s);
    EXPECT_EQ(s->refs, 1);
    t->ReleaseString(s);
    EXPECT_EQ(s->refs, 0);
    void* owner = nullptr;
    ASSERT_EQ(Lib().memory()->FindBlock(s, &owner), QF_S_OK);
    // The last release returns the block to its pool: the next string of
    // the class reuses it.
    t->ReleaseString(s);
    QfString* next = t->AllocString(20);
    EXPECT_EQ(next, s);
    t->ReleaseString(next);
    std::string long300(300, 'x');
    QfString* cut = t->MakeString(long300.c_str(), -1);
    EXPECT_EQ(cut->length, 249);
    t->ReleaseString(cut);
}

TEST(TsfStrings, ResizeKeepsOrDropsText)
{
    IQfTextMgr* t = Lib().text();
    QfString* s = t->MakeString("Arial", -1);
    EXPECT_EQ(t->ResizeString(s, 9, 1), s) << "sole holder, same class: unchanged";
    QfString* bigger = t->ResizeString(s, 100, 1);
    EXPECT_NE(bigger, s);
    EXPECT_EQ(Capacity(bigger), 121);
    EXPECT_EQ(Text(bigger), "Arial");
    QfString* smaller = t->ResizeString(bigger, 3, 0);
    EXPECT_EQ(Text(smaller), "");
    t->AddRefString(smaller);  // two holders: a resize must not change what the other holds
    QfString* third = t->ResizeString(smaller, 5, 1);
    EXPECT_NE(third, smaller);
    EXPECT_EQ(smaller->refs, 0);
    QfString* gone = t->ResizeString(third, 0x10000, 1);
    EXPECT_EQ(Capacity(gone), 0);
    t->ReleaseString(gone);
    t->ReleaseString(smaller);
}

// A window object of the test's own, made by the factory the window
// service calls when a window of the probed class is created.
struct TestObject final : IQfWindowObject {
    LONG refs = 0;
    QfWindowRecord record = {};
    std::vector<uint32_t> messages;
    DWORD lastThread = 0;
    static int alive;
    TestObject() { ++alive; }
    ~TestObject() { --alive; }
    QfResult QFAPI QueryInterface(const QfGuid&, void** out) override
    {
        *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t QFAPI AddRef() override { return InterlockedIncrement(&refs) + 1; }
    uint32_t QFAPI Release() override
    {
        LONG left = InterlockedDecrement(&refs);
        if (left == -1)
            delete this;
        return left + 1;
    }
    int32_t QFAPI HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        messages.push_back(message);
        lastThread = GetCurrentThreadId();
        if (message == WM_USER + 1) {
            record.result.value = static_cast<intptr_t>(wParam + lParam);
            return 1;
        }
        if (message == WM_USER + 2) {
            record.result.value = 5;
            record.result.flags |= QF_RESULT_FORWARD_TO_PARENT;
            return 1;
        }
        return 0;
    }
    QfWindowRecord* QFAPI GetRecord() override { return &record; }
};
int TestObject::alive = 0;

int g_factoryCalls = 0;
IQfWindowObject* QFAPI MakeTestObject(QfHandle window, const QfCreateRecord* record, void* context)
{
    ++g_factoryCalls;
    EXPECT_NE(window, nullptr);
    EXPECT_NE(record, nullptr);
    EXPECT_EQ(context, &g_factoryCalls);
    if (record && record->name && strcmp(record->name, "refuse") == 0)
        return nullptr;
    return new TestObject();
}

const QfClassCreation kCreation = {MakeTestObject, &g_factoryCalls};

TEST(TsfWindowClasses, ProbedClassDispatchesToFactoryObjects)
{
    IQfWndMgr* w = Lib().window();
    QfClassRecord record = {};
    g_factoryCalls = 0;
    uint16_t atom = w->RegisterClassProbed(&record, "TsfTestGrid", &kCreation);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(g_factoryCalls, 0) << "the probe window makes no object";
    EXPECT_EQ(FindWindowA("TsfTestGrid", "ClassInit"), nullptr);

    HWND window = CreateWindowExA(0, "TsfTestGrid", "grid", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA("Tsf.dll"), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(g_factoryCalls, 1);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(w->GetDispatcherProc()));
    TestObject* object = static_cast<TestObject*>(w->FindWindowObject(window));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->record.window, window);
    EXPECT_EQ(object->messages.front(), static_cast<uint32_t>(WM_NCCREATE));
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 40, 2), 42);
    EXPECT_EQ(w->CallWindowObject(object, WM_USER + 1, 1, 2), 3);
    char title[16] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "grid") << "unhandled messages reach the default procedure";

    EXPECT_EQ(CreateWindowExA(0, "TsfTestGrid", "refuse", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                              GetModuleHandleA("Tsf.dll"), nullptr),
              nullptr)
        << "a factory that makes nothing fails the creation";

    int before = TestObject::alive;
    DestroyWindow(window);
    EXPECT_EQ(w->FindWindowObject(window), nullptr);
    EXPECT_EQ(TestObject::alive, before - 1) << "the map's reference was the last";
    EXPECT_TRUE(w->UnregisterClass("TsfTestGrid"));
    EXPECT_FALSE(w->UnregisterClass("TsfTestGrid"));
}

TEST(TsfWindowClasses, RegistrationRules)
{
    IQfWndMgr* w = Lib().window();
    QfClassRecord record = {};
    EXPECT_EQ(w->RegisterClass(&record, "NoProcedure"), 0);
    EXPECT_EQ(w->RegisterClassProbed(&record, "NoCreation", nullptr), 0);
    EXPECT_EQ(w->RegisterClassProbed(&record, nullptr, &kCreation), 0);
    record.procedure = reinterpret_cast<QfWindowProc>(DefWindowProcA);
    EXPECT_EQ(w->RegisterClass(&record, nullptr), 0) << "no name anywhere";
    uint16_t atom = w->RegisterClass(&record, "TsfPlainClass");
    ASSERT_NE(atom, 0);
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA("Tsf.dll"), "TsfPlainClass", &info))
        << "an empty instance becomes the framework's module";
    EXPECT_TRUE(w->UnregisterClass("TsfPlainClass"));
}

TEST(TsfWindowObjects, ForwardFlagPassesTheMessageToTheParent)
{
    IQfWndMgr* w = Lib().window();
    QfClassRecord record = {};
    ASSERT_NE(w->RegisterClassProbed(&record, "TsfTestChild", &kCreation), 0);
    struct Parent {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp)
        {
            if (m == WM_USER + 2) {
                SetPropA(h, "seen", reinterpret_cast<HANDLE>(wp + 1));
                return 0;
            }
            return DefWindowProcA(h, m, wp, lp);
        }
    };
    WNDCLASSA pc = {};
    pc.lpfnWndProc = Parent::Proc;
    pc.hInstance = GetModuleHandleA(nullptr);
    pc.lpszClassName = "TsfTestParent";
    RegisterClassA(&pc);
    HWND parent = CreateWindowExA(0, "TsfTestParent", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  pc.hInstance, nullptr);
    QfCreateRecord create = {};
    create.className = "TsfTestChild";
    create.name = "child";
    create.style = WS_CHILD;
    create.cx = create.cy = 20;
    create.parent = parent;
    create.instance = GetModuleHandleA("Tsf.dll");
    IQfWindowObject* child = Lib().root->CreateWindowObject(&create);
    ASSERT_NE(child, nullptr);
    HWND childWindow = static_cast<HWND>(child->GetRecord()->window);
    ASSERT_NE(childWindow, nullptr);
    EXPECT_EQ(SendMessageA(childWindow, WM_USER + 2, 6, 0), 5);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(parent, "seen")), 7u);
    RemovePropA(parent, "seen");
    DestroyWindow(parent);
    EXPECT_EQ(child->GetRecord()->window, nullptr);
    EXPECT_EQ(w->ReturnWindowObject(child), QF_S_OK);
    w->UnregisterClass("TsfTestChild");

    create.className = "NoSuchClass";
    IQfWindowObject* none = Lib().root->CreateWindowObject(&create);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->GetRecord()->window, nullptr) << "failure gives the null window object";
    IQfWindowObject* null2 = w->GetNullWindowObject();
    EXPECT_EQ(none, null2);
    w->ReturnWindowObject(none);
    w->ReturnWindowObject(null2);
}

TEST(TsfWindowObjects, CallFromAnotherThreadRunsOnTheWindowsThread)
{
    IQfWndMgr* w = Lib().window();
    QfClassRecord record = {};
    ASSERT_NE(w->RegisterClassProbed(&record, "TsfTestCall", &kCreation), 0);
    HWND window = CreateWindowExA(0, "TsfTestCall", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                  GetModuleHandleA("Tsf.dll"), nullptr);
    ASSERT_NE(window, nullptr);
    TestObject* object = static_cast<TestObject*>(w->FindWindowObject(window));
    intptr_t result = 0;
    DWORD caller = 0;
    tsf::RunOnThread([&] {
        caller = GetCurrentThreadId();
        result = w->CallWindowObject(object, WM_USER + 1, 20, 22);
    });
    EXPECT_EQ(result, 42);
    EXPECT_NE(caller, GetCurrentThreadId());
    EXPECT_EQ(object->lastThread, GetCurrentThreadId());
    DestroyWindow(window);
    w->UnregisterClass("TsfTestCall");
}

TEST(TsfWindowObjects, MapAttachGetDetach)
{
    IQfWndMgr* w = Lib().window();
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(w->FindWindowObject(plain), nullptr);
    IQfWindowObject* made = w->GetWindowObject(plain);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRecord()->window, plain);
    EXPECT_EQ(w->FindWindowObject(plain), made);
    IQfWindowObject* again = w->GetWindowObject(plain);
    EXPECT_EQ(again, made);
    w->ReturnWindowObject(again);
    TestObject* mine = new TestObject();
    EXPECT_EQ(w->AttachWindowObject(plain, mine), QF_S_OK);
    EXPECT_EQ(w->FindWindowObject(plain), mine);
    EXPECT_EQ(w->DetachWindowObject(plain), QF_S_OK);
    EXPECT_EQ(w->DetachWindowObject(plain), QF_S_FALSE);
    EXPECT_EQ(w->FindWindowObject(plain), nullptr);
    w->ReturnWindowObject(made);
    EXPECT_EQ(w->GetWindowObject(reinterpret_cast<QfHandle>(0x7FFF0001)), nullptr);
    DestroyWindow(plain);
}

TEST(TsfWindowService, MessageSinkAndThreadValues)
{
    IQfWndMgr* w = Lib().window();
    HWND sink = static_cast<HWND>(w->GetMessageSink());
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(w->GetMessageSink(), sink);
    char name[32] = "", cls[32] = "";
    GetWindowTextA(sink, name, sizeof name);
    GetClassNameA(sink, cls, sizeof cls);
    EXPECT_STREQ(name, "(Message Sink)");
    EXPECT_STREQ(cls, "QfNullWnd");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(sink, GWL_STYLE)) & 0x88000000u, 0x88000000u);

    uintptr_t old = w->SetThreadValue(77);
    EXPECT_EQ(w->GetThreadValue(), 77u);
    uintptr_t other = 1;
    tsf::RunOnThread([&] { other = w->GetThreadValue(); });
    EXPECT_EQ(other, 0u);
    EXPECT_EQ(w->SetThreadValue(old), 77u);
}

// The debugger lines of one statistics record, each checked for its form.
int StatsLines(const std::vector<std::string>& lines, const char* name)
{
    std::regex form(std::string("Qf: ") + name +
                    R"( - \d+\.\d{3} \(\d+\.\d{3} cpu\) ms/event avg  \d+\.\d{3} events/s\n)");
    int count = 0;
    for (const std::string& line : lines) {
        if (line.compare(0, 5 + strlen(name), std::string("Qf: ") + name + " ") == 0) {
            EXPECT_TRUE(std::regex_match(line, form)) << line;
            ++count;
        }
    }
    return count;
}

// The window service times what window objects handle: every message is an
// event of the "Event" record, paint messages also of the "Paint" record;
// each record reports once per 200 events, per thread.
TEST(TsfStatistics, EventAndPaintRecordsReportOncePerTwoHundredEvents)
{
    IQfWndMgr* w = Lib().window();
    QfClassRecord record = {};
    ASSERT_NE(w->RegisterClassProbed(&record, "TsfTestStats", &kCreation), 0);
    // Hidden windows: under Wine without a window manager, destroying a
    // shown window waits for a reply that never comes.
    auto make = [] {
        return CreateWindowExA(0, "TsfTestStats", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                               GetModuleHandleA("Tsf.dll"), nullptr);
    };
    HWND window = make();
    ASSERT_NE(window, nullptr);
    tsf::DebugCapture capture;
    capture.Clear();
    // Events are counted only while someone watches the diagnostics.
    for (int i = 0; i < 400; ++i)
        SendMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(StatsLines(capture.Lines(), "Event"), 0);
    tsf::DiagnosticSink sink;
    Lib().root->SetDiagnosticWindow(sink.window());
    // Whatever this thread counted before, 400 more events end exactly two
    // periods and 200 paints exactly one.
    for (int i = 0; i < 400; ++i)
        SendMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(StatsLines(capture.Lines(), "Event"), 2);
    capture.Clear();
    for (int i = 0; i < 200; ++i)
        SendMessageA(window, WM_PAINT, 0, 0);
    EXPECT_EQ(StatsLines(capture.Lines(), "Paint"), 1);
    DestroyWindow(window);

    capture.Clear();
    int otherThreadLines = -1;
    tsf::RunOnThread([&] {
        HWND own = make();
        for (int i = 0; i < 200 && own; ++i)
            SendMessageA(own, WM_USER + 1, 0, 0);
        otherThreadLines = StatsLines(capture.Lines(), "Event");
        DestroyWindow(own);
    });
    EXPECT_GE(otherThreadLines, 1) << "a new thread's record reports after its own 200 events";
    Lib().root->SetDiagnosticWindow(nullptr);
    w->UnregisterClass("TsfTestStats");
}

TEST(TsfTrace, PartialLinesJoinAtTheNewline)
{
    tsf::DebugCapture capture;
    capture.Clear();
    Lib().trace("a");
    EXPECT_TRUE(capture.Lines().empty());
    EXPECT_EQ(Lib().trace("b%d\n", 7), 1);
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"ab7\n"});
}

TEST(TsfTrace, ThreadsInterleavingPartialLinesKeepTheirOwnLines)
{
    tsf::DebugCapture capture;
    capture.Clear();
    HANDLE turns[2] = {CreateEventA(nullptr, FALSE, FALSE, nullptr), CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    struct Arg {
        const char* name;
        HANDLE mine, theirs;
        tsf::TraceFn trace;
    } args[2] = {{"one", turns[0], turns[1], Lib().trace}, {"two", turns[1], turns[0], Lib().trace}};
    HANDLE threads[2];
    for (int i = 0; i < 2; ++i) {
        Arg* a = &args[i];
        threads[i] = tsf::StartThread([a] {
            // Each piece waits for its turn, so the pieces alternate.
            for (int piece = 0; piece < 3; ++piece) {
                WaitForSingleObject(a->mine, 10000);
                a->trace(piece < 2 ? "%s-%d " : "%s-%d\n", a->name, piece);
                SetEvent(a->theirs);
            }
        });
    }
    SetEvent(turns[0]);
    WaitForMultipleObjects(2, threads, TRUE, 10000);
    for (HANDLE h : threads)
        CloseHandle(h);
    for (HANDLE h : turns)
        CloseHandle(h);
    std::vector<std::string> lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "one-0 one-1 one-2\n");
    EXPECT_EQ(lines[1], "two-0 two-1 two-2\n");
}

TEST(TsfDiagnostics, AttachAndDetachReportsGoWhereTheyShould)
{
    tsf::DiagnosticSink w1;
    QfMgr* root = Lib().root;
    root->SetDiagnosticWindow(nullptr);
    char expected[80];
    ASSERT_EQ(root->SetDiagnosticWindow(w1.window()), 1);
    wsprintfA(expected, "TS: (QfMgr) Attaching diagnostic window %08x", w1.window());
    EXPECT_EQ(w1.lines, std::vector<std::string>{expected}) << "the Detaching report with 0 reached nobody";

    w1.lines.clear();
    root->SetDiagnosticWindow(w1.window());
    EXPECT_EQ(w1.lines, std::vector<std::string>{expected}) << "the same object again: only Attaching";

    w1.lines.clear();
    EXPECT_EQ(root->DiagnosticPrintf(2, "Qf:  I - %s %d.\n", "line", 5), 1);
    EXPECT_EQ(w1.lines, std::vector<std::string>{"Qf:  I - line 5."}) << "one trailing newline removed";

    w1.lines.clear();
    root->SetDiagnosticWindow(nullptr);
    wsprintfA(expected, "TS: (QfMgr) Detaching diagnostic window %08x", w1.window());
    EXPECT_EQ(w1.lines, std::vector<std::string>{expected});
    w1.lines.clear();
    root->DiagnosticPrintf(0, "dropped");
    EXPECT_TRUE(w1.lines.empty());
}

// Pumps this thread's messages until its tooltip window shows; null when
// it never does.
HWND WaitForTooltip(DWORD timeoutMs = 10000)
{
    HWND tip = nullptr;
    bool shown = tsf::PumpUntil(
        [&] {
            tip = tsf::FindThreadWindow("QfTooltip");
            return tip && IsWindowVisible(tip);
        },
        timeoutMs);
    return shown ? tip : nullptr;
}

TEST(TsfTooltip, AppearsAfterItsDelayAndHides)
{
    QfClassRecord record = {};
    IQfWndMgr* w = Lib().window();
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    IQfWindowObject* object = w->GetWindowObject(owner);
    ASSERT_EQ(w->ShowTooltip(object, "Hint text", 10, 10), 1);
    HWND tip = WaitForTooltip();
    ASSERT_NE(tip, nullptr) << "tooltip never appeared";
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_GE(r.left, 100 + 10);
    EXPECT_GT(r.right - r.left, 20);
    EXPECT_EQ(w->ShowTooltip(object, nullptr, 0, 0), 1);
    EXPECT_FALSE(IsWindowVisible(tip));
    w->ReturnWindowObject(object);
    DestroyWindow(owner);
    (void)record;
}

// Windows and timers belong to their thread, and so does the tooltip: a
// tooltip shown on a second thread appears there, in a window of that
// thread, while the first thread's tooltip still appears on the first.
TEST(TsfTooltip, EachThreadShowsItsOwnTooltip)
{
    IQfWndMgr* w = Lib().window();
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    IQfWindowObject* object = w->GetWindowObject(owner);
    ASSERT_EQ(w->ShowTooltip(object, "First thread", 10, 10), 1);
    bool appearedThere = false;
    tsf::RunOnThread([&] {
        HWND own = CreateWindowExA(0, "STATIC", "", WS_POPUP, 300, 300, 200, 100, nullptr, nullptr, nullptr,
                                   nullptr);
        IQfWindowObject* ownObject = w->GetWindowObject(own);
        if (w->ShowTooltip(ownObject, "Second thread", 10, 10) == 1)
            appearedThere = WaitForTooltip(5000) != nullptr;
        w->ShowTooltip(ownObject, nullptr, 0, 0);
        w->ReturnWindowObject(ownObject);
        DestroyWindow(own);
    });
    EXPECT_TRUE(appearedThere) << "the second thread's tooltip appears in a window of its own";
    HWND tip = WaitForTooltip(5000);
    EXPECT_NE(tip, nullptr) << "the first thread's tooltip still appears";
    EXPECT_EQ(w->ShowTooltip(object, nullptr, 0, 0), 1);
    if (tip) {
        EXPECT_FALSE(IsWindowVisible(tip));
    }
    w->ReturnWindowObject(object);
    DestroyWindow(owner);
}

}  // namespace
