// Size templates: the language that gives rows their height and columns
// their width ("[20]", "[B]:[1R]", "[12.5%]", "[7.5p]", "(8*M)"), read into
// a plain record and formatted back.
#ifndef ZUB_GRID_PROPS_TSTEMPLATE_H
#define ZUB_GRID_PROPS_TSTEMPLATE_H

#include <stdint.h>

#include <string>

class TsDiagnostics;

// Kinds of one item; the low byte of TsSizeTemplate::kinds describes the
// first item, the high byte the second.
enum : uint8_t {
    TS_SIZE_ABSOLUTE = 0x01,
    TS_SIZE_TEXT = 0x02,
    TS_SIZE_WEIGHT = 0x04,  // "[1R]": a share of the space left over
    TS_SIZE_BEST = 0x08,    // "[B]": as large as the content
    TS_SIZE_PERCENT = 0x10,
};
enum : uint16_t {
    TS_SIZE_UNSET = 0xFFFF,       // an absolute slot not given
    TS_COLUMN_FLAG_BEST = 0x80,   // the column flag of a template with a B item
    TS_SIZE_TEXT_MAX = 127,       // characters of an expanded text item
};

struct TsSizeTemplate {
    uint16_t kinds;        // 0: no template (a syntax error)
    uint16_t weight;
    uint32_t percent;      // thousandths of a percent: 12.5% is 12500
    uint16_t absolute[2];  // pixels of the first and the second item
    char text[TS_SIZE_TEXT_MAX + 1];

    uint8_t FirstKind() const { return static_cast<uint8_t>(kinds & 0xFF); }
    uint8_t SecondKind() const { return static_cast<uint8_t>(kinds >> 8); }
    bool Has(uint8_t kind) const { return ((kinds | (kinds >> 8)) & kind) != 0; }
};

// An empty record (kinds 0, absolutes unset).
TsSizeTemplate TsEmptyTemplate();

// A text template measuring text (at most TS_SIZE_TEXT_MAX characters).
TsSizeTemplate TsTextTemplate(const char* text);

// The templates that exist from start-up: "M", the default of every row and
// column "MMMMMM" (also what a reset marker restores), and the AutoSearch
// field's "MMMMMMMM".
const TsSizeTemplate& TsTemplateM();
const TsSizeTemplate& TsTemplateDefault();
const TsSizeTemplate& TsTemplateAutoSearch();

// Parses a template. Points become pixels at logPixelsY dots per inch. On a
// syntax error (no match, a third item, a kind given twice, a text longer
// than TS_SIZE_TEXT_MAX once expanded) the result has kinds 0.
TsSizeTemplate TsParseTemplate(const char* text, int logPixelsY);

// "[20]", "[1r]", "[12%]", "[12.500%]", "[b]" or the text (with the
// characters that have a meaning escaped), the second item after ":".
std::string TsFormatTemplate(const TsSizeTemplate& tmpl);

// The column flags a template gives: TS_COLUMN_FLAG_BEST with a B item.
uint16_t TsTemplateColumnFlags(const TsSizeTemplate& tmpl);

// Applies a template text to a row or column template: on a syntax error
// writes "TS: (TsPropertyMgr) Row template syntax error." (or "Col ...") and
// leaves *target as it was. Returns true when the template changed.
bool TsApplyTemplateText(TsSizeTemplate* target, const char* text, int logPixelsY, bool column,
                         TsDiagnostics* diagnostics);

// The syntax error line for rows or columns.
const char* TsTemplateSyntaxError(bool column);

#endif
