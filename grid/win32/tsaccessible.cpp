#include "tsaccessible.h"

#include <new>
#include <string>
#include <vector>

#include "tsgrid.h"

namespace {

// A COM object of one interface I that also answers for the interfaces
// Derived::Also names (IDispatch, say); the last Release deletes it.
template <class Derived, class I>
class ComObject : public I {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(I)) || Derived::Also(iid)) {
            *out = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

protected:
    ~ComObject() = default;
    static bool Also(REFIID) { return false; }

private:
    LONG refs_ = 1;
};

// The rows, child identifiers 1 to n, as an enumeration (the selection).
class ChildList final : public ComObject<ChildList, IEnumVARIANT> {
public:
    explicit ChildList(std::vector<long> ids) : ids_(std::move(ids)) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override
    {
        if (!out)
            return E_POINTER;
        ULONG n = 0;
        for (; n < count && next_ < ids_.size(); ++n, ++next_) {
            VariantInit(&out[n]);
            out[n].vt = VT_I4;
            out[n].lVal = ids_[next_];
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        next_ += count;
        if (next_ > ids_.size()) {
            next_ = ids_.size();
            return S_FALSE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override
    {
        if (!out)
            return E_POINTER;
        ChildList* copy = new (std::nothrow) ChildList(ids_);
        if (!copy)
            return E_OUTOFMEMORY;
        copy->next_ = next_;
        *out = copy;
        return S_OK;
    }

private:
    friend class ComObject<ChildList, IEnumVARIANT>;
    ~ChildList() = default;
    std::vector<long> ids_;
    size_t next_ = 0;
};

class GridAccessible final : public ComObject<GridAccessible, IAccessible> {
public:
    GridAccessible(TsGrid* grid, HWND window) : grid_(grid), window_(window) {}
    void Disconnect() { grid_ = nullptr; }
    static bool Also(REFIID iid) { return IsEqualIID(iid, IID_IDispatch) != 0; }

    // IDispatch: the properties are reached through IAccessible only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!grid_)
            return RPC_E_DISCONNECTED;
        return CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = grid_ ? static_cast<long>(grid_->Data().RowCount()) : 0;
        return grid_ ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        long row;
        HRESULT r = Row(child, &row);
        // Rows are simple elements of this object, not objects of their own.
        return FAILED(r) ? r : row < 0 ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        long row;
        HRESULT r = Row(child, &row);
        if (FAILED(r))
            return r;
        if (row < 0)
            return S_FALSE;  // the list takes its name from its label
        return Text(grid_->RowName(static_cast<uint32_t>(row)), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return Nothing(child, value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return Number(child, role, [](long row) -> long { return row < 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM; });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return Number(child, state, [this](long row) -> long {
            return row < 0 ? GridState() : RowState(static_cast<uint32_t>(row));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override
    {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return grid_ ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!focus)
            return E_POINTER;
        VariantInit(focus);
        if (!grid_)
            return RPC_E_DISCONNECTED;
        if (!grid_->Focused())
            return S_FALSE;
        uint32_t row, col;
        focus->vt = VT_I4;
        focus->lVal = grid_->FocusCell(&row, &col) ? static_cast<long>(row) + 1 : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!selection)
            return E_POINTER;
        VariantInit(selection);
        if (!grid_)
            return RPC_E_DISCONNECTED;
        std::vector<long> ids;
        for (uint32_t r : grid_->SelectedRows())
            ids.push_back(static_cast<long>(r) + 1);
        if (ids.empty())
            return S_FALSE;
        if (ids.size() == 1) {
            selection->vt = VT_I4;
            selection->lVal = ids[0];
            return S_OK;
        }
        ChildList* list = new (std::nothrow) ChildList(std::move(ids));
        if (!list)
            return E_OUTOFMEMORY;
        selection->vt = VT_UNKNOWN;
        selection->punkVal = list;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        long row;
        HRESULT r = Row(child, &row);
        if (FAILED(r))
            return r;
        return row < 0 ? S_FALSE : Text("Double Click", action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        long row;
        HRESULT r = Row(child, &row);
        if (FAILED(r))
            return r;
        if (flags & SELFLAG_TAKEFOCUS)
            SetFocus(window_);
        if (row >= 0)
            grid_->AccessibleSelect(static_cast<uint32_t>(row), static_cast<uint32_t>(flags));
        Settle();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        long row;
        HRESULT r = Row(child, &row);
        if (FAILED(r))
            return r;
        RECT box;
        GetClientRect(window_, &box);
        if (row >= 0) {
            int32_t y0, y1;
            if (!grid_->Geometry().RowSpan(grid_->Data(), static_cast<uint32_t>(row), &y0, &y1))
                return E_INVALIDARG;
            box.top = y0, box.bottom = y1;
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&box), 2);
        *left = box.left, *top = box.top;
        *width = box.right - box.left, *height = box.bottom - box.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        long row;
        HRESULT r = Row(start, &row);
        if (FAILED(r))
            return r;
        long count = static_cast<long>(grid_->Data().RowCount());
        long to = -1;
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
            to = row < 0 && count > 0 ? 0 : -1;
            break;
        case NAVDIR_LASTCHILD:
            to = row < 0 && count > 0 ? count - 1 : -1;
            break;
        case NAVDIR_NEXT:
        case NAVDIR_DOWN:
            to = row >= 0 && row + 1 < count ? row + 1 : -1;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP:
            to = row > 0 ? row - 1 : -1;
            break;
        default:
            break;
        }
        if (to < 0)
            return S_FALSE;
        end->vt = VT_I4;
        end->lVal = to + 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        if (!hit)
            return E_POINTER;
        VariantInit(hit);
        if (!grid_)
            return RPC_E_DISCONNECTED;
        POINT at = {x, y};
        ScreenToClient(window_, &at);
        RECT client;
        GetClientRect(window_, &client);
        if (!PtInRect(&client, at))
            return S_FALSE;
        TsHit cell = grid_->Geometry().HitTest(grid_->Data(), at.x, at.y);
        hit->vt = VT_I4;
        hit->lVal = cell.row >= 0 ? cell.row + 1 : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        long row;
        HRESULT r = Row(child, &row);
        if (FAILED(r))
            return r;
        if (row < 0)
            return DISP_E_MEMBERNOTFOUND;
        grid_->AccessibleActivate(static_cast<uint32_t>(row));
        Settle();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    friend class ComObject<GridAccessible, IAccessible>;
    ~GridAccessible() = default;

    // The row of a child identifier (-1 for the grid itself).
    HRESULT Row(const VARIANT& child, long* row)
    {
        if (!grid_)
            return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            *row = -1;
            return S_OK;
        }
        if (child.lVal < 1 || child.lVal > static_cast<long>(grid_->Data().RowCount()))
            return E_INVALIDARG;
        *row = child.lVal - 1;
        return S_OK;
    }
    // A number answer (role, state) of the list (row -1) or of a row.
    template <class Value>
    HRESULT Number(const VARIANT& child, VARIANT* out, Value value)
    {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        long row;
        HRESULT r = Row(child, &row);
        if (FAILED(r))
            return r;
        out->vt = VT_I4;
        out->lVal = value(row);
        return S_OK;
    }
    HRESULT Nothing(const VARIANT& child, BSTR* out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        long row;
        HRESULT r = Row(child, &row);
        return FAILED(r) ? r : S_FALSE;
    }
    static HRESULT Text(const std::string& text, BSTR* out)
    {
        int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
        *out = SysAllocStringLen(nullptr, static_cast<UINT>(n));
        if (!*out)
            return E_OUTOFMEMORY;
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), *out, n);
        return S_OK;
    }
    long GridState()
    {
        long state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_MULTISELECTABLE | STATE_SYSTEM_EXTSELECTABLE;
        if (grid_->Focused())
            state |= STATE_SYSTEM_FOCUSED;
        if (!grid_->Enabled() || !IsWindowEnabled(window_))
            state |= STATE_SYSTEM_UNAVAILABLE;
        if (!IsWindowVisible(window_))
            state |= STATE_SYSTEM_INVISIBLE;
        return state;
    }
    long RowState(uint32_t row)
    {
        long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        TsDataMgr& d = grid_->Data();
        uint32_t focusRow, col;
        if (grid_->RowSelected(row))
            state |= STATE_SYSTEM_SELECTED;
        if (grid_->Focused() && grid_->FocusCell(&focusRow, &col) && focusRow == row)
            state |= STATE_SYSTEM_FOCUSED;
        if (!(d.Row(row)->flags & TS_ROW_SHOWN)) {
            state |= STATE_SYSTEM_INVISIBLE;
        } else {
            TsRect seen;
            if (!grid_->Geometry().Visible(d, &seen) || static_cast<int32_t>(row) < seen.top ||
                static_cast<int32_t>(row) > seen.bottom)
                state |= STATE_SYSTEM_OFFSCREEN;
        }
        if (!grid_->Enabled() || !IsWindowEnabled(window_))
            state |= STATE_SYSTEM_UNAVAILABLE;
        return state;
    }
    // What the grid asked for while acting for the caller (notifications,
    // a repaint) happens as after any message.
    void Settle() { SendMessageA(window_, TSM_DEFERRED, TS_DEFER_SETTLE, 0); }

    TsGrid* grid_;
    HWND window_;
};

}  // namespace

IAccessible* TsCreateAccessible(TsGrid* grid, HWND window)
{
    return new (std::nothrow) GridAccessible(grid, window);
}

void TsDisconnectAccessible(IAccessible* object)
{
    if (object)
        static_cast<GridAccessible*>(object)->Disconnect();
}

bool TsAnswerGetObject(IAccessible** held, TsGrid* grid, HWND window, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    if (!*held)
        *held = TsCreateAccessible(grid, window);
    *result = *held ? LresultFromObject(IID_IAccessible, wParam, *held) : 0;
    return *held != nullptr;
}

void TsRaiseAccessibleEvent(TsGrid& grid, HWND window, uint32_t event, uint32_t row)
{
    LONG child = row == TS_NO_ROW ? CHILDID_SELF : static_cast<LONG>(row) + 1;
    if (event == TS_EVENT_FOCUS) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child);
        return;
    }
    // One selected row is "the selection"; several changed "within".
    const std::vector<uint32_t> selected = grid.SelectedRows();
    if (selected.size() == 1 && row != TS_NO_ROW && selected[0] == row)
        NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, child);
    else
        NotifyWinEvent(EVENT_OBJECT_SELECTIONWITHIN, window, OBJID_CLIENT, CHILDID_SELF);
}
