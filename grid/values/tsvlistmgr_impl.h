// The value-list manager behind TsGetVListMgr: one object for the whole
// library. Its operations live in two files: lists (slots 0-27) and texts
// and patterns (slots 28-56).
#ifndef ZUB_GRID_VALUES_TSVLISTMGR_IMPL_H
#define ZUB_GRID_VALUES_TSVLISTMGR_IMPL_H

#include "tsvlistmgr.h"

class TsVListMgr final : public ITsVListMgr {
public:
    Vlist* TSVAPI Create(int32_t count) override;  // 0
    Vlist* TSVAPI Copy(Vlist* list, int32_t withEntries) override;  // 1
    int32_t TSVAPI Destroy(Vlist* list) override;  // 2
    int32_t TSVAPI Grow(Vlist* list, int32_t count) override;  // 3
    int32_t TSVAPI Clear(Vlist* list) override;  // 4
    int32_t TSVAPI Dump(Vlist* list, int32_t first, int32_t last, const char* filter) override;  // 5
    int32_t TSVAPI ParseList(Vlist* list, const char* text) override;  // 6
    TsValue** TSVAPI EntryAddress(TsValue** base, int32_t index) override;  // 7
    const char* TSVAPI SetFilter(const char* name) override;  // 8
    int32_t TSVAPI Count(const VlistRange* range) override;  // 9
    int32_t TSVAPI Size(const Vlist* list) override;  // 10
    TsValue** TSVAPI Entry(Vlist* list, int32_t index) override;  // 11
    int32_t TSVAPI First(TsValue** holder, const VlistRange* range) override;  // 12
    int32_t TSVAPI Assign(TsValue** holder, TsValue* const* holder2) override;  // 13
    int32_t TSVAPI ParseValue(TsValue** holder, const char* text) override;  // 14
    int32_t TSVAPI SetNumber(TsValue** holder, int32_t number) override;  // 15
    int32_t TSVAPI CopyRange(const VlistRange* to, const VlistRange* from) override;  // 16
    int32_t TSVAPI Fill(const VlistRange* range, TsValue* const* holder) override;  // 17
    int32_t TSVAPI AppendText(const VlistRange* range, const char* text) override;  // 18
    int32_t TSVAPI PrependText(const VlistRange* range, const char* text) override;  // 19
    int32_t TSVAPI AssignRange(Vlist* list, const VlistRange* range) override;  // 20
    int32_t TSVAPI AppendRange(Vlist* list, const VlistRange* range) override;  // 21
    int32_t TSVAPI AppendList(Vlist* list, const Vlist* list2) override;  // 22
    int32_t TSVAPI AppendValue(Vlist* list, TsValue* const* holder) override;  // 23
    int32_t TSVAPI JoinList(TsValue** holder, const Vlist* list, const char* separator) override;  // 24
    int32_t TSVAPI CompareText(const char* a, const char* b, int32_t ignoreCase) override;  // 25
    int32_t TSVAPI Erase(const VlistRange* range) override;  // 26
    int32_t TSVAPI EraseEntry(Vlist* list, int32_t index) override;  // 27
    int32_t TSVAPI Match(TsValue* const* holder, const char* pattern) override;  // 28
    int32_t TSVAPI Search(TsValue* const* holder, const char* pattern) override;  // 29
    int32_t TSVAPI Extract(TsValue** out, TsValue* const* holder, const char* pattern) override;  // 30
    int32_t TSVAPI MatchRange(const VlistRange* range, const char* pattern) override;  // 31
    int32_t TSVAPI SearchRange(const VlistRange* range, const char* pattern) override;  // 32
    int32_t TSVAPI ExtractRange(Vlist* out, const VlistRange* range, const char* pattern) override;  // 33
    int32_t TSVAPI LowerValue(TsValue** holder) override;  // 34
    int32_t TSVAPI LowerRange(const VlistRange* range) override;  // 35
    int32_t TSVAPI UpperValue(TsValue** holder) override;  // 36
    int32_t TSVAPI UpperRange(const VlistRange* range) override;  // 37
    int32_t TSVAPI CutMatch(TsValue** holder, const char* pattern) override;  // 38
    int32_t TSVAPI CutLeft(TsValue** holder, int32_t count) override;  // 39
    int32_t TSVAPI TrimLeft(TsValue** holder) override;  // 40
    int32_t TSVAPI CutMatchRange(const VlistRange* range, const char* pattern) override;  // 41
    int32_t TSVAPI CutLeftRange(const VlistRange* range, int32_t count) override;  // 42
    int32_t TSVAPI TrimLeftRange(const VlistRange* range) override;  // 43
    int32_t TSVAPI CutSuffix(TsValue** holder, const char* suffix) override;  // 44
    int32_t TSVAPI CutRight(TsValue** holder, int32_t count) override;  // 45
    int32_t TSVAPI TrimRight(TsValue** holder) override;  // 46
    int32_t TSVAPI CutSuffixRange(const VlistRange* range, const char* suffix) override;  // 47
    int32_t TSVAPI CutRightRange(const VlistRange* range, int32_t count) override;  // 48
    int32_t TSVAPI TrimRightRange(const VlistRange* range) override;  // 49
    int32_t TSVAPI MatchWhole(TsValue* const* holder, const char* pattern) override;  // 50
    int32_t TSVAPI MatchWholeRange(const VlistRange* range, const char* pattern) override;  // 51
    int32_t TSVAPI Replace(TsValue** holder, const char* pattern, const char* text) override;  // 52
    int32_t TSVAPI Split(Vlist* out, TsValue* const* holder, const char* pattern) override;  // 53
    const char* TSVAPI Text(TsValue* const* holder) override;  // 54
    int32_t TSVAPI Number(TsValue* const* holder) override;  // 55
    int32_t TSVAPI Length(TsValue* const* holder) override;  // 56
};

// The library-wide manager.
ITsVListMgr* TsVListManager();

#endif
