// The font specification language ("Arial:48 hw", "MS Sans Serif: 8"),
// its canonical text, and the heights a font is created with.
#ifndef ZUB_FRAMEWORK_QFFONT_H
#define ZUB_FRAMEWORK_QFFONT_H

#include <stddef.h>

#include "qf.h"

enum { QF_FONT_FACE_MAX = 31, QF_FONT_TEXT_MAX = 80, QF_FONT_NAME_MAX = 100 };

// A fresh record: face "Arial", +1000 (10 points, cell height), character
// set 1, points flag only.
void QfFontSpecInit(QfFontSpec* spec);

// Updates the record in place; true when every word was understood. On
// failure the words before the unknown one stay applied and the record is
// marked invalid (QF_FONT_INVALID).
bool QfParseFontSpec(QfFontSpec* spec, const char* text);

// Writes the canonical text ("Tahoma:10.5 b i") and returns its length; an
// invalid record gives an empty text and 0. out holds QF_FONT_TEXT_MAX bytes.
int QfFormatFontSpec(const QfFontSpec* spec, char* out);

// The name a font made from a record (not from a text) is filed under:
// the canonical text, then the character set unless it is the default
// ("Arial:10 OEM"), so records that differ only in their set stay apart.
// True when that name, read as a specification, gives the same record: the
// font is then the one a text asking for it gets. Otherwise (an empty face,
// a face no specification can spell, a set with no word) the name starts
// with "#", as the table's other internal keys do. The record must be valid;
// out holds QF_FONT_NAME_MAX bytes.
bool QfFontRecordName(const QfFontSpec* spec, char* out);

// The logical height: pixels as they are, points at the screen's vertical
// resolution (truncated toward zero).
int QfFontBaseHeight(const QfFontSpec* spec, int logPixelsY);
// The height the first font is made with: doubled for double width, then
// halved for half width.
int QfFontScaledHeight(const QfFontSpec* spec, int logPixelsY);
// True when exactly one of half and double width is set, so the final font
// takes its width from the scaled font's average character width.
bool QfFontNeedsWidth(const QfFontSpec* spec);

#endif
