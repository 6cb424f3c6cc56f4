// A paint plan's fills and rules in as few drawing calls as give the same
// pixels. Drawing calls cost far more than the pixels they cover, so:
// - the backgrounds of neighbouring cells of one colour become one
//   rectangle, across a row and then down over the rows below that share
//   its left and right;
// - the texts of cells of one font and colour become one run drawn by one
//   call, which places each character itself;
// - the rules become one-pixel lines grouped by colour, all the lines of a
//   group drawn at once. Row rules come before column rules, as the plan
//   orders them, so where both meet the column rule stays on top. Dotted and
//   dashed rules keep their own pens and stay single.
#ifndef ZUB_GRID_VIEW_TSPAINTBATCH_H
#define ZUB_GRID_VIEW_TSPAINTBATCH_H

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "tspaintplan.h"

struct TsFill {
    TsPixels rect;
    uint32_t colour;  // a colour value; the plan's background stands for cells without their own
};

// Appends the merged cell backgrounds (the bare areas are not included).
void TsMergeFills(const TsPaintPlan& plan, std::vector<TsFill>* out);

// Which colour of a rule a line takes; each falls back on its own system
// colour when the value gives none.
enum : uint8_t { TS_RULE_DARK = 0, TS_RULE_LIGHT = 1 };

struct TsLineGroup {
    uint32_t colour;
    uint8_t shade;                // TS_RULE_DARK or TS_RULE_LIGHT
    bool vertical;
    std::vector<TsPixels> lines;  // one pixel thick, along the group's direction
};

// What the rules of a plan draw, in drawing order: groups of lines, and the
// rules that need a pen of their own (indices into plan.rules).
struct TsRuleBatch {
    std::vector<TsLineGroup> groups;
    std::vector<size_t> penRules;
    // Rows first: the groups and pen rules of rows, then those of columns.
    size_t rowGroups = 0;  // groups[0, rowGroups) are the rows'
    size_t rowPens = 0;    // penRules[0, rowPens) likewise
};

void TsBatchRules(const TsPaintPlan& plan, TsRuleBatch* out);

// The printable ASCII characters the text runs take.
enum { TS_RUN_FIRST_CHAR = 32, TS_RUN_LAST_CHAR = 126, TS_RUN_CHARS = TS_RUN_LAST_CHAR - TS_RUN_FIRST_CHAR + 1 };

// Texts of one font and colour, drawn together: every character followed
// by the step from its start to the next character's (x to the right, y
// down), across from one cell's text to the next. Spaces, which draw
// nothing, are left out and stepped over.
struct TsTextRun {
    QfGraphic* font;  // as the cells give it (null: the system's)
    uint32_t colour;  // a colour value
    int32_t x, y;     // where the first text starts
    std::string chars;
    std::vector<int32_t> steps;  // two per character
};

// The advances of a font's characters TS_RUN_FIRST_CHAR..TS_RUN_LAST_CHAR
// as the system places them, or null when texts in the font must be drawn
// one by one (one that draws lines along the text, or lacks a character).
using TsAdvances = std::function<const int*(QfGraphic* font)>;

// Sorts the cells with text into runs and cells drawn on their own
// (indices into plan.cells, in plan order): a text joins a run when it is
// printable ASCII, needs neither clipping nor an ellipsis, and its font
// has advances.
void TsBatchTexts(const TsPaintPlan& plan, bool ellipsis, const TsAdvances& advances, std::vector<TsTextRun>* runs,
                  std::vector<size_t>* single);

#endif
