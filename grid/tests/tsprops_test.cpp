// The property layer through TSM_SETPROP and TSM_GETPROP: every appearance
// item of cells, columns, rows and the grid reads back what was set, the
// value forms and markers, and the lines bad values write.
#include "tsviewfixture.h"

namespace {

class TsProps : public TsViewFixture {};

}  // namespace

TEST_F(TsProps, CellAndColumnItemsReadBackWhatWasSet)
{
    Make(3, 3);
    Define(TS_ALIAS_COLORPAIR, "Warm", "Peach", "Brown");
    Define(TS_ALIAS_FONT, "Big", "Arial:14 b");
    Define(TS_ALIAS_ICON, "Folder", "IDI_FOLDER(20,20)");
    Define(TS_ALIAS_CURSOR, "Hand", "IDC_HAND");
    struct Case {
        uint32_t item;
        const char* value;
        const char* readBack;
    } cases[] = {
        {TS_ITEM_COLORPAIR, "Warm", "Warm"},
        {TS_ITEM_HILITEPAIR, "warm", "Warm"},
        {TS_ITEM_FOCUSPAIR, "Warm", "Warm"},
        {TS_ITEM_FONT, "Big", "Big"},
        {TS_ITEM_ICON, "Folder", "Folder"},
        {TS_ITEM_CURSOR, "Hand", "Hand"},
        {TS_ITEM_STYLE, "TSRightText TSVCenterIcon", "TsRightText TsTopText TsLeftIcon TsVCenterIcon"},
        {TS_ITEM_HINT, "C:\\Songs", "C:\\Songs"},
        {TS_ITEM_SIZING, "W:MMMM", "w:MMMM"},
    };
    for (const Case& c : cases) {
        Set(1, 1, 1, 1, CellItem(c.item), c.value);
        EXPECT_EQ(GetOne(1, 1, CellItem(c.item)), c.readBack) << "cell item " << c.item;
        EXPECT_EQ(GetOne(0, 1, CellItem(c.item)), c.item == TS_ITEM_STYLE ? "TsLeftText TsTopText TsLeftIcon TsTopIcon"
                                                  : c.item == TS_ITEM_HINT || c.item == TS_ITEM_SIZING ? ""
                                                                                                       : "Default")
            << "the next cell keeps its own, item " << c.item;
        Set(2, 0, 2, -1, ColItem(c.item), c.value);
        EXPECT_EQ(GetOne(2, 0, ColItem(c.item)), c.readBack) << "column item " << c.item;
    }
    // A font or icon given by its spec becomes an alias named by it.
    Set(0, 0, 0, 0, CellItem(TS_ITEM_FONT), "Tahoma:9 i");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_FONT)), "Tahoma:9 i");
    EXPECT_EQ(g_->Send(TSM_FINDALIAS, TS_ALIAS_FONT, "tahoma:9 I"), 3) << "Default, Big, then it, numbered from 1";
    // Column-only items.
    Set(1, 0, 1, -1, ColItem(TS_ITEM_INDENT), "2");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_TEXTMARGIN), "6");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_MAXWIDTH), "300");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_RULECOLOR), "Red");
    EXPECT_EQ(GetOne(1, 0, ColItem(TS_ITEM_INDENT)), "2");
    EXPECT_EQ(GetOne(1, 0, ColItem(TS_ITEM_TEXTMARGIN)), "6");
    EXPECT_EQ(GetOne(1, 0, ColItem(TS_ITEM_MAXWIDTH)), "300");
    EXPECT_EQ(GetOne(1, 0, ColItem(TS_ITEM_RULECOLOR)), "Red");
    EXPECT_EQ(GetOne(0, 0, ColItem(TS_ITEM_TEXTMARGIN)), "2") << "the default margin";
    EXPECT_TRUE(Lines().empty()) << Lines().front();
}

TEST_F(TsProps, ColourItemsSetOneHalfOfAStateAndLeaveTheOtherToInherit)
{
    Make(2, 2);
    Set(0, 0, 0, 0, CellItem(TS_ITEM_TEXTCOLOR), "Red");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_TEXTCOLOR)), "Red");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_BACK)), "") << "no background of its own";
    Set(0, 0, 0, 0, CellItem(TS_ITEM_BACK), "rgb(1,2,3)");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_BACK)), "rgb(1,2,3)");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_TEXTCOLOR)), "Red") << "the text half stays";
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_HILITEBACK)), "") << "other states are apart";
    Set(1, 0, 1, 0, CellItem(TS_ITEM_ALLBACK), "Yellow");
    for (uint32_t item : {TS_ITEM_BACK, TS_ITEM_HILITEBACK, TS_ITEM_FOCUSBACK})
        EXPECT_EQ(GetOne(1, 0, CellItem(item)), "Yellow") << item;
    // Equal compositions share one pair; one nobody uses is taken again.
    Set(0, 1, 1, 1, CellItem(TS_ITEM_TEXTCOLOR), "Red");
    const TsAliasTables& aliases = grid_->Data().Aliases();
    int pair = grid_->Data().Cell(1, 0)->colorPair[0];
    EXPECT_EQ(grid_->Data().Cell(1, 1)->colorPair[0], pair);
    EXPECT_EQ(aliases.Uses(TS_ALIAS_COLORPAIR, pair), 2u);
    Set(0, 1, 1, 1, CellItem(TS_ITEM_TEXTCOLOR), "%TSReset");
    EXPECT_EQ(aliases.Uses(TS_ALIAS_COLORPAIR, pair), 0u);
    EXPECT_EQ(GetOne(0, 1, CellItem(TS_ITEM_TEXTCOLOR)), "") << "a reset state inherits again";
    // A colour that does not resolve is refused with its line.
    Set(0, 0, 0, 0, CellItem(TS_ITEM_TEXTCOLOR), "Ultraviolet");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_TEXTCOLOR)), "Red");
    EXPECT_EQ(Lines(), std::vector<std::string>{"TS: (TsDataMgr) Fg Color 'Ultraviolet' invalid or unavailable."});
}

TEST_F(TsProps, MarkersSkipOrResetTheirTargetsInOrder)
{
    Make(1, 3);
    Set(0, 0, -1, 0, CellItem(TS_ITEM_STYLE), "TSCenterText");
    Set(0, 0, -1, 0, CellItem(TS_ITEM_STYLE), "TSRightText\n%TSNoOp\n%TSReset");
    std::vector<std::string> styles = Get(0, 0, -1, 0, CellItem(TS_ITEM_STYLE));
    ASSERT_EQ(styles.size(), 3u);
    EXPECT_EQ(styles[0], "TsRightText TsTopText TsLeftIcon TsTopIcon");
    EXPECT_EQ(styles[1], "TsCenterText TsTopText TsLeftIcon TsTopIcon") << "the no-op keeps the old";
    EXPECT_EQ(grid_->Data().Cell(0, 2)->textAlign, 0) << "a reset cell inherits its column again";
    Set(0, 0, -1, -1, ColItem(TS_ITEM_STYLE), "%TSReset");
    EXPECT_EQ(grid_->Data().Col(0)->textAlign, TS_ALIGN_DEFAULT) << "a reset column is left and top";
    // The other value forms: a number for every target, a value holder.
    uint32_t all = g_->Range(0, 0, -1, -1);
    g_->SetNumber(all, TS_PROP(TS_GROUP_COLS, TS_PART_NUMBER, TS_ITEM_TEXTMARGIN), 5);
    EXPECT_EQ(Get(0, 0, -1, 0, ColItem(TS_ITEM_TEXTMARGIN)), (std::vector<std::string>{"5", "5", "5"}));
    TsValue* hint = TsMakeText("held");
    g_->Send(TSM_SETPROP, all | static_cast<uint32_t>(TS_PROP(TS_GROUP_CELLS, TS_PART_VALUE, TS_ITEM_HINT)) << 16,
             &hint);
    TsValueRelease(hint);
    EXPECT_EQ(GetOne(2, 0, CellItem(TS_ITEM_HINT)), "held");
    g_->Release(all);
}

TEST_F(TsProps, TemplatesParseFormatAndKeepTheOldOneOnASyntaxError)
{
    Make(2, 2);
    Set(0, 0, 0, -1, ColItem(TS_ITEM_TEMPLATE), "[B]:[1R]");
    EXPECT_EQ(GetOne(0, 0, ColItem(TS_ITEM_TEMPLATE)), "[b]:[1r]");
    EXPECT_TRUE(grid_->Data().Col(0)->flags & TS_COL_BITEM);
    Set(0, 0, 0, -1, ColItem(TS_ITEM_TEMPLATE), "[20");
    EXPECT_EQ(GetOne(0, 0, ColItem(TS_ITEM_TEMPLATE)), "[b]:[1r]");
    Set(0, 0, -1, 0, RowItem(TS_ITEM_TEMPLATE), "[12.5%]");
    Set(0, 0, -1, 0, RowItem(TS_ITEM_TEMPLATE), "[1]:[2]:[3]");
    EXPECT_EQ(GetOne(0, 0, RowItem(TS_ITEM_TEMPLATE)), "[12.500%]");
    EXPECT_EQ(GetOne(0, 1, RowItem(TS_ITEM_TEMPLATE)), "MMMMMM") << "every row starts with the default";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"TS: (TsPropertyMgr) Col template syntax error.",
                                                 "TS: (TsPropertyMgr) Row template syntax error."}));
    Set(0, 0, 0, -1, ColItem(TS_ITEM_TEMPLATE), "%TSReset");
    EXPECT_EQ(GetOne(0, 0, ColItem(TS_ITEM_TEMPLATE)), "MMMMMM");
    EXPECT_FALSE(grid_->Data().Col(0)->flags & TS_COL_BITEM);
}

TEST_F(TsProps, UnknownNamesAndFullTablesWriteTheirLinesAndChangeNothing)
{
    Make(1, 1);
    Define(TS_ALIAS_ICON, "Folder", "IDI_FOLDER(20,20)");
    Set(0, 0, 0, 0, CellItem(TS_ITEM_ICON), "Folder");
    Set(0, 0, 0, 0, CellItem(TS_ITEM_ICON), "NoSuchIcon");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_ICON)), "Folder");
    Set(0, 0, 0, 0, CellItem(TS_ITEM_FONT), "Arial:10 bolder");
    Set(0, 0, 0, 0, CellItem(TS_ITEM_COLORPAIR), "Nothing");
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_COLORPAIR)), "Default") << "an unknown pair name leaves it";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"TS: (TsDataMgr) Icon 'NoSuchIcon' invalid or unavailable.",
                                                 "TS: (TsDataMgr) Font 'Arial:10 bolder' invalid or unavailable."}));
    Lines().clear();
    for (int i = 0; i < 300; ++i)
        Set(0, 0, 0, 0, CellItem(TS_ITEM_HINT), ("hint " + std::to_string(i)).c_str());
    EXPECT_TRUE(Lines().empty()) << "a hint nobody uses any more is taken again";
    EXPECT_EQ(GetOne(0, 0, CellItem(TS_ITEM_HINT)), "hint 299");
}

TEST_F(TsProps, ColumnsTakeTheirLooksBeforeTheGridHasRows)
{
    Make(0, 7);
    Set(0, 0, -1, -1, ColItem(TS_ITEM_TEMPLATE), "[B]:[1R]");
    Set(0, 0, 2, -1, ColItem(TS_ITEM_TEXTCOLOR), "Red");
    g_->Send(TSM_HIDECOLS, g_->Range(0, 0, 2, -1), 1);
    g_->Release(g_->InsertRows(3));
    EXPECT_EQ(GetOne(6, 0, ColItem(TS_ITEM_TEMPLATE)), "[b]:[1r]");
    EXPECT_EQ(GetOne(2, 0, ColItem(TS_ITEM_TEXTCOLOR)), "Red");
    EXPECT_EQ(Width(1), 0) << "hidden before there were rows";
}

TEST_F(TsProps, GridItemsSetTheViewAndReadBack)
{
    Make(2, 2);
    SetGrid(GridItem(TS_ITEM_BACKGROUND), "RGB(208,208,208)");
    EXPECT_STREQ(QfStringText(grid_->ViewMgr().Background()->name), "RGB(208,208,208)");
    SetGrid(GridItem(TS_ITEM_BACKGROUND), "");
    EXPECT_STREQ(QfStringText(grid_->ViewMgr().Background()->name), "Color_3DFace");
    SetGrid(GridItem(TS_ITEM_VHINT), "Rows {tsdisplace} to {TSVISIBLE} \\{x\\}");
    EXPECT_EQ(g_->GetList(0, TS_PROP(TS_GROUP_GRID, TS_PART_LIST, TS_ITEM_VHINT)),
              std::vector<std::string>{"Rows {TSDisplace} to {TSVisible} \\{x\\}"});
    SetGrid(GridItem(TS_ITEM_HHINT), "{Nothing}");
    EXPECT_EQ(Lines(), std::vector<std::string>{"TS: (TsViewMgr) H-Scrollbar hint invalid; Hint unchanged."});
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLRULE), 9);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLRULE)), 1) << "three bits of 9";
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLRULE), 11);
    EXPECT_EQ(grid_->ViewMgr().rule[1], 9) << "more than 10 is refused";
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_RULEPRESET), 2);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWRULE)), TS_RULE_SOLID);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_RULEPRESET)), 2);
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_WHEELLINES), 70000);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_WHEELLINES)), 0);
    g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_DRAWING), 3);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_DRAWING)), 3);
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_STYLEWORD)),
              static_cast<int32_t>(grid_->Style()));
}
