// Alignment codes and the style keywords that set them ("TSLeftText
// TSVCenterIcon"). One style value holds both the text and the icon code.
#ifndef ZUB_GRID_PROPS_TSSTYLE_H
#define ZUB_GRID_PROPS_TSSTYLE_H

#include <stdint.h>

#include <string>

// Bits 0-1 horizontal (1 left, 2 centre, 3 right), bits 2-3 vertical (1 top,
// 2 vertical centre, 3 bottom); 0x300 marks the horizontal part as given and
// 0xC00 the vertical part.
enum : uint16_t {
    TS_ALIGN_LEFT = 0x301,
    TS_ALIGN_CENTER = 0x302,
    TS_ALIGN_RIGHT = 0x303,
    TS_ALIGN_TOP = 0xC04,
    TS_ALIGN_VCENTER = 0xC08,
    TS_ALIGN_BOTTOM = 0xC0C,
    TS_ALIGN_HGIVEN = 0x300,
    TS_ALIGN_VGIVEN = 0xC00,
    TS_ALIGN_DEFAULT = 0x0F05,  // left, top, both given
};

// The codes by 3-bit index that resetting cell attributes uses.
extern const uint16_t TsResetAlignments[8];

struct TsStyle {
    uint16_t text;  // 0 when the value gives no keyword for text
    uint16_t icon;
};

// Reads the keywords anywhere in the value. Only the first letter of each
// keyword part may change case, so "tsrighticon" aligns icons right and
// "TSRIGHTICON" aligns nothing. A part without a keyword stays 0.
TsStyle TsParseStyle(const char* text);

// "TsLeftText TsTopText" for a text code, "...Icon" for an icon code; a code
// without its given bits reads as Left and Top.
std::string TsFormatAlignment(uint16_t code, bool icon);

// Both codes of a style value: the text keywords, a space, the icon keywords.
std::string TsFormatStyle(const TsStyle& style);

#endif
