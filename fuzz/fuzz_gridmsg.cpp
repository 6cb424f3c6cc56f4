// Random message sequences through the grid's portable handlers: every
// client message with blocks and records built from the input (lists,
// ranges, holders, texts, filters), the query protocol, selections between
// two grids, and the view between them: paints planned over any area,
// scroll codes, wheel turns, hints and cursors. No crash, no leak, and the
// grid's limits hold.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "ts.h"
#include "tsgrid.h"
#include "tspaintplan.h"
#include "tshost.h"
#include "tsvalue.h"
#include "tsvlistmgr_impl.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t Word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w |= static_cast<uint32_t>(Byte()) << (8 * i);
        return w;
    }
    // A small number, or now and then a large one.
    int32_t Number()
    {
        uint8_t b = Byte();
        if (b < 200)
            return static_cast<int32_t>(b) - 20;
        return static_cast<int32_t>(Word());
    }
    std::string Text()
    {
        size_t n = Byte() % 48;
        std::string s;
        while (n-- && !Done())
            s += static_cast<char>(Byte());
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Two grids; "window" 2 is the second one, anything else no grid.
class Host final : public TsGridHost {
public:
    TsGrid* other = nullptr;
    intptr_t SendToFrame(uint32_t, ParamBlock*) override { return 1; }
    bool FillSlotFromGrid(uintptr_t window, uint32_t theirs, TsGrid* target, uint32_t into) override
    {
        if (window != 2 || !other)
            return false;
        other->CopySlotTo(theirs, target, into);
        return true;
    }
    uint32_t StartTimer(uint32_t ticks) override { return ticks & 1; }
    void StopTimer(uint32_t) override {}
    uint32_t Now() override { return now += 37; }
    void ModeChanged(bool) override {}
    bool MapPixels(TsPixels*, int to) override { return to == 2; }
    uint32_t now = 0;
};

// Everything a block may point to, kept alive for the call.
struct Records {
    ITsVListMgr* m = TsVListManager();
    Vlist* list = nullptr;
    Vlist* list2 = nullptr;
    TsValue* holder = nullptr;
    std::string text, text2;
    TsSelRect rect = {};
    TsCellFilter filter = {};
    TsCountRequest count = {};
    TsAliasDef alias = {};
    TsEditRequest edit = {};
    VlistRange range = {};
    int32_t out = 0;
    ~Records()
    {
        m->Destroy(list);
        m->Destroy(list2);
        TsHolderRelease(&holder);
    }
    Vlist* MakeList(Reader& in)
    {
        Vlist* l = m->Create(in.Byte() % 12);
        int n = in.Byte() % 10;
        for (int i = 0; i < n; ++i) {
            std::string t = in.Text();
            if (in.Byte() & 1)
                m->ParseList(l, t.c_str());
            else {
                m->Grow(l, m->Size(l) + 1);
                m->SetNumber(m->Entry(l, -1), in.Number());
            }
        }
        return l;
    }
};

uintptr_t PropertyArgument(Reader& in, Records& r, uint32_t part, bool get)
{
    switch (part) {
    case TS_PART_STRING:
        r.text = in.Text();
        return in.Byte() & 1 ? reinterpret_cast<uintptr_t>(r.text.c_str()) : 0;
    case TS_PART_LIST:
        r.list = r.MakeList(in);
        return reinterpret_cast<uintptr_t>(r.list);
    case TS_PART_RANGE:
        r.list = r.MakeList(in);
        r.text = in.Text();
        r.range = {r.list, in.Number(), in.Number(), in.Byte() & 1 ? r.text.c_str() : nullptr};
        return reinterpret_cast<uintptr_t>(&r.range);
    case TS_PART_NUMBER:
        return get ? reinterpret_cast<uintptr_t>(&r.out) : static_cast<uint32_t>(in.Number());
    case TS_PART_VALUE:
        r.m->SetNumber(&r.holder, in.Number());
        return reinterpret_cast<uintptr_t>(&r.holder);
    default:
        return static_cast<uint32_t>(in.Number());
    }
}

uintptr_t Argument(Reader& in, Records& r, uint32_t message, uint32_t d0)
{
    switch (message) {
    case TSM_SETSELRANGE:
        r.rect = {in.Number(), in.Number(), in.Number(), in.Number()};
        return reinterpret_cast<uintptr_t>(&r.rect);
    case TSM_SELECTIONOP: {
        uint32_t op = TsByte(d0, 2);
        if (op >= TS_SEL_FILTER && op <= TS_SEL_FILTERPAINT) {
            bool texts = TsByte(d0, 3) & TS_SELMOD_TEXTS;
            r.text = in.Text();
            r.text2 = in.Text();
            r.list = r.MakeList(in);
            r.list2 = r.MakeList(in);
            r.filter = {in.Word(),
                        texts ? reinterpret_cast<uintptr_t>(r.text.c_str()) : reinterpret_cast<uintptr_t>(r.list),
                        texts ? reinterpret_cast<uintptr_t>(r.text2.c_str()) : reinterpret_cast<uintptr_t>(r.list2),
                        in.Number(), in.Number(), in.Byte()};
            return reinterpret_cast<uintptr_t>(&r.filter);
        }
        if (op >= TS_SEL_COUNTCELLS && op <= TS_SEL_COUNTCOLS) {
            r.list = r.MakeList(in);
            r.count = {in.Number(), r.list};
            return in.Byte() & 1 ? reinterpret_cast<uintptr_t>(&r.count) : 0;
        }
        if (op == TS_SEL_TOPARENT) {
            static int32_t rect[4];
            return reinterpret_cast<uintptr_t>(rect);
        }
        return in.Byte() % 4;  // 2 is the other grid
    }
    case TSM_SETPROP:
    case TSM_GETPROP:
        return PropertyArgument(in, r, TsPropPart(static_cast<PropertyId>(TsHi(d0))), message == TSM_GETPROP);
    case TSM_DEFINEALIAS:
    case TSM_FINDALIAS:
    case TSM_SETROWATTR:
    case TSM_SETCOLATTR:
        r.text = in.Text();
        r.text2 = in.Text();
        r.alias = {r.text.c_str(), r.text2.c_str(), nullptr};
        if (message == TSM_DEFINEALIAS)
            return in.Byte() & 1 ? reinterpret_cast<uintptr_t>(&r.alias) : 0;
        return in.Byte() & 1 ? reinterpret_cast<uintptr_t>(r.text.c_str()) : 0;
    case TSM_OUTLINE:
    case TSM_GETALIASNAMES:
        r.list = r.MakeList(in);
        return in.Byte() & 1 ? reinterpret_cast<uintptr_t>(r.list) : 0;
    case TSM_BEGINEDIT:
        r.edit = {1, in.Number(), {0, 0}};
        return in.Byte() & 1 ? reinterpret_cast<uintptr_t>(&r.edit) : 0;
    case TSM_SORTROWS:
    case TSM_SORTCOLS:
        return 0;
    default:
        return static_cast<uint32_t>(in.Number());
    }
}

void Step(Reader& in, TsGrid& grid)
{
    uint8_t choice = in.Byte();
    if (choice >= 250) {
        // The query protocol with a buffer of any size.
        std::string ask = std::to_string(101 + in.Byte() % 17) + ":" + std::to_string(in.Byte()) + "," +
                          std::to_string(in.Number()) + "," + std::to_string(in.Number()) + "," +
                          std::to_string(in.Number()) + "," + std::to_string(in.Number()) + ":" + in.Text();
        grid.SetQueryText(choice == 255 ? in.Text().c_str() : ask.c_str());
        char buffer[300];
        size_t size = in.Byte() % sizeof buffer;
        memset(buffer, 0x5A, sizeof buffer);
        grid.GetQueryText(buffer, size);
        if (size < sizeof buffer && buffer[size] != 0x5A)
            abort();  // written past the buffer
        return;
    }
    if (choice >= 240 && choice < 245) {
        // The view: a paint, a scroll, the wheel, the pointer.
        TsPixels area = {in.Number(), in.Number(), in.Number(), in.Number()};
        TsPaintPlan plan;
        TsPlanPaint(grid, area, in.Byte() & 1, &plan);
        for (const TsPaintCell& c : plan.cells) {
            if (c.text >= plan.texts.size() || plan.Text(c)[c.length] != '\0')
                abort();
        }
        grid.EnsureLayout();
        grid.Scroller().OnScroll(grid.Geometry(), grid.Data(), in.Byte() & 1, in.Byte() % 10, in.Byte(), in.Byte() & 1);
        grid.Scroller().OnWheel(grid.Geometry(), grid.Data(), in.Byte() & 1, in.Number(), in.Byte() % 8);
        std::string hint;
        TsPixels cell;
        int32_t x = in.Number(), y = in.Number();
        grid.ViewMgr().HintAt(x, y, &hint, &cell);
        if (!grid.ViewMgr().CursorAt(x, y))
            abort();  // there is always a cursor
        uint32_t first = grid.View().FirstRow();
        if (grid.Data().RowCount() && first >= grid.Data().RowCount())
            abort();
        return;
    }
    if (choice >= 245) {
        grid.OnSize(in.Number(), in.Number());
        grid.HiliteStep();
        grid.TakeNotifications();
        grid.TakeUpdate();
        grid.Painted();
        return;
    }
    uint32_t message = TSM_FIRST + choice % (TSM_LAST - TSM_FIRST + 1);
    uint32_t d0 = in.Byte() | static_cast<uint32_t>(in.Byte()) << 8 | static_cast<uint32_t>(in.Byte()) << 16 |
                  static_cast<uint32_t>(in.Byte()) << 24;
    // Handles mostly in the range that means something.
    if (in.Byte() & 1)
        d0 = (d0 & 0xFFFFFF00u) | (8 + d0 % 32);
    Records records;
    ParamBlock block = {d0, Argument(in, records, message, d0)};
    grid.ClientMessage(message, &block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in(data, size);
    uint32_t rows = in.Byte() % 40, cols = in.Byte() % 9;
    Host host, otherHost;
    TsGrid grid(rows, cols, &host);
    TsGrid other(8, 3, &otherHost);
    host.other = &other;
    {
        ParamBlock b = {3, TS_APPEND};
        other.ClientMessage(TSM_INSERTCOLS, &b);
        b.d0 = 8;
        other.ClientMessage(TSM_INSERTROWS, &b);
    }
    for (int steps = 0; steps < 200 && !in.Done(); ++steps) {
        Step(in, grid);
        if (grid.Data().RowCount() > rows || grid.Data().ColCount() > cols)
            abort();
    }
    return 0;
}
