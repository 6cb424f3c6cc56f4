// The library's number reader, used for creation texts and for reading a
// text value as a number.
#ifndef ZUB_GRID_VALUES_TSNUMBER_H
#define ZUB_GRID_VALUES_TSNUMBER_H

#include <stdint.h>

// Leading blanks are skipped, each leading "-" toggles the sign, "0x" or
// "0X" starts hexadecimal digits, otherwise decimal digits are read up to
// the first non-digit; no digits give 0. Overflow wraps at 32 bits. When end
// is given it receives the position after the last character read.
int32_t TsReadNumber(const char* text, const char** end = nullptr);

#endif
