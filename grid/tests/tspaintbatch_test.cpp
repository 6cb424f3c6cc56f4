// The batched fills and rules of a paint plan against the plan drawn cell by
// cell and rule by rule, on a pixel map: the same pixels for every rule
// style, colour layout, scroll position and paint area, with few calls.
#include <stdint.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tspaintbatch.h"
#include "tsviewfixture.h"

namespace {

// What a pixel shows: a cell's background colour, a rule line's colour and
// shade, or the mark of a rule drawn with a pen of its own.
uint64_t FillMark(uint32_t colour)
{
    return colour;
}
uint64_t LineMark(uint32_t colour, uint8_t shade)
{
    return 1ull << 40 | static_cast<uint64_t>(shade) << 32 | colour;
}
uint64_t PenMark(size_t rule)
{
    return 2ull << 40 | rule;
}

class Canvas {
public:
    Canvas(int32_t width, int32_t height)
        : width_(width), height_(height), px_(static_cast<size_t>(width * height), 0)
    {
    }
    void Fill(const TsPixels& r, uint64_t mark)
    {
        for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
            for (int32_t x = std::max(r.left, 0); x < std::min(r.right, width_); ++x)
                px_[static_cast<size_t>(y * width_ + x)] = mark;
        }
    }
    bool operator==(const Canvas& o) const { return px_ == o.px_; }

private:
    int32_t width_, height_;
    std::vector<uint64_t> px_;
};

// The plan as drawn before batching: every cell's background, then every
// rule in the plan's order.
void DrawPlain(const TsPaintPlan& plan, Canvas* c)
{
    for (const TsPaintCell& cell : plan.cells)
        c->Fill(cell.cell, FillMark(cell.back));
    for (size_t i = 0; i < plan.rules.size(); ++i) {
        const TsPaintRule& rule = plan.rules[i];
        TsPixels first = rule.rect, second = rule.rect;
        if (rule.vertical)
            first.right = second.left = rule.rect.left + 1;
        else
            first.bottom = second.top = rule.rect.top + 1;
        switch (rule.style) {
        case TS_RULE_DOTTED:
        case TS_RULE_DASHED:
            c->Fill(rule.rect, PenMark(i));
            break;
        case TS_RULE_RAISED:
            c->Fill(first, LineMark(rule.light, TS_RULE_LIGHT));
            c->Fill(second, LineMark(rule.colour, TS_RULE_DARK));
            break;
        case TS_RULE_SUNKEN:
            c->Fill(first, LineMark(rule.colour, TS_RULE_DARK));
            c->Fill(second, LineMark(rule.light, TS_RULE_LIGHT));
            break;
        default:
            c->Fill(rule.rect, LineMark(rule.colour, TS_RULE_DARK));
            break;
        }
    }
}

// Returns the number of drawing calls the batches take.
size_t DrawBatched(const TsPaintPlan& plan, Canvas* c)
{
    std::vector<TsFill> fills;
    TsMergeFills(plan, &fills);
    for (const TsFill& f : fills)
        c->Fill(f.rect, FillMark(f.colour));
    TsRuleBatch rules;
    TsBatchRules(plan, &rules);
    auto pass = [&](size_t pens, size_t pensEnd, size_t groups, size_t groupsEnd) {
        for (size_t i = pens; i < pensEnd; ++i)
            c->Fill(plan.rules[rules.penRules[i]].rect, PenMark(rules.penRules[i]));
        for (size_t i = groups; i < groupsEnd; ++i) {
            const TsLineGroup& g = rules.groups[i];
            for (const TsPixels& line : g.lines) {
                EXPECT_EQ(g.vertical ? line.right - line.left : line.bottom - line.top, 1) << "lines are one pixel";
                c->Fill(line, LineMark(g.colour, g.shade));
            }
        }
    };
    pass(0, rules.rowPens, 0, rules.rowGroups);
    pass(rules.rowPens, rules.penRules.size(), rules.rowGroups, rules.groups.size());
    return fills.size() + rules.groups.size() + rules.penRules.size();
}

class TsPaintBatch : public TsViewFixture {
protected:
    TsPaintPlan Plan(const TsPixels& area)
    {
        TsPaintPlan plan;
        TsPlanPaint(*grid_, area, true, &plan);
        return plan;
    }
    void SetRules(uint32_t rows, uint32_t cols)
    {
        g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWRULE), static_cast<int32_t>(rows));
        g_->SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLRULE), static_cast<int32_t>(cols));
    }
};

}  // namespace

TEST_F(TsPaintBatch, EveryRuleStyleColourLayoutAndAreaGivesThePixelsOfCellByCellDrawing)
{
    const int32_t width = 300, height = 200;
    Make(40, 6);
    grid_->OnSize(width, height);
    Define(TS_ALIAS_COLORPAIR, "Default", "Bright Gray", "Black");
    Define(TS_ALIAS_COLORPAIR, "CurrentFocusRow", "Pale Yellow");
    Define(TS_ALIAS_COLORPAIR, "Green", "Pale Green", "Red");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_TEXTCOLOR), "Dark Blue");
    Set(2, 2, 3, 4, CellItem(TS_ITEM_COLORPAIR), "Green");    // a block of its own colour
    Set(4, 3, 4, 3, CellItem(TS_ITEM_BACK), "Transparent");   // the grid's background shows
    Set(0, 6, -1, 7, CellItem(TS_ITEM_COLORPAIR), "Green");   // whole rows
    Set(2, 0, 2, -1, ColItem(TS_ITEM_RULECOLOR), "Green");    // one column rule of its own
    g_->Send(TSM_HIDECOLS, g_->Range(5, 0, 5, -1), 1);
    g_->Send(TSM_HIDEROWS, g_->Range(0, 9, -1, 9), 1);
    uint32_t focus = g_->Cell(5, 1);
    g_->Send(TSM_SETFOCUSSEL, focus, 0);
    g_->Release(focus);
    const TsPixels areas[] = {{0, 0, width, height}, {0, 150, width, 170}, {40, 20, 130, 90}};
    for (uint32_t rows = TS_RULE_NONE; rows < TS_RULE_STYLES; ++rows) {
        for (uint32_t cols = TS_RULE_NONE; cols < TS_RULE_STYLES; cols += 2) {
            SetRules(rows, cols);
            for (uint32_t origin : {0u, 3u}) {
                grid_->Geometry().SetOrigin(grid_->Data(), origin, origin ? 1 : 0);
                for (const TsPixels& area : areas) {
                    TsPaintPlan plan = Plan(area);
                    Canvas plain(width, height), batched(width, height);
                    DrawPlain(plan, &plain);
                    DrawBatched(plan, &batched);
                    EXPECT_TRUE(plain == batched) << "row rules " << rows << ", column rules " << cols << ", origin "
                                                  << origin << ", area from " << area.left << "," << area.top;
                }
            }
        }
    }
}

TEST_F(TsPaintBatch, AGridOfOneColourTakesOneFillAndOneCallPerRuleColour)
{
    Make(100, 4);
    grid_->OnSize(400, 300);
    Define(TS_ALIAS_COLORPAIR, "Default", "Bright Gray", "Black");
    SetRules(TS_RULE_SOLID, TS_RULE_SOLID);
    TsPaintPlan plan = Plan(TsPixels{0, 0, 400, 300});
    ASSERT_GT(plan.cells.size(), 40u);
    Canvas plain(400, 300), batched(400, 300);
    DrawPlain(plan, &plain);
    EXPECT_EQ(DrawBatched(plan, &batched), 1u + 2u) << "one fill, the row rules, the column rules";
    EXPECT_TRUE(plain == batched);
    // Sunken rules: a light and a dark line for each direction.
    SetRules(TS_RULE_SUNKEN, TS_RULE_SUNKEN);
    plan = Plan(TsPixels{0, 0, 400, 300});
    EXPECT_EQ(DrawBatched(plan, &batched), 1u + 4u);
    // The focus row breaks the fill into the rows above, the focus cell, the
    // rest of its row, and the rows below.
    uint32_t focus = g_->Cell(2, 0);
    g_->Send(TSM_SETFOCUSSEL, focus, 0);
    g_->Release(focus);
    Define(TS_ALIAS_COLORPAIR, "CurrentFocusRow", "Pale Yellow");
    std::vector<TsFill> fills;
    TsMergeFills(Plan(TsPixels{0, 0, 400, 300}), &fills);
    EXPECT_EQ(fills.size(), 4u);
}

TEST_F(TsPaintBatch, TextsOfOneFontAndColourRunTogetherEachStartingWhereItsCellPlacesIt)
{
    Make(30, 4);
    grid_->OnSize(400, 200);
    Define(TS_ALIAS_COLORPAIR, "Default", "Bright Gray", "Black");
    Define(TS_ALIAS_FONT, "Other", "Arial:12");
    Set(1, 0, 1, -1, ColItem(TS_ITEM_TEXTCOLOR), "Dark Blue");
    Set(0, 0, -1, -1, ColItem(TS_ITEM_TEMPLATE), "[B]");
    Set(2, 0, 2, -1, ColItem(TS_ITEM_TEMPLATE), "[40]");
    Set(3, 0, 3, -1, ColItem(TS_ITEM_FONT), "Other");
    for (int r = 0; r < 30; ++r) {
        g_->SetCell(r, 0, ("Song " + std::to_string(r)).c_str());
        g_->SetCell(r, 1, ("Title number " + std::to_string(r * 7)).c_str());
        g_->SetCell(r, 2, r % 2 ? "x" : "far too long for the column");
        g_->SetCell(r, 3, "In another font");
        if (r == 5)
            g_->SetCell(r, 0, "  lead and trail  ");
    }
    g_->SetCell(1, 0, "Caf\xE9");   // beyond ASCII
    g_->SetCell(2, 0, "a\tb");      // a control character
    g_->SetCell(3, 1, "");          // nothing to draw
    // Advances that differ from character to character; the other font has none.
    int widths[TS_RUN_CHARS];
    for (int i = 0; i < TS_RUN_CHARS; ++i)
        widths[i] = 5 + i % 4;
    const TsAliasTables& aliases = grid_->Data().Aliases();
    QfGraphic* other = aliases.Object(TS_ALIAS_FONT, aliases.Find(TS_ALIAS_FONT, "Other"));
    TsAdvances advances = [&](QfGraphic* font) { return font == other ? nullptr : widths; };
    TsPaintPlan plan = Plan(TsPixels{0, 0, 400, 200});
    std::vector<TsTextRun> runs;
    std::vector<size_t> single;
    TsBatchTexts(plan, true, advances, &runs, &single);

    ASSERT_EQ(runs.size(), 2u) << "black and blue texts in the default font";
    std::vector<bool> seen(plan.cells.size(), false);
    for (size_t i : single) {
        const TsPaintCell& c = plan.cells[i];
        seen[i] = true;
        bool plain = c.length > 0 && !c.place.overflows && c.font != other && c.row != 1 && c.row != 2;
        EXPECT_FALSE(plain) << "row " << c.row << " column " << c.col << " could have joined a run";
    }
    // Walking each run's steps finds every character of every text it
    // holds where the text's own advances from its cell's place put it,
    // spaces stepped over.
    for (const TsTextRun& run : runs) {
        int32_t x = run.x, y = run.y;
        size_t at = 0;
        for (size_t i = 0; i < plan.cells.size(); ++i) {
            const TsPaintCell& c = plan.cells[i];
            if (seen[i] || c.length <= 0 || c.font != run.font || c.fore != run.colour)
                continue;
            seen[i] = true;
            int32_t expectX = c.place.textX;
            for (int k = 0; k < c.length; ++k) {
                char ch = plan.Text(c)[k];
                if (ch != ' ') {
                    ASSERT_LT(at, run.chars.size());
                    EXPECT_EQ(run.chars[at], ch);
                    EXPECT_EQ(x, expectX) << "row " << c.row << " column " << c.col << " character " << k;
                    EXPECT_EQ(y, c.place.textY);
                    x += run.steps[2 * at];
                    y += run.steps[2 * at + 1];
                    ++at;
                }
                expectX += widths[ch - TS_RUN_FIRST_CHAR];
            }
        }
        EXPECT_EQ(at, run.chars.size());
        EXPECT_EQ(run.steps.size(), 2 * run.chars.size());
    }
    for (size_t i = 0; i < plan.cells.size(); ++i)
        EXPECT_TRUE(seen[i] || plan.cells[i].length == 0) << "every text is drawn once";
    // Without an ellipsis a cut-off text still needs clipping: on its own.
    TsBatchTexts(plan, false, advances, &runs, &single);
    for (const TsTextRun& run : runs)
        EXPECT_EQ(run.chars.find("far too long"), std::string::npos);
}
