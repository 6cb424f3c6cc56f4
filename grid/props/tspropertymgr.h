// TsPropertyMgr, the grid's property layer: the items of TSM_SETPROP and
// TSM_GETPROP that give cells, rows, columns and the grid their looks
// (colours, fonts, icons, cursors, styles, hints, size templates, rules and
// scroll-bar hints), applied one value per target in the order the value
// form gives them. A no-op marker skips its target; another marker returns
// it to its default (for a cell, what it inherits from its column).
#ifndef ZUB_GRID_PROPS_TSPROPERTYMGR_H
#define ZUB_GRID_PROPS_TSPROPERTYMGR_H

#include <stdint.h>

#include <string>

#include "tsgrid.h"

class TsPropertyMgr final : public TsPropertyLayer {
public:
    bool SetItem(TsGrid& grid, const TsPropRequest& request, TsValueSource& values, intptr_t* result) override;
    bool GetItem(TsGrid& grid, const TsPropRequest& request, TsValueSink& out, intptr_t* result) override;

    // The hint the view shows at the moment (grid item 33 reads it).
    std::string tooltip;

private:
    // Cells and columns share most items; the attributes they touch.
    struct Attrs {
        uint8_t* colorPair;  // three states
        uint8_t* font;
        uint8_t* icon;
        uint8_t* cursor;
        uint8_t* hint;
        uint8_t* sizing;
        uint16_t* textAlign;
        uint16_t* iconAlign;
        uint16_t* extent;    // the measured text width to drop, or null
    };
    static Attrs CellAttrs(TsCell* cell);
    static Attrs ColumnAttrs(TsColumnRecord* column);

    bool SetShared(TsGrid& grid, uint32_t item, const Attrs& a, TsValue* v, bool reset, bool column);
    bool GetShared(TsGrid& grid, uint32_t item, const Attrs& a, TsValueSink& out);
    bool SetColumnOnly(TsGrid& grid, uint32_t item, TsColumnRecord* column, TsValue* v, bool reset);
    bool GetColumnOnly(TsGrid& grid, uint32_t item, TsColumnRecord* column, TsValueSink& out);
    bool SetTemplate(TsGrid& grid, uint16_t* ref, TsValue* v, bool reset, bool column, uint16_t* flags);
    bool SetGridItem(TsGrid& grid, uint32_t item, TsValueSource& values);
    bool GetGridItem(TsGrid& grid, uint32_t item, TsValueSink& out);
};

// Whether an item belongs to the property layer for that group.
bool TsIsAppearanceItem(uint32_t group, uint32_t item);

#endif
