// A grid for the native view and property tests: its own plain display (so
// the resolution can change and references can be counted), the host's
// lines captured, and helpers to set and read properties as a client does.
#ifndef ZUB_GRID_TESTS_TSVIEWFIXTURE_H
#define ZUB_GRID_TESTS_TSVIEWFIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tsgriddriver.h"
#include "tshint.h"
#include "tsstyle.h"
#include "tsplaindisplay.h"
#include "tstesthost.h"
#include "tsvalue.h"

class TsPlainHost final : public TsWindowlessHost {
public:
    explicit TsPlainHost(TsPlainDisplay& display) : display_(display) {}
    TsDisplayService* Display() override { return &display_; }
    TsMetrics* Metrics() override { return &display_; }

private:
    TsPlainDisplay& display_;
};

class TsViewFixture : public ::testing::Test {
protected:
    // Plain metrics: Arial 10 points at 96 dots per inch is 13 pixels, a line
    // 15 pixels high, a character 7 pixels wide.
    void Make(uint32_t rows, uint32_t cols, int dpi = 96)
    {
        display_.reset(new TsPlainDisplay(dpi));
        host_.reset(new TsPlainHost(*display_));
        grid_.reset(new TsGrid(1024, 32, host_.get()));
        g_.reset(new TsGridDriver(*grid_));
        if (cols)
            g_->Release(g_->InsertCols(cols));
        if (rows)
            g_->Release(g_->InsertRows(rows));
        TsAliasDef font = {"Default", "Arial:10", nullptr};
        g_->Send(TSM_DEFINEALIAS, TS_ALIAS_FONT, &font);
    }
    void TearDown() override
    {
        g_.reset();
        grid_.reset();
        if (display_) {
            EXPECT_EQ(display_->Live(), 0) << "every display object was released";
        }
    }

    // Sets a property on a range (columns a..b, rows c..d; -1 through the last).
    void Set(int32_t left, int32_t top, int32_t right, int32_t bottom, PropertyId id, const char* text)
    {
        uint32_t h = g_->Range(left, top, right, bottom);
        g_->SetText(h, id, text);
        g_->Release(h);
    }
    void SetGrid(PropertyId id, const char* text) { g_->SetText(0, id, text); }
    std::vector<std::string> Get(int32_t left, int32_t top, int32_t right, int32_t bottom, PropertyId id)
    {
        uint32_t h = g_->Range(left, top, right, bottom);
        std::vector<std::string> out = g_->GetList(h, static_cast<PropertyId>((id & ~0x0F00u) | TS_PART_LIST << 8));
        g_->Release(h);
        return out;
    }
    std::string GetOne(int32_t col, int32_t row, PropertyId id)
    {
        std::vector<std::string> v = Get(col, row, col, row, id);
        return v.empty() ? "<none>" : v.front();
    }
    intptr_t Define(uint32_t kind, const char* name, const char* spec1, const char* spec2 = nullptr)
    {
        TsAliasDef def = {name, spec1, spec2};
        return g_->Send(TSM_DEFINEALIAS, kind, &def);
    }
    TsPixels Rect(uint32_t row, uint32_t col)
    {
        TsPixels px = {};
        grid_->Geometry().CellRect(grid_->Data(), row, col, &px);
        return px;
    }
    int Height(uint32_t row) { return Rect(row, 0).bottom - Rect(row, 0).top; }
    int Width(uint32_t col) { return Rect(0, col).right - Rect(0, col).left; }
    static std::vector<std::string>& Lines() { return TsTestHost::Diagnostics(); }

    TsTestHost testHost_;
    std::unique_ptr<TsPlainDisplay> display_;
    std::unique_ptr<TsPlainHost> host_;
    std::unique_ptr<TsGrid> grid_;
    std::unique_ptr<TsGridDriver> g_;
};

inline PropertyId CellItem(uint32_t item)
{
    return TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, item);
}
inline PropertyId ColItem(uint32_t item)
{
    return TS_PROP(TS_GROUP_COLS, TS_PART_STRING, item);
}
inline PropertyId RowItem(uint32_t item)
{
    return TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, item);
}
inline PropertyId GridItem(uint32_t item)
{
    return TS_PROP(TS_GROUP_GRID, TS_PART_STRING, item);
}

#endif
