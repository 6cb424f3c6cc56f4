// The system string comparison for alphabetic sort keys on Windows.
#ifndef ZUB_GRID_SORT_WIN32_TSSYSTEMCOMPARE_H
#define ZUB_GRID_SORT_WIN32_TSSYSTEMCOMPARE_H

// lstrcmpA, with the calling convention TsTextCompare expects.
int TsCompareTextSystem(const char* a, const char* b);

#endif
