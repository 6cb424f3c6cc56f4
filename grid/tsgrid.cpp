// The grid object: construction, the message table, the grid-wide
// messages, notifications and the query protocol.
#include "tsgrid.h"

#include <new>
#include <stdio.h>
#include <string.h>

#include "tsplaindisplay.h"
#include "tspropertymgr.h"
#include "tsvalue.h"

namespace {

// The framework window object's flag word as the grid finds it, less the
// bits the grid clears at construction (0x318): notifications 3, 4, 8 and 9
// are sent from the start, the others once the client clears their bits.
const uint32_t kInitialStyle = 0x000FFFFFu & ~0x318u;

TsWindowlessHost g_noHost;

}  // namespace

static TsDisplayService* DisplayOf(TsGridHost* host)
{
    TsDisplayService* display = host ? host->Display() : nullptr;
    return display ? display : &TsPlainDisplay::Shared();
}

static TsMetrics* MetricsOf(TsGridHost* host)
{
    TsMetrics* metrics = host ? host->Metrics() : nullptr;
    return metrics ? metrics : &TsPlainDisplay::Shared();
}

TsGrid::TsGrid(uint32_t maxRows, uint32_t maxCols, TsGridHost* host)
    : display_(DisplayOf(host)), metrics_(MetricsOf(host)), data_(maxRows, maxCols, display_),
      host_(host ? host : &g_noHost), style_(kInitialStyle), viewMgr_(*this), props_(new TsPropertyMgr())
{
    // Slots 0-7 serve the grid itself; client handles start at 8.
    for (uint32_t i = 0; i < TS_RESERVED_SLOTS; ++i)
        data_.AllocateSelection();
    AddPropertyLayer(props_.get());
}

TsPropertyMgr& TsGrid::Properties()
{
    return *props_;
}

TsGrid::~TsGrid()
{
    if (edit_.timer)
        host_->StopTimer(edit_.timer);
    TsValueRelease(edit_.text);
    delete query_;
}

TsGrid::Handler TsGrid::HandlerOf(uint32_t message)
{
    static const Handler kHandlers[TSM_LAST - TSM_FIRST + 1] = {
        &TsGrid::OnInsertRows,     // 1275
        &TsGrid::OnInsertCols,     // 1276
        &TsGrid::OnDeleteRows,     // 1277
        &TsGrid::OnDeleteCols,     // 1278
        &TsGrid::OnHideRows,       // 1279
        &TsGrid::OnHideCols,       // 1280
        &TsGrid::OnDefineAlias,    // 1281
        &TsGrid::OnScrollToSel,    // 1282
        &TsGrid::OnSetSelRange,    // 1283
        &TsGrid::OnSelectionOp,    // 1284
        &TsGrid::OnClearCells,     // 1285
        &TsGrid::OnSetProp,        // 1286
        &TsGrid::OnNotHandled,     // 1287
        &TsGrid::OnNotHandled,     // 1288
        &TsGrid::OnSetRowAttr,     // 1289
        &TsGrid::OnSetColAttr,     // 1290
        &TsGrid::OnSetOptions,     // 1291
        &TsGrid::OnMoveRows,       // 1292
        &TsGrid::OnMoveCols,       // 1293
        &TsGrid::OnSetFocusSel,    // 1294
        &TsGrid::OnNotHandled,     // 1295
        &TsGrid::OnSortRows,       // 1296
        &TsGrid::OnGetProp,        // 1297
        &TsGrid::OnAliasNames,     // 1298
        &TsGrid::OnSetColSearch,   // 1299
        &TsGrid::OnNotHandled,     // 1300: the popup menu belongs to the frame
        &TsGrid::OnHiliteMode,     // 1301
        &TsGrid::OnRowsHeight,     // 1302
        &TsGrid::OnColsWidth,      // 1303
        &TsGrid::OnResetCells,     // 1304
        &TsGrid::OnSetRowFlags,    // 1305
        &TsGrid::OnSetColFlags,    // 1306
        &TsGrid::OnSetDimensions,  // 1307
        &TsGrid::OnSetStyle,       // 1308
        &TsGrid::OnFindAlias,      // 1309
        &TsGrid::OnSetColMark,     // 1310
        &TsGrid::OnOutline,        // 1311
        &TsGrid::OnSetSelCell,     // 1312
        &TsGrid::OnCellOperation,  // 1313
        &TsGrid::OnNotHandled,     // 1314
        &TsGrid::OnRepaintCells,   // 1315
        &TsGrid::OnEndEdit,        // 1316
        &TsGrid::OnBeginEdit,      // 1317
        &TsGrid::OnFocusQuery,     // 1318
        &TsGrid::OnModeOff,        // 1319
        &TsGrid::OnModeOn,         // 1320
        &TsGrid::OnSortCols,       // 1321
        &TsGrid::OnRepaintAll,     // 1322
        &TsGrid::OnRepaintCells,   // 1323
        &TsGrid::OnClearPending,   // 1324
        &TsGrid::OnNotHandled,     // 1325
        &TsGrid::OnCellTest,       // 1326
    };
    if (message < TSM_FIRST || message > TSM_LAST)
        return nullptr;
    return kHandlers[message - TSM_FIRST];
}

intptr_t TsGrid::ClientMessage(uint32_t message, ParamBlock* block)
{
    Handler h = HandlerOf(message);
    if (!h || !block || !Ready())
        return 0;
    return (this->*h)(block);
}

uint32_t TsGrid::RowPosition(int32_t value)
{
    return value >= TS_ID_BASE ? data_.MapRow(static_cast<uint32_t>(value)) : static_cast<uint32_t>(value);
}

uint32_t TsGrid::ColPosition(int32_t value)
{
    return value >= TS_ID_BASE ? data_.MapCol(static_cast<uint32_t>(value)) : static_cast<uint32_t>(value);
}

// ---------------------------------------------------------------------------
// Grid-wide messages

intptr_t TsGrid::OnSetOptions(ParamBlock* b)
{
    uint32_t mask = static_cast<uint32_t>(b->d1);
    options_ = (options_ & ~mask) | (b->d0 & mask);
    // Bits 18 and 21 show in the window record as flags 0x20 and 0x10.
    windowFlags_ = (windowFlags_ & ~0x30u) | ((options_ >> 18) & 1u) << 5 | ((options_ >> 21) & 1u) << 4;
    if (mask & (1u << 19))
        edit_.searchValue = 0;  // ends a running AutoSearch
    if (mask & (0x3u | 0x3C00000u))
        Repaint(TS_VALID_LAYOUT);
    return static_cast<intptr_t>(options_);
}

intptr_t TsGrid::OnSetStyle(ParamBlock* b)
{
    uint32_t mask = static_cast<uint32_t>(b->d1);
    style_ = b->d0 ? style_ & ~mask : style_ | mask;
    if (mask & TS_STYLE_FRAMEMOUSE)
        host_->SendToFrame(TSM_SETSTYLE, b);
    return static_cast<intptr_t>(style_);
}

intptr_t TsGrid::OnFocusQuery(ParamBlock*)
{
    TsRect focus;
    if (!data_.Slot(TS_SLOT_FOCUS).Bounds(&focus))
        return -1;
    return static_cast<intptr_t>(static_cast<uint32_t>(focus.left) | static_cast<uint32_t>(focus.top) << 16);
}

intptr_t TsGrid::OnModeOff(ParamBlock*)
{
    edit_.mode &= ~1u;
    host_->ModeChanged(false);
    return 1;
}

intptr_t TsGrid::OnModeOn(ParamBlock*)
{
    edit_.mode |= 1u;
    host_->ModeChanged(true);
    return 1;
}

intptr_t TsGrid::OnClearPending(ParamBlock*)
{
    edit_.pending = 0;
    return 1;
}

// ---------------------------------------------------------------------------
// Window-side events

void TsGrid::OnSize(int32_t width, int32_t height)
{
    edit_.searchValue = 0;  // a resize ends a running AutoSearch
    view_.SetClientSize(width, height);
    Repaint(TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_LAYOUT);
}

void TsGrid::EnsureLayout()
{
    if (LayoutValid())
        return;
    bool layout = !(validity_ & TS_VALID_LAYOUT);
    bool rows = layout || !(validity_ & TS_VALID_ROWS);
    bool cols = layout || !(validity_ & TS_VALID_COLS);
    viewMgr_.Layout(rows, cols);
    validity_ |= TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_LAYOUT;
    view_.Clamp(data_);
}

void TsGrid::Painted()
{
    EnsureLayout();
    validity_ = TS_VALID_ALL;
    repaint_ = false;
    updateRequested_ = false;
    scroller_.Painted();
}

TsViewState& TsGrid::Geometry()
{
    EnsureLayout();
    return view_;
}

void TsGrid::HiliteStep()
{
    if (!edit_.deadline)
        return;
    int32_t left = static_cast<int32_t>(edit_.deadline - host_->Now());
    if (left > 0) {
        // Ticks are coarse: wait out the rest.
        uint32_t ticks = static_cast<uint32_t>(left + 49) / 50;
        edit_.timer = host_->StartTimer(ticks > 254 ? 254 : ticks);
        if (edit_.timer)
            return;
    }
    edit_.deadline = 0;
    edit_.timer = 0;
    data_.Slot(TS_SLOT_HILITE).Clear();
    edit_.changeMask &= ~0x20u;
    Repaint();
}

void TsGrid::CopySlotTo(uint32_t mine, TsGrid* target, uint32_t theirs)
{
    TsRectSet* to = target ? target->data_.Selection(theirs) : nullptr;
    if (to)
        *to = mine < TS_RESERVED_SLOTS ? data_.Slot(mine) : data_.SelectionOrEmpty(mine);
}

bool TsGrid::MenuAnchor(TsPixels* out)
{
    TsRect focus;
    if (!data_.Slot(TS_SLOT_FOCUS).Bounds(&focus))
        return false;
    return Geometry().CellRect(data_, static_cast<uint32_t>(focus.top), static_cast<uint32_t>(focus.left), out);
}

uint32_t TsGrid::DialogCode(bool focused, bool controlDown) const
{
    const uint32_t kTabFlag = 0x01;  // window flags (grid item 45): the grid takes Tab with Control
    if (edit_.active || (focused && (windowFlags_ & kTabFlag) && controlDown))
        return 4;
    return 0x81;
}

bool TsGrid::TakeUpdate()
{
    // One request per change is enough until the next paint.
    if ((!repaint_ && validity_ == TS_VALID_ALL) || updateRequested_)
        return false;
    updateRequested_ = true;
    return true;
}

std::vector<uint32_t> TsGrid::TakeNotifications()
{
    std::vector<uint32_t> codes;
    uint32_t pending = pending_ & ~style_;
    pending_ = 0;
    for (uint32_t code = 0; code < 32; ++code) {
        if (pending & (1u << code))
            codes.push_back(code);
    }
    return codes;
}

// ---------------------------------------------------------------------------
// Query protocol

int32_t TsGrid::SetQueryText(const char* text)
{
    if (!query_)
        query_ = new (std::nothrow) TsQueryRecord();
    if (!query_)
        return 0;
    TsParseQuery(text, query_);
    return 1;
}

intptr_t TsGrid::GetQueryText(char* out, size_t size)
{
    if (!query_)
        return 0;
    TsQueryRecord record = *query_;
    delete query_;
    query_ = nullptr;
    uint32_t result = 0;
    if (!TsRunQuery(*this, &record, &result))
        return 0;
    TsFormatQuery(result, record, out, size);
    return TSQ_RESULT;
}

bool TsGrid::QueryCell(uint32_t rowValue, uint32_t colValue, uint32_t* row, uint32_t* col)
{
    *row = RowPosition(static_cast<int32_t>(rowValue > 0x7FFFFFFF ? 0x7FFFFFFF : rowValue));
    *col = ColPosition(static_cast<int32_t>(colValue > 0x7FFFFFFF ? 0x7FFFFFFF : colValue));
    return *row < data_.RowCount() && *col < data_.ColCount();
}

void TsGrid::QueryCellText(uint32_t row, uint32_t col, char* out, size_t size)
{
    char number[16];
    snprintf(out, size, "%s", TsValueString(data_.Cell(row, col)->value, number, sizeof number));
}

const char* TsGrid::QueryCellName(uint32_t command, uint32_t row, uint32_t col)
{
    TsAliasTables& aliases = data_.Aliases();
    switch (command) {
    case TSQ_COLORPAIR:
        return aliases.Name(TS_ALIAS_COLORPAIR, static_cast<int>(EffectiveAlias(TS_ALIAS_COLORPAIR, row, col)));
    case TSQ_COLORNAME: {
        // The background colour the cell shows when it is not selected.
        QfGraphic* colour =
            aliases.Colors(static_cast<int>(EffectiveAlias(TS_ALIAS_COLORPAIR, row, col))).background;
        return colour && colour->name ? QfStringText(colour->name) : "";
    }
    case TSQ_FONT:
        return aliases.Name(TS_ALIAS_FONT, static_cast<int>(EffectiveAlias(TS_ALIAS_FONT, row, col)));
    case TSQ_ICON:
        return aliases.Name(TS_ALIAS_ICON, static_cast<int>(EffectiveAlias(TS_ALIAS_ICON, row, col)));
    default:
        return aliases.Name(TS_ALIAS_CURSOR, static_cast<int>(EffectiveAlias(TS_ALIAS_CURSOR, row, col)));
    }
}

bool TsGrid::QuerySelection(TsRect* bounds)
{
    TsRectSet current = data_.Slot(TS_SLOT_CURRENT);
    current.Clip(data_.Extent());
    return current.Bounds(bounds);
}

void TsGrid::QueryOrigin(uint32_t* row, uint32_t* col)
{
    *row = view_.FirstRow();
    *col = view_.FirstCol();
}

bool TsGrid::QueryCellRect(uint32_t row, uint32_t col, int where, TsPixels* out)
{
    if (!Geometry().CellRect(data_, row, col, out))
        return false;
    return where == 0 || host_->MapPixels(out, where + 1);
}

void TsGrid::QueryShowCell(uint32_t row, uint32_t col, bool asFarAsPossible)
{
    TsRect cell{static_cast<int32_t>(row), static_cast<int32_t>(col), static_cast<int32_t>(row),
                static_cast<int32_t>(col)};
    uint32_t show = TS_PLACE_SHOW | TS_PLACE_SHOW << 2;
    Geometry().ScrollTo(data_, cell, show, asFarAsPossible);
}
