// Plain functions exported by the grid library, by name and by ordinal.
#ifndef ZUB_GRID_TSEXPORTS_H
#define ZUB_GRID_TSEXPORTS_H

#ifdef _WIN32
#define TSAPI __stdcall
#else
#define TSAPI
#endif

#include "tsvlistmgr.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { TS_VERSION = 0x00490003 };

// Ordinal 5: the library's version, always TS_VERSION.
unsigned long TSAPI TsGetVersion(void);

// Ordinal 13: 1 when the pattern matches the whole text, else 0.
int TSAPI TsCheckPattern(const char* text, const char* pattern);

// Ordinal 14: the value-list manager, one for the whole library, valid while
// the library is loaded.
ITsVListMgr* TSAPI TsGetVListMgr(void);

#ifdef __cplusplus
}
#endif

#endif
