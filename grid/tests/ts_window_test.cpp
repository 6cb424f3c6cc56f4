// The grid's windows under Wine, driven only by messages: the dialog
// template control, creation texts and parameters, the frame, notifications,
// the query protocol and the popup menu.
#include "ts_window_harness.h"

#include "qf.h"

using namespace tswin;

namespace {

const PropertyId kCellList = TS_PROP(TS_GROUP_CELLS, TS_PART_LIST, TS_ITEM_VALUE);
const PropertyId kRowCount = TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWCOUNT);

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HWND CreateGrid(HWND parent, const char* text, DWORD style = 0, void* params = nullptr, int id = 7)
{
    EXPECT_NE(Library::Get().module, nullptr) << "Ts.dll registers the classes when it loads";
    return CreateWindowExA(0, "Tessaline", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 100, parent,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), GetModuleHandleA(nullptr), params);
}

uint32_t Capacity(HWND inner)
{
    // Insert far more than any grid holds and see what stays.
    uint32_t before = static_cast<uint32_t>(GetNumber(inner, 0, kRowCount));
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 0xFFFF, TS_APPEND)));
    uint32_t count = static_cast<uint32_t>(GetNumber(inner, 0, kRowCount));
    Send(inner, TSM_SETDIMENSIONS, 0, static_cast<uintptr_t>(0xFFFF0000u | before));
    return count;
}

TEST(TsWindowDialog, TemplateGridTakes8192RowsAndRefusesTheNext)
{
    ASSERT_NE(Library::Get().module, nullptr);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), nullptr, QuietDialog, 0);
    ASSERT_NE(dialog, nullptr);
    HWND frame = GetDlgItem(dialog, 1014);
    ASSERT_NE(frame, nullptr);
    HWND inner = Inner(frame);
    ASSERT_NE(inner, nullptr);
    char cls[32] = "";
    GetClassNameA(inner, cls, sizeof cls);
    EXPECT_STREQ(cls, "TsWndMgr");
    EXPECT_EQ(GetDlgCtrlID(inner), 1014) << "the inner window carries the control's identifier";

    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTCOLS, 8, TS_APPEND)));
    EXPECT_EQ(GetNumber(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLCOUNT)), 7) << "MaxCols=7";
    ITsVListMgr* m = Library::Get().Lists();
    ASSERT_NE(m, nullptr);
    Vlist* values = m->Create(7);
    m->Grow(values, 7);
    for (int row = 0; row < 8192; ++row) {
        uint32_t h = static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 1, TS_APPEND));
        ASSERT_NE(h, 0u) << row;
        for (int col = 0; col < 7; ++col) {
            char text[32];
            wsprintfA(text, "r%dc%d", row, col);
            m->ParseValue(m->Entry(values, col), text);
        }
        Send(inner, TSM_SETPROP, h | static_cast<uint32_t>(kCellList) << 16, values);
        Release(inner, h);
    }
    m->Destroy(values);
    EXPECT_EQ(GetNumber(inner, 0, kRowCount), 8192);
    uint32_t next = static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 1, TS_APPEND));
    EXPECT_NE(next, 0u);
    EXPECT_EQ(GetNumber(inner, next, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_FIRSTROWSEL)), 32767)
        << "the 8193rd row is refused: an empty selection";
    EXPECT_EQ(GetNumber(inner, 0, kRowCount), 8192);
    Release(inner, next);

    // The query protocol reads back every cell.
    int wrong = 0;
    for (int row = 0; row < 8192; ++row) {
        for (int col = 0; col < 7; ++col) {
            char ask[48], want[64];
            wsprintfA(ask, "103:0,%d,%d,0,0:", row, col);
            wsprintfA(want, "1:0,%d,%d,0,0:r%dc%d", row, col, row, col);
            if (Query(inner, ask) != want && ++wrong < 5)
                ADD_FAILURE() << ask << " gave " << Query(inner, ask);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Query(inner, "103:0,8192,0,0,0:"), "0:0,8192,0,0,0:");
    DestroyWindow(dialog);
}

TEST(TsWindowCreation, CreationTextsAndParametersFixTheMaximum)
{
    Parent parent;
    struct Case {
        const char* text;
        uint32_t rows;
    } cases[] = {{"maxrows = 3 MAXCOLS=2", 3}, {"", 1024}, {"MaxRows=5 ;", 1024}, {"thread=shared", 1024}};
    for (const Case& c : cases) {
        HWND frame = CreateGrid(parent.window(), c.text);
        ASSERT_NE(frame, nullptr) << c.text;
        EXPECT_EQ(Capacity(Inner(frame)), c.rows) << c.text;
        DestroyWindow(frame);
    }
    HWND shared = CreateGrid(parent.window(), "Thread=Shared");
    EXPECT_EQ(GetWindowLongA(Inner(shared), GWL_STYLE) & 0x3800, 0x1800);
    DestroyWindow(shared);

    GridCreateParams params = {2, 1};
    HWND created = CreateGrid(parent.window(), nullptr, TS_WS_PARAMS | WS_BORDER, &params);
    ASSERT_NE(created, nullptr);
    HWND inner = Inner(created);
    uint32_t h = static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 5, TS_APPEND));
    EXPECT_EQ(GetNumber(inner, h, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_LASTROWSEL)), 1)
        << "a grid of 2 rows takes 2 of 5";
    LONG innerStyle = GetWindowLongA(inner, GWL_STYLE);
    EXPECT_EQ(static_cast<DWORD>(innerStyle) & 0xFFFF0000u & ~static_cast<DWORD>(WS_VISIBLE), 0x42300000u)
        << "child, clip children, both scroll bars (and shown once the frame placed it)";
    EXPECT_EQ(innerStyle & 0x0800, 0x0800);
    EXPECT_EQ(GetWindowLongA(inner, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY, WS_EX_NOPARENTNOTIFY);
    EXPECT_TRUE(GetWindowLongA(created, GWL_STYLE) & WS_CLIPCHILDREN);
    char text[32] = "x";
    EXPECT_EQ(GetWindowTextA(inner, text, sizeof text), 0) << "the inner window has no text";
    DestroyWindow(created);
}

TEST(TsWindowFrame, BordersInsetTheInnerWindow)
{
    Parent parent;
    HWND frame = CreateGrid(parent.window(), "");
    HWND inner = Inner(frame);
    RECT outer, in;
    GetClientRect(frame, &outer);
    GetWindowRect(inner, &in);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&in), 2);
    EXPECT_EQ(in.left, 0);
    EXPECT_EQ(in.right, outer.right) << "default borders give the inner window the whole frame";
    // Group 4 goes through the inner window to the frame.
    EXPECT_EQ(Send(inner, TSM_SETPROP, static_cast<uint32_t>(0x4329) << 16, static_cast<uintptr_t>(-2)), 1);
    SetWindowPos(frame, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    GetClientRect(frame, &outer);
    GetWindowRect(inner, &in);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&in), 2);
    EXPECT_EQ(in.left, 2);
    EXPECT_EQ(in.top, 2);
    EXPECT_EQ(in.right - in.left, outer.right - 4);
    EXPECT_EQ(in.bottom - in.top, outer.bottom - 4);
    Send(inner, TSM_SETPROP, static_cast<uint32_t>(0x432A) << 16, 5);
    EXPECT_EQ(GetNumber(inner, 0, 0x432A), 5) << "the margin reads back";
    EXPECT_EQ(GetNumber(frame, 0, 0x432A), 5);
    Send(inner, TSM_SETPROP, static_cast<uint32_t>(0x432A) << 16, 9);
    EXPECT_EQ(GetNumber(frame, 0, 0x432A), 5) << "out of range is ignored";
    TsBorderColors colors = {RGB(255, 0, 0), RGB(0, 0, 255)};
    EXPECT_EQ(SendMessageA(frame, TSM_SETBORDERCOLORS, 0, reinterpret_cast<LPARAM>(&colors)), 1);
    EXPECT_EQ(Send(frame, TSM_SETSTYLE, 0, TS_STYLE_FRAMEMOUSE), TS_STYLE_FRAMEMOUSE);
    EXPECT_EQ(Send(inner, TSM_SETSTYLE, 1, TS_STYLE_FRAMEMOUSE) & TS_STYLE_FRAMEMOUSE, 0);
    EXPECT_EQ(Send(frame, TSM_SETSTYLE, 0, 0), 0) << "the grid cleared the frame's bit too";
    EXPECT_EQ(SendMessageA(frame, WM_GETDLGCODE, 0, 0), 0x81) << "arrow keys and characters";
    DestroyWindow(frame);
}

TEST(TsWindowNotifications, ParentHearsCodesInAscendingOrderUnlessSuppressed)
{
    Parent parent;
    HWND frame = CreateGrid(parent.window(), "", 0, nullptr, 1014);
    HWND inner = Inner(frame);
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTCOLS, 5, TS_APPEND)));
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 5, TS_APPEND)));
    uint32_t cell = Range(inner, 4, 2, 4, 2);
    Send(inner, TSM_SETFOCUSSEL, cell, 0);
    EXPECT_EQ(parent.commands, (std::vector<std::pair<int, int>>{{1014, TSN_SELCHANGE}}));
    parent.commands.clear();
    TsEditRequest edit = {1, 127, {0, 0}};
    EXPECT_EQ(Send(inner, TSM_BEGINEDIT, 0, &edit), 1);
    Send(inner, TSM_ENDEDIT, 0, 0);
    EXPECT_TRUE(parent.commands.empty()) << "19 is suppressed until the client enables it";
    Send(inner, TSM_SETSTYLE, 1, 0xFD400);
    Send(inner, TSM_BEGINEDIT, 0, &edit);
    Send(inner, TSM_ENDEDIT, 0, 0);
    EXPECT_EQ(parent.commands, (std::vector<std::pair<int, int>>{{1014, TSN_EDITCANCELLED}}));
    EXPECT_EQ(GetNumber(inner, 0, 0x3331), 16);
    Release(inner, cell);
    DestroyWindow(frame);
}

TEST(TsWindowQuery, WindowTextCarriesQueriesAndAnswers)
{
    Parent parent;
    HWND frame = CreateGrid(parent.window(), "");
    HWND inner = Inner(frame);
    char buffer[64] = "untouched";
    EXPECT_EQ(SendMessageA(inner, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0)
        << "nothing asked, nothing answered";
    Send(inner, TSM_SETDIMENSIONS, 0, static_cast<uintptr_t>(3 << 16 | 9));
    EXPECT_EQ(SendMessageA(inner, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("101:0,0,0,0,0:")), 1);
    LRESULT result = 0;
    EXPECT_EQ(Query(inner, "101:0,0,0,0,0:", &result), "9:0,0,0,0,0:");
    EXPECT_EQ(result, 192);
    EXPECT_EQ(Query(inner, "102:0,0,0,0,0:"), "3:0,0,0,0,0:");
    EXPECT_EQ(Query(inner, "103:0,12,0,0,0:"), "0:0,12,0,0,0:");
    EXPECT_EQ(Query(inner, "118:0,0,0,0,0:", &result), "");
    EXPECT_EQ(result, 0);
    // Geometry in the grid window, the frame and on the screen, with rows
    // of 20 pixels and columns of 100.
    uint32_t all = Range(inner, 0, 0, -1, -1);
    Send(inner, TSM_SETPROP, all | static_cast<uint32_t>(TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE)) << 16,
         "[20]");
    Send(inner, TSM_SETPROP, all | static_cast<uint32_t>(TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE)) << 16,
         "[100]");
    Release(inner, all);
    SendMessageA(inner, WM_SIZE, 0, MAKELPARAM(200, 100));
    std::string rect = Query(inner, "113:0,1,1,0,0:");
    EXPECT_EQ(rect, "1:0,100,20,200,40:");
    POINT origin = {0, 0};
    ClientToScreen(inner, &origin);
    char want[64];
    wsprintfA(want, "1:0,%d,%d,%d,%d:", origin.x + 100, origin.y + 20, origin.x + 200, origin.y + 40);
    EXPECT_EQ(Query(inner, "116:0,1,1,0,0:"), want);
    DestroyWindow(frame);
}

TEST(TsWindowPopup, MenuHandleWithSubmenuMinusOneShowsSubmenuZero)
{
    Parent parent;
    ShowWindow(parent.window(), SW_SHOW);
    HWND frame = CreateGrid(parent.window(), "");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2));
    ASSERT_NE(menu, nullptr);
    TsPopupMenu request = {nullptr, menu, parent.window(), -1};
    // Closed again from the owner's idle message.
    EXPECT_EQ(Send(frame, TSM_POPUPMENU, 0, &request), 0) << "no choice made";
    ASSERT_FALSE(parent.menus.empty());
    EXPECT_EQ(parent.menus.front(), GetSubMenu(menu, 0));
    parent.menus.clear();
    request.submenu = 1;
    Send(frame, TSM_POPUPMENU, 0, &request);
    ASSERT_FALSE(parent.menus.empty());
    EXPECT_EQ(parent.menus.front(), GetSubMenu(menu, 1));
    EXPECT_TRUE(IsMenu(menu)) << "a menu given by handle stays the caller's";
    request.menu = nullptr;
    request.menuResource = MAKEINTRESOURCEA(9);
    EXPECT_EQ(Send(frame, TSM_POPUPMENU, 0, &request), 0) << "no such menu: nothing shown";
    DestroyMenu(menu);
    DestroyWindow(frame);
}

TEST(TsWindowSelections, OperandFromAnotherGridArrivesByMessage)
{
    Parent parent;
    HWND a = CreateGrid(parent.window(), "MaxRows=20 MaxCols=2");
    HWND b = CreateGrid(parent.window(), "MaxRows=20 MaxCols=2");
    HWND ia = Inner(a), ib = Inner(b);
    for (HWND w : {ia, ib}) {
        Release(w, static_cast<uint32_t>(Send(w, TSM_INSERTCOLS, 2, TS_APPEND)));
        Release(w, static_cast<uint32_t>(Send(w, TSM_INSERTROWS, 10, TS_APPEND)));
    }
    uint32_t theirs = Range(ib, 0, 6, -1, 7);
    uint32_t mine = Range(ia, 0, 1, -1, 1);
    Send(ia, TSM_SELECTIONOP, mine | theirs << 8 | 0x106u << 16, reinterpret_cast<uintptr_t>(b));
    EXPECT_EQ(GetNumber(ia, mine, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_LASTROWSEL)), 7);
    EXPECT_EQ(Send(ia, TSM_SELECTIONOP, 0x16u << 16 | mine), 3) << "rows 1, 6 and 7";
    // A message 1226 whose object is no grid is ignored.
    SendMessageA(ia, TSM_COPYSLOT, mine << 8 | 9, reinterpret_cast<LPARAM>(&parent));
    DestroyWindow(a);
    DestroyWindow(b);
}

// Debugger output arrives as an exception the system raises and handles
// itself; a vectored handler sees each line first.
std::vector<std::string>& DebugLines()
{
    static std::vector<std::string> lines;
    return lines;
}

LONG CALLBACK OnDebugString(EXCEPTION_POINTERS* e)
{
    if (e->ExceptionRecord->ExceptionCode != DBG_PRINTEXCEPTION_C || e->ExceptionRecord->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    DebugLines().push_back(reinterpret_cast<const char*>(e->ExceptionRecord->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(TsWindowDiagnostics, ExhaustionReachesTheDiagnosticWindowAndDumpsTheTraceOutput)
{
    ASSERT_NE(Library::Get().module, nullptr);
    Parent parent;
    static UINT diagnotify = RegisterWindowMessageA("QFM_DIAGNOTIFY");
    static std::vector<std::string> lines;
    struct Sink {
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
        {
            if (m == diagnotify && lp)
                lines.push_back(reinterpret_cast<const char*>(lp));
            return m == diagnotify ? 1 : DefWindowProcA(w, m, wp, lp);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Sink::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TsDiagSink";
    RegisterClassA(&wc);
    HWND sink = CreateWindowExA(0, "TsDiagSink", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, wc.hInstance, nullptr);
    typedef QfMgr*(__stdcall * GetInterfaceFn)(void);
    GetInterfaceFn get = reinterpret_cast<GetInterfaceFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("Tsf.dll"), "QfGetInterface")));
    ASSERT_NE(get, nullptr);
    get()->SetDiagnosticWindow(sink);
    lines.clear();

    HWND frame = CreateGrid(parent.window(), "");
    HWND inner = Inner(frame);
    for (int i = 0; i < 32; ++i)
        Send(inner, TSM_SELECTIONOP, TS_SEL_NEW << 16);
    EXPECT_EQ(Send(inner, TSM_INSERTROWS, 1, TS_APPEND), 0);
    EXPECT_EQ(lines, std::vector<std::string>{"TS: (TsDataMgr) Selections exhausted."});
    get()->SetDiagnosticWindow(nullptr);
    DestroyWindow(frame);
    DestroyWindow(sink);

    ITsVListMgr* m = Library::Get().Lists();
    Vlist* list = m->Create(2);
    m->Grow(list, 1);
    m->SetNumber(m->Entry(list, 0), 7);
    void* handler = AddVectoredExceptionHandler(1, OnDebugString);
    DebugLines().clear();
    m->Dump(list, 0, -1, nullptr);
    RemoveVectoredExceptionHandler(handler);
    m->Destroy(list);
    EXPECT_EQ(DebugLines(), (std::vector<std::string>{"Qf:  I - Dumping Vlist(0, -1)\n", "       [0] 0x00000007 (7)\n",
                                                      "Qf:  I - Valuelist dump complete.\n"}));
}

}  // namespace
