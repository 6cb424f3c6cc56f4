#include "tspaintbatch.h"

#include "tsviewmgr.h"

namespace {

bool Extends(const TsFill& above, const TsFill& run)
{
    return above.colour == run.colour && above.rect.left == run.rect.left && above.rect.right == run.rect.right &&
           above.rect.bottom == run.rect.top;
}

// Adds a rectangle of one shade to its group as lines one pixel thick.
void AddLines(TsRuleBatch* out, size_t firstGroup, const TsPixels& r, uint32_t colour, uint8_t shade, bool vertical)
{
    if (r.Empty())
        return;
    TsLineGroup* group = nullptr;
    for (size_t i = firstGroup; i < out->groups.size() && !group; ++i) {
        if (out->groups[i].colour == colour && out->groups[i].shade == shade)
            group = &out->groups[i];
    }
    if (!group) {
        out->groups.push_back(TsLineGroup{colour, shade, vertical, {}});
        group = &out->groups.back();
    }
    if (vertical) {
        for (int32_t x = r.left; x < r.right; ++x)
            group->lines.push_back(TsPixels{x, r.top, x + 1, r.bottom});
    } else {
        for (int32_t y = r.top; y < r.bottom; ++y)
            group->lines.push_back(TsPixels{r.left, y, r.right, y + 1});
    }
}

bool Printable(const char* text, int length)
{
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < TS_RUN_FIRST_CHAR || c > TS_RUN_LAST_CHAR)
            return false;
    }
    return true;
}

}  // namespace

void TsMergeFills(const TsPaintPlan& plan, std::vector<TsFill>* out)
{
    const std::vector<TsPaintCell>& cells = plan.cells;
    std::vector<TsFill> above, current;  // the runs of the row before, and of this one
    std::vector<bool> taken;
    auto endRow = [&] {
        for (size_t k = 0; k < above.size(); ++k) {
            if (!taken[k])
                out->push_back(above[k]);
        }
        above.swap(current);
        current.clear();
        taken.assign(above.size(), false);
    };
    for (size_t i = 0; i < cells.size();) {
        if (i > 0 && cells[i].row != cells[i - 1].row)
            endRow();
        // A run of neighbours in the row that share their colour.
        TsFill run{cells[i].cell, cells[i].back};
        size_t j = i + 1;
        while (j < cells.size() && cells[j].row == cells[i].row && cells[j].back == cells[i].back &&
               cells[j].cell.left == run.rect.right && cells[j].cell.top == run.rect.top &&
               cells[j].cell.bottom == run.rect.bottom) {
            run.rect.right = cells[j].cell.right;
            ++j;
        }
        i = j;
        for (size_t k = 0; k < above.size(); ++k) {
            if (!taken[k] && Extends(above[k], run)) {
                run.rect.top = above[k].rect.top;
                taken[k] = true;
                break;
            }
        }
        current.push_back(run);
    }
    endRow();
    endRow();
}

void TsBatchRules(const TsPaintPlan& plan, TsRuleBatch* out)
{
    out->groups.clear();
    out->penRules.clear();
    for (int pass = 0; pass < 2; ++pass) {
        bool vertical = pass == 1;
        size_t firstGroup = out->groups.size();
        for (size_t i = 0; i < plan.rules.size(); ++i) {
            const TsPaintRule& rule = plan.rules[i];
            if (rule.vertical != vertical)
                continue;
            switch (rule.style) {
            case TS_RULE_DOTTED:
            case TS_RULE_DASHED:
                out->penRules.push_back(i);
                break;
            case TS_RULE_RAISED:
            case TS_RULE_SUNKEN: {
                // The first line (top or left) light when raised, dark when sunken.
                TsPixels first = rule.rect, second = rule.rect;
                if (vertical)
                    first.right = second.left = rule.rect.left + 1;
                else
                    first.bottom = second.top = rule.rect.top + 1;
                bool raised = rule.style == TS_RULE_RAISED;
                AddLines(out, firstGroup, first, raised ? rule.light : rule.colour,
                         raised ? TS_RULE_LIGHT : TS_RULE_DARK, vertical);
                AddLines(out, firstGroup, second, raised ? rule.colour : rule.light,
                         raised ? TS_RULE_DARK : TS_RULE_LIGHT, vertical);
                break;
            }
            default:
                AddLines(out, firstGroup, rule.rect, rule.colour, TS_RULE_DARK, vertical);
                break;
            }
        }
        if (!vertical) {
            out->rowGroups = out->groups.size();
            out->rowPens = out->penRules.size();
        }
    }
}

void TsBatchTexts(const TsPaintPlan& plan, bool ellipsis, const TsAdvances& advances, std::vector<TsTextRun>* runs,
                  std::vector<size_t>* single)
{
    runs->clear();
    single->clear();
    // Where each run's last character starts.
    std::vector<int32_t> lastX, lastY;
    for (size_t i = 0; i < plan.cells.size(); ++i) {
        const TsPaintCell& c = plan.cells[i];
        if (c.length <= 0)
            continue;
        const char* text = plan.Text(c);
        const int* widths = nullptr;
        if (!c.place.overflows && !(c.place.cutOff && ellipsis) && Printable(text, c.length))
            widths = advances(c.font);
        if (!widths) {
            single->push_back(i);
            continue;
        }
        size_t r = 0;
        while (r < runs->size() && ((*runs)[r].font != c.font || (*runs)[r].colour != c.fore))
            ++r;
        if (r == runs->size()) {
            runs->push_back(TsTextRun{c.font, c.fore, 0, 0, {}, {}});
            lastX.push_back(0);
            lastY.push_back(0);
        }
        TsTextRun& run = (*runs)[r];
        int32_t x = c.place.textX, y = c.place.textY;
        for (int k = 0; k < c.length; ++k) {
            int advance = widths[static_cast<unsigned char>(text[k]) - TS_RUN_FIRST_CHAR];
            if (text[k] != ' ') {  // a space draws nothing: the step over it is enough
                if (run.chars.empty()) {
                    run.x = x;
                    run.y = y;
                } else {
                    run.steps[run.steps.size() - 2] = x - lastX[r];
                    run.steps.back() = y - lastY[r];
                }
                run.chars.push_back(text[k]);
                run.steps.push_back(advance);
                run.steps.push_back(0);
                lastX[r] = x;
                lastY[r] = y;
            }
            x += advance;
        }
    }
}
