// Colour specifications: stock names, system colours, the two specials and
// the numeric forms 'rgb(r,g,b)' and 'hls(h,l,s)'; HLS on the 240 scale;
// the default palette's layout.
#ifndef ZUB_FRAMEWORK_QFCOLOR_H
#define ZUB_FRAMEWORK_QFCOLOR_H

#include <stddef.h>
#include <stdint.h>

#define QF_COLOR_NULL 0xFFFFFFFFu
#define QF_COLOR_PALETTE_RELATIVE 0x02000000u
#define QF_COLOR_SYSTEM 0x20000000u
#define QF_COLOR_TRANSPARENT 0x40000000u
#define QF_COLOR_INVERSE 0x40000001u
#define QF_HLS_MARKER 0x08000000u

enum { QF_STOCK_COLORS = 85, QF_COLOR_TEXT_MAX = 64 };

struct QfStockColor {
    const char* name;
    uint32_t value;
};

// The stock table in its order (85 entries, then one with no name).
const QfStockColor* QfStockColorTable();
// The entry at a position of the table, or null past its end.
const char* QfStockColorNameAt(uint32_t index);

// Returns the colour value, or QF_COLOR_NULL when the text is not a colour.
// canonical (QF_COLOR_TEXT_MAX bytes) receives the canonical text of a
// numeric form, or the text as given (without leading spaces) for a name;
// it is left alone when the text is not a colour.
uint32_t QfParseColor(const char* text, char* canonical);

// The lenient integer form of the specification languages: leading spaces,
// any number of '-' each flipping the sign, "0x"/"0X" and hex digits, or
// decimal digits; no digits gives 0. *end receives the first unread place.
int32_t QfReadLenientInt(const char* text, const char** end);

// hue in bits 0-7, saturation in bits 8-15, lightness in bits 16-23 (the
// marker bit is ignored); returns a plain colour (0x00BBGGRR).
uint32_t QfHlsToColor(uint32_t packedHls);
inline uint32_t QfPackHls(uint32_t hue, uint32_t lightness, uint32_t saturation)
{
    return (hue & 0xFF) | ((saturation & 0xFF) << 8) | ((lightness & 0xFF) << 16) | QF_HLS_MARKER;
}
// The inverse on the same scale: hue 0-239, lightness and saturation 0-240.
struct QfHls {
    int hue, lightness, saturation;
};
QfHls QfColorToHls(uint32_t colour);

// The default palette: 256 entries of red, green, blue and flags, built
// from the system palette's entries (whose first ten and last ten are the
// static colours).
struct QfPaletteEntry {
    uint8_t red, green, blue, flags;
};
#define QF_PALETTE_NOCOLLAPSE 0x04
void QfBuildDefaultPalette(const QfPaletteEntry* system, QfPaletteEntry* out);

#endif
