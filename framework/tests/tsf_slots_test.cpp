// The binary contract of Tsf.dll checked without the header's interface
// declarations: every call here goes through a numbered slot of an object's
// table of operations with its own __stdcall function type, and the
// identifiers are typed out as text. A grid built against a header whose
// slots were moved, dropped or given another calling convention would call
// the wrong operation; these tests see the same mistake.
#include "tsf_harness.h"

using tsf::Guid;
using tsf::Library;

namespace {

Library& Lib()
{
    return Library::Get();
}

void* SlotAddress(const void* object, int slot)
{
    return (*static_cast<void* const* const*>(object))[slot];
}

// Calls slot `slot` of `object` as a __stdcall operation taking the object
// first, then the given arguments.
template <class R, class... A>
R Call(const void* object, int slot, A... args)
{
    typedef R(__stdcall * Fn)(const void*, A...);
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<uintptr_t>(SlotAddress(object, slot)));
    return fn(object, args...);
}

// Calls the __stdcall operation fn with count 32-bit arguments (the object
// first) and returns how many bytes of them it took off the stack: four per
// argument it was built to take. A caller that passes another number leaves
// the stack unbalanced.
extern "C" uint32_t TsfPoppedBytes(const void* fn, const uint32_t* args, uint32_t count);
asm(R"(
    .text
    .globl _TsfPoppedBytes
_TsfPoppedBytes:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl %esp, %eax
    subl %edi, %eax
    movl 16(%ebp), %ecx
    leal (%eax,%ecx,4), %eax
    movl %edi, %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

uint32_t Word(const void* p)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

const void* Root()
{
    return Lib().root;
}

// The service a root slot (20 to 26) hands out, read from its holder.
const void* Service(int rootSlot)
{
    void** holder = Call<void**>(Root(), rootSlot);
    return holder ? *holder : nullptr;
}

TEST(TsfSlotIdentifiers, TextsAreTheContractsIdentifiers)
{
    struct Case {
        const char* header;
        const char* contract;
    } cases[] = {
        {QF_IID_ICAFEOBJECT_TEXT, "{1A548B91-2768-11d0-97AD-02608C409255}"},
        {QF_IID_ICAFECREATOR_TEXT, "{1A548B90-2768-11d0-97AD-02608C409255}"},
        {QF_IID_IQFMEMORY_TEXT, "{FD8A2650-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFMEMORYMGR_TEXT, "{FD8A2651-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_IID_IQFTIMERMGR_TEXT, "{FD8A2652-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFTIMERMGR_TEXT, "{FD8A2653-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_IID_IQFRGNMGR_TEXT, "{FD8A2654-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFRGNMGR_TEXT, "{FD8A2655-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_IID_IQFTEXTMGR_TEXT, "{FD8A2656-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFTEXTMGR_TEXT, "{FD8A2657-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_IID_IQFWNDMGR_TEXT, "{FD8A2658-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFWNDMGR_TEXT, "{FD8A2659-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_IID_IQFDISPMGR_TEXT, "{FD8A265A-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFDISPMGR_TEXT, "{FD8A265B-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_IID_IQFTHREADMGR_TEXT, "{FD8A265C-39BB-11d0-89BE-00A0C9163A43}"},
        {QF_CLSID_QFTHREADMGR_TEXT, "{FD8A265D-39BB-11d0-89BE-00A0C9163A43}"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.header, c.contract);
}

// Root slots 20 to 26 hold memory, timers, regions, text, windows, display
// and threads, in that order; slot 0 of each answers its own identifier and
// refuses the others'.
TEST(TsfSlotRoot, ServiceHoldersInContractOrder)
{
    ASSERT_NE(Lib().root, nullptr);
    const char* iids[7] = {
        "{FD8A2650-39BB-11d0-89BE-00A0C9163A43}", "{FD8A2652-39BB-11d0-89BE-00A0C9163A43}",
        "{FD8A2654-39BB-11d0-89BE-00A0C9163A43}", "{FD8A2656-39BB-11d0-89BE-00A0C9163A43}",
        "{FD8A2658-39BB-11d0-89BE-00A0C9163A43}", "{FD8A265A-39BB-11d0-89BE-00A0C9163A43}",
        "{FD8A265C-39BB-11d0-89BE-00A0C9163A43}",
    };
    for (int i = 0; i < 7; ++i) {
        const void* service = Service(20 + i);
        ASSERT_NE(service, nullptr) << "root slot " << 20 + i;
        for (int j = 0; j < 7; ++j) {
            QfGuid iid = Guid(iids[j]);
            void* out = nullptr;
            QfResult r = Call<QfResult>(service, 0, &iid, &out);
            if (i == j) {
                EXPECT_EQ(r, QF_S_OK) << "root slot " << 20 + i;
                EXPECT_EQ(out, service);
                Call<uint32_t>(service, 2);
            } else {
                EXPECT_EQ(r, QF_E_NOINTERFACE) << "root slot " << 20 + i << " asked for " << iids[j];
            }
        }
        // Slot 1 adds a holder, slot 2 drops it: the counts step by one.
        uint32_t up = Call<uint32_t>(service, 1);
        EXPECT_EQ(Call<uint32_t>(service, 2), up - 1) << "root slot " << 20 + i;
    }
}

uintptr_t QFAPI Triple(uintptr_t value)
{
    return value * 3;
}

TEST(TsfSlotRoot, OperationsByNumber)
{
    EXPECT_EQ(Call<int32_t>(Root(), 1, uintptr_t(0xFFFF)), 0);
    EXPECT_NE(Call<int32_t>(Root(), 1, uintptr_t(0x10000)), 0);

    HWND edit = CreateWindowExA(0, "EDIT", "four", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Call<intptr_t>(Root(), 3, static_cast<void*>(edit), uint32_t(WM_GETTEXTLENGTH), uintptr_t(0),
                             intptr_t(0)),
              4);
    DestroyWindow(edit);

    EXPECT_STREQ(Call<const char*>(Root(), 4, uint32_t(1)), "Pale Yellow");
    EXPECT_EQ(Call<uintptr_t>(Root(), 7, &Triple, uintptr_t(14)), 42u);
    EXPECT_EQ(Call<intptr_t>(Root(), 9), 1);

    HDC dc = GetDC(nullptr);
    EXPECT_EQ(Call<int32_t>(Root(), 10), GetDeviceCaps(dc, LOGPIXELSY));
    EXPECT_EQ(Call<int32_t>(Root(), 11), GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);

    EXPECT_EQ(Call<int32_t>(Root(), 13, static_cast<void*>(nullptr)), 0);

    // 14 to 16 reach the display service's blank icon slots 22 to 24.
    void* blank = Call<void*>(Root(), 14, int32_t(0));
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank, Call<void*>(Service(25), 22, int32_t(0)));
    EXPECT_EQ(Call<int32_t>(Root(), 15, blank), 1);
    void* copy = Call<void*>(Root(), 16, int32_t(0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Call<int32_t>(Root(), 15, copy), 0);
    EXPECT_EQ(Call<int32_t>(Service(25), 23, copy), 0);
    DestroyIcon(static_cast<HICON>(copy));

    EXPECT_EQ(Call<void*>(Root(), 17), Call<void*>(Service(25), 20));

    // 27 and 28 keep the resource module list; 29 to 31 load icons,
    // cursors and menus from it, each only its own kind.
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(Call<int32_t>(Root(), 27, static_cast<void*>(self)), 1);
    EXPECT_EQ(Call<int32_t>(Root(), 28, static_cast<void*>(self)), 1);
    EXPECT_EQ(Call<int32_t>(Root(), 28, static_cast<void*>(self)), 0);
    void* icon = Call<void*>(Root(), 29, "BLANKICON");
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(Call<void*>(Root(), 29, "QFITALICCURSOR"), nullptr);
    void* cursor = Call<void*>(Root(), 30, "QFITALICCURSOR");
    EXPECT_NE(cursor, nullptr);
    EXPECT_EQ(Call<void*>(Root(), 30, "BLANKICON"), nullptr);
    EXPECT_EQ(Call<void*>(Root(), 31, "BLANKICON"), nullptr);
    EXPECT_EQ(Call<void*>(Root(), 2, "NoSuchMenu", int32_t(0)), nullptr);
}

// Slot 18 is variadic and so takes the C calling convention; slot 19
// attaches the diagnostic window it writes to.
TEST(TsfSlotRoot, DiagnosticsThroughSlots18And19)
{
    tsf::DiagnosticSink sink;
    Call<intptr_t>(Root(), 19, static_cast<void*>(sink.window()));
    typedef int32_t (*Printf)(const void*, int32_t, const char*, ...);
    Printf diagnostic = reinterpret_cast<Printf>(reinterpret_cast<uintptr_t>(SlotAddress(Root(), 18)));
    EXPECT_EQ(diagnostic(Root(), 0, "slot %d says %s\n", 18, "hello"), 1);
    Call<intptr_t>(Root(), 19, static_cast<void*>(nullptr));
    ASSERT_FALSE(sink.lines.empty());
    EXPECT_EQ(sink.lines.back().find("TS: (QfMgr) Detaching diagnostic window "), 0u);
    bool seen = false;
    for (const std::string& line : sink.lines)
        seen = seen || line == "slot 18 says hello";
    EXPECT_TRUE(seen);
}

TEST(TsfSlotServices, MemoryByNumber)
{
    const void* memory = Service(20);
    void* block = Call<void*>(memory, 3, uint32_t(100));
    ASSERT_NE(block, nullptr);
    void* owner = nullptr;
    EXPECT_EQ(Call<QfResult>(memory, 6, static_cast<const void*>(block), &owner), QF_S_OK);
    EXPECT_NE(owner, nullptr);
    EXPECT_EQ(Call<QfResult>(memory, 4, block, uint32_t(100)), QF_S_OK);
    int local = 0;
    EXPECT_EQ(Call<QfResult>(memory, 6, static_cast<const void*>(&local), &owner), QF_E_FAIL);
    void* pooled = Call<void*>(memory, 3, uint32_t(40));
    EXPECT_EQ(Call<QfResult>(memory, 5, pooled), QF_S_OK);

    void* tagged = Call<void*>(memory, 7, uint32_t(16), uint32_t(0x5107));
    ASSERT_NE(tagged, nullptr);
    EXPECT_EQ(Call<void*>(memory, 8, static_cast<void*>(nullptr), uint32_t(0x5107)), tagged);
    EXPECT_EQ(Call<uint32_t>(memory, 9, tagged, uint32_t(0)), 1u);

    unsigned char* heap = Call<unsigned char*>(memory, 10, uint32_t(8));
    ASSERT_NE(heap, nullptr);
    heap = Call<unsigned char*>(memory, 11, static_cast<void*>(heap), uint32_t(64));
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(heap[63], 0) << "growth is zero-filled";
    EXPECT_EQ(Call<int32_t>(memory, 12, static_cast<void*>(&local)), 0);
    EXPECT_EQ(Call<int32_t>(memory, 12, static_cast<void*>(heap)), 1);
}

TEST(TsfSlotServices, ThreadsByNumber)
{
    const void* threads = Service(26);
    uint32_t bank = Call<uint32_t>(threads, 5, uint32_t(20), static_cast<QfBankCleanup>(nullptr));
    ASSERT_NE(bank, QF_BANK_FAILED);
    EXPECT_EQ(bank >> 16, 2u) << "20 bytes take two units";
    EXPECT_EQ(Call<int32_t>(threads, 6), 1);
    int32_t readyBefore = -1, readyAfter = -1, readyDetached = -1;
    intptr_t notified = -1;
    void* got = nullptr;
    tsf::RunOnThread([&] {
        readyBefore = Call<int32_t>(threads, 3);
        got = Call<void*>(threads, 4, bank);
        readyAfter = Call<int32_t>(threads, 3);
        notified = Call<intptr_t>(threads, 8) + Call<intptr_t>(threads, 9);
        Call<int32_t>(threads, 7);
        readyDetached = Call<int32_t>(threads, 3);
    });
    EXPECT_EQ(readyBefore, 0);
    EXPECT_NE(got, nullptr);
    EXPECT_EQ(readyAfter, 1);
    EXPECT_EQ(notified, 0) << "no object in the thread's first bank";
    EXPECT_EQ(readyDetached, 0);
}

TEST(TsfSlotServices, TimersRegionsAndTextByNumber)
{
    const void* timers = Service(21);
    EXPECT_EQ(Call<const void*>(timers, 3), static_cast<const void*>(static_cast<const char*>(timers) + sizeof(void*)));
    QfTimerClient client = {nullptr, nullptr};
    EXPECT_EQ(Call<uint32_t>(timers, 4, &client, uint32_t(0)), 0u);
    EXPECT_EQ(Call<uint32_t>(timers, 4, &client, uint32_t(255)), 0u);
    uint32_t first = Call<uint32_t>(timers, 4, &client, uint32_t(200));
    uint32_t second = Call<uint32_t>(timers, 4, &client, uint32_t(201));
    EXPECT_GE(first, 1u);
    EXPECT_EQ(second, first % 255 + 1);
    Call<QfResult>(timers, 5, &client, first);
    EXPECT_NE(client.node, nullptr) << "one timer still pending";
    Call<QfResult>(timers, 6, &client);
    EXPECT_EQ(client.node, nullptr);

    const void* regions = Service(22);
    int32_t rect[4] = {1, 2, 3, 4};
    QfRectRecord* record = Call<QfRectRecord*>(regions, 3, static_cast<const int32_t*>(rect));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->bottom, 4);
    EXPECT_EQ(Call<QfResult>(regions, 4, record), QF_S_OK);

    const void* text = Service(23);
    QfString* s = Call<QfString*>(text, 3, uint32_t(9));
    EXPECT_EQ(s->sizeClass & 0x0F, 1);
    EXPECT_EQ(s->refs, 0);
    memcpy(QfStringText(s), "abc", 4);
    s->length = 3;
    s = Call<QfString*>(text, 5, s, uint32_t(10), int32_t(1));
    EXPECT_EQ(s->sizeClass & 0x0F, 2);
    EXPECT_STREQ(QfStringText(s), "abc");
    EXPECT_EQ(Call<QfResult>(text, 4, s), QF_S_OK);
    QfString* empty = Call<QfString*>(text, 3, uint32_t(0x10000));
    EXPECT_EQ(empty->sizeClass & 0x0F, 0);
}

TEST(TsfSlotServices, WindowsByNumber)
{
    const void* windows = Service(24);
    void* sink = Call<void*>(windows, 3);
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(Call<void*>(windows, 3), sink);
    char cls[32] = "";
    GetClassNameA(static_cast<HWND>(sink), cls, sizeof cls);
    EXPECT_STREQ(cls, "QfNullWnd");

    HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(Call<void*>(windows, 4, static_cast<void*>(plain)), nullptr);
    void* object = Call<void*>(windows, 6, static_cast<void*>(plain));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(Call<void*>(windows, 4, static_cast<void*>(plain)), object);
    EXPECT_EQ(Call<QfResult>(windows, 8, static_cast<void*>(plain)), QF_S_OK);
    EXPECT_EQ(Call<void*>(windows, 4, static_cast<void*>(plain)), nullptr);
    Call<uint32_t>(object, 2);
    DestroyWindow(plain);

    uintptr_t old = Call<uintptr_t>(windows, 9, uintptr_t(0));
    EXPECT_EQ(Call<uintptr_t>(windows, 10), 0u);
    Call<uintptr_t>(windows, 9, old);

    void* dispatcher = Call<void*>(windows, 11);
    EXPECT_NE(dispatcher, nullptr);
    uintptr_t plainProc = reinterpret_cast<uintptr_t>(&DefWindowProcA);
    EXPECT_NE(reinterpret_cast<uintptr_t>(dispatcher), plainProc);

    QfClassRecord record = {};
    record.procedure = reinterpret_cast<QfWindowProc>(plainProc);
    EXPECT_NE(Call<uint16_t>(windows, 18, static_cast<const QfClassRecord*>(&record), "TsfSlotsPlain"), 0);
    EXPECT_NE(Call<int32_t>(windows, 19, "TsfSlotsPlain"), 0);
    EXPECT_NE(Call<uint16_t>(windows, 17, static_cast<const QfClassRecord*>(&record), "TsfSlotsProbed",
                             static_cast<const QfClassCreation*>(nullptr)),
              0);
    EXPECT_NE(Call<int32_t>(windows, 19, "TsfSlotsProbed"), 0);
    record.procedure = nullptr;
    EXPECT_EQ(Call<uint16_t>(windows, 18, static_cast<const QfClassRecord*>(&record), "TsfSlotsNone"), 0);
}

TEST(TsfSlotServices, DisplayByNumber)
{
    const void* display = Service(25);
    struct Case {
        int slot;
        const char* text;
        uint32_t type;
    } cases[] = {
        {3, "Pale Yellow", QF_GRAPHIC_COLOR},
        {5, "Arial:10", QF_GRAPHIC_FONT},
        {6, "some text", QF_GRAPHIC_TEXT},
        {8, "!QfItalicCursor", QF_GRAPHIC_CURSOR},
    };
    for (const Case& c : cases) {
        QfGraphic* g = nullptr;
        Call<QfResult>(display, c.slot, &g, c.text);
        ASSERT_NE(g, nullptr) << "slot " << c.slot;
        EXPECT_EQ(g->type, c.type) << "slot " << c.slot;
        EXPECT_STREQ(QfStringText(g->name), c.text) << "slot " << c.slot;
        if (c.slot == 3) {
            EXPECT_EQ(g->value, 0x02C0FFFFu);
            EXPECT_EQ(Call<uint32_t>(display, 16, static_cast<const QfGraphic*>(g)), 0xFF02u);
            int32_t before = g->refs;
            EXPECT_EQ(Call<QfGraphic*>(display, 18, g), g);
            EXPECT_EQ(g->refs, before + 1);
            Call<QfResult>(display, 17, g);
            EXPECT_EQ(g->refs, before);
        }
        Call<QfResult>(display, 17, g);
    }

    QfFontSpec spec = {"Tahoma", -1050, 1, QF_FONT_POINTS | QF_FONT_BOLD};
    QfGraphic* variant = nullptr;
    Call<QfResult>(display, 4, &variant, static_cast<const QfFontSpec*>(&spec));
    ASSERT_NE(variant, nullptr);
    EXPECT_EQ(variant->type, QF_GRAPHIC_FONT);
    EXPECT_STREQ(QfStringText(variant->name), "Tahoma:10.5 b");
    Call<QfResult>(display, 17, variant);

    QfGraphic* icon = nullptr;
    Call<QfResult>(display, 9, &icon, "!BlankIcon", int32_t(16), int32_t(16));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->type, QF_GRAPHIC_ICON);
    EXPECT_NE(icon->value, 0u);
    Call<QfResult>(display, 17, icon);

    QfGraphic* palette = nullptr;
    Call<QfResult>(display, 10, &palette);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->type, QF_GRAPHIC_PALETTE);
    EXPECT_EQ(reinterpret_cast<void*>(palette->value), Call<void*>(display, 20));
    Call<QfResult>(display, 17, palette);

    QfGraphic* nullColour = Call<QfGraphic*>(display, 14, uint32_t(QF_GRAPHIC_COLOR));
    ASSERT_NE(nullColour, nullptr);
    EXPECT_STREQ(QfStringText(nullColour->name), "(Null Color)");
    EXPECT_EQ(Call<int32_t>(display, 13, uint32_t(0x01000005)), 0) << "palette indexes never dither";
    EXPECT_EQ(Call<void*>(display, 21, "NoSuchMenu", int32_t(0)), nullptr);

    QfValueObject* value = Call<QfValueObject*>(display, 25, uint32_t(77));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->value, 77u);
    EXPECT_EQ(Call<QfResult>(display, 26, value), QF_S_OK);
}

// The argument counts the header settles, measured on the operations
// themselves: display slot 7 takes six arguments after the object, timer
// slot 3 none.
TEST(TsfSlotServices, OperationsTakeTheirArgumentCounts)
{
    const void* display = Service(25);
    const void* timers = Service(21);
    QfTimerClient client = {nullptr, nullptr};
    struct Case {
        const char* what;
        const void* object;
        int slot;
        std::vector<uint32_t> args;  // after the object; harmless values
    } cases[] = {
        {"display slot 7 (no device context)", display, 7, {0, 1, 2, 30, 40, 0}},
        {"display slot 4 (no out argument)", display, 4, {0, 0}},
        {"display slot 21", display, 21, {Word("NoSuchMenu"), 0}},
        {"timer slot 3", timers, 3, {}},
        {"timer slot 4 (zero ticks)", timers, 4, {Word(&client), 0}},
        {"root slot 10", Root(), 10, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> words(1, Word(c.object));
        words.insert(words.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(TsfPoppedBytes(SlotAddress(c.object, c.slot), words.data(), static_cast<uint32_t>(words.size())),
                  4 * words.size())
            << c.what;
    }
}

// Timer slot 3 hands out the service's inner object, found just past the
// interface pointer: a table of the three base operations for the service.
TEST(TsfSlotServices, TimerInnerObjectAnswersForTheService)
{
    const void* timers = Service(21);
    const void* inner = Call<const void*>(timers, 3);
    ASSERT_EQ(inner, static_cast<const void*>(static_cast<const char*>(timers) + sizeof(void*)));
    QfGuid timerIid = Guid("{FD8A2652-39BB-11d0-89BE-00A0C9163A43}");
    ASSERT_NE(memcmp(*static_cast<void* const*>(inner), &timerIid, sizeof timerIid), 0)
        << "an object with a table of operations, not the identifier";
    void* out = nullptr;
    EXPECT_EQ(Call<QfResult>(inner, 0, &timerIid, &out), QF_S_OK);
    EXPECT_EQ(out, timers);
    Call<uint32_t>(timers, 2);
    QfGuid memoryIid = Guid("{FD8A2650-39BB-11d0-89BE-00A0C9163A43}");
    EXPECT_EQ(Call<QfResult>(inner, 0, &memoryIid, &out), QF_E_NOINTERFACE);
    uint32_t up = Call<uint32_t>(inner, 1);
    EXPECT_EQ(Call<uint32_t>(timers, 2), up - 1) << "one count for the service and its inner object";
}

TEST(TsfSlotServices, ClassObjectsByNumber)
{
    QfGuid clsid = Guid("{FD8A2657-39BB-11d0-89BE-00A0C9163A43}");
    QfGuid creatorIid = Guid("{1A548B90-2768-11d0-97AD-02608C409255}");
    QfGuid textIid = Guid("{FD8A2656-39BB-11d0-89BE-00A0C9163A43}");
    void* creator = nullptr;
    ASSERT_EQ(Lib().getClassObject(clsid, creatorIid, &creator), S_OK);
    void* made = nullptr;
    EXPECT_EQ(Call<QfResult>(creator, 3, static_cast<void*>(nullptr), &textIid, &made), QF_S_OK);
    EXPECT_EQ(made, Service(23));
    Call<uint32_t>(made, 2);
    EXPECT_EQ(Call<QfResult>(creator, 4, int32_t(1)), QF_S_OK);
    EXPECT_EQ(Lib().canUnloadNow(), S_FALSE);
    EXPECT_EQ(Call<QfResult>(creator, 4, int32_t(0)), QF_S_OK);
    EXPECT_EQ(Lib().canUnloadNow(), S_OK);
    EXPECT_EQ(Call<QfResult>(creator, 5, creator, &textIid, &made, uint32_t(0)), QF_E_NOAGGREGATION);
    EXPECT_EQ(Call<QfResult>(creator, 5, static_cast<void*>(nullptr), &textIid, &made, uint32_t(0)), QF_S_OK);
    EXPECT_EQ(made, Service(23));
    Call<uint32_t>(made, 2);
    Call<uint32_t>(creator, 2);
}

}  // namespace
