// Drives a portable grid as a client program does: every operation is a
// message with a ParamBlock, lists come from the value-list manager.
#ifndef ZUB_GRID_TESTS_TSGRIDDRIVER_H
#define ZUB_GRID_TESTS_TSGRIDDRIVER_H

#include <stdint.h>

#include <string>
#include <vector>

#include "ts.h"
#include "tsgrid.h"
#include "tsvlistmgr_impl.h"

class TsGridDriver {
public:
    explicit TsGridDriver(TsGrid& grid) : grid_(grid) {}

    intptr_t Send(uint32_t message, uint32_t d0, uintptr_t d1 = 0)
    {
        ParamBlock b{d0, d1};
        return grid_.ClientMessage(message, &b);
    }
    template <class T>
    intptr_t Send(uint32_t message, uint32_t d0, T* record)
    {
        return Send(message, d0, reinterpret_cast<uintptr_t>(record));
    }

    uint32_t InsertRows(uint32_t count, int32_t position = TS_APPEND)
    {
        return static_cast<uint32_t>(Send(TSM_INSERTROWS, count, static_cast<uint32_t>(position)));
    }
    uint32_t InsertCols(uint32_t count, int32_t position = TS_APPEND)
    {
        return static_cast<uint32_t>(Send(TSM_INSERTCOLS, count, static_cast<uint32_t>(position)));
    }
    uint32_t Range(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t handle = 0)
    {
        TsSelRect r{left, top, right, bottom};
        return static_cast<uint32_t>(Send(TSM_SETSELRANGE, handle, &r));
    }
    uint32_t Row(int32_t row, uint32_t handle = 0) { return Range(0, row, -1, row, handle); }
    uint32_t Cell(int32_t row, int32_t col) { return Range(col, row, col, row); }
    intptr_t Op(uint32_t op, uint32_t target, uint32_t operand = 0, uintptr_t d1 = 0)
    {
        return Send(TSM_SELECTIONOP, target | operand << 8 | op << 16, d1);
    }
    void Release(uint32_t handle) { Op(TS_SEL_RELEASE, handle); }

    intptr_t SetText(uint32_t handle, PropertyId id, const char* text)
    {
        return Send(TSM_SETPROP, handle | static_cast<uint32_t>(id) << 16, text);
    }
    intptr_t SetNumber(uint32_t handle, PropertyId id, int32_t n)
    {
        return Send(TSM_SETPROP, handle | static_cast<uint32_t>(id) << 16, static_cast<uintptr_t>(static_cast<uint32_t>(n)));
    }
    int32_t GetNumber(uint32_t handle, PropertyId id, intptr_t* result = nullptr)
    {
        int32_t n = -12345;
        intptr_t r = Send(TSM_GETPROP, handle | static_cast<uint32_t>(id) << 16, &n);
        if (result)
            *result = r;
        return n;
    }
    // Values read into a list, as texts (numbers in decimal).
    std::vector<std::string> GetList(uint32_t handle, PropertyId id, int capacity = 64)
    {
        ITsVListMgr* m = TsVListManager();
        Vlist* list = m->Create(capacity);
        Send(TSM_GETPROP, handle | static_cast<uint32_t>(id) << 16, list);
        std::vector<std::string> out;
        for (int i = 0; i < m->Size(list); ++i) {
            TsValue** e = m->Entry(list, i);
            out.push_back(TsValueIsNumber(*e) ? std::to_string(m->Number(e)) : m->Text(e));
        }
        m->Destroy(list);
        return out;
    }
    void SetCell(int32_t row, int32_t col, const char* text)
    {
        uint32_t h = Cell(row, col);
        SetText(h, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE), text);
        Release(h);
    }
    std::string CellText(int32_t row, int32_t col) { return Query(TSQ_CELLTEXT, 0, row, col).text; }
    // Every row the height and every column the width given, in pixels,
    // whatever the fonts measure.
    void FixSizes(int32_t rowHeight, int32_t colWidth)
    {
        std::string rows = "[" + std::to_string(rowHeight) + "]", cols = "[" + std::to_string(colWidth) + "]";
        uint32_t all = Range(0, 0, -1, -1);
        SetText(all, TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE), rows.c_str());
        SetText(all, TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE), cols.c_str());
        Release(all);
    }
    int32_t Geometry(uint32_t handle, uint32_t item)
    {
        return GetNumber(handle, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, item));
    }
    uint32_t RowCount() { return static_cast<uint32_t>(GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWCOUNT))); }

    struct Answer {
        std::string line;
        std::string text;
        intptr_t result;
    };
    Answer Query(uint32_t command, uint32_t argument = 0, uint32_t v1 = 0, uint32_t v2 = 0, uint32_t v3 = 0,
                 uint32_t v4 = 0)
    {
        std::string ask = std::to_string(command) + ":" + std::to_string(argument) + "," + std::to_string(v1) + "," +
                          std::to_string(v2) + "," + std::to_string(v3) + "," + std::to_string(v4) + ":";
        grid_.SetQueryText(ask.c_str());
        char buffer[400] = "";
        Answer a;
        a.result = grid_.GetQueryText(buffer, sizeof buffer);
        a.line = buffer;
        size_t colon = a.line.find(':', a.line.find(':') + 1);
        a.text = colon == std::string::npos ? "" : a.line.substr(colon + 1);
        return a;
    }

private:
    TsGrid& grid_;
};

#endif
