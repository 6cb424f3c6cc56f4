// Windows objects made from specification texts for the display service.
#ifndef ZUB_FRAMEWORK_WIN32_QFGDI_H
#define ZUB_FRAMEWORK_WIN32_QFGDI_H

#include <windows.h>

#include "qf.h"

// A font for a parsed record, or null (always null for an invalid record).
HFONT QfCreateSpecFont(const QfFontSpec* spec);
// An icon the caller owns, from a text or a resource number, at the wished
// size (updated by the text's size and the system limits); null if none.
HICON QfLoadIconRef(const char* reference, int* width, int* height);
// A cursor the caller owns, from a text or a resource number; null if none.
HCURSOR QfLoadCursorRef(const char* reference);
// A menu the caller owns: "module!name(n)" or a resource number; n, or else
// option when it is -1 or more (-1 meaning 0), picks a submenu, which is
// detached before its parent is destroyed. Where the option falls on a
// command rather than a submenu, the menu itself is returned; a number in
// the text must name a submenu.
HMENU QfLoadMenuRef(const char* reference, int option);
// The process's default palette on a palette device, else null.
HPALETTE QfDefaultPalette();
// A colour value as a GDI colour: system colours resolved; specials and the
// null colour give CLR_INVALID.
COLORREF QfColorRef(uint32_t value);
bool QfIsDithered(uint32_t value);
// The cached 8x8 checker brush (rows alternating 0xAA and 0x55).
HBRUSH QfCheckerBrush();

#endif
