// Layout arithmetic: row heights or column widths from their size templates.
//
// How a template becomes a size (along one axis: widths for columns,
// heights for rows):
// - Each item gives a size: an absolute item its pixels; a text item the
//   extent of its text in the line's font; a B item the line's content
//   (the widest cell of a column, the tallest of a row, as the measuring
//   side reports it); a percentage that share of the available extent
//   (the client width or height), rounded down. A weight gives nothing yet.
// - The first and the second item are both lower bounds: the line's base
//   size is the larger of the two. A template with only a weight has the
//   extent of "M" as its base, so such a line never vanishes.
// - Weights share what the base sizes of all shown lines leave of the
//   available extent, in proportion to their weights; the pixels that do not
//   divide evenly go one each to the first weighted lines, so the shown
//   lines fill the extent exactly. With nothing left, weighted lines keep
//   their base. The share is added to the weighted item's own size.
// - Hidden lines have size 0 and take no part. Sizes are capped at 32767.
// The result keeps both item sizes, as the row and column records do; the
// line's size is the larger one.
#ifndef ZUB_GRID_PROPS_TSLAYOUT_H
#define ZUB_GRID_PROPS_TSLAYOUT_H

#include <stddef.h>
#include <stdint.h>

#include "tstemplate.h"

// The measuring side (GDI text extents on Windows, a fake in tests).
class TsMeasure {
public:
    // The extent of text along the axis in the font of line `index`.
    virtual int TextExtent(size_t index, const char* text) = 0;
    // The content extent of line `index` for a B item.
    virtual int BestExtent(size_t index) = 0;

protected:
    ~TsMeasure() = default;
};

struct TsLayoutLine {
    const TsSizeTemplate* tmpl;  // null: the default template "MMMMMM"
    bool shown;
};

struct TsLineSize {
    uint16_t first;   // the first item's size, with its share when it is the weight
    uint16_t second;  // the second item's, 0 without one
    int Size() const { return first > second ? first : second; }
};

// Lays out `count` lines in an extent of `available` pixels.
void TsLayoutLines(const TsLayoutLine* lines, size_t count, int available, TsMeasure& measure, TsLineSize* out);

// The size of one line alone, without any share of free space.
TsLineSize TsMeasureLine(const TsSizeTemplate& tmpl, size_t index, int available, TsMeasure& measure);

#endif
