// The grid's behaviour under Wine through its real windows: keys and clicks
// (sent as messages and as synthetic input), the cell editor inside a
// dialog as the playlist uses it, the AutoSearch field, the accessibility
// object read through the system's own accessibility calls, and a disabled
// grid.
#include "ts_window_harness.h"

#include <oleacc.h>

#include <stdio.h>

using namespace tswin;

namespace {

const PropertyId kCellText = TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE);

HWND MakeGrid(HWND parent, int id = 1014)
{
    EXPECT_NE(Library::Get().module, nullptr);
    // Three columns of 100 pixels fit beside the vertical scroll bar.
    return CreateWindowExA(0, "Tessaline", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 340, 125, parent,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

void SetCell(HWND inner, int row, int col, const char* text)
{
    uint32_t h = Range(inner, col, row, col, row);
    Send(inner, TSM_SETPROP, h | static_cast<uint32_t>(kCellText) << 16, text);
    Release(inner, h);
}

// rows x cols cells named "r<row>c<col>", rows 20 pixels high and columns
// 100 wide whatever the fonts, every notification enabled.
void Fill(HWND inner, int rows, int cols)
{
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTCOLS, static_cast<uint32_t>(cols), TS_APPEND)));
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, static_cast<uint32_t>(rows), TS_APPEND)));
    FixSizes(inner, 20, 100);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            char text[16];
            wsprintfA(text, "r%dc%d", r, c);
            SetCell(inner, r, c, text);
        }
    }
    Send(inner, TSM_SETSTYLE, 1, 0xFFFFF);
}

void Focus(HWND inner, int row, int col)
{
    uint32_t cell = Range(inner, col, row, col, row);
    Send(inner, TSM_SETFOCUSSEL, cell, 1);
    Release(inner, cell);
}

// Runs the posted messages, through the dialog manager when there is a dialog.
void Pump(HWND dialog = nullptr)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && IsDialogMessageA(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The user's selection: "left,top,right,bottom" (query 109).
std::string Selected(HWND inner)
{
    std::string a = Query(inner, "109:0,0,0,0,0:");
    size_t colon = a.find(':');
    return a.substr(colon + 3, a.rfind(':') - colon - 3);
}

std::string Text(HWND inner, int row, int col)
{
    char ask[48];
    wsprintfA(ask, "103:0,%d,%d,0,0:", row, col);
    std::string a = Query(inner, ask);
    return a.substr(a.rfind(':') + 1);
}

POINT Centre(HWND inner, int row, int col)
{
    char ask[48];
    wsprintfA(ask, "113:0,%d,%d,0,0:", row, col);
    unsigned long l = 0, t = 0, r = 0, b = 0;  // printed unsigned
    sscanf(Query(inner, ask).c_str(), "1:0,%lu,%lu,%lu,%lu", &l, &t, &r, &b);
    return POINT{(static_cast<int32_t>(l) + static_cast<int32_t>(r)) / 2,
                 (static_cast<int32_t>(t) + static_cast<int32_t>(b)) / 2};
}

void Press(HWND inner, UINT down, UINT up, POINT at, WPARAM keys = 0)
{
    SendMessageA(inner, down, keys | (down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON), MAKELPARAM(at.x, at.y));
    SendMessageA(inner, up, keys, MAKELPARAM(at.x, at.y));
}

HWND ChildOfClass(HWND parent, const char* cls)
{
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpiA(name, cls) == 0)
            return w;
    }
    return nullptr;
}

// Under Wine without a window manager, hiding a shown top-level window
// takes a couple of seconds: the tests that need one shown share it.
Parent& ShownParent()
{
    static Parent* parent = [] {
        Parent* p = new Parent();
        ShowWindow(p->window(), SW_SHOW);
        return p;
    }();
    parent->commands.clear();
    parent->onCommand = nullptr;
    return *parent;
}

std::vector<int> Codes(const Parent& p)
{
    std::vector<int> codes;
    for (const auto& c : p.commands)
        codes.push_back(c.second);
    return codes;
}

TEST(TsWindowInput, KeysClicksAndMenuKeysReachTheParent)
{
    Parent parent;
    HWND frame = MakeGrid(parent.window());
    HWND inner = Inner(frame);
    Fill(inner, 10, 3);
    SetFocus(frame);
    EXPECT_EQ(GetFocus(), inner) << "the frame hands the keyboard to the grid";
    EXPECT_EQ(SendMessageA(frame, WM_GETDLGCODE, 0, 0), 0x81) << "arrows and characters";
    SendMessageA(inner, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(inner, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(frame, WM_KEYDOWN, VK_RIGHT, 0);  // forwarded by the frame
    EXPECT_EQ(Selected(inner), "1,1,1,1");
    EXPECT_EQ(Codes(parent), (std::vector<int>{TSN_SELCHANGE, TSN_SELCHANGE, TSN_SELCHANGE}));

    parent.commands.clear();
    Press(inner, WM_LBUTTONDOWN, WM_LBUTTONUP, Centre(inner, 3, 0));
    Press(inner, WM_LBUTTONDOWN, WM_LBUTTONUP, Centre(inner, 4, 1), MK_SHIFT);
    EXPECT_EQ(Selected(inner), "0,3,1,4");
    EXPECT_EQ(Codes(parent), (std::vector<int>{TSN_CELLHIT, TSN_SELCHANGE, TSN_CELLHIT, TSN_SELCHANGE}));
    parent.commands.clear();
    // Two presses in one message time on one cell: a double click.
    Press(inner, WM_LBUTTONDOWN, WM_LBUTTONUP, Centre(inner, 2, 1));
    Press(inner, WM_LBUTTONDOWN, WM_LBUTTONUP, Centre(inner, 2, 1));
    EXPECT_EQ(Codes(parent), (std::vector<int>{TSN_CELLHIT, TSN_SELCHANGE, TSN_CELLHIT, TSN_DBLCLK}));

    parent.commands.clear();
    Press(inner, WM_RBUTTONDOWN, WM_RBUTTONUP, Centre(inner, 2, 1));
    SendMessageA(inner, WM_KEYDOWN, VK_APPS, 0);
    SendMessageA(inner, WM_KEYUP, VK_APPS, 0);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(inner, WM_SYSKEYDOWN, VK_F10, 0);
    SendMessageA(inner, WM_SYSKEYUP, VK_F10, 0);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(Codes(parent), (std::vector<int>{TSN_CELLHIT2, TSN_CONTEXTMENU, TSN_CONTEXTMENU, TSN_CONTEXTMENU}))
        << "right button release, the context-menu key and Shift+F10, each once";
    DestroyWindow(frame);
}

TEST(TsWindowInput, SyntheticKeysAndClicksMoveTheFocus)
{
    Parent& parent = ShownParent();
    SetForegroundWindow(parent.window());
    HWND frame = MakeGrid(parent.window());
    HWND inner = Inner(frame);
    Fill(inner, 10, 3);
    UpdateWindow(parent.window());
    Pump();
    POINT at = Centre(inner, 1, 1);
    ClientToScreen(inner, &at);
    SetCursorPos(at.x, at.y);
    INPUT input[4] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    input[2].type = input[3].type = INPUT_KEYBOARD;
    input[2].ki.wVk = VK_DOWN;
    input[3].ki.wVk = VK_DOWN;
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, input, sizeof(INPUT));
    for (int i = 0; i < 50 && Selected(inner) != "1,2,1,2"; ++i) {
        Sleep(10);
        Pump();
    }
    EXPECT_EQ(GetFocus(), inner) << "a click gives the grid the keyboard";
    EXPECT_EQ(Selected(inner), "1,2,1,2") << "clicked row 1, then one row down";
    DestroyWindow(frame);
}

// A dialog like the playlist: the grid, an OK button, and a dialog
// procedure that answers edit requests and records the end of edits.
struct EditDialog {
    HWND dialog = nullptr;
    HWND inner = nullptr;
    std::vector<std::string> heard;
    bool cancelled = false;

    static INT_PTR CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM)
    {
        EditDialog* self = reinterpret_cast<EditDialog*>(GetWindowLongPtrA(w, DWLP_USER));
        if (m != WM_COMMAND || !self)
            return FALSE;
        if (LOWORD(wp) == IDCANCEL)
            self->cancelled = true;
        if (LOWORD(wp) != 1014)
            return TRUE;
        HWND g = self->inner;
        if (HIWORD(wp) == TSN_EDITREQUEST && GetNumber(g, 0, 0x3338) == 0) {
            TsEditRequest request = {1, 32, {0, 0}};
            Send(g, TSM_BEGINEDIT, 0, &request);
            Send(g, TSM_SETPROP, 0x3325u << 16, 9);
            Send(g, TSM_SETPROP, 0x3326u << 16, static_cast<uintptr_t>(-9));
        } else if (HIWORD(wp) == TSN_EDITCANCELLED) {
            // The playlist's commit: the editor's text against the old cell.
            ITsVListMgr* m = Library::Get().Lists();
            Vlist* list = m->Create(1);
            Send(g, TSM_GETPROP, 0x3124u << 16, list);
            char line[160];
            wsprintfA(line, "19: state %d, cell '%s', editor '%s'", GetNumber(g, 0, 0x3331), Text(g, 1, 4).c_str(),
                      m->Size(list) ? m->Text(m->Entry(list, 0)) : "");
            m->Destroy(list);
            self->heard.push_back(line);
        }
        return TRUE;
    }
    // One dialog for the tests (see ShownParent), its grid filled afresh.
    static EditDialog& Fresh()
    {
        static EditDialog* d = new EditDialog();
        Send(d->inner, TSM_SETDIMENSIONS, 0, 0);
        Fill(d->inner, 3, 5);
        SetCell(d->inner, 1, 4, "Old Title");
        Focus(d->inner, 1, 4);
        SetFocus(d->inner);
        d->heard.clear();
        d->cancelled = false;
        return *d;
    }
    EditDialog()
    {
        Library::Get();  // the grid's class, which the dialog's control needs
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), nullptr, Proc, 0);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
        inner = Inner(GetDlgItem(dialog, 1014));
    }
    HWND Editor() { return ChildOfClass(inner, "Edit"); }
    void Post(HWND to, UINT m, WPARAM key)
    {
        PostMessageA(to, m, key, 1);
        Pump(dialog);
    }
};

TEST(TsWindowEdit, TheEditorInADialogTakesEnterAndEscAndReportsAsThePlaylistNeeds)
{
    EditDialog& d = EditDialog::Fresh();
    ASSERT_NE(d.inner, nullptr) << "the dialog and its grid were made";
    d.Post(d.inner, WM_CHAR, 'N');
    HWND editor = d.Editor();
    ASSERT_NE(editor, nullptr) << "a typed character asked for an edit";
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(GetFocus(), editor);
    EXPECT_EQ(SendMessageA(d.inner, WM_GETDLGCODE, 0, 0), 4) << "every key while editing";
    d.Post(editor, WM_CHAR, 'e');
    d.Post(editor, WM_CHAR, 'w');
    char text[64] = "";
    GetWindowTextA(editor, text, sizeof text);
    EXPECT_STREQ(text, "New") << "the first character replaced the selected title";
    d.Post(editor, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(d.cancelled) << "Esc in the editor is not the dialog's";
    EXPECT_EQ(d.heard, std::vector<std::string>{"19: state 16, cell 'Old Title', editor 'New'"});
    EXPECT_EQ(Text(d.inner, 1, 4), "Old Title");
    EXPECT_EQ(d.Editor(), nullptr) << "the editor window went after the message";
    EXPECT_EQ(GetFocus(), d.inner);

    d.heard.clear();
    d.Post(d.inner, WM_CHAR, 'T');
    d.Post(d.Editor(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(d.heard, std::vector<std::string>{"19: state 0, cell 'Old Title', editor 'T'"})
        << "while 19 is heard the cell still holds the old title";
    EXPECT_EQ(Text(d.inner, 1, 4), "T");

    d.heard.clear();
    d.Post(d.inner, WM_CHAR, 'L');
    SetFocus(GetDlgItem(d.dialog, IDOK));  // the user leaves the editor
    Pump(d.dialog);
    EXPECT_EQ(d.heard, std::vector<std::string>{"19: state 0, cell 'T', editor 'L'"});
    EXPECT_EQ(Text(d.inner, 1, 4), "L");
}

TEST(TsWindowEdit, AClickElsewhereEndsTheEditWithTheEditedCellStillTheFocus)
{
    EditDialog& d = EditDialog::Fresh();
    ASSERT_NE(d.inner, nullptr) << "the dialog and its grid were made";
    d.Post(d.inner, WM_CHAR, 'C');
    ASSERT_NE(d.Editor(), nullptr);
    Press(d.inner, WM_LBUTTONDOWN, WM_LBUTTONUP, Centre(d.inner, 2, 0));
    Pump(d.dialog);
    EXPECT_EQ(d.heard, std::vector<std::string>{"19: state 0, cell 'Old Title', editor 'C'"});
    EXPECT_EQ(Text(d.inner, 1, 4), "C");
    EXPECT_EQ(Selected(d.inner), "0,2,0,2") << "then the click moved the focus";

    d.heard.clear();
    Focus(d.inner, 1, 4);
    d.Post(d.inner, WM_KEYDOWN, VK_F2);
    ASSERT_NE(d.Editor(), nullptr);
    uint32_t row = Range(d.inner, 0, 1, -1, 1);
    Send(d.inner, TSM_DELETEROWS, row);
    Release(d.inner, row);
    Pump(d.dialog);
    EXPECT_EQ(d.heard, std::vector<std::string>{"19: state 16, cell 'C', editor 'C'"})
        << "an edit of a row being deleted is cancelled while the row is still there";
    EXPECT_EQ(d.Editor(), nullptr);
}

TEST(TsWindowSearch, TypingShowsTheFieldAndMovesTheFocusUntilEsc)
{
    Parent parent;
    HWND frame = MakeGrid(parent.window());
    HWND inner = Inner(frame);
    Fill(inner, 4, 2);
    const char* names[] = {"Ballade", "Beethoven", "Chopin", "Bach"};
    for (int r = 0; r < 4; ++r)
        SetCell(inner, r, 1, names[r]);
    uint32_t col = Range(inner, 1, 0, 1, -1);
    Send(inner, TSM_SETCOLSEARCH, col, 1);
    Release(inner, col);
    TsAliasDef colors = {"AutoSearch", "Pale Yellow", nullptr};
    Send(inner, TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, &colors);
    Focus(inner, 0, 0);
    SetFocus(inner);
    SendMessageA(inner, WM_CHAR, 'c', 1);
    SendMessageA(inner, WM_CHAR, 'H', 1);
    HWND field = ChildOfClass(inner, "Static");
    ASSERT_NE(field, nullptr);
    auto shown = [](HWND w) { return w && (GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_TRUE(shown(field));
    char text[32] = "";
    GetWindowTextA(field, text, sizeof text);
    EXPECT_STREQ(text, "cH");
    EXPECT_EQ(Selected(inner), "0,2,0,2") << "Chopin";
    EXPECT_EQ(SendMessageA(inner, WM_GETDLGCODE, 0, 0), 4);
    RECT box;
    GetWindowRect(field, &box);
    SIZE eight = {0, 0};
    HDC dc = GetDC(field);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(field, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, "MMMMMMMM", 8, &eight);
    SelectObject(dc, old);
    ReleaseDC(field, dc);
    EXPECT_GE(box.right - box.left, eight.cx) << "as wide as eight M";


    // A second grid's search ends the first.
    HWND other = MakeGrid(parent.window(), 1015);
    HWND otherInner = Inner(other);
    Fill(otherInner, 2, 1);
    col = Range(otherInner, 0, 0, 0, -1);
    Send(otherInner, TSM_SETCOLSEARCH, col, 1);
    Release(otherInner, col);
    SendMessageA(otherInner, WM_CHAR, 'r', 1);
    Pump();
    EXPECT_FALSE(shown(field)) << "one search in the process";
    EXPECT_EQ(SendMessageA(inner, WM_GETDLGCODE, 0, 0), 0x81);
    EXPECT_EQ(SendMessageA(otherInner, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(shown(ChildOfClass(otherInner, "Static")) == false) << "Esc ends it";
    DestroyWindow(other);
    DestroyWindow(frame);
}

TEST(TsWindowSearch, TheFieldTakesSystemColoursFromItsAlias)
{
    Parent parent;
    HWND frame = MakeGrid(parent.window());
    HWND inner = Inner(frame);
    Fill(inner, 2, 1);
    SetCell(inner, 1, 0, "Chopin");
    uint32_t col = Range(inner, 0, 0, 0, -1);
    Send(inner, TSM_SETCOLSEARCH, col, 1);
    Release(inner, col);
    TsAliasDef colors = {"AutoSearch", "Color_Highlight", "Color_HighlightText"};
    ASSERT_GE(Send(inner, TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, &colors), 0);
    Focus(inner, 0, 0);
    SetFocus(inner);
    SendMessageA(inner, WM_CHAR, 'c', 1);
    HWND field = ChildOfClass(inner, "Static");
    ASSERT_NE(field, nullptr);
    HDC probe = CreateCompatibleDC(nullptr);
    EXPECT_NE(SendMessageA(inner, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(probe), reinterpret_cast<LPARAM>(field)),
              0);
    EXPECT_EQ(GetBkColor(probe), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetTextColor(probe), GetSysColor(COLOR_HIGHLIGHTTEXT));
    DeleteDC(probe);
    DestroyWindow(frame);
}

TEST(TsWindowSort, NewRowsFindTheirPlaceOnceTheClientsMessagesAreDone)
{
    Parent parent;
    HWND frame = MakeGrid(parent.window());
    HWND inner = Inner(frame);
    Fill(inner, 3, 1);
    SetCell(inner, 0, 0, "c");
    SetCell(inner, 1, 0, "a");
    SetCell(inner, 2, 0, "e");
    Focus(inner, 2, 0);  // "e"
    TsSortRequest sort = {"+a", {0, -1, -1, -1, -1, -1, -1, -1}};
    EXPECT_EQ(Send(inner, TSM_SORTROWS, 0, &sort), 1);
    EXPECT_EQ(Text(inner, 0, 0) + Text(inner, 1, 0) + Text(inner, 2, 0), "ace");
    EXPECT_EQ(Selected(inner), "0,2,0,2") << "the focus stayed with e";
    uint32_t added = static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 1, 1));
    Send(inner, TSM_SETPROP, added | static_cast<uint32_t>(kCellText) << 16, "b");
    EXPECT_EQ(Text(inner, 3, 0), "b") << "at the end while the client fills it";
    Pump();
    EXPECT_EQ(Text(inner, 0, 0) + Text(inner, 1, 0) + Text(inner, 2, 0) + Text(inner, 3, 0), "abce");
    EXPECT_EQ(GetNumber(inner, added, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_FIRSTROWSEL)), 1)
        << "the insertion's selection went with its row";
    EXPECT_EQ(Selected(inner), "0,3,0,3") << "and the focus with e";
    Release(inner, added);
    DestroyWindow(frame);
}

// Events from the system's hook, in this process.
std::vector<std::pair<DWORD, LONG>>& Events()
{
    static std::vector<std::pair<DWORD, LONG>> events;
    return events;
}
HWND g_watched = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD)
{
    if (w == g_watched && object == OBJID_CLIENT)
        Events().emplace_back(event, child);
}

std::string Name(IAccessible* a, LONG child)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    BSTR name = nullptr;
    if (FAILED(a->get_accName(v, &name)) || !name)
        return "(none)";
    char out[200] = "";
    WideCharToMultiByte(CP_ACP, 0, name, -1, out, sizeof out, nullptr, nullptr);
    SysFreeString(name);
    return out;
}

long State(IAccessible* a, LONG child)
{
    VARIANT v, s;
    VariantInit(&v);
    VariantInit(&s);
    v.vt = VT_I4;
    v.lVal = child;
    return SUCCEEDED(a->get_accState(v, &s)) && s.vt == VT_I4 ? s.lVal : -1;
}

TEST(TsWindowAccessibility, AScreenReaderReadsRowsStatesAndChanges)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    Parent& parent = ShownParent();
    HWND frame = MakeGrid(parent.window());
    HWND inner = Inner(frame);
    Fill(inner, 8, 3);
    Send(inner, TSM_SETOPTIONS, 0x88300, 0x88300);  // as the playlist: whole rows
    uint32_t hidden = Range(inner, 0, 0, 0, -1);
    Send(inner, TSM_HIDECOLS, hidden, 1);
    Release(inner, hidden);
    SetCell(inner, 2, 2, "");
    IAccessible* a = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(inner, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&a)), S_OK);
    ASSERT_NE(a, nullptr);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    VariantInit(&role);
    ASSERT_EQ(a->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LIST);
    long count = 0;
    a->get_accChildCount(&count);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(Name(a, 2), "r1c1, r1c2") << "the shown cells, joined";
    EXPECT_EQ(Name(a, 3), "r2c1") << "empty cells left out";

    g_watched = inner;
    Events().clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTIONWITHIN, nullptr, OnEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    SetFocus(inner);
    Press(inner, WM_LBUTTONDOWN, WM_LBUTTONUP, Centre(inner, 3, 1));
    Pump();
    EXPECT_NE(State(a, 4) & STATE_SYSTEM_SELECTED, 0);
    EXPECT_NE(State(a, 4) & STATE_SYSTEM_FOCUSED, 0);
    EXPECT_EQ(State(a, 5) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED), 0);
    EXPECT_NE(State(a, 8) & STATE_SYSTEM_OFFSCREEN, 0) << "rows below the window";
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(a->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, 4);
    if (hook) {
        bool sawFocus = false, sawSelection = false;
        for (const auto& e : Events()) {
            sawFocus = sawFocus || (e.first == EVENT_OBJECT_FOCUS && e.second == 4);
            sawSelection = sawSelection || (e.first == EVENT_OBJECT_SELECTION && e.second == 4);
        }
        EXPECT_TRUE(sawFocus) << "EVENT_OBJECT_FOCUS for row 4";
        EXPECT_TRUE(sawSelection) << "EVENT_OBJECT_SELECTION for row 4";
        UnhookWinEvent(hook);
    }

    // Selecting through the object works like the keys.
    VARIANT row;
    VariantInit(&row);
    row.vt = VT_I4;
    row.lVal = 6;
    EXPECT_EQ(a->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, row), S_OK);
    row.lVal = 7;
    EXPECT_EQ(a->accSelect(SELFLAG_ADDSELECTION, row), S_OK);
    EXPECT_EQ(Selected(inner), "0,5,2,6") << "children 6 and 7 (rows 5 and 6) selected as whole rows";
    VARIANT selection;
    VariantInit(&selection);
    ASSERT_EQ(a->get_accSelection(&selection), S_OK);
    EXPECT_EQ(selection.vt, VT_UNKNOWN) << "several rows come as an enumeration";
    VariantClear(&selection);
    long l, t, w, h;
    row.lVal = 6;
    ASSERT_EQ(a->accLocation(&l, &t, &w, &h, row), S_OK);
    unsigned long cellLeft = 0, cellTop = 0;
    sscanf(Query(inner, "116:0,5,1,0,0:").c_str(), "1:0,%lu,%lu", &cellLeft, &cellTop);
    EXPECT_EQ(t, static_cast<long>(cellTop)) << "row 5 on the screen, as the grid places it";
    EXPECT_EQ(h, 20);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(a->accHitTest(l + 5, t + 5, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 6);
    row.lVal = 2;
    VARIANT next;
    VariantInit(&next);
    ASSERT_EQ(a->accNavigate(NAVDIR_NEXT, row, &next), S_OK);
    EXPECT_EQ(next.lVal, 3);
    parent.commands.clear();
    EXPECT_EQ(a->accDoDefaultAction(row), S_OK);
    EXPECT_EQ(Codes(parent).back(), TSN_DBLCLK) << "the default action is a double click";

    EnableWindow(frame, FALSE);
    EXPECT_FALSE(IsWindowEnabled(frame));
    EXPECT_NE(State(a, CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE, 0) << "disabled with its frame";
    EXPECT_FALSE(IsWindowEnabled(inner));
    DestroyWindow(frame);
    EXPECT_EQ(a->get_accChildCount(&count), RPC_E_DISCONNECTED) << "the window is gone";
    a->Release();
    CoUninitialize();
}

}  // namespace
