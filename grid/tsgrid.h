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

#include <string>

#include "ts.h"
#include "tsdatamgr.h"
#include "tsmetrics.h"
#include "tsquery.h"
#include "tsscroller.h"
#include "tssort.h"
#include "tsviewmgr.h"
#include "tsviewstate.h"

class TsGrid;
class TsValueSource;
class TsValueSink;
class TsPropertyMgr;

// Alias numbers of the messages (0: none) and of the alias tables (-1: none).
inline uint32_t TsAliasNumber(int entry) { return entry < 0 ? 0u : static_cast<uint32_t>(entry) + 1; }

// The window in which the user edits a cell (an edit control on Windows).
// Positions and lengths count characters; a negative selection length
// reaches left of the caret.
class TsEditor {
public:
    // Shows the editor over the cell's rectangle (grid-window pixels) with
    // the text, at most maxLength characters, in the cell's font (a
    // platform font handle; 0: the system's), and gives it the keyboard.
    virtual bool Open(const TsPixels& cell, const char* text, int32_t maxLength, uintptr_t font) = 0;
    virtual void Move(const TsPixels& cell) = 0;
    // Hides it at once (the keyboard goes back to the grid when the editor
    // had it); the window itself goes after the current message.
    virtual void Close() = 0;
    virtual std::string Text() = 0;
    virtual void SetText(const char* text) = 0;
    virtual void Selection(int32_t* caret, int32_t* length) = 0;
    virtual void SetSelection(int32_t caret, int32_t length) = 0;
    // The character whose edit request opened the editor, typed into it.
    virtual void Type(uint32_t code) = 0;

protected:
    ~TsEditor() = default;
};

// Events for assistive technology (accessibility): the row, or TS_NO_ROW
// for the grid itself.
enum : uint32_t { TS_EVENT_FOCUS = 1, TS_EVENT_SELECTION = 2, TS_NO_ROW = 0xFFFFFFFFu };

// Selection flags of assistive technology (the platform's SELFLAG_*).
enum : uint32_t {
    TS_ACC_TAKEFOCUS = 1,
    TS_ACC_TAKESELECTION = 2,
    TS_ACC_EXTENDSELECTION = 4,
    TS_ACC_ADDSELECTION = 8,
    TS_ACC_REMOVESELECTION = 16
};

// Double clicks: the second press within this time and distance.
struct TsClickMetrics {
    uint32_t milliseconds;
    int32_t width;
    int32_t height;
};

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

    // The rest have defaults for hosts without windows.
    // Sends the pending notifications now (the grid needs the parent's
    // answer before it goes on); without a parent they stay pending.
    virtual void FlushNotifications() {}
    // Has Deferred(item) called after the current message; false when it
    // cannot (the grid then does the work at the end of the message).
    virtual bool PostDeferred(uint32_t item)
    {
        (void)item;
        return false;
    }
    // The cell editor; null: edits are sessions without a window.
    virtual TsEditor* Editor() { return nullptr; }
    // Shows the AutoSearch field with the typed text beside the rectangle
    // (grid-window pixels), or hides it for a null text.
    virtual void SearchField(const char* text, const TsPixels& beside)
    {
        (void)text;
        (void)beside;
    }
    // Asks, from any thread, that this grid end its AutoSearch on its own
    // thread (another grid started one).
    virtual void EndSearchLater() {}
    // The mouse is captured while the user drags.
    virtual void Capture(bool on) { (void)on; }
    // The focus row (TS_EVENT_FOCUS) or the selection changed.
    virtual void Accessible(uint32_t event, uint32_t row)
    {
        (void)event;
        (void)row;
    }
    // The system string comparison of alphabetic sort keys; null: bytes.
    virtual TsTextCompare TextCompare() { return nullptr; }
    virtual TsClickMetrics ClickMetrics() { return TsClickMetrics{500, 4, 4}; }

protected:
    ~TsGridHost() = default;
};

// Modifier keys of input events.
enum : uint32_t { TS_MOD_SHIFT = 1, TS_MOD_CONTROL = 2, TS_MOD_ALT = 4 };
enum : uint32_t { TS_BUTTON_LEFT = 1, TS_BUTTON_RIGHT = 2 };
// Deferred work items (TSM_DEFERRED wParam).
enum : uint32_t {
    TS_DEFER_PLACE = 1,       // place the lines marked for the sort
    TS_DEFER_END_SEARCH = 2,  // another grid started an AutoSearch
    TS_DEFER_EDITOR = 3,      // the window side: destroy the closed editor window
    TS_DEFER_SETTLE = 4       // the window side: send what is pending now
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
    TS_SLOT_SEARCH = 3,    // the AutoSearch match
    TS_SLOT_ANCHOR = 4     // where a Shift+click or a drag started
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
    // The client area changed size; a resize of the window itself (not a
    // scroll bar coming or going) ends a running AutoSearch.
    void OnSize(int32_t width, int32_t height, bool windowResized = true);
    void InvalidateViews() { Invalidate(TS_VALID_ALL); }  // 1125, WM_PALETTECHANGED
    // 1126: display objects were made anew; what was measured with them goes.
    void ResetDrawing()
    {
        Invalidate(TS_VALID_ALL);
        viewMgr_.Forget();
    }
    void HiliteStep();                                   // the highlight's deadline
    void TimerStep(uint32_t id);                         // 1225: one of the grid's timers ran out
    void Deferred(uint32_t item);                        // 1124
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

    // Keyboard and mouse (tsgrid_input.cpp), in the key codes of tskeys.h
    // and grid-window pixels. False: not the grid's key (pass it on).
    bool KeyDown(uint32_t key, uint32_t mods);
    bool KeyUp(uint32_t key, uint32_t mods);
    bool Char(uint32_t code, uint32_t mods);
    void MouseDown(uint32_t button, int32_t x, int32_t y, uint32_t mods, uint32_t time);
    void MouseMove(int32_t x, int32_t y, uint32_t mods);
    void MouseUp(uint32_t button, int32_t x, int32_t y, uint32_t mods);
    void CaptureLost();
    void ContextMenuRequest();  // the context-menu key, Shift+F10, WM_CONTEXTMENU
    void FocusGained();
    void FocusLost();
    void SetEnabled(bool on);
    bool Enabled() const { return input_.enabled; }
    bool Focused() const { return input_.focused; }

    // Focus and selection (tsgrid_focus.cpp). False when there is no focus cell.
    bool FocusCell(uint32_t* row, uint32_t* col);
    // The focus colours the painter uses come from the alias tables
    // (TsAliasTables::FocusColors); a definition of one repaints the focus.
    // For assistive technology: a row's name (the texts of its shown cells,
    // joined), whether it is selected, selecting it as the flags say
    // (TS_ACC_*, the platform's selection flags) and its default action (a
    // double click: notification 9).
    std::string RowName(uint32_t row);
    bool RowSelected(uint32_t row);
    // The rows the current selection touches, ascending.
    std::vector<uint32_t> SelectedRows();
    // The font object a cell shows its text in (a row past the end: the
    // grid's default font).
    const QfGraphic* FontOf(uint32_t row, uint32_t col);
    void AccessibleSelect(uint32_t row, uint32_t flags);
    void AccessibleActivate(uint32_t row);
    bool RowSelect() const { return (options_ & TS_OPT_ROWSELECT) != 0; }

    // The edit session (tsgrid_edit.cpp): the user ends it in the editor.
    void UserEndEdit(bool accept);
    bool EditOpen() const { return edit_.active; }
    // After every message: keeps the editor over its cell.
    void FollowEditedCell();

    // AutoSearch (tsgrid_search.cpp): at most one grid of the process runs one.
    bool Searching() const;
    const std::string& SearchText() const { return search_.text; }
    void EndSearch();
    // The colour pair of the AutoSearch field, "AutoSearch" (-1: none).
    int SearchColors() const { return data_.Aliases().Find(TS_ALIAS_COLORPAIR, "AutoSearch"); }

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
    const TsSortKeys& SortKeys(bool rows) const { return sortKeys_[rows ? 0 : 1]; }

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
    intptr_t OnSortRows(ParamBlock* b) { return OnSort(b, true); }
    intptr_t OnSortCols(ParamBlock* b) { return OnSort(b, false); }

    // Sorting (tsgrid_sort.cpp). Rows are "lines" sorted by "key lines"
    // (columns), and the reverse.
    intptr_t OnSort(ParamBlock* b, bool rows);
    bool Sorted(bool rows) const { return sortKeys_[rows ? 0 : 1].Active(); }
    void SetSortState(bool rows);
    // Puts the lines marked for placing (or all with full) in sorted order.
    void Resort(bool rows, bool full);
    // New lines under a sort, or a changed key: placed after the message.
    void MarkForPlacing(bool rows, uint32_t position);
    void PlacePending();
    void KeyCellChanged(uint32_t row, uint32_t col);
    // Rows (columns) were deleted: key lines among them leave the key list.
    void KeyLinesDeleted(bool rows);
    uint32_t InsertLines(bool rows, uint32_t position, uint32_t count, uint32_t handle);

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

    // The edit session (tsgrid_edit.cpp).
    enum EditEnd { kAcceptByClient, kCancelByClient, kAcceptByUser, kCancelByUser };
    bool EndEdit(EditEnd how);
    bool OpenEditCell(uint32_t* row, uint32_t* col);
    void SyncEditFromEditor();
    // Rows (columns) are about to go: an edit of one of them is cancelled first.
    void EndEditOverDeleted(bool rows, const std::vector<uint32_t>& positions);
    // The edited cell's row (column) position, for EndEditOverMoved.
    int64_t EditLinePosition(bool rows);
    void EndEditOverMoved(bool rows, int64_t before);
    void SetEditText(TsValue* v);
    bool RequestEdit(uint32_t typed);

    // Focus and selection (tsgrid_focus.cpp).
    enum SelectHow { kSelectOnly, kSelectExtend, kSelectToggle, kSelectKeep };
    void MoveFocus(uint32_t row, uint32_t col, SelectHow how);
    TsRect SelectionUnit(uint32_t row, uint32_t col) const;
    void SelectionChanged(const TsRectSet& before, bool sameFocusRow);
    // A colour pair was defined: the focus colours and the AutoSearch field follow it.
    void ColorPairDefined(const char* name);

    // Keyboard and mouse (tsgrid_input.cpp).
    bool NavigationKey(uint32_t key, uint32_t mods);
    bool HitCell(int32_t x, int32_t y, uint32_t* row, uint32_t* col);
    // The first and last shown row and column; false when none is shown.
    bool ShownEnds(uint32_t* firstRow, uint32_t* lastRow, uint32_t* firstCol, uint32_t* lastCol);
    void DragTo(int32_t x, int32_t y);
    void DragScrollStep();

    // AutoSearch (tsgrid_search.cpp).
    bool SearchChar(uint32_t code);
    void ShowSearch();
    void SearchPause();
    void ForgetSearch();

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
        bool active = false;            // an editor is open (grid item 49 reads 1)
        bool ending = false;            // the end's notifications are being sent
        uint32_t rowId = 0, colId = 0;  // the cell being edited
        TsValue* text = nullptr;        // the editor's text
        int32_t maxLength = 0;
        int32_t caret = 0, selection = 0;
        TsPixels shownAt = {0, 0, 0, 0};  // where the editor stands
        uint32_t state = 0;             // 1 open, 16 after a cancel, 0 after an accept
        int32_t values[2] = {-1, -1};
        uint32_t changeMask = 0xC8;     // suppressed change codes
        uint32_t timer = 0;             // the highlight's timer
        uint32_t deadline = 0;
        uint8_t pending = 0;
        uint8_t mode = 0;
    } edit_;
    struct SearchState {
        std::string text;               // typed so far; empty: no search
        uint32_t lastKey = 0;           // when the last character came
        uint32_t timer = 0;             // ends the search after a pause
    } search_;
    struct InputState {
        bool focused = false;
        bool enabled = true;
        uint32_t dragButton = 0;        // the button held since a press in the grid
        bool dragToggles = false;       // Control was down: the drag adds to the selection
        TsRectSet dragBase;             // the selection before a Control drag
        int32_t mouseX = 0, mouseY = 0;
        uint32_t scrollTimer = 0;       // steps a drag past the edge
        bool pressed = false;           // a left press that a second may make a double click
        uint32_t lastPress = 0;         // its time
        int32_t pressX = 0, pressY = 0;
        uint32_t pressRowId = 0, pressColId = 0;
        bool clickIsSecond = false;
        bool swallowChar = false;       // the key already acted; its character is not typed
        uint32_t swallowKeyUp = 0;      // ... and its release goes no further
    } input_;
    // Layer 8: sorting. Index 0 orders the rows, 1 the columns; key lines
    // are identifiers of the other table.
    TsSortKeys sortKeys_[2] = {TsNoSortKeys(), TsNoSortKeys()};
    bool placePending_ = false;  // lines are marked for placing
    bool placePosted_ = false;   // the host will call Deferred(TS_DEFER_PLACE)
    TsQueryRecord* query_ = nullptr;
};

#endif
