// The view layer natively, with the plain display's arithmetic metrics
// (Arial 10 points: 13 pixels, a line of 15, characters of 7): layout from
// templates, what a paint plans (colours, icons, indents, rules, what meets
// the area), the scroll bars' model and steps, the wheel, hints and cursors.
#include "tspaintplan.h"
#include "tsviewfixture.h"

namespace {

class TsView : public TsViewFixture {
protected:
    const TsPaintCell* Planned(const TsPaintPlan& plan, uint32_t row, uint32_t col)
    {
        for (const TsPaintCell& c : plan.cells) {
            if (c.row == row && c.col == col)
                return &c;
        }
        return nullptr;
    }
    TsPaintPlan Plan(TsPixels area = TsPixels{0, 0, 10000, 10000}, bool focus = false)
    {
        TsPaintPlan plan;
        TsPlanPaint(*grid_, area, focus, &plan);
        return plan;
    }
    uint32_t Colour(const char* spec)
    {
        QfGraphic* c = display_->GetColor(spec);
        uint32_t v = static_cast<uint32_t>(c->value);
        display_->Release(c);
        return v;
    }
    void Focus(int32_t col, int32_t row)
    {
        uint32_t h = g_->Cell(row, col);
        g_->Send(TSM_SETFOCUSSEL, h, 0);
        g_->Release(h);
    }
};

}  // namespace

TEST_F(TsView, TheDefaultTemplateIsALineHighAndSixCharactersWide)
{
    Make(3, 2);
    grid_->OnSize(500, 300);
    EXPECT_EQ(Height(0), 15 + 2) << "a line and a pixel above and below";
    EXPECT_EQ(Width(0), 6 * 7 + 2 * 2) << "six M and the margins";
    Define(TS_ALIAS_FONT, "Big", "Arial:20");
    Set(1, 1, 1, 1, CellItem(TS_ITEM_FONT), "Big");
    EXPECT_EQ(Height(1), 26 * 6 / 5 + 2) << "a row holds its tallest font";
    EXPECT_EQ(Height(2), 17);
    Define(TS_ALIAS_ICON, "Folder", "IDI_FOLDER(20,20)");
    Set(0, 2, 0, 2, CellItem(TS_ITEM_ICON), "Folder");
    EXPECT_EQ(Height(0), 22) << "and every row the tallest icon of its columns";
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWRULE), TS_RULE_SUNKEN);
    EXPECT_EQ(Height(0), 24) << "and its rule";
    EXPECT_EQ(g_->Send(TSM_GETROWSHEIGHT, g_->Range(0, 0, -1, 1)), 24 + Height(1)) << "the message sums the same";
}

TEST_F(TsView, AbsolutePercentPointsAndWeightsShareTheClientArea)
{
    Make(4, 5, 144);
    grid_->OnSize(400, 300);
    Set(0, 0, 0, -1, ColItem(TS_ITEM_TEMPLATE), "[50]");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_TEMPLATE), "[12.5%]");
    Set(2, 0, 2, -1, ColItem(TS_ITEM_TEMPLATE), "[0]:[1R]");
    Set(3, 0, 3, -1, ColItem(TS_ITEM_TEMPLATE), "[0]:[2R]");
    Set(4, 0, 4, -1, ColItem(TS_ITEM_TEMPLATE), "[30]");
    Set(0, 0, -1, 0, RowItem(TS_ITEM_TEMPLATE), "[10p]");
    Set(0, 1, -1, 1, RowItem(TS_ITEM_TEMPLATE), "[20+3p]");
    EXPECT_EQ(Width(0), 50);
    EXPECT_EQ(Width(1), 50);
    EXPECT_EQ(Width(2), 90) << "(400 - 130) / 3";
    EXPECT_EQ(Width(3), 180);
    EXPECT_EQ(Height(0), 20) << "ten points at 144 dots per inch";
    EXPECT_EQ(Height(1), 26);
    // Hidden columns give their share to the others.
    g_->Send(TSM_HIDECOLS, g_->Range(4, 0, 4, -1), 1);
    EXPECT_EQ(Width(4), 0);
    EXPECT_EQ(Width(2), 100);
    EXPECT_EQ(Width(3), 200);
}

TEST_F(TsView, BColumnsFitTheirWidestContentWithinTheirMaximum)
{
    Make(3, 2);
    grid_->OnSize(1000, 300);
    Set(0, 0, -1, -1, ColItem(TS_ITEM_TEMPLATE), "[B]");
    g_->SetCell(1, 0, "1234567890");
    EXPECT_EQ(Width(0), 70 + 4);
    g_->SetCell(2, 0, "123456789012345");
    EXPECT_EQ(Width(0), 105 + 4) << "a longer text widens it";
    Define(TS_ALIAS_ICON, "Folder", "IDI_FOLDER(20,20)");
    Set(0, 2, 0, 2, CellItem(TS_ITEM_ICON), "Folder");
    EXPECT_EQ(Width(0), 20 + 4 + 105 + 4) << "icon, gap, text, margins";
    Set(0, 0, 0, -1, ColItem(TS_ITEM_MAXWIDTH), "60");
    EXPECT_EQ(Width(0), 60);
    EXPECT_EQ(Width(1), 4) << "an empty column is its margins";
}

TEST_F(TsView, ColoursLayerFromTheFocusCellDownToTheDefault)
{
    Make(3, 3);
    grid_->OnSize(300, 200);
    Define(TS_ALIAS_COLORPAIR, "Default", "Bright Gray", "Black");
    Define(TS_ALIAS_COLORPAIR, "CurrentFocusRow", "Pale Yellow");
    Define(TS_ALIAS_COLORPAIR, "CurrentFocus", nullptr, "White");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_TEXTCOLOR), "Dark Blue");
    Set(2, 2, 2, 2, CellItem(TS_ITEM_BACK), "Transparent");
    SetGrid(GridItem(TS_ITEM_BACKGROUND), "RGB(208,208,208)");
    Focus(0, 1);
    TsPaintPlan plan = Plan();
    EXPECT_EQ(plan.cells.size(), 9u);
    EXPECT_EQ(Planned(plan, 0, 0)->back, Colour("Bright Gray"));
    EXPECT_EQ(Planned(plan, 0, 1)->fore, Colour("Dark Blue")) << "the column's text colour";
    EXPECT_EQ(Planned(plan, 0, 1)->back, Colour("Bright Gray")) << "and the default's background";
    EXPECT_EQ(Planned(plan, 1, 2)->back, Colour("Pale Yellow")) << "the focus row";
    EXPECT_EQ(Planned(plan, 1, 2)->fore, Colour("Black")) << "which leaves the text";
    EXPECT_EQ(Planned(plan, 1, 1)->fore, Colour("Dark Blue"));
    // The focus cell is selected too: its own "CurrentFocus" text over the
    // selection's background.
    EXPECT_EQ(Planned(plan, 1, 0)->fore, Colour("White"));
    EXPECT_EQ(Planned(plan, 1, 0)->back, Colour("Color_Highlight"));
    EXPECT_EQ(Planned(plan, 2, 2)->back, Colour("RGB(208,208,208)")) << "transparent shows the grid's background";
    EXPECT_FALSE(Planned(plan, 1, 0)->focusRect) << "only while the grid has the keyboard";
    EXPECT_TRUE(Planned(Plan(TsPixels{0, 0, 300, 200}, true), 1, 0)->focusRect);
}

TEST_F(TsView, PlansHideWhatIsHiddenIndentTheOutlineAndRuleTheLines)
{
    Make(4, 3);
    grid_->OnSize(400, 200);
    Define(TS_ALIAS_ICON, "Folder", "IDI_FOLDER(20,20)");
    g_->SetNumber(g_->Range(0, 1, -1, 3), TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_LEVEL), 1);
    Set(1, 0, 1, 0, CellItem(TS_ITEM_ICON), "Folder");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_INDENT), "1");
    g_->SetCell(0, 1, "Disk");
    g_->SetCell(1, 1, "Song");
    g_->Send(TSM_HIDECOLS, g_->Range(0, 0, 0, -1), 1);
    g_->Send(TSM_HIDEROWS, g_->Range(0, 2, -1, 2), 1);
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWRULE), TS_RULE_SOLID);
    TsPaintPlan plan = Plan();
    EXPECT_EQ(Planned(plan, 0, 0), nullptr) << "a hidden column";
    EXPECT_EQ(Planned(plan, 2, 1), nullptr) << "a hidden row";
    const TsPaintCell* disk = Planned(plan, 0, 1);
    const TsPaintCell* song = Planned(plan, 1, 1);
    ASSERT_TRUE(disk && song);
    EXPECT_EQ(disk->place.icon.left, 2);
    EXPECT_EQ(disk->place.textX, 2 + 20 + 4);
    EXPECT_EQ(song->place.textX, disk->place.textX) << "a song's name lines up with its folder's";
    EXPECT_STREQ(plan.Text(*song), "Song");
    ASSERT_EQ(plan.rules.size(), 3u) << "one rule under each shown row";
    EXPECT_EQ(plan.rules[0].rect.bottom, disk->cell.bottom);
    EXPECT_EQ(plan.rules[0].rect.top, disk->cell.bottom - 1);
    EXPECT_FALSE(plan.bare.empty()) << "below the last row";
    // A strip plans only the cells it meets.
    TsPaintPlan strip = Plan(TsPixels{0, song->cell.top, 400, song->cell.top + 1});
    ASSERT_EQ(strip.cells.size(), 2u);
    EXPECT_EQ(strip.cells[0].row, 1u);
}

TEST_F(TsView, HintsAreACellsOwnOrTheWholeTextOfACutOffCell)
{
    Make(2, 2);
    grid_->OnSize(400, 200);
    Set(0, 0, -1, -1, ColItem(TS_ITEM_TEMPLATE), "[50]");
    g_->SetCell(0, 0, "short");
    g_->SetCell(1, 0, "a text far longer than fifty pixels");
    Set(1, 0, 1, 0, CellItem(TS_ITEM_HINT), "my own hint");
    std::string text;
    TsPixels cell;
    EXPECT_FALSE(grid_->ViewMgr().HintAt(10, 5, &text, &cell));
    ASSERT_TRUE(grid_->ViewMgr().HintAt(10, Rect(1, 0).top + 2, &text, &cell));
    EXPECT_EQ(text, "a text far longer than fifty pixels");
    ASSERT_TRUE(grid_->ViewMgr().HintAt(60, 5, &text, &cell));
    EXPECT_EQ(text, "my own hint");
    EXPECT_EQ(cell.left, 50);
}

TEST_F(TsView, TheFocusCellShowsTheEditCursorInEditMode)
{
    Make(2, 2);
    grid_->OnSize(400, 200);
    Define(TS_ALIAS_CURSOR, "Hand", "IDC_HAND");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_CURSOR), "Hand");
    Focus(0, 0);
    TsViewMgr& vm = grid_->ViewMgr();
    const TsAliasTables& aliases = grid_->Data().Aliases();
    EXPECT_EQ(vm.CursorAt(5, 5), aliases.Object(TS_ALIAS_CURSOR, 0));
    EXPECT_EQ(vm.CursorAt(Rect(0, 1).left + 2, 5), aliases.Object(TS_ALIAS_CURSOR, 1)) << "the column's cursor";
    g_->Send(TSM_MODEON, 0);
    QfGraphic* italic = vm.CursorAt(5, 5);
    EXPECT_STREQ(QfStringText(italic->name), "!QfItalicCursor");
    EXPECT_EQ(vm.CursorAt(5, Rect(1, 0).top + 2), aliases.Object(TS_ALIAS_CURSOR, 0)) << "only over the focus cell";
    Define(TS_ALIAS_CURSOR, "FocusEdit", "IDC_EDIT");
    EXPECT_STREQ(QfStringText(vm.CursorAt(5, 5)->name), "IDC_EDIT") << "the grid's own wins";
}

TEST_F(TsView, ScrollBarsCountShownRowsAndStepsWaitForThePaint)
{
    Make(30, 1);
    Set(0, 0, -1, -1, RowItem(TS_ITEM_TEMPLATE), "[10]");
    grid_->OnSize(100, 100);
    TsViewState& view = grid_->Geometry();
    TsDataMgr& d = grid_->Data();
    TsScrollBar bar = TsScroller::Bar(view, d, true);
    EXPECT_EQ(bar.max, 29);
    EXPECT_EQ(bar.page, 10u);
    g_->Send(TSM_HIDEROWS, g_->Range(0, 0, -1, 9), 1);
    bar = TsScroller::Bar(grid_->Geometry(), d, true);
    EXPECT_EQ(bar.max, 19) << "hidden rows leave no stretch";
    EXPECT_EQ(bar.pos, 0);
    TsScroller& s = grid_->Scroller();
    EXPECT_TRUE(s.OnScroll(grid_->Geometry(), d, true, TS_SB_LINEDOWN, 0, false));
    EXPECT_EQ(grid_->View().FirstRow(), 11u);
    EXPECT_FALSE(s.OnScroll(grid_->Geometry(), d, true, TS_SB_PAGEDOWN, 0, false)) << "absorbed until painted";
    grid_->Painted();
    EXPECT_TRUE(s.OnScroll(grid_->Geometry(), d, true, TS_SB_PAGEDOWN, 0, false));
    EXPECT_EQ(grid_->View().FirstRow(), 20u) << "the last page";
    grid_->Painted();
    EXPECT_TRUE(s.OnScroll(grid_->Geometry(), d, true, TS_SB_PAGEUP, 0, false));
    EXPECT_EQ(grid_->View().FirstRow(), 10u);
    // Deferred: the thumb moves the view when it is let go.
    EXPECT_FALSE(s.OnScroll(grid_->Geometry(), d, true, TS_SB_THUMBTRACK, 5, true));
    EXPECT_EQ(grid_->View().FirstRow(), 10u);
    std::string hint;
    TsApplyScrollHintText(&grid_->ViewMgr().hint[1], "{TSDisplace}/{TSVisible}", true, nullptr);
    EXPECT_TRUE(s.Hint(grid_->Geometry(), d, grid_->ViewMgr().hint[1], true, &hint));
    EXPECT_EQ(hint, "6/15");
    EXPECT_TRUE(s.OnScroll(grid_->Geometry(), d, true, TS_SB_ENDSCROLL, 0, true));
    EXPECT_EQ(grid_->View().FirstRow(), 15u);
    EXPECT_FALSE(s.Hint(grid_->Geometry(), d, grid_->ViewMgr().hint[1], true, &hint)) << "no hint after the end";
}

TEST_F(TsView, WheelDeltasAddUpAndATurnBackDropsTheRest)
{
    Make(50, 1);
    Set(0, 0, -1, -1, RowItem(TS_ITEM_TEMPLATE), "[10]");
    grid_->OnSize(100, 100);
    TsScroller& s = grid_->Scroller();
    TsDataMgr& d = grid_->Data();
    for (int i = 0; i < 5; ++i)
        s.OnWheel(grid_->Geometry(), d, true, -24, 3);
    EXPECT_EQ(grid_->View().FirstRow(), 3u) << "five touchpad deltas of 24 make one notch";
    s.OnWheel(grid_->Geometry(), d, true, -30, 3);
    EXPECT_EQ(grid_->View().FirstRow(), 3u);
    s.OnWheel(grid_->Geometry(), d, true, 40, 3);
    EXPECT_EQ(grid_->View().FirstRow(), 2u) << "the way back starts afresh";
    s.OnWheel(grid_->Geometry(), d, true, -120, TS_WHEEL_PAGE);
    EXPECT_EQ(grid_->View().FirstRow(), 12u) << "a page a notch";
}

TEST_F(TsView, FontSizingTemplatesScaleTheFontToTheCell)
{
    Make(2, 2);
    grid_->OnSize(400, 200);
    Set(0, 0, -1, -1, RowItem(TS_ITEM_TEMPLATE), "[40]");
    Set(0, 0, -1, -1, ColItem(TS_ITEM_TEMPLATE), "[100]");
    Set(0, 0, 0, 0, CellItem(TS_ITEM_SIZING), "h:M");
    Set(1, 0, 1, 0, CellItem(TS_ITEM_SIZING), "w:MMMM");
    Set(0, 1, 0, 1, CellItem(TS_ITEM_SIZING), "c:MMMM");
    TsPaintPlan plan = Plan();
    // A line of 13 pixels is 15 high: 38 pixels of room make a 32-pixel font.
    EXPECT_STREQ(QfStringText(Planned(plan, 0, 0)->font->name), "Arial:32 pix");
    // Four M are 28 pixels: 96 pixels of room make a 44-pixel font.
    EXPECT_STREQ(QfStringText(Planned(plan, 0, 1)->font->name), "Arial:44 pix");
    EXPECT_STREQ(QfStringText(Planned(plan, 1, 0)->font->name), "Arial:32 pix") << "the smaller of the two";
    EXPECT_STREQ(QfStringText(Planned(plan, 1, 1)->font->name), "Arial:10") << "without a template";
}
