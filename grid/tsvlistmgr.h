// Values and value lists as clients see them: the value layout, the list
// range record and the value-list manager that TsGetVListMgr (ordinal 14)
// returns. The manager is a table of __stdcall operations in fixed slot
// order, with no query/add-reference/release slots; moving a slot breaks
// every program built against this header.
#ifndef ZUB_GRID_TSVLISTMGR_H
#define ZUB_GRID_TSVLISTMGR_H

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#define TSVAPI __stdcall
#else
#define TSVAPI
#endif

// A value is a framework string: a reference count (holders minus one), the
// length in bytes, then a byte whose low four bits are the string's size
// class and whose high four bits are the value's type, then the content and
// a NUL. A number has length 5: a NUL byte, then the 32-bit number
// (little-endian, unaligned).
struct TsValue {
    volatile int32_t refs;
    uint8_t length;
    uint8_t typeClass;
};
#define TS_VALUE_HEADER 6
enum {
    TS_VALUE_TEXT = 0,     // 0-7: ordinary values
    TS_VALUE_NOOP = 8,     // a setter leaves its target unchanged
    TS_VALUE_RESET = 9,    // a setter returns its target to the default
    TS_VALUE_MARKER = 8,   // types from here on are markers
    TS_VALUE_MAX = 249     // content bytes a value can hold
};
inline const char* TsValueText(const TsValue* v) { return reinterpret_cast<const char*>(v) + TS_VALUE_HEADER; }
inline int TsValueType(const TsValue* v) { return v->typeClass >> 4; }
inline bool TsValueIsNumber(const TsValue* v) { return v->length == 5 && TsValueText(v)[0] == '\0'; }

// The list class (opaque to clients).
class QfStringList;
typedef QfStringList Vlist;

// A range of a list: first and last are indexes (negative ones count from
// the end) and the range always runs forwards between them, both included.
// filter: "@t0".."@t7" marker entries of type 8 + digit, "@tv" ordinary
// values, another text a pattern matched at the start of each entry's text,
// null every entry.
struct VlistRange {
    Vlist* list;
    int32_t first;
    int32_t last;
    const char* filter;
};

// Value arguments are holders: the address of a place holding a value
// reference (a list entry from slot 11, or a variable of the caller's that
// starts as null or a value from the manager).
struct ITsVListMgr {
    virtual Vlist* TSVAPI Create(int32_t count) = 0;                                       // 0
    virtual Vlist* TSVAPI Copy(Vlist* list, int32_t withEntries) = 0;                      // 1
    virtual int32_t TSVAPI Destroy(Vlist* list) = 0;                                       // 2
    virtual int32_t TSVAPI Grow(Vlist* list, int32_t count) = 0;                           // 3
    virtual int32_t TSVAPI Clear(Vlist* list) = 0;                                         // 4
    virtual int32_t TSVAPI Dump(Vlist* list, int32_t first, int32_t last, const char* filter) = 0;  // 5
    // Appends the values of a text, one per line ("\n" or "\r\n"); returns how many.
    virtual int32_t TSVAPI ParseList(Vlist* list, const char* text) = 0;                   // 6
    virtual TsValue** TSVAPI EntryAddress(TsValue** base, int32_t index) = 0;              // 7
    virtual const char* TSVAPI SetFilter(const char* name) = 0;                            // 8
    virtual int32_t TSVAPI Count(const VlistRange* range) = 0;                             // 9
    virtual int32_t TSVAPI Size(const Vlist* list) = 0;                                    // 10
    virtual TsValue** TSVAPI Entry(Vlist* list, int32_t index) = 0;                        // 11
    virtual int32_t TSVAPI First(TsValue** holder, const VlistRange* range) = 0;           // 12
    virtual int32_t TSVAPI Assign(TsValue** holder, TsValue* const* holder2) = 0;          // 13
    // One value from a text: "%TSNoOp" and "%TSReset" (any case) give the
    // markers, a leading backslash quotes the rest, anything else is text.
    virtual int32_t TSVAPI ParseValue(TsValue** holder, const char* text) = 0;             // 14
    virtual int32_t TSVAPI SetNumber(TsValue** holder, int32_t number) = 0;                // 15
    virtual int32_t TSVAPI CopyRange(const VlistRange* to, const VlistRange* from) = 0;    // 16
    virtual int32_t TSVAPI Fill(const VlistRange* range, TsValue* const* holder) = 0;      // 17
    virtual int32_t TSVAPI AppendText(const VlistRange* range, const char* text) = 0;      // 18
    virtual int32_t TSVAPI PrependText(const VlistRange* range, const char* text) = 0;     // 19
    virtual int32_t TSVAPI AssignRange(Vlist* list, const VlistRange* range) = 0;          // 20
    virtual int32_t TSVAPI AppendRange(Vlist* list, const VlistRange* range) = 0;          // 21
    virtual int32_t TSVAPI AppendList(Vlist* list, const Vlist* list2) = 0;                // 22
    virtual int32_t TSVAPI AppendValue(Vlist* list, TsValue* const* holder) = 0;           // 23
    // The texts of the list joined with the separator, into the holder.
    virtual int32_t TSVAPI JoinList(TsValue** holder, const Vlist* list, const char* separator) = 0;  // 24
    virtual int32_t TSVAPI CompareText(const char* a, const char* b, int32_t ignoreCase) = 0;  // 25
    virtual int32_t TSVAPI Erase(const VlistRange* range) = 0;                             // 26
    virtual int32_t TSVAPI EraseEntry(Vlist* list, int32_t index) = 0;                     // 27
    // Patterns: the length matched at the start, or -1.
    virtual int32_t TSVAPI Match(TsValue* const* holder, const char* pattern) = 0;         // 28
    // The first position where the pattern matches, or -1.
    virtual int32_t TSVAPI Search(TsValue* const* holder, const char* pattern) = 0;        // 29
    // Capture a (or the whole match when a took no part) into out.
    virtual int32_t TSVAPI Extract(TsValue** out, TsValue* const* holder, const char* pattern) = 0;  // 30
    virtual int32_t TSVAPI MatchRange(const VlistRange* range, const char* pattern) = 0;   // 31
    virtual int32_t TSVAPI SearchRange(const VlistRange* range, const char* pattern) = 0;  // 32
    virtual int32_t TSVAPI ExtractRange(Vlist* out, const VlistRange* range, const char* pattern) = 0;  // 33
    virtual int32_t TSVAPI LowerValue(TsValue** holder) = 0;                               // 34
    virtual int32_t TSVAPI LowerRange(const VlistRange* range) = 0;                        // 35
    virtual int32_t TSVAPI UpperValue(TsValue** holder) = 0;                               // 36
    virtual int32_t TSVAPI UpperRange(const VlistRange* range) = 0;                        // 37
    virtual int32_t TSVAPI CutMatch(TsValue** holder, const char* pattern) = 0;            // 38
    virtual int32_t TSVAPI CutLeft(TsValue** holder, int32_t count) = 0;                   // 39
    virtual int32_t TSVAPI TrimLeft(TsValue** holder) = 0;                                 // 40
    virtual int32_t TSVAPI CutMatchRange(const VlistRange* range, const char* pattern) = 0;  // 41
    virtual int32_t TSVAPI CutLeftRange(const VlistRange* range, int32_t count) = 0;       // 42
    virtual int32_t TSVAPI TrimLeftRange(const VlistRange* range) = 0;                     // 43
    virtual int32_t TSVAPI CutSuffix(TsValue** holder, const char* suffix) = 0;            // 44
    virtual int32_t TSVAPI CutRight(TsValue** holder, int32_t count) = 0;                  // 45
    virtual int32_t TSVAPI TrimRight(TsValue** holder) = 0;                                // 46
    virtual int32_t TSVAPI CutSuffixRange(const VlistRange* range, const char* suffix) = 0;  // 47
    virtual int32_t TSVAPI CutRightRange(const VlistRange* range, int32_t count) = 0;      // 48
    virtual int32_t TSVAPI TrimRightRange(const VlistRange* range) = 0;                    // 49
    // 1 when the pattern matches the whole text.
    virtual int32_t TSVAPI MatchWhole(TsValue* const* holder, const char* pattern) = 0;    // 50
    virtual int32_t TSVAPI MatchWholeRange(const VlistRange* range, const char* pattern) = 0;  // 51
    // The leading part the pattern matches replaced by text.
    virtual int32_t TSVAPI Replace(TsValue** holder, const char* pattern, const char* text) = 0;  // 52
    // Appends the pieces between matches of the pattern.
    virtual int32_t TSVAPI Split(Vlist* out, TsValue* const* holder, const char* pattern) = 0;  // 53
    virtual const char* TSVAPI Text(TsValue* const* holder) = 0;                           // 54
    virtual int32_t TSVAPI Number(TsValue* const* holder) = 0;                             // 55
    virtual int32_t TSVAPI Length(TsValue* const* holder) = 0;                             // 56
};

#endif
