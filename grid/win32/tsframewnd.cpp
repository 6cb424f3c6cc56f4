// TsFrameWndMgr, the outer "Tessaline" window: it creates the inner grid
// window from its creation text, keeps it inset by its borders and margin,
// paints the border, passes the keyboard to the grid and hosts popup menus.
#include <windows.h>

#include <new>
#include <stdio.h>

#include "tscreatetext.h"
#include "tsframe.h"
#include "tspropvalues.h"
#include "tsservices.h"
#include "tswindowobject.h"
#include "tsvalue.h"

namespace {

class TsFrameWndMgr final : public TsWindowObject<TsFrameWndMgr> {
public:
    explicit TsFrameWndMgr(HWND window) : TsWindowObject(window)
    {
        child_ = Ts().window->GetNullWindowObject();
        // The frame's font; the border drawing does not use it yet.
        if (Ts().display)
            Ts().display->GetFont(&font_, "Arial:48 hw");
    }
    ~TsFrameWndMgr()
    {
        ReturnChild();
        DropColors();
        if (font_)
            Ts().display->ReleaseObject(font_);
    }

    // Steps 2-7 of the frame's creation: the inner window from a copy of
    // the creation record.
    bool CreateInner(const QfCreateRecord* record);

    int32_t QFAPI HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    HWND Inner() const { return child_ ? static_cast<HWND>(child_->GetRecord()->window) : nullptr; }
    void ReturnChild()
    {
        if (child_)
            Ts().window->ReturnWindowObject(child_);
        child_ = nullptr;
    }
    void Layout();
    void Paint();
    void DropColors();
    COLORREF Color(int which);
    intptr_t Property(uint32_t message, ParamBlock* block);
    intptr_t SetColors(const TsBorderColors* colors);
    intptr_t PopupMenu(ParamBlock* block);

    IQfWindowObject* child_ = nullptr;
    TsFrameState state_;
    GridCreateParams params_ = {};  // handed to the inner window at creation
    QfGraphic* colors_[2] = {};
    QfGraphic* font_ = nullptr;
    uint32_t colorVersion_ = ~0u;
};

bool TsFrameWndMgr::CreateInner(const QfCreateRecord* record)
{
    QfCreateRecord copy = *record;
    // The outer window drops its system menu and sizing border (with a
    // dialog frame, the whole 0x000F0000 group) and clips its child.
    LONG style = GetWindowLongA(Window(), GWL_STYLE);
    style &= (style & WS_DLGFRAME) ? ~0x000F0000L : ~0x000C0000L;
    SetWindowLongA(Window(), GWL_STYLE, style | WS_CLIPCHILDREN);

    TsCreation creation = TsParseCreationText(record->name);
    if (creation.flags) {
        params_ = creation.params;
        copy.createParams = &params_;
        copy.style |= static_cast<int32_t>(creation.flags);
    }
    copy.style = static_cast<int32_t>(0x42300000u | (static_cast<uint32_t>(copy.style) & 0xFFFFu));
    copy.exStyle = WS_EX_NOPARENTNOTIFY;
    copy.parent = Window();
    copy.name = nullptr;
    copy.className = TS_GRID_CLASS;
    copy.instance = Ts().module;
    copy.x = copy.y = 0;
    IQfWindowObject* made = Ts().root->CreateWindowObject(&copy);
    ReturnChild();
    child_ = made;
    return Inner() != nullptr;
}

int32_t TsFrameWndMgr::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    intptr_t& result = record_.result.value;
    switch (message) {
    case WM_DESTROY:
        ReturnChild();
        return 1;
    case WM_SIZE:
        Layout();
        return 1;
    case WM_SETFOCUS:
        if (Inner())
            SetFocus(Inner());
        return 1;
    case WM_KILLFOCUS:
        return 1;
    case WM_PAINT:
        Paint();
        return 1;
    case WM_CANCELMODE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
        result = Inner() ? SendMessageA(Inner(), message, wParam, lParam) : 0;
        return 1;
    case WM_SETCURSOR:
        result = LOWORD(lParam) == HTCLIENT && Inner() && SendMessageA(Inner(), TSM_QUERYCURSOR, 0, 0) ? 1 : 0;
        return 1;
    case WM_GETDLGCODE:
        result = Inner() ? SendMessageA(Inner(), WM_GETDLGCODE, wParam, lParam) : 0;
        return 1;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_CLOSE:
        case SC_VSCROLL:
        case SC_HSCROLL:
        case SC_RESTORE:
            return 1;
        default:
            return 0;
        }
    case WM_PALETTECHANGED:
    case TSM_INVALIDATEVIEWS:
        if (state_.HasBorder())
            InvalidateRect(Window(), nullptr, TRUE);
        return 1;
    case TSM_SETBORDERCOLORS:
        result = SetColors(reinterpret_cast<const TsBorderColors*>(lParam));
        return 1;
    case TSM_SETPROP:
    case TSM_GETPROP:
        result = Property(message, reinterpret_cast<ParamBlock*>(lParam));
        return 1;
    case TSM_POPUPMENU:
        result = PopupMenu(reinterpret_cast<ParamBlock*>(lParam));
        return 1;
    case TSM_SETSTYLE: {
        ParamBlock* b = reinterpret_cast<ParamBlock*>(lParam);
        result = b ? state_.SetStyle(b->d0, static_cast<uint32_t>(b->d1)) : state_.style;
        return 1;
    }
    default:
        break;
    }
    bool mouse = (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) || message == 1127 || message == 1129;
    if (mouse && !(state_.style & TS_STYLE_FRAMEMOUSE)) {
        record_.result.flags |= QF_RESULT_FORWARD_TO_PARENT;
        return 1;
    }
    return 0;
}

void TsFrameWndMgr::Layout()
{
    RECT client;
    if (!Inner() || !GetClientRect(Window(), &client))
        return;
    int inset = state_.Inset();
    int width = client.right - 2 * inset, height = client.bottom - 2 * inset;
    SetWindowPos(Inner(), nullptr, inset, inset, width > 0 ? width : 0, height > 0 ? height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);  // made hidden, shown once placed
}

intptr_t TsFrameWndMgr::Property(uint32_t message, ParamBlock* block)
{
    if (!block)
        return 0;
    PropertyId id = static_cast<PropertyId>(TsHi(block->d0));
    if (TsPropGroup(id) != TS_GROUP_FRAME)
        return 0;
    if (message == TSM_GETPROP) {
        int32_t value = 0;
        if (!state_.GetItem(TsPropItem(id), &value))
            return 0;
        TsValueSink out(TsPropPart(id), block->d1);
        out.PutNumber(value);
        return out.Result();
    }
    TsValueSource values(TsPropPart(id), block->d1);
    TsValue* v = values.Next();
    if (!v || TsValueType(v) == TS_VALUE_NOOP)
        return v ? 1 : 0;
    if (!state_.SetItem(TsPropItem(id), v))
        return 0;
    Layout();
    InvalidateRect(Window(), nullptr, TRUE);
    return 1;
}

intptr_t TsFrameWndMgr::SetColors(const TsBorderColors* colors)
{
    if (!colors)
        return 0;
    uint32_t rgb[2] = {colors->color1, colors->color2};
    for (int i = 0; i < 2; ++i) {
        char spec[40];
        snprintf(spec, sizeof spec, "rgb(%u,%u,%u)", rgb[i] & 0xFF, (rgb[i] >> 8) & 0xFF, (rgb[i] >> 16) & 0xFF);
        TsHolderTake(&state_.color[i], TsMakeText(spec));
    }
    ++state_.colorVersion;
    if (IsWindowVisible(Window()))
        InvalidateRect(Window(), nullptr, TRUE);
    return 1;
}

void TsFrameWndMgr::DropColors()
{
    for (QfGraphic*& c : colors_) {
        if (c)
            Ts().display->ReleaseObject(c);
        c = nullptr;
    }
}

COLORREF TsFrameWndMgr::Color(int which)
{
    if (colorVersion_ != state_.colorVersion) {
        DropColors();
        for (int i = 0; i < 2; ++i) {
            if (Ts().display)
                Ts().display->GetColor(&colors_[i], TsValueText(state_.color[i]));
        }
        colorVersion_ = state_.colorVersion;
    }
    return colors_[which] ? static_cast<COLORREF>(colors_[which]->value & 0xFFFFFF) : GetSysColor(COLOR_3DFACE);
}

// Outer border, inner border, then the margin: a border with its style bit
// is drawn sunken (colour 1 on the bottom and right, colour 2 on the top
// and left), one without it flat in colour 1.
void TsFrameWndMgr::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Window(), &ps);
    if (!dc)
        return;
    RECT r;
    GetClientRect(Window(), &r);
    auto band = [dc](const RECT& outer, int width, COLORREF topLeft, COLORREF bottomRight) {
        for (int i = 0; i < width; ++i) {
            RECT top = {outer.left + i, outer.top + i, outer.right - i, outer.top + i + 1};
            RECT left = {outer.left + i, outer.top + i, outer.left + i + 1, outer.bottom - i};
            RECT bottom = {outer.left + i, outer.bottom - i - 1, outer.right - i, outer.bottom - i};
            RECT right = {outer.right - i - 1, outer.top + i, outer.right - i, outer.bottom - i};
            HBRUSH light = CreateSolidBrush(topLeft), dark = CreateSolidBrush(bottomRight);
            FillRect(dc, &top, light);
            FillRect(dc, &left, light);
            FillRect(dc, &bottom, dark);
            FillRect(dc, &right, dark);
            DeleteObject(light);
            DeleteObject(dark);
        }
    };
    for (uint8_t border : {state_.outer, state_.inner}) {
        int width = border & 7;
        bool sunken = (border & 8) != 0;
        band(r, width, sunken ? Color(1) : Color(0), Color(0));
        InflateRect(&r, -width, -width);
    }
    HBRUSH margin = CreateSolidBrush(Color(1));
    for (int i = 0; i < state_.margin; ++i) {
        RECT edges[4] = {{r.left, r.top, r.right, r.top + 1},
                         {r.left, r.bottom - 1, r.right, r.bottom},
                         {r.left, r.top, r.left + 1, r.bottom},
                         {r.right - 1, r.top, r.right, r.bottom}};
        for (const RECT& e : edges)
            FillRect(dc, &e, margin);
        InflateRect(&r, -1, -1);
    }
    DeleteObject(margin);
    EndPaint(Window(), &ps);
}

intptr_t TsFrameWndMgr::PopupMenu(ParamBlock* block)
{
    const TsPopupMenu* request = block ? reinterpret_cast<const TsPopupMenu*>(block->d1) : nullptr;
    if (!request)
        return 0;
    HMENU menu = static_cast<HMENU>(request->menu);
    bool loaded = false;
    if (!menu || !IsMenu(menu)) {
        menu = static_cast<HMENU>(Ts().root->LoadMenuRef(request->menuResource, request->submenu));
        loaded = true;
    } else if (request->submenu >= -1) {
        menu = GetSubMenu(menu, request->submenu < 0 ? 0 : request->submenu);
    }
    if (!menu)
        return 0;
    HWND owner = request->owner ? static_cast<HWND>(request->owner) : GetParent(Window());
    RECT anchor;
    intptr_t command = 0;
    if (Inner() && SendMessageA(Inner(), TSM_MENUTRACK, 1, reinterpret_cast<LPARAM>(&anchor))) {
        DWORD pos = GetMessagePos();
        POINT cursor = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        RECT frame;
        GetWindowRect(Window(), &frame);
        POINT corner = {anchor.left, anchor.bottom};
        if (!PtInRect(&frame, corner))
            IntersectRect(&anchor, &anchor, &frame);
        POINT at = {anchor.left, anchor.bottom};
        long dx = cursor.x - anchor.left, dy = cursor.y - anchor.bottom;
        if (PtInRect(&anchor, cursor) && dx * dx + dy * dy > 6400)
            at = POINT{cursor.x, cursor.y + 8};
        if (!PtInRect(&frame, at))
            at = POINT{(anchor.left + anchor.right) / 2, anchor.top + (anchor.bottom - anchor.top) * 3 / 4};
        TPMPARAMS exclude = {sizeof exclude, anchor};
        command = TrackPopupMenuEx(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, owner, &exclude);
        if (GetCapture() == owner)
            ReleaseCapture();
        SendMessageA(Inner(), TSM_MENUTRACK, 2, 0);
        // The owner hears the choice as from any popup menu of its own.
        if (command)
            PostMessageA(owner, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
    if (loaded)
        DestroyMenu(menu);
    return command;
}

}  // namespace

IQfWindowObject* QFAPI TsMakeFrame(QfHandle window, const QfCreateRecord* record, void*)
{
    if (!record)
        return nullptr;
    TsFrameWndMgr* frame = new (std::nothrow) TsFrameWndMgr(static_cast<HWND>(window));
    if (!frame)
        return nullptr;
    if (!frame->CreateInner(record)) {
        frame->Release();
        return nullptr;
    }
    return frame;
}
