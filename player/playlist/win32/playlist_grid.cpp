#include "playlist_grid.h"

#include <utility>

namespace playlist {

// ---------------------------------------------------------------------------
// GridSelection

GridSelection::GridSelection(const GridSelection& other) : grid_(other.grid_)
{
    if (grid_ && other.handle_)
        handle_ = static_cast<uint32_t>(grid_->Send(TSM_SELECTIONOP, other.handle_ | TS_SEL_DUPLICATE << 16));
}

GridSelection& GridSelection::operator=(const GridSelection& other)
{
    if (this != &other) {
        GridSelection copy(other);
        *this = std::move(copy);
    }
    return *this;
}

GridSelection& GridSelection::operator=(GridSelection&& other) noexcept
{
    if (this != &other) {
        Reset();
        grid_ = other.grid_;
        handle_ = other.handle_;
        other.handle_ = 0;
    }
    return *this;
}

void GridSelection::Reset()
{
    if (grid_ && handle_)
        grid_->Send(TSM_SELECTIONOP, handle_ | TS_SEL_RELEASE << 16);
    handle_ = 0;
}

LRESULT GridSelection::SetText(PropertyId id, const char* text) const
{
    if (!grid_ || !handle_)
        return 0;
    return grid_->Send(TSM_SETPROP, handle_ | static_cast<uint32_t>(id) << 16, reinterpret_cast<uintptr_t>(text));
}

LRESULT GridSelection::SetNumber(PropertyId id, int32_t number) const
{
    if (!grid_ || !handle_)
        return 0;
    return grid_->Send(TSM_SETPROP, handle_ | static_cast<uint32_t>(id) << 16,
                       static_cast<uintptr_t>(static_cast<uint32_t>(number)));
}

int32_t GridSelection::GetNumber(PropertyId id) const
{
    int32_t n = 0;
    if (grid_ && handle_)
        grid_->Send(TSM_GETPROP, handle_ | static_cast<uint32_t>(id) << 16, &n);
    return n;
}

// ---------------------------------------------------------------------------
// PlaylistGrid

PlaylistGrid::PlaylistGrid(HWND window)
{
    char cls[32] = "";
    if (window && GetClassNameA(window, cls, sizeof cls) && lstrcmpiA(cls, TS_FRAME_CLASS) == 0) {
        outer_ = window;
        // The wrapper is kept with the window only where the window asks
        // for it (its user data holds 1).
        if (GetWindowLongPtrA(window, GWLP_USERDATA) == 1) {
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            attached_ = true;
        }
    } else if (window) {
        RECT client;
        GetClientRect(window, &client);
        GridCreateParams params = {TS_DEFAULT_MAXROWS, TS_DEFAULT_MAXCOLS};
        outer_ = CreateWindowExA(0, TS_FRAME_CLASS, "", WS_CHILD | WS_VISIBLE | WS_BORDER | 0x300800, 0, 0,
                                 client.right, client.bottom, window, reinterpret_cast<HMENU>(1),
                                 GetModuleHandleA(nullptr), &params);
        created_ = outer_ != nullptr;
    }
    inner_ = outer_ ? GetWindow(outer_, GW_CHILD) : nullptr;
}

PlaylistGrid::~PlaylistGrid()
{
    if (attached_ && IsWindow(outer_))
        SetWindowLongPtrA(outer_, GWLP_USERDATA, 1);
    if (created_ && IsWindow(outer_))
        DestroyWindow(outer_);
}

LRESULT PlaylistGrid::Send(UINT message, uint32_t d0, uintptr_t d1) const
{
    if (!inner_)
        return 0;
    ParamBlock b = {d0, d1};
    HWND to = message == TSM_POPUPMENU ? outer_ : inner_;
    return SendMessageA(to, message, 0, reinterpret_cast<LPARAM>(&b));
}

uint32_t PlaylistGrid::DefineAlias(int kind, const char* name, const char* spec1, const char* spec2) const
{
    TsAliasDef def = {name, spec1, spec2};
    return static_cast<uint32_t>(Send(TSM_DEFINEALIAS, static_cast<uint32_t>(kind), &def));
}

GridSelection PlaylistGrid::InsertRows(uint32_t count, int32_t position) const
{
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_INSERTROWS, count, static_cast<uint32_t>(position))));
}

GridSelection PlaylistGrid::InsertColumns(uint32_t count, int32_t position) const
{
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_INSERTCOLS, count, static_cast<uint32_t>(position))));
}

GridSelection PlaylistGrid::Rows(int32_t first, int32_t last) const
{
    TsSelRect r = {0, first, -1, last};
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_SETSELRANGE, 0, &r)));
}

GridSelection PlaylistGrid::Columns(int32_t first, int32_t last) const
{
    TsSelRect r = {first, 0, last, -1};
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_SETSELRANGE, 0, &r)));
}

LRESULT PlaylistGrid::SetGridText(PropertyId id, const char* text) const
{
    return Send(TSM_SETPROP, static_cast<uint32_t>(id) << 16, reinterpret_cast<uintptr_t>(text));
}

LRESULT PlaylistGrid::SetGridNumber(PropertyId id, int32_t number) const
{
    return Send(TSM_SETPROP, static_cast<uint32_t>(id) << 16, static_cast<uintptr_t>(static_cast<uint32_t>(number)));
}

}  // namespace playlist
