// TsViewMgr, the grid's view layer without its window: the grid-wide
// drawing settings, the layout of rows and columns from their size
// templates, what each cell shows (font, icon, text width), the cursor and
// the hint under a point.
//
// Layout (how a template becomes an extent, see also tslayout.h):
// - Columns: a text item is the width of its text in the column's font, a
//   B item the widest content of the column's shown rows (outline indent,
//   icon, text), both with the column's margin on each side and a B item
//   kept within the column's maximum width (item 18) when one is set. Weights
//   share what is left of the client width.
// - Rows: a text item is one line of the tallest font the row's cells use
//   and at least as tall as the tallest icon any of its shown columns
//   shows, so icons and larger fonts are never clipped and the rows of a
//   list stay even; a B item the same. One pixel (more at higher
//   resolutions) of margin above and below, and the rule's width when rows
//   are ruled. Absolute sizes stay as given; points follow the display's
//   resolution.
#ifndef ZUB_GRID_VIEW_TSVIEWMGR_H
#define ZUB_GRID_VIEW_TSVIEWMGR_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "tsalias.h"
#include "tsmetrics.h"
#include "tsviewstate.h"

class TsGrid;

// Rule styles of grid items 25 (between rows) and 26 (between columns).
enum {
    TS_RULE_NONE = 0,
    TS_RULE_SOLID = 1,   // a line of the rule colour
    TS_RULE_DOTTED = 2,  // every other pixel
    TS_RULE_DASHED = 3,  // three on, one off
    TS_RULE_RAISED = 4,  // a light and a dark line
    TS_RULE_SUNKEN = 5,
    TS_RULE_WIDE = 6,    // two pixels of the rule colour
    TS_RULE_STYLES = 7
};
// Grid item 61, drawing defaults.
enum : uint32_t {
    TS_DRAW_FOCUSRECT = 0x1,  // outline the focus cell while the grid has the keyboard
    TS_DRAW_NOELLIPSIS = 0x2, // cut-off text ends plainly instead of with "..."
    TS_DRAW_DEFAULTS = TS_DRAW_FOCUSRECT
};

// What a cell shows, resolved through the cell, its row and its column.
struct TsCellLook {
    QfGraphic* font;   // never null
    int lineHeight;    // of a line of text in the font
    QfGraphic* icon;   // null without one
    int iconWidth, iconHeight;
    uint16_t textAlign;  // both parts given
    uint16_t iconAlign;
    int indent;          // outline indent in pixels
    int margin;          // text margin left and right
};

// Where the parts of a cell go.
struct TsCellPlace {
    TsPixels icon;   // empty without an icon
    TsPixels clip;   // the text stays within this
    int32_t textX, textY;
    bool cutOff;     // the text is wider than its room
    bool overflows;  // some of the text would fall outside clip
};

class TsViewMgr {
public:
    explicit TsViewMgr(TsGrid& grid);
    ~TsViewMgr();
    TsViewMgr(const TsViewMgr&) = delete;
    TsViewMgr& operator=(const TsViewMgr&) = delete;

    // ---- grid-wide settings (grid items)
    // Item 33: the colour of the area no cell covers; an empty or null spec
    // gives "Color_3DFace". False (and no change) for a colour that does not
    // resolve.
    bool SetBackground(const char* spec);
    QfGraphic* Background() const { return background_; }
    // The system colours the view falls back on.
    enum { kHighlight, kHighlightText, kShadow, kLight, kSystemColours };
    QfGraphic* SystemColour(int which) const { return system_[which]; }
    std::string hint[2];      // items 35 (horizontal) and 34 (vertical), stored form
    uint8_t rule[2] = {TS_RULE_NONE, TS_RULE_NONE};  // items 25 (rows), 26 (columns)
    uint32_t drawing = TS_DRAW_DEFAULTS;             // item 61
    uint32_t rulePreset = 0;                         // item 62
    uint32_t wheelLines = 0;                         // item 47: lines per wheel notch, 0 the system's
    // Item 62: both rule styles from a preset of the table; false out of it.
    bool SetRulePreset(uint32_t index);
    static const uint32_t kRulePresets = 8;

    // ---- layout
    // Recomputes the extents of rows and/or columns from their templates.
    void Layout(bool rows, bool cols);
    // Fonts or icons were remade: cached measurements go.
    void Forget();
    // Pixels of margin above and below a line of text.
    int VerticalMargin() const;
    int IconGap() const;

    // ---- what cells show
    TsCellLook Look(uint32_t row, uint32_t col);
    // The width of the cell's text in its font (measured once per value).
    int TextWidth(uint32_t row, uint32_t col, QfGraphic* font);
    // The cell's text (numbers in decimal); buffer holds 16 bytes.
    const char* Text(uint32_t row, uint32_t col, char* buffer, int* length);
    // A cell with a font sizing template ("h:", "w:" or "c:" and a text)
    // draws in its font scaled to the cell rectangle: h so that a line fills
    // the cell's height, w so that the template's text fills its width, c
    // the smaller of both. False (look unchanged) without one.
    bool ApplySizing(uint32_t row, uint32_t col, const TsPixels& cell, TsCellLook* look);
    // Where the icon and text go in a cell rectangle.
    TsCellPlace Place(const TsCellLook& look, int textWidth, const TsPixels& cell);
    // Pixels the rules take at the bottom of each row and the right of each column.
    int RuleWidth(bool betweenColumns) const;

    // ---- under the pointer
    // The hint of the cell under a point: its own hint (or its column's),
    // else its whole text when the text is cut off. False for none; the
    // cell hit goes to `hit` when given.
    bool HintAt(int32_t x, int32_t y, std::string* text, TsPixels* cell, TsHit* hit = nullptr);
    // The cursor for a point: "FocusEdit" (or the framework's italic cursor)
    // over the focus cell while the grid edits or is in edit mode, else the
    // cell's cursor, its column's, or "Default". Never null.
    QfGraphic* CursorAt(int32_t x, int32_t y);

private:
    int FontHeight(uint8_t font);
    void IconSize(uint8_t icon, int* width, int* height);
    int RowContentHeight(uint32_t row);
    int ColumnContentWidth(uint32_t col);
    int MeasureText(uint8_t font, const char* text);
    void LayoutRows();
    void LayoutCols();
    void DropSizedFonts();

    TsGrid& grid_;
    QfGraphic* background_ = nullptr;
    QfGraphic* italicCursor_ = nullptr;
    QfGraphic* system_[kSystemColours] = {};
    // Caches by alias number, -1 when not measured.
    std::vector<int> fontHeights_;
    std::vector<int> iconWidths_, iconHeights_;
    std::map<std::pair<int, std::string>, int> textWidths_;
    std::map<std::pair<QfGraphic*, int>, QfGraphic*> sizedFonts_;  // by base font and pixel height
    std::vector<int> colIconWidth_;   // widest icon each column shows
    std::vector<int> colIconHeight_;  // and tallest
};

#endif
