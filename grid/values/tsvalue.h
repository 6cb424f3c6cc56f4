// Values: reference-counted framework strings carrying a type, used for cell
// contents and property values. A holder (TsValue**) owns one reference to
// what it holds; null in a holder reads as the empty value.
#ifndef ZUB_GRID_VALUES_TSVALUE_H
#define ZUB_GRID_VALUES_TSVALUE_H

#include <stddef.h>
#include <stdint.h>

#include "tsvlistmgr.h"

// A new reference to the shared empty value.
TsValue* TsEmpty();
// Adds a reference; returns v.
TsValue* TsValueRef(TsValue* v);
// Drops one reference; the last one returns the value to the text service.
void TsValueRelease(TsValue* v);

// New values carrying one reference. Texts are cut at TS_VALUE_MAX bytes.
TsValue* TsMakeText(const char* text, int length = -1);
TsValue* TsMakeNumber(int32_t number);
TsValue* TsMakeMarker(int type);

// The value in a holder, the empty value for an empty holder (no reference added).
const TsValue* TsHeld(TsValue* const* holder);
// Makes the holder share v (v may be null: the empty value).
void TsHolderSet(TsValue** holder, TsValue* v);
// Makes the holder take over a reference the caller owns.
void TsHolderTake(TsValue** holder, TsValue* v);
void TsHolderRelease(TsValue** holder);

// Copy on write: the holder gets a value of its own with room for capacity
// bytes, keeping the content (cut at the capacity) when keep is set, and
// keeping the type. Returns the writable value, or null when no value could
// be had (the holder then keeps what it held).
TsValue* TsMakeWritable(TsValue** holder, uint32_t capacity, bool keep);

inline char* TsValueChars(TsValue* v) { return reinterpret_cast<char*>(v) + TS_VALUE_HEADER; }
void TsSetType(TsValue* v, int type);
// Sets the length and the terminating NUL (within the capacity).
void TsSetLength(TsValue* v, int length);
int TsValueCapacity(const TsValue* v);

// The number of a number value; a text is read with the number reader.
int32_t TsValueNumber(const TsValue* v);
// The text of a value, numbers in decimal; out holds at least 12 bytes.
const char* TsValueString(const TsValue* v, char* out, size_t size);
// Text comparison byte by byte, optionally folding ASCII letters; -1, 0 or 1.
int TsCompareText(const char* a, const char* b, bool ignoreCase);
// True when length characters of text equal word, ignoring ASCII case.
bool TsSameWord(const char* text, int length, const char* word);

// Same type, length and content.
bool TsValueEquals(const TsValue* a, const TsValue* b);

#endif
