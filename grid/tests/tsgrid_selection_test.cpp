// TSM_SELECTIONOP: allocation and release, set operations within a grid and
// through the other-grid modifier, the outline groups, the cell filter, and
// counting with value transfer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tsgriddriver.h"
#include "tstesthost.h"
#include "tsvalue.h"

namespace {

const PropertyId kCellValue = TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE);
const PropertyId kLevel = TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_LEVEL);

// A host whose "other grid" is a second grid object, as message 1226 would
// reach it, and whose own frame is 1.
class TwoGridHost final : public TsGridHost {
public:
    TsGrid* other = nullptr;
    intptr_t SendToFrame(uint32_t, ParamBlock*) override { return 0; }
    bool FillSlotFromGrid(uintptr_t window, uint32_t theirs, TsGrid* target, uint32_t into) override
    {
        if (window != 2 || !other)
            return false;
        other->CopySlotTo(theirs, target, into);
        return true;
    }
    uint32_t StartTimer(uint32_t) override { return 0; }
    void StopTimer(uint32_t) override {}
    uint32_t Now() override { return 0; }
    void ModeChanged(bool) override {}
    bool MapPixels(TsPixels*, int) override { return false; }
};

class TsGridSelections : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid_ = new TsGrid(100, 7, &host_);
        g_ = new TsGridDriver(*grid_);
        g_->Release(g_->InsertCols(7));
    }
    void TearDown() override
    {
        delete g_;
        delete grid_;
    }
    // A playlist: folder rows (level 0) each followed by its songs (level 1).
    void Playlist(std::vector<int> songsPerFolder)
    {
        for (int songs : songsPerFolder) {
            uint32_t folder = g_->InsertRows(1);
            g_->SetNumber(folder, kLevel, 0);
            g_->Release(folder);
            if (songs == 0)
                continue;
            uint32_t s = g_->InsertRows(static_cast<uint32_t>(songs));
            g_->SetNumber(s, kLevel, 1);
            g_->Release(s);
        }
    }
    std::vector<int> Rows(uint32_t h)
    {
        std::vector<int> out;
        grid_->Data().ForEachRow(grid_->Data().SelectionOrEmpty(h), [&out](uint32_t r) { out.push_back(static_cast<int>(r)); });
        return out;
    }
    TsTestHost testHost_;
    TwoGridHost host_;
    TsGrid* grid_ = nullptr;
    TsGridDriver* g_ = nullptr;
};

TEST_F(TsGridSelections, DuplicateAndReleaseCountReferences)
{
    g_->Release(g_->InsertRows(3));
    uint32_t a = g_->Row(1);
    uint32_t b = static_cast<uint32_t>(g_->Op(TS_SEL_DUPLICATE, a));
    EXPECT_NE(b, a);
    EXPECT_EQ(Rows(b), std::vector<int>{1});
    EXPECT_EQ(g_->Op(TS_SEL_RELEASE, a), a);
    EXPECT_EQ(Rows(a), std::vector<int>{}) << "a released slot reads empty";
    EXPECT_EQ(Rows(b), std::vector<int>{1});
    EXPECT_EQ(g_->Op(TS_SEL_NEW, 0), a) << "the lowest free slot again";
    g_->Op(TS_SEL_RELEASE, 0);
    g_->Op(TS_SEL_RELEASE, 3);
    EXPECT_EQ(grid_->Data().SelectionRefs(3), 1) << "the grid's slots cannot be released by a client";
}

TEST_F(TsGridSelections, WholeGridAndComplement)
{
    g_->Release(g_->InsertRows(4));
    uint32_t h = g_->Row(2);
    g_->Op(TS_SEL_COMPLEMENT, h);
    EXPECT_EQ(Rows(h), (std::vector<int>{0, 1, 3}));
    g_->Op(TS_SEL_ALL, h);
    EXPECT_EQ(Rows(h), (std::vector<int>{0, 1, 2, 3}));
    uint32_t more = g_->InsertRows(2);
    EXPECT_EQ(Rows(h).size(), 6u) << "the whole grid stays whole";
    g_->Release(more);
}

TEST_F(TsGridSelections, PlayerSetOperationsWithTheOtherGridModifier)
{
    g_->Release(g_->InsertRows(6));
    uint32_t a = g_->Range(0, 0, -1, 2);
    uint32_t b = g_->Range(0, 2, -1, 4);
    const uintptr_t ownFrame = 1;
    // 262 union, 263 intersection, 264 difference: modifier 0x01 with this grid's frame.
    EXPECT_EQ(g_->Op(0x106, a, b, ownFrame), a);
    EXPECT_EQ(Rows(a), (std::vector<int>{0, 1, 2, 3, 4}));
    g_->Op(0x107, a, b, ownFrame);
    EXPECT_EQ(Rows(a), (std::vector<int>{2, 3, 4}));
    g_->Op(0x108, a, b, ownFrame);
    EXPECT_EQ(Rows(a), std::vector<int>{});
    g_->Op(TS_SEL_UNION, a, b);
    g_->Op(TS_SEL_MINUS, a, a);
    EXPECT_TRUE(Rows(a).empty()) << "minus itself is empty";
    g_->Op(TS_SEL_UNION, a, b);
    EXPECT_EQ(Rows(a), (std::vector<int>{2, 3, 4})) << "an empty selection becomes the other";
    g_->Op(TS_SEL_XOR, a, b);
    EXPECT_TRUE(Rows(a).empty());
    uint32_t c = g_->Row(1);
    g_->Op(TS_SEL_COPY, a, c);
    EXPECT_EQ(Rows(a), std::vector<int>{1});
    g_->Op(TS_SEL_CLIP, b, c);
    EXPECT_TRUE(Rows(b).empty()) << "clipped by a rectangle it does not meet";
    // Target byte 0: a new selection starting from the current selection (slot 0).
    uint32_t cur = g_->Range(0, 5, -1, 5);
    g_->Send(TSM_SETFOCUSSEL, cur, 1);
    uint32_t made = static_cast<uint32_t>(g_->Op(TS_SEL_UNION, 0, c));
    EXPECT_GE(made, 8u);
    EXPECT_EQ(Rows(made), (std::vector<int>{1, 5}));
}

TEST_F(TsGridSelections, SelectionsOfAnotherGridArriveThroughANewSlot)
{
    TsGrid other(20, 2, nullptr);
    TsGridDriver o(other);
    o.Release(o.InsertCols(7));
    o.Release(o.InsertRows(10));
    uint32_t theirs = o.Range(0, 7, -1, 8);
    host_.other = &other;
    g_->Release(g_->InsertRows(10));
    uint32_t mine = g_->Row(0);
    uint32_t next = static_cast<uint32_t>(g_->Op(TS_SEL_NEW, 0));
    g_->Release(next);
    g_->Op(0x106, mine, theirs, 2);
    EXPECT_EQ(Rows(mine), (std::vector<int>{0, 7, 8}));
    EXPECT_EQ(g_->Op(TS_SEL_NEW, 0), next) << "the temporary slot was given back";
}

TEST_F(TsGridSelections, SongRowsOfFoldersAndFolderRowsOfSongs)
{
    Playlist({2, 0, 3});  // rows: F0 s s F3 F4 s s s
    uint32_t h = g_->Row(0);
    g_->Op(13, h, h);
    EXPECT_EQ(Rows(h), (std::vector<int>{1, 2})) << "operation 13: the songs of the folder";
    g_->Range(0, 3, -1, 4, h);
    g_->Op(13, h, h);
    EXPECT_EQ(Rows(h), (std::vector<int>{5, 6, 7})) << "an empty folder adds nothing";
    g_->Row(6, h);
    g_->Op(35, h, h);
    EXPECT_EQ(Rows(h), std::vector<int>{4}) << "operation 35: the folder of a song";
    g_->Range(0, 4, -1, 6, h);
    g_->Op(35, h, h);
    EXPECT_EQ(Rows(h), std::vector<int>{4}) << "a folder heading a covered run is added itself";
    g_->Row(3, h);
    g_->Op(35, h, h);
    EXPECT_TRUE(Rows(h).empty()) << "a single folder row alone has no folder above it";
    g_->Row(3, h);
    g_->Op(13, h, h);
    EXPECT_TRUE(Rows(h).empty()) << "covering no folder with songs gives empty";
}

TEST_F(TsGridSelections, OutlineCollapsesAndExpandsGroupsWithIcons)
{
    Playlist({2, 3});
    g_->Send(TSM_SETCOLMARK, g_->Range(3, 0, 3, -1), 1);
    ITsVListMgr* m = TsVListManager();
    Vlist* icons = m->Create(48);
    m->Grow(icons, 6);
    m->ParseValue(m->Entry(icons, 0), "Default");  // level 0, expanded
    m->ParseValue(m->Entry(icons, 1), "Folder");   // level 0, collapsed
    TsAliasDef folder{"Folder", "IDI_FOLDER(20,20)", nullptr};
    uint32_t folderIcon = static_cast<uint32_t>(g_->Send(TSM_DEFINEALIAS, TS_ALIAS_ICON, &folder));
    ASSERT_NE(folderIcon, 0u);
    uint32_t all = g_->Range(0, 0, -1, -1);
    g_->Send(TSM_OUTLINE, all | 1u << 16, icons);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTSHOWNROWS, all), 2) << "only the folders show";
    EXPECT_EQ(g_->Query(TSQ_ICON, 0, 0, 3).text, "Folder");
    g_->Send(TSM_OUTLINE, all | 1u << 16 | 1u << 24, icons);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTSHOWNROWS, all), 7);
    EXPECT_EQ(g_->Query(TSQ_ICON, 0, 0, 3).text, "Default");
    m->Destroy(icons);
}

TEST_F(TsGridSelections, FilterFindsCellsByValueAndRowsByCriteria)
{
    g_->Release(g_->InsertRows(5));
    const char* paths[] = {"C:\\A", "C:\\A\\x.mid", "C:\\B", "C:\\B\\y.mid", "C:\\B\\z.kar"};
    for (int r = 0; r < 5; ++r)
        g_->SetCell(r, 0, paths[r]);
    uint32_t col0 = g_->Range(0, 0, 0, -1);
    // The player's find: operation 0x413, flags 64 (criterion 3), the text itself.
    TsCellFilter find = {64, reinterpret_cast<uintptr_t>("C:\\B"), 0, 0, 0, 0};
    uint32_t found = static_cast<uint32_t>(g_->Op(0x413, 0, col0, reinterpret_cast<uintptr_t>(&find)));
    EXPECT_EQ(Rows(found), std::vector<int>{2});
    EXPECT_EQ(g_->Geometry(found, TS_ITEM_LASTCOLSEL), 6) << "the row-wise form gives whole rows";
    // Criterion 4 with a pattern, not negated and negated.
    TsCellFilter pattern = {1u << 8, reinterpret_cast<uintptr_t>("C:\\\\B\\\\"), 0, 0, 0, 0};
    g_->Op(0x412, found, col0, reinterpret_cast<uintptr_t>(&pattern));
    EXPECT_EQ(Rows(found), (std::vector<int>{3, 4}));
    pattern.criteria = 1u << 9;
    g_->Op(0x412, found, col0, reinterpret_cast<uintptr_t>(&pattern));
    EXPECT_EQ(Rows(found), (std::vector<int>{0, 1, 2}));
    // The player's mask: hidden (0), in slot 1 (2), marked column (6), cell flags (9); any of them.
    uint32_t row4 = g_->Row(4);
    g_->Send(TSM_HIDEROWS, row4, 1);
    TsCellFilter hidden = {1u << 31 | 1u, 0, 0, 0, 0, 0};  // any: hidden
    g_->Op(TS_SEL_FILTER, found, col0, reinterpret_cast<uintptr_t>(&hidden));
    EXPECT_EQ(Rows(found), std::vector<int>{4});
    TsCellFilter none = {1u << 31, 0, 0, 0, 0, 0};
    g_->Op(TS_SEL_FILTER, found, col0, reinterpret_cast<uintptr_t>(&none));
    EXPECT_EQ(Rows(found), std::vector<int>{4}) << "no criterion bits: the target stays";
    // Values from a list, and both a criterion and its negation with "all": nothing.
    ITsVListMgr* m = TsVListManager();
    Vlist* list = m->Create(2);
    m->Grow(list, 2);
    m->ParseValue(m->Entry(list, 0), "C:\\A");
    m->ParseValue(m->Entry(list, 1), "C:\\B\\y.mid");
    TsCellFilter inList = {1u << 6, reinterpret_cast<uintptr_t>(list), 0, 0, 0, 0};
    g_->Op(TS_SEL_FILTER, found, col0, reinterpret_cast<uintptr_t>(&inList));
    EXPECT_EQ(Rows(found), (std::vector<int>{0, 3}));
    inList.criteria = 3u << 6;
    g_->Op(TS_SEL_FILTER, found, col0, reinterpret_cast<uintptr_t>(&inList));
    EXPECT_TRUE(Rows(found).empty());
    m->Destroy(list);
}

TEST_F(TsGridSelections, FilterOnLevelsMarksAndCellFlags)
{
    Playlist({1, 1});  // F s F s
    uint32_t all = g_->Range(0, 0, -1, -1);
    TsCellFilter songs = {1u << 10, 0, 0, 1, 16, 0};  // low attribute in [1, 16)
    uint32_t h = static_cast<uint32_t>(g_->Op(TS_SEL_FILTERROWS, 0, all, reinterpret_cast<uintptr_t>(&songs)));
    EXPECT_EQ(Rows(h), (std::vector<int>{1, 3}));
    g_->Send(TSM_CELLOPERATION, g_->Cell(2, 5), 0x00020006);  // flag bits 1-2 := 0b10
    EXPECT_EQ(g_->Send(TSM_CELLTEST, 0, 5u | 2u << 16), 2);
    TsCellFilter flagged = {1u << 18, 0, 0, 0, 0, 0};
    g_->Op(TS_SEL_FILTER, h, all, reinterpret_cast<uintptr_t>(&flagged));
    EXPECT_EQ(Rows(h), std::vector<int>{2});
    EXPECT_EQ(g_->Geometry(h, TS_ITEM_FIRSTCOLSEL), 5);
    g_->Send(TSM_SETCOLMARK, g_->Range(3, 0, 3, -1), 1);
    TsCellFilter marked = {1u << 12, 0, 0, 0, 0, 0};
    g_->Op(TS_SEL_FILTER, h, all, reinterpret_cast<uintptr_t>(&marked));
    EXPECT_EQ(g_->Op(TS_SEL_COUNTCELLS, h), 4) << "the four cells of the marked column";
}

TEST_F(TsGridSelections, CountsAndTransfers)
{
    Playlist({2, 1});  // F s s F s
    uint32_t all = g_->Range(0, 0, -1, -1);
    g_->SetCell(1, 3, "x");
    g_->Send(TSM_HIDEROWS, g_->Row(2), 1);
    TsCountRequest rows = {0, nullptr};
    EXPECT_EQ(g_->Op(0x416, all, 0, reinterpret_cast<uintptr_t>(&rows)), 5) << "flags 0: every covered row";
    rows.flags = 1;
    EXPECT_EQ(g_->Op(0x416, all, 0, reinterpret_cast<uintptr_t>(&rows)), 5) << "flags 1: hidden ones too";
    rows.flags = 2;
    EXPECT_EQ(g_->Op(0x416, all, 0, reinterpret_cast<uintptr_t>(&rows)), 4) << "flags 2: only those shown";
    EXPECT_EQ(g_->Op(TS_SEL_COUNTROWS, all), 5) << "null: a plain count";
    EXPECT_EQ(g_->Op(TS_SEL_COUNTCELLS, all), 35);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTCOLS, all), 7);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTFILLED, all), 1);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTEMPTY, all), 34);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTHIDDENROWS, all), 1);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTHEADS, all), 2);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTTOPLEVEL, all), 2);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTRECTS, all), 1);
    ITsVListMgr* m = TsVListManager();
    Vlist* out = m->Create(10);
    TsCountRequest transfer = {TS_COUNT_SHOWN | TS_COUNT_TRANSFER, out};
    uint32_t col3 = g_->Range(3, 0, 3, -1);
    EXPECT_EQ(g_->Op(TS_SEL_COUNTCELLS, col3, 0, reinterpret_cast<uintptr_t>(&transfer)), 4);
    ASSERT_EQ(m->Size(out), 4);
    EXPECT_STREQ(m->Text(m->Entry(out, 1)), "x");
    m->Destroy(out);
}

TEST_F(TsGridSelections, FocusCurrentAndViewSelections)
{
    g_->Release(g_->InsertRows(30));
    uint32_t block = g_->Range(1, 4, 2, 6);
    g_->Send(TSM_SETSTYLE, 1, 0xFFFFF);
    grid_->TakeNotifications();
    g_->Send(TSM_SETFOCUSSEL, block, 0);
    EXPECT_EQ(grid_->TakeNotifications(), std::vector<uint32_t>{TSN_SELCHANGE});
    g_->Send(TSM_SETFOCUSSEL, block, 0);
    EXPECT_TRUE(grid_->TakeNotifications().empty()) << "no change, no notification";
    uint32_t current = static_cast<uint32_t>(g_->Op(11, 0));
    EXPECT_EQ(Rows(current), (std::vector<int>{4, 5, 6}));
    uint32_t focus = static_cast<uint32_t>(g_->Op(12, 0));
    EXPECT_EQ(Rows(focus), std::vector<int>{4});
    EXPECT_EQ(g_->Geometry(focus, TS_ITEM_FIRSTCOLSEL), 1);
    EXPECT_EQ(g_->Send(TSM_FOCUSQUERY, 0), 1 | 4 << 16);
    uint32_t row = static_cast<uint32_t>(g_->Op(TS_SEL_FOCUSROW, 0));
    EXPECT_EQ(g_->Geometry(row, TS_ITEM_LASTCOLSEL), 6);
    g_->SetText(g_->Range(0, 0, -1, -1), TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[20]");
    grid_->OnSize(300, 100);  // 5 rows of 20 pixels
    uint32_t seen = static_cast<uint32_t>(g_->Op(0x60E, 0));
    EXPECT_EQ(Rows(seen), (std::vector<int>{0, 1, 2, 3, 4})) << "the visible rows";
    EXPECT_EQ(g_->Send(TSM_SCROLLTOSEL, g_->Row(20) | (3u << 2) << 16), 1);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_FIRSTROW)), 20) << "aligned on the first";
    g_->Send(TSM_SCROLLTOSEL, g_->Row(2) | (2u << 2) << 16);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_FIRSTROW)), 0) << "on the last: row 2 ends the view";
    g_->Send(TSM_SCROLLTOSEL, g_->Row(12) | (2u << 2) << 16);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_FIRSTROW)), 8);
}

}  // namespace
