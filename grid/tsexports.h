// Plain functions exported by the grid library, by name and by ordinal.
#ifndef ZUB_GRID_TSEXPORTS_H
#define ZUB_GRID_TSEXPORTS_H

#ifdef _WIN32
#define TSAPI __stdcall
#else
#define TSAPI
#endif

#include <stdint.h>

#include "tsvlistmgr.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { TS_VERSION = 0x00490003 };

// Ordinal 5: the library's version, always TS_VERSION.
unsigned long TSAPI TsGetVersion(void);

#ifdef _WIN32
// Ordinals 6-8: the framework's stock colour, cursor and icon names by
// index (null past the last).
const char* TSAPI TsGetStockColorNames(uint32_t index);
const char* TSAPI TsStockCursorNames(uint32_t index);
const char* TSAPI TsStockIconNames(uint32_t index);
// Ordinal 9: the colour value (0x00BBGGRR, flags in the top byte) of a
// colour specification; 0xFFFFFFFF when it names no colour.
uint32_t TSAPI TsGetColor(const char* spec);
// Ordinal 10: a new font (HFONT) made from a font specification; the caller
// deletes it.
void* TSAPI TsCreateFont(const char* spec);
// Ordinal 11: the framework's palette (HPALETTE), owned by the framework.
void* TSAPI TsGetPalette(void);
// Ordinal 12: the framework's diagnostic window (HWND); its result.
intptr_t TSAPI TsSetDiagnosticWnd(void* window);
#endif

// Ordinal 13: 1 when the pattern matches the whole text, else 0.
int TSAPI TsCheckPattern(const char* text, const char* pattern);

// Ordinal 14: the value-list manager, one for the whole library, valid while
// the library is loaded.
ITsVListMgr* TSAPI TsGetVListMgr(void);

#ifdef __cplusplus
}
#endif

#endif
