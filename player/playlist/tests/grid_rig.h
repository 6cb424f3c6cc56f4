// The playlist's grid in native tests: the grid's own message handlers
// (TsGrid) behind a GridPort, with the value-list manager of the grid
// library, and a small stand-in for the property layer's cell icons,
// colours and hints, which the core leaves to that layer.
#ifndef ZUB_PLAYLIST_TESTS_GRID_RIG_H
#define ZUB_PLAYLIST_TESTS_GRID_RIG_H

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "playlist_grid.h"
#include "tsgrid.h"
#include "tspropvalues.h"
#include "tstesthost.h"
#include "tsvalue.h"
#include "tsvlistmgr_impl.h"

namespace pltest {

// Cell icons, text colours and hints by row and column id; every other
// property item the playlist sets is taken and forgotten.
class CellPropsStandIn : public TsPropertyLayer {
public:
    bool SetItem(TsGrid& grid, const TsPropRequest& r, TsValueSource& values, intptr_t* result) override
    {
        *result = 1;
        if (r.group != TS_GROUP_CELLS || !Kept(r.item))
            return true;
        bool more = true;
        TsDataMgr& d = grid.Data();
        d.ForEachCell(*r.targets, [&](uint32_t row, uint32_t col) {
            TsValue* v = more ? values.Next() : nullptr;
            if (!v) {
                more = false;
                return;
            }
            if (TsValueType(v) == TS_VALUE_NOOP)
                return;
            const Key key{r.item, {d.RowId(row), d.ColId(col)}};
            if (TsValueType(v) >= TS_VALUE_MARKER || v->length == 0)
                cells_.erase(key);
            else
                cells_[key] = TsValueText(v);
        });
        return true;
    }
    bool GetItem(TsGrid& grid, const TsPropRequest& r, TsValueSink& out, intptr_t* result) override
    {
        if (r.group != TS_GROUP_CELLS || !Kept(r.item))
            return false;
        TsDataMgr& d = grid.Data();
        d.ForEachCell(*r.targets, [&](uint32_t row, uint32_t col) {
            if (out.Full())
                return;
            auto it = cells_.find(Key{r.item, {d.RowId(row), d.ColId(col)}});
            TsValue* v = TsMakeText(it == cells_.end() ? "" : it->second.c_str(),
                                    it == cells_.end() ? 0 : static_cast<int>(it->second.size()));
            out.Put(v);
            TsValueRelease(v);
        });
        *result = out.Result();
        return true;
    }
    // TSM_CLEARCELLS with the icon bit: the grid core clears its own
    // records, this clears the stand-in's.
    void ClearIcons(TsGrid& grid, const TsRectSet& cells)
    {
        TsDataMgr& d = grid.Data();
        d.ForEachCell(cells, [&](uint32_t row, uint32_t col) {
            cells_.erase(Key{playlist::prop::kCellIcon, {d.RowId(row), d.ColId(col)}});
        });
    }

private:
    static bool Kept(uint32_t item)
    {
        return item == playlist::prop::kCellIcon || item == playlist::prop::kCellTextColour ||
               item == playlist::prop::kCellHint;
    }
    typedef std::pair<uint32_t, std::pair<uint32_t, uint32_t>> Key;
    std::map<Key, std::string> cells_;
};

// A grid of the playlist's size behind a port, with the notifications it
// raised kept in order.
class NativeGrid : public playlist::GridPort, private TsWindowlessHost {
public:
    explicit NativeGrid(uint32_t maxRows = 8192) : grid_(maxRows, 7, this)
    {
        grid_.AddPropertyLayer(&props_);
        grid_.OnSize(600, 400);
    }

    intptr_t Send(uint32_t message, ParamBlock* block) override
    {
        ++messages;
        if (message == TSM_CLEARCELLS && (block->d1 & TS_CELL_ICON))
            props_.ClearIcons(grid_, grid_.Data().SelectionOrEmpty(block->d0 & TS_HANDLE_MASK));
        const intptr_t result = grid_.ClientMessage(message, block);
        Deliver();
        return result;
    }
    intptr_t SendFrame(uint32_t message, ParamBlock* block) override
    {
        frameMessages.push_back(message);
        (void)block;
        return 0;
    }
    uintptr_t FrameHandle() const override { return 0; }

    TsGrid& Core() { return grid_; }
    // Client selection slots in use (the grid's own are 0-7).
    int HeldSelections()
    {
        int held = 0;
        for (uint32_t h = TS_RESERVED_SLOTS; h < TS_SELECTION_SLOTS; ++h)
            held += grid_.Data().SelectionRefs(h);
        return held;
    }

    // The grid's pending notifications to the parent, as a window gets them
    // after each message or when the grid needs the answer at once.
    void Deliver()
    {
        for (uint32_t code : grid_.TakeNotifications()) {
            notifications.push_back(code);
            if (onNotify)
                onNotify(code);
        }
    }

    int messages = 0;
    std::vector<uint32_t> notifications;
    std::function<void(uint32_t)> onNotify;
    std::vector<uint32_t> frameMessages;

private:
    intptr_t SendToFrame(uint32_t, ParamBlock*) override { return 1; }
    void FlushNotifications() override { Deliver(); }

    TsTestHost host_;
    TsGrid grid_;
    CellPropsStandIn props_;
};

}  // namespace pltest

#endif
