// Framework strings: size classes, the 512-entry class table, and the
// operations that copy, append, insert and cut within a string's capacity.
// Making and releasing strings belongs to the text service; these functions
// only work on strings that exist.
#ifndef ZUB_FRAMEWORK_QFSTRING_H
#define ZUB_FRAMEWORK_QFSTRING_H

#include "qf.h"

enum { QF_STRING_CLASSES = 6, QF_STRING_MAX = 249 };

// Capacity in characters of size class 0 to 5: 0, 9, 25, 57, 121, 249.
int QfStringClassCapacity(int sizeClass);
// Block size in bytes of a class: 16 << (class - 1); 0 for class 0.
uint32_t QfStringClassBytes(int sizeClass);
// The class for a requested capacity: the table is indexed by the low 9 bits
// of the request, so 0 and multiples of 512 give class 0.
int QfStringClassFor(uint32_t capacity);

inline int QfStringCapacity(const QfString* s) { return QfStringClassCapacity(s->sizeClass & 0x0F); }

// Prepares a fresh block of the given class: count 0, length 0, empty text,
// and a NUL at the class capacity.
QfString* QfStringInitBlock(void* block, int sizeClass);

// Each operation cuts at the capacity and returns the resulting length.
int QfStringCopy(QfString* s, const char* text, int length);
int QfStringAppend(QfString* s, const char* text, int length);
int QfStringInsert(QfString* s, int position, const char* text, int length);
int QfStringCut(QfString* s, int position, int count);

// A text service's resize, built on its own allocation: a string of the
// class for `capacity` (capacity 0 gives `empty`), the text kept when
// asked. A string no one else holds and already of that class is returned
// as it is; when no block can be had the caller keeps its string.
QfString* QfStringResize(IQfTextMgr* texts, QfString* empty, QfString* string, uint32_t capacity,
                         int32_t keepText);

#endif
