// The grid object without its window: the layers in the order the control
// builds them (data, window glue, layout state, view, properties, edit and
// search state, dispatch) and the handlers of the client messages
// 1275-1326, each taking a ParamBlock. The window layer (win32/) owns one
// TsGrid per inner grid window and gives it a TsGridHost.
#ifndef ZUB_GRID_TSGRID_H
#define ZUB_GRID_TSGRID_H

#include <stdint.h>

#include <memory>
#include <vector>

#include "ts.h"
#include "tsdatamgr.h"
#include "tsmetrics.h"
#include "tsquery.h"
#include "tsscroller.h"
#include "tsviewmgr.h"
#include "tsviewstate.h"

class TsGrid;
class TsValueSource;
class TsValueSink;
class TsPropertyMgr;

// Alias numbers of the messages (0: none) and of the alias tables (-1: none).
inline uint32_t TsAliasNumber(int entry) { return entry < 0 ? 0u : static_cast<uint32_t>(entry) + 1; }

// What the grid asks of its window side.
class TsGridHost {
public:
    // Group 4 properties and the frame half of TSM_SETSTYLE.
    virtual intptr_t SendToFrame(uint32_t message, ParamBlock* block) = 0;
    // Fills slot `into` of grid `target` from slot `theirs` of the grid
    // whose outer window is `outerWindow` (message 1226); false when there
    // is no such grid.
    virtual bool FillSlotFromGrid(uintptr_t outerWindow, uint32_t theirs, TsGrid* target, uint32_t into) = 0;
    // A one-shot timer of ticks (50 ms each) that ends in message 1225;
    // 0 when none could be had.
    virtual uint32_t StartTimer(uint32_t ticks) = 0;
    virtual void StopTimer(uint32_t id) = 0;
    // Milliseconds, for deadlines.
    virtual uint32_t Now() = 0;
    // The edit layer's mode bit changed (TSM_MODEON / TSM_MODEOFF).
    virtual void ModeChanged(bool on) = 0;
    // Maps pixels of the grid window to the parent window (to 1), the
    // frame (to 2) or the screen (to 3).
    virtual bool MapPixels(TsPixels* px, int to) = 0;
    // Display objects and measuring for the grid's thread; null: the native
    // build's plain display.
    virtual TsDisplayService* Display() { return nullptr; }
    virtual TsMetrics* Metrics() { return nullptr; }
    // How much larger the frame is than the grid window, across and down.
    virtual bool FrameOffsets(int32_t* width, int32_t* height)
    {
        *width = *height = 0;
        return false;
    }

protected:
    ~TsGridHost() = default;
};

// A host that has no window: nothing to map, no timers, no frame.
class TsWindowlessHost : public TsGridHost {
public:
    intptr_t SendToFrame(uint32_t, ParamBlock*) override { return 0; }
    bool FillSlotFromGrid(uintptr_t, uint32_t, TsGrid*, uint32_t) override { return false; }
    uint32_t StartTimer(uint32_t) override { return 0; }
    void StopTimer(uint32_t) override {}
    uint32_t Now() override { return 0; }
    void ModeChanged(bool) override {}
    bool MapPixels(TsPixels*, int) override { return false; }
};

// A request of TSM_SETPROP or TSM_GETPROP, decoded.
struct TsPropRequest {
    uint32_t group;
    uint32_t part;
    uint32_t item;
    const TsRectSet* targets;  // the selection (empty for the grid as a whole)
    uintptr_t d1;
};

// The property layer, and any later layer that owns items: asked for every
// item the data layer does not answer. Returns false for items it does not
// know; *result is the message's result otherwise.
class TsPropertyLayer {
public:
    virtual bool SetItem(TsGrid& grid, const TsPropRequest& request, TsValueSource& values, intptr_t* result) = 0;
    virtual bool GetItem(TsGrid& grid, const TsPropRequest& request, TsValueSink& out, intptr_t* result) = 0;

protected:
    ~TsPropertyLayer() = default;
};

// Validity mask bits (0x1FFF: everything valid).
enum : uint32_t {
    TS_VALID_ROWS = 0x0001,
    TS_VALID_COLS = 0x0002,
    TS_VALID_LAYOUT = 0x0040,
    TS_VALID_FOCUS = 0x0200,
    TS_VALID_FOCUSFONT = 0x0800,
    TS_VALID_PENDING = 0x1000,
    TS_VALID_ALL = 0x1FFF
};

// The grid's reserved selection slots.
enum : uint32_t {
    TS_SLOT_CURRENT = 0,   // the cells the user has selected
    TS_SLOT_HILITE = 1,    // cells highlighted for a while (TSM_SETHILITEMODE)
    TS_SLOT_FOCUS = 2,     // the focus cell
    TS_SLOT_SEARCH = 3     // the AutoSearch match
};

class TsGrid final : public TsQuerySource {
public:
    TsGrid(uint32_t maxRows, uint32_t maxCols, TsGridHost* host);
    ~TsGrid();
    TsGrid(const TsGrid&) = delete;
    TsGrid& operator=(const TsGrid&) = delete;

    bool Ready() const { return data_.Ready(); }

    // A client message 1275-1326; a null block gives 0.
    intptr_t ClientMessage(uint32_t message, ParamBlock* block);

    // Window-side events with a portable part.
    int32_t SetQueryText(const char* text);             // WM_SETTEXT: 1
    intptr_t GetQueryText(char* out, size_t size);       // WM_GETTEXT: 192, or 0
    void OnSize(int32_t width, int32_t height);
    void InvalidateViews() { Invalidate(TS_VALID_ALL); }  // 1125, WM_PALETTECHANGED
    // 1126: display objects were made anew; what was measured with them goes.
    void ResetDrawing()
    {
        Invalidate(TS_VALID_ALL);
        viewMgr_.Forget();
    }
    void HiliteStep();                                   // 1225
    // 1226, on the grid that holds the slot: copies slot `mine` into slot
    // `theirs` of target.
    void CopySlotTo(uint32_t mine, TsGrid* target, uint32_t theirs);
    // 1224 wParam 1: the anchor of a popup menu in grid-window pixels.
    bool MenuAnchor(TsPixels* out);
    // WM_GETDLGCODE, given whether the grid has the focus and Control is down.
    uint32_t DialogCode(bool focused, bool controlDown) const;
    // After every message: true when the window should be repainted.
    bool TakeUpdate();
    // Everything shown is current (the window painted it).
    void Painted();
    // Notification codes pending, ascending, without those the style word
    // suppresses; the pending set is emptied.
    std::vector<uint32_t> TakeNotifications();
    void Notify(uint32_t code) { pending_ |= 1u << (code & 31); }

    // For the layers and the window side.
    TsDataMgr& Data() { return data_; }
    TsViewState& View() { return view_; }
    // The view geometry with the layout brought up to date: rectangles, hit
    // tests, the visible range and scrolling (tsviewstate.h). Layers above
    // the data (input, editing, search) use this rather than View().
    TsViewState& Geometry();
    // Lays rows and columns out again where their extents are out of date.
    void EnsureLayout();
    uint32_t Options() const { return options_; }
    uint32_t Style() const { return style_; }
    uint32_t WindowFlags() const { return windowFlags_; }
    // Marks cached data stale and asks for the whole view to be repainted.
    void Invalidate(uint32_t bits)
    {
        validity_ &= ~bits;
        repaint_ = true;
        if (bits & (TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_LAYOUT))
            view_.Invalidate();
    }
    bool LayoutValid() const
    {
        const uint32_t layout = TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_LAYOUT;
        return (validity_ & layout) == layout;
    }
    // Fonts or icons changed: cached measurements go.
    void ForgetMeasures() { viewMgr_.Forget(); }
    TsDisplayService& Display() { return *display_; }
    TsMetrics& Metrics() { return *metrics_; }
    TsViewMgr& ViewMgr() { return viewMgr_; }
    TsScroller& Scroller() { return scroller_; }
    TsPropertyMgr& Properties();
    bool EditMode() const { return (edit_.mode & 1) != 0; }
    bool FrameOffsets(int32_t* width, int32_t* height) { return host_->FrameOffsets(width, height); }
    uint32_t Validity() const { return validity_; }
    void AddPropertyLayer(TsPropertyLayer* layer) { layers_.push_back(layer); }
    bool Editing() const { return edit_.active; }

    // TsQuerySource
    uint32_t QueryRowCount() override { return data_.RowCount(); }
    uint32_t QueryColCount() override { return data_.ColCount(); }
    bool QueryCell(uint32_t rowValue, uint32_t colValue, uint32_t* row, uint32_t* col) override;
    void QueryCellText(uint32_t row, uint32_t col, char* out, size_t size) override;
    const char* QueryCellName(uint32_t command, uint32_t row, uint32_t col) override;
    bool QuerySelection(TsRect* bounds) override;
    void QueryOrigin(uint32_t* row, uint32_t* col) override;
    uint32_t QueryColTable() override { return colTable_; }
    bool QueryCellRect(uint32_t row, uint32_t col, int where, TsPixels* out) override;
    void QueryShowCell(uint32_t row, uint32_t col, bool asFarAsPossible) override;

private:
    typedef intptr_t (TsGrid::*Handler)(ParamBlock* block);
    static Handler HandlerOf(uint32_t message);

    // Positions in messages: an index, or an identifier mapped to its index.
    uint32_t RowPosition(int32_t value);
    uint32_t ColPosition(int32_t value);
    const TsRectSet& Sel(uint32_t d0) { return data_.SelectionOrEmpty(d0 & TS_HANDLE_MASK); }
    void Repaint(uint32_t bits = TS_VALID_ALL) { Invalidate(bits); }
    int32_t SetDimension(bool rows, int32_t count);

    // Rows and columns (tsgrid_lines.cpp).
    intptr_t OnInsert(ParamBlock* b, bool rows);
    intptr_t OnInsertRows(ParamBlock* b) { return OnInsert(b, true); }
    intptr_t OnInsertCols(ParamBlock* b) { return OnInsert(b, false); }
    intptr_t OnDeleteRows(ParamBlock* b);
    intptr_t OnDeleteCols(ParamBlock* b);
    intptr_t OnHideRows(ParamBlock* b);
    intptr_t OnHideCols(ParamBlock* b);
    intptr_t OnMove(ParamBlock* b, bool rows);
    intptr_t OnMoveRows(ParamBlock* b) { return OnMove(b, true); }
    intptr_t OnMoveCols(ParamBlock* b) { return OnMove(b, false); }
    intptr_t OnSetDimensions(ParamBlock* b);
    intptr_t OnSetRowAttr(ParamBlock* b);
    intptr_t OnSetColAttr(ParamBlock* b);
    intptr_t OnSetRowFlags(ParamBlock* b);
    intptr_t OnSetColFlags(ParamBlock* b);
    intptr_t OnRowsHeight(ParamBlock* b);
    intptr_t OnColsWidth(ParamBlock* b);
    intptr_t OnSetColMark(ParamBlock* b);
    intptr_t OnSetColSearch(ParamBlock* b);
    intptr_t OnOutline(ParamBlock* b);
    intptr_t OnSort(ParamBlock* b, bool rows);
    intptr_t OnSortRows(ParamBlock* b) { return OnSort(b, true); }
    intptr_t OnSortCols(ParamBlock* b) { return OnSort(b, false); }

    // Selections (tsgrid_selections.cpp).
    intptr_t OnSetSelRange(ParamBlock* b);
    intptr_t OnSelectionOp(ParamBlock* b);
    intptr_t OnSetSelCell(ParamBlock* b);
    intptr_t OnSetFocusSel(ParamBlock* b);
    intptr_t OnScrollToSel(ParamBlock* b);
    intptr_t SetOperation(uint32_t op, uint32_t modifier, ParamBlock* b);
    intptr_t CountOperation(uint32_t op, uint32_t d0, uintptr_t d1);
    intptr_t NewSelection(const TsRectSet& from);
    bool OperandOf(uint32_t handle, uint32_t modifier, uintptr_t d1, TsRectSet* out);
    void GroupBelow(const TsRectSet& operand, TsRectSet* out);
    void GroupAbove(const TsRectSet& operand, TsRectSet* out);
    void Filter(const TsRectSet& operand, const TsCellFilter& filter, bool texts, bool rowWise, TsRectSet* out);

    // Cells and aliases (tsgrid_cells.cpp).
    intptr_t OnClearCells(ParamBlock* b);
    intptr_t OnResetCells(ParamBlock* b);
    intptr_t OnCellOperation(ParamBlock* b);
    intptr_t OnRepaintCells(ParamBlock* b);
    intptr_t OnRepaintAll(ParamBlock* b);
    intptr_t OnCellTest(ParamBlock* b);
    intptr_t OnDefineAlias(ParamBlock* b);
    intptr_t OnFindAlias(ParamBlock* b);
    intptr_t OnAliasNames(ParamBlock* b);
    intptr_t OnBeginEdit(ParamBlock* b);
    intptr_t OnEndEdit(ParamBlock* b);
    intptr_t OnHiliteMode(ParamBlock* b);
    TsCell* CellOfPacked(uintptr_t packed, uint32_t* row, uint32_t* col);
    uint32_t EffectiveAlias(int kind, uint32_t row, uint32_t col);

    // Grid-wide (tsgrid.cpp).
    intptr_t OnSetOptions(ParamBlock* b);
    intptr_t OnSetStyle(ParamBlock* b);
    intptr_t OnFocusQuery(ParamBlock* b);
    intptr_t OnModeOff(ParamBlock* b);
    intptr_t OnModeOn(ParamBlock* b);
    intptr_t OnClearPending(ParamBlock* b);
    intptr_t OnNotHandled(ParamBlock*) { return 0; }

    // Properties (tsgrid_props.cpp).
    intptr_t OnSetProp(ParamBlock* b);
    intptr_t OnGetProp(ParamBlock* b);
    bool SetOwnItem(const TsPropRequest& r, TsValueSource& values, intptr_t* result);
    bool GetOwnItem(const TsPropRequest& r, TsValueSink& out, intptr_t* result);
    bool SetGridItem(uint32_t item, TsValueSource& values);
    bool GetGridItem(uint32_t item, TsValueSink& out);

    // The display service and measuring the layers draw with.
    TsDisplayService* display_;
    TsMetrics* metrics_;
    // Layer 2: data.
    TsDataMgr data_;
    // Layer 3: window glue.
    TsGridHost* host_;
    uint32_t options_ = 0x70000043;
    uint32_t style_;
    uint32_t windowFlags_ = 0;   // grid item 45
    uint32_t windowFlags2_ = 0;  // grid item 46
    uint32_t pending_ = 0;        // notification codes waiting to be sent
    uint32_t rowTable_ = 0;       // grid item 23
    uint32_t colTable_ = 0;       // grid item 24
    // Layers 4 and 5: layout state and view.
    uint32_t validity_ = 0;
    bool repaint_ = true;
    bool updateRequested_ = false;
    TsViewState view_;
    TsViewMgr viewMgr_;
    TsScroller scroller_;
    // Layer 6: properties (and the items of later layers).
    std::vector<TsPropertyLayer*> layers_;
    std::unique_ptr<TsPropertyMgr> props_;
    // Layer 7: edit and search state.
    struct EditState {
        bool active = false;
        uint32_t rowId = 0, colId = 0;  // the cell being edited
        TsValue* text = nullptr;        // the editor's text
        int32_t maxLength = 0;
        int32_t caret = 0, selection = 0;
        uint32_t state = 0;             // 1 open, 16 after a cancel
        int32_t values[2] = {-1, -1};
        uint32_t changeMask = 0xC8;     // suppressed change codes
        uint32_t timer = 0;             // the highlight's timer
        uint32_t deadline = 0;
        uint8_t pending = 0;
        uint8_t mode = 0;
        int32_t searchValue = 0;
    } edit_;
    TsQueryRecord* query_ = nullptr;
};

#endif
