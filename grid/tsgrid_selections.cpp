// Selection messages: ranges, single cells, the focus selection, scrolling
// to a selection, and the operations of TSM_SELECTIONOP (set operations
// within and between grids, the cell filter, counting and transfer).
#include "tsgrid.h"

#include "qfpattern.h"
#include "tsstringlist.h"
#include "tsvalue.h"

namespace {

// One axis of TSM_SETSELRANGE: identifiers map, the corners are put in
// order, and an end of -1 (any negative) or past the last line reaches
// through the last line: it covers every line that way, also those
// inserted later. False when the range lies wholly past the last line.
bool Span(int32_t a, int32_t b, uint32_t count, uint32_t (TsDataMgr::*map)(uint32_t), TsDataMgr& d, int32_t whole,
          int32_t* first, int32_t* last)
{
    if (a >= TS_ID_BASE)
        a = static_cast<int32_t>((d.*map)(static_cast<uint32_t>(a)));
    if (b >= TS_ID_BASE)
        b = static_cast<int32_t>((d.*map)(static_cast<uint32_t>(b)));
    if (a < 0)
        a = whole - 1;
    if (b < 0)
        b = whole - 1;
    *first = std::min(a, b);
    *last = std::max(a, b);
    if (count > 0 && *last >= static_cast<int32_t>(count))
        *last = whole - 1;
    // While there are no lines, only a range through all of them stands.
    return *first < static_cast<int32_t>(count) || (*first == 0 && *last == whole - 1);
}

bool IsSetOperation(uint32_t op)
{
    return (op >= TS_SEL_CLIP && op <= TS_SEL_XOR) || op == TS_SEL_GROUPBELOW ||
           (op >= TS_SEL_FILTER && op <= TS_SEL_FILTERPAINT) || op == TS_SEL_GROUPABOVE;
}

}  // namespace

intptr_t TsGrid::NewSelection(const TsRectSet& from)
{
    TsRectSet copy = from;  // from may be a slot the allocation clears
    uint32_t handle = data_.AllocateSelection();
    if (handle)
        *data_.Selection(handle) = copy;
    return handle;
}

intptr_t TsGrid::OnSetSelRange(ParamBlock* b)
{
    const TsSelRect* r = reinterpret_cast<const TsSelRect*>(b->d1);
    if (!r)
        return 0;
    uint32_t handle = b->d0 & TS_HANDLE_MASK;
    if (handle == 0)
        handle = data_.AllocateSelection();
    TsRectSet* sel = data_.Selection(handle);
    if (!sel)
        return 0;
    TsRect rect;
    bool rows = Span(r->top, r->bottom, data_.RowCount(), &TsDataMgr::MapRow, data_, TS_ALL_ROWS, &rect.top, &rect.bottom);
    bool cols = Span(r->left, r->right, data_.ColCount(), &TsDataMgr::MapCol, data_, TS_ALL_COLS, &rect.left,
                     &rect.right);
    if (rows && cols)
        sel->Set(rect);
    else
        sel->Clear();
    if (handle < TS_RESERVED_SLOTS)
        Repaint();
    return handle;
}

intptr_t TsGrid::OnSetSelCell(ParamBlock* b)
{
    TsRectSet* sel = data_.Selection(b->d0 & TS_HANDLE_MASK);
    uint32_t col = ColPosition(static_cast<int32_t>(b->d1 & 0xFFFF));
    uint32_t row = RowPosition(static_cast<int32_t>((b->d1 >> 16) & 0xFFFF));
    if (!sel || row >= data_.RowCount() || col >= data_.ColCount())
        return 1;
    TsRect cell{static_cast<int32_t>(row), static_cast<int32_t>(col), static_cast<int32_t>(row),
                static_cast<int32_t>(col)};
    if (TsHi(b->d0) & 1)
        sel->Add(cell);
    else
        sel->Set(cell);
    return 1;
}

intptr_t TsGrid::OnSetFocusSel(ParamBlock* b)
{
    TsRectSet chosen = Sel(b->d0);
    chosen.Clip(data_.Extent());
    TsRectSet& current = data_.Slot(TS_SLOT_CURRENT);
    TsRectSet& focus = data_.Slot(TS_SLOT_FOCUS);
    bool changed = current.Rects() != chosen.Rects();
    current = chosen;
    TsRect bounds;
    if (chosen.Bounds(&bounds))
        focus.Set(TsRect{bounds.top, bounds.left, bounds.top, bounds.left});
    else
        focus.Clear();
    if (b->d1 == 0) {
        Repaint(TS_VALID_FOCUS);
        if (changed)
            Notify(TSN_SELCHANGE);
    }
    return 1;
}

intptr_t TsGrid::OnScrollToSel(ParamBlock* b)
{
    TsRectSet from;
    if (!OperandOf(b->d0 & TS_HANDLE_MASK, b->d1 ? TS_SELMOD_OTHERGRID : 0, b->d1, &from))
        return 1;
    TsRect target;
    from.Clip(data_.Extent());
    if (!from.Bounds(&target))
        target = data_.Extent();
    // Byte 2: the placement, bit 4 a step from the table by byte 3.
    uint32_t placement = TsByte(b->d0, 2) & 0x1F;
    Geometry().ScrollTo(data_, target, placement, false, TsScrollStep(TsByte(b->d0, 3)));
    return 1;
}

bool TsGrid::OperandOf(uint32_t handle, uint32_t modifier, uintptr_t d1, TsRectSet* out)
{
    if (!(modifier & TS_SELMOD_OTHERGRID) || !d1) {
        *out = data_.SelectionOrEmpty(handle);
        return true;
    }
    uint32_t temp = data_.AllocateSelection();
    if (!temp)
        return false;
    // Another grid fills the new slot; this grid's own frame is this grid.
    if (!host_->FillSlotFromGrid(d1, handle, this, temp))
        *data_.Selection(temp) = data_.SelectionOrEmpty(handle);
    *out = *data_.Selection(temp);
    data_.ReleaseSelection(temp);
    return true;
}

intptr_t TsGrid::OnSelectionOp(ParamBlock* b)
{
    uint32_t sel = TsByte(b->d0, 0) & TS_HANDLE_MASK;
    uint32_t op = TsByte(b->d0, 2);
    uint32_t modifier = TsByte(b->d0, 3);
    TsRect r;
    switch (op) {
    case TS_SEL_NEW:
        return data_.AllocateSelection();
    case TS_SEL_DUPLICATE:
        return NewSelection(data_.SelectionOrEmpty(sel));
    case TS_SEL_RELEASE:
        data_.ReleaseSelection(sel);
        return sel;
    case TS_SEL_ALL:
    case TS_SEL_COMPLEMENT:
        if (TsRectSet* s = data_.Selection(sel)) {
            TsRectSet whole;
            whole.Set(TsWholeGrid());
            if (op == TS_SEL_COMPLEMENT)
                whole.Subtract(*s);
            *s = whole;
        }
        return sel;
    case TS_SEL_CURRENT:
        return NewSelection(data_.Slot(TS_SLOT_CURRENT));
    case TS_SEL_FOCUS:
        return NewSelection(data_.Slot(TS_SLOT_FOCUS));
    case TS_SEL_SEARCH:
        return NewSelection(data_.Slot(TS_SLOT_SEARCH));
    case TS_SEL_VIEW:
    case TS_SEL_VIEWORIGIN: {
        TsRectSet seen;
        if (Geometry().Visible(data_, &r)) {
            if (op == TS_SEL_VIEWORIGIN)
                r = TsRect{r.top, r.left, r.top, r.left};
            if (modifier & 0x02)  // whole rows
                r.left = 0, r.right = TS_ALL_COLS - 1;
            if (modifier & 0x01)  // whole columns
                r.top = 0, r.bottom = TS_ALL_ROWS - 1;
            seen.Set(r);
        }
        return NewSelection(seen);
    }
    case TS_SEL_FOCUSROW:
    case TS_SEL_FOCUSCOL: {
        TsRectSet line;
        if (data_.Slot(TS_SLOT_FOCUS).Bounds(&r)) {
            if (op == TS_SEL_FOCUSROW)
                line.Set(TsRect{r.top, 0, r.top, TS_ALL_COLS - 1});
            else
                line.Set(TsRect{0, r.left, TS_ALL_ROWS - 1, r.left});
        }
        return NewSelection(line);
    }
    case TS_SEL_TOPARENT: {
        int32_t* out = reinterpret_cast<int32_t*>(b->d1);
        TsRectSet s = data_.SelectionOrEmpty(sel);
        s.Clip(data_.Extent());
        TsPixels a, z;
        if (!out || !s.Bounds(&r) || !Geometry().CellRect(data_, static_cast<uint32_t>(r.top), static_cast<uint32_t>(r.left), &a) ||
            !Geometry().CellRect(data_, static_cast<uint32_t>(r.bottom), static_cast<uint32_t>(r.right), &z))
            return 0;
        TsPixels px{a.left, a.top, z.right, z.bottom};
        host_->MapPixels(&px, 1);
        out[0] = px.left, out[1] = px.top, out[2] = px.right, out[3] = px.bottom;
        return 1;
    }
    default:
        break;
    }
    if (IsSetOperation(op))
        return SetOperation(op, modifier, b);
    if (op >= TS_SEL_COUNTCELLS && op <= TS_SEL_COUNTMARKEDCOLS)
        return CountOperation(op, b->d0, b->d1);
    return 0;
}

intptr_t TsGrid::SetOperation(uint32_t op, uint32_t modifier, ParamBlock* b)
{
    bool filter = op >= TS_SEL_FILTER && op <= TS_SEL_FILTERPAINT;
    TsRectSet operand;
    if (!OperandOf(TsByte(b->d0, 1) & TS_HANDLE_MASK, filter ? 0 : modifier, b->d1, &operand))
        return 0;
    uint32_t target = TsByte(b->d0, 0) & TS_HANDLE_MASK;
    if (target == 0) {
        target = static_cast<uint32_t>(NewSelection(data_.Slot(TS_SLOT_CURRENT)));
        if (!target)
            return 0;
    }
    TsRectSet* t = data_.Selection(target);
    if (!t)
        return 0;
    TsRectSet result = *t;
    TsRect bounds;
    switch (op) {
    case TS_SEL_CLIP:
        if (operand.Bounds(&bounds))
            result.Clip(bounds);
        else
            result.Clear();
        break;
    case TS_SEL_COPY:
        result = operand;
        break;
    case TS_SEL_UNION:
        result.Union(operand);
        break;
    case TS_SEL_INTERSECT:
        result.Intersect(operand);
        break;
    case TS_SEL_MINUS:
        result.Subtract(operand);
        break;
    case TS_SEL_XOR:
        result.Xor(operand);
        break;
    case TS_SEL_GROUPBELOW:
        GroupBelow(operand, &result);
        break;
    case TS_SEL_GROUPABOVE:
        GroupAbove(operand, &result);
        break;
    default: {
        const TsCellFilter* f = reinterpret_cast<const TsCellFilter*>(b->d1);
        // A word without criterion bits leaves the target as it is.
        if (f && (f->criteria & 0x000FFFFFu))
            Filter(operand, *f, (modifier & TS_SELMOD_TEXTS) != 0, op == TS_SEL_FILTERROWS, &result);
        if (op == TS_SEL_FILTERPAINT)
            Repaint();
        break;
    }
    }
    *t = result;
    if (target < TS_RESERVED_SLOTS)
        Repaint();
    return target;
}

void TsGrid::GroupBelow(const TsRectSet& operand, TsRectSet* out)
{
    out->Clear();
    data_.ForEachRow(operand, [&](uint32_t r) {
        uint32_t size = data_.GroupSize(r);
        if (size > 1)
            out->Add(TsRect{static_cast<int32_t>(r + 1), 0, static_cast<int32_t>(r + size - 1), TS_ALL_COLS - 1});
    });
}

void TsGrid::GroupAbove(const TsRectSet& operand, TsRectSet* out)
{
    out->Clear();
    std::vector<uint32_t> rows;
    data_.ForEachRow(operand, [&rows](uint32_t r) { rows.push_back(r); });
    auto addRow = [out](uint32_t r) {
        out->Add(TsRect{static_cast<int32_t>(r), 0, static_cast<int32_t>(r), TS_ALL_COLS - 1});
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        uint32_t r = rows[i];
        uint32_t level = TsDataMgr::Level(data_.Row(r));
        if (level != 0) {
            for (uint32_t up = r; up-- > 0;) {
                if (TsDataMgr::Level(data_.Row(up)) < level) {
                    addRow(up);
                    break;
                }
            }
        }
        bool inRun = (i > 0 && rows[i - 1] + 1 == r) || (i + 1 < rows.size() && rows[i + 1] == r + 1);
        if (inRun && data_.GroupSize(r) > 1)
            addRow(r);
    }
}

namespace {

// The cell filter's value fields: value lists, or plain texts.
bool EqualsOneOf(const TsValue* v, uintptr_t values, bool texts)
{
    if (!values)
        return false;
    char number[16];
    if (texts)
        return TsCompareText(TsValueString(v, number, sizeof number), reinterpret_cast<const char*>(values), false) == 0;
    Vlist* list = reinterpret_cast<Vlist*>(values);
    for (int32_t i = 0; i < list->Size(); ++i) {
        if (TsValueEquals(v, TsHeld(list->At(i))))
            return true;
    }
    return false;
}

bool MatchesOneOf(const TsValue* v, uintptr_t values, bool texts)
{
    if (!values)
        return false;
    auto matches = [v](const char* pattern) { return QfCheckPattern(pattern) >= 0 && TsMatchValue(v, pattern) >= 0; };
    if (texts)
        return matches(reinterpret_cast<const char*>(values));
    Vlist* list = reinterpret_cast<Vlist*>(values);
    for (int32_t i = 0; i < list->Size(); ++i) {
        if (matches(TsValueText(TsHeld(list->At(i)))))
            return true;
    }
    return false;
}

}  // namespace

void TsGrid::Filter(const TsRectSet& operand, const TsCellFilter& f, bool texts, bool rowWise, TsRectSet* out)
{
    const TsRectSet& slot1 = data_.Slot(TS_SLOT_HILITE);
    TsRectSet hits;
    bool any = (f.criteria & (1u << TS_FILTER_ANY)) != 0;
    auto holds = [&](uint32_t k, uint32_t r, uint32_t c) {
        TsRowRecord* row = data_.Row(r);
        TsColumnRecord* col = data_.Col(c);
        TsCell* cell = TsDataMgr::CellOf(row, col);
        int32_t low = row->level & 0x0F, high = row->level >> 4;
        switch (k) {
        case TS_FILTER_HIDDEN:
            return !(row->flags & TS_ROW_SHOWN) || !(col->flags & TS_COL_SHOWN);
        case TS_FILTER_COLORPAIR:
            return TsAliasNumber(static_cast<int>(EffectiveAlias(TS_ALIAS_COLORPAIR, r, c))) == f.alias;
        case TS_FILTER_SLOT1:
            return slot1.Contains(static_cast<int32_t>(r), static_cast<int32_t>(c));
        case TS_FILTER_EQUALS:
            return EqualsOneOf(cell->value, f.values, texts);
        case TS_FILTER_MATCHES:
            return MatchesOneOf(cell->value, f.values, texts);
        case TS_FILTER_LOWATTR:
            return low >= f.low && low < f.high;
        case TS_FILTER_MARKEDCOL:
            return (col->flags & TS_COL_MARK) != 0;
        case TS_FILTER_MATCHES2:
            return MatchesOneOf(cell->value, f.values2, texts);
        case TS_FILTER_HIGHATTR:
            return high >= f.low && high < f.high;
        default:
            return (cell->flags & TS_CELL_WATCHED) != 0;
        }
    };
    data_.ForEachCell(operand, [&](uint32_t r, uint32_t c) {
        bool result = !any;
        for (uint32_t k = 0; k < 10; ++k) {
            for (uint32_t negate = 0; negate < 2; ++negate) {
                if (!(f.criteria & (1u << (2 * k + negate))))
                    continue;
                bool term = holds(k, r, c) != (negate != 0);
                result = any ? result || term : result && term;
            }
        }
        if (!result)
            return;
        if (rowWise)
            hits.Add(TsRect{static_cast<int32_t>(r), 0, static_cast<int32_t>(r), TS_ALL_COLS - 1});
        else
            hits.Add(TsRect{static_cast<int32_t>(r), static_cast<int32_t>(c), static_cast<int32_t>(r),
                            static_cast<int32_t>(c)});
    });
    *out = hits;
}

intptr_t TsGrid::CountOperation(uint32_t op, uint32_t d0, uintptr_t d1)
{
    const TsRectSet& s = Sel(d0);
    // Only counting with transfer (0x15-0x17) reads a record at d1.
    const TsCountRequest* request = op <= TS_SEL_COUNTCOLS ? reinterpret_cast<const TsCountRequest*>(d1) : nullptr;
    bool plain = !request || request->flags < 0;
    bool shownOnly = !plain && (request->flags & TS_COUNT_SHOWN);
    Vlist* out = !plain && (request->flags & TS_COUNT_TRANSFER) ? request->out : nullptr;
    auto rowShown = [this](uint32_t r) { return (data_.Row(r)->flags & TS_ROW_SHOWN) != 0; };
    auto colShown = [this](uint32_t c) { return (data_.Col(c)->flags & TS_COL_SHOWN) != 0; };
    auto transfer = [out](TsValue* v) {
        if (out)
            out->Append(v);
    };
    auto transferNumber = [&transfer](uint32_t n) {
        TsValue* v = TsMakeNumber(static_cast<int32_t>(n));
        transfer(v);
        TsValueRelease(v);
    };
    intptr_t n = 0;
    switch (op) {
    case TS_SEL_COUNTCELLS:
        data_.ForEachCell(s, [&](uint32_t r, uint32_t c) {
            if (shownOnly && (!rowShown(r) || !colShown(c)))
                return;
            ++n;
            transfer(data_.Cell(r, c)->value);
        });
        return n;
    case TS_SEL_COUNTROWS:
        data_.ForEachRow(s, [&](uint32_t r) {
            if (shownOnly && !rowShown(r))
                return;
            ++n;
            transferNumber(data_.RowId(r));
        });
        return n;
    case TS_SEL_COUNTCOLS:
        data_.ForEachCol(s, [&](uint32_t c) {
            if (shownOnly && !colShown(c))
                return;
            ++n;
            transferNumber(data_.ColId(c));
        });
        return n;
    case TS_SEL_COUNTRECTS: {
        TsRectSet clipped = s;
        clipped.Clip(data_.Extent());
        return static_cast<intptr_t>(clipped.Rects().size());
    }
    case TS_SEL_COUNTSHOWNROWS:
    case TS_SEL_COUNTHIDDENROWS:
        data_.ForEachRow(s, [&](uint32_t r) { n += rowShown(r) == (op == TS_SEL_COUNTSHOWNROWS); });
        return n;
    case TS_SEL_COUNTSHOWNCOLS:
    case TS_SEL_COUNTHIDDENCOLS:
        data_.ForEachCol(s, [&](uint32_t c) { n += colShown(c) == (op == TS_SEL_COUNTSHOWNCOLS); });
        return n;
    case TS_SEL_COUNTFILLED:
    case TS_SEL_COUNTEMPTY:
        data_.ForEachCell(s, [&](uint32_t r, uint32_t c) {
            n += (data_.Cell(r, c)->value->length > 0) == (op == TS_SEL_COUNTFILLED);
        });
        return n;
    case TS_SEL_COUNTHEADS:
        data_.ForEachRow(s, [&](uint32_t r) { n += data_.GroupSize(r) > 1; });
        return n;
    case TS_SEL_COUNTTOPLEVEL:
        data_.ForEachRow(s, [&](uint32_t r) { n += TsDataMgr::Level(data_.Row(r)) == 0; });
        return n;
    default:
        data_.ForEachCol(s, [&](uint32_t c) { n += (data_.Col(c)->flags & TS_COL_MARK) != 0; });
        return n;
    }
}
