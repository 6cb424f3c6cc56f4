// The texts the grid parses into values: list and value syntax, filters and
// value-set names, patterns from outside on values and ranges, creation
// texts and query commands. The input is split at NUL bytes into a text, a
// pattern and a filter.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "tscreatetext.h"
#include "tsquery.h"
#include "tsvalue.h"
#include "tsvlistmgr_impl.h"

namespace {

std::string Field(const uint8_t*& p, const uint8_t* end)
{
    const uint8_t* start = p;
    while (p < end && *p)
        ++p;
    std::string s(reinterpret_cast<const char*>(start), static_cast<size_t>(p - start));
    if (p < end)
        ++p;
    return s;
}

void CheckValue(ITsVListMgr* m, TsValue** e)
{
    const TsValue* v = TsHeld(e);
    if (v->length > TS_VALUE_MAX || strlen(m->Text(e)) > v->length)
        abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    uint8_t knobs = p < end ? *p++ : 0;
    std::string text = Field(p, end), pattern = Field(p, end), filter = Field(p, end);
    ITsVListMgr* m = TsVListManager();

    Vlist* list = m->Create(knobs % 16);
    int32_t parsed = m->ParseList(list, text.c_str());
    if (parsed < 0 || m->Size(list) != parsed)
        abort();
    const char* f = m->SetFilter(filter.c_str());
    VlistRange range = {list, static_cast<int8_t>(knobs), -1, (knobs & 0x80) ? f : nullptr};
    int32_t counted = m->Count(&range);
    if (counted > m->Size(list))
        abort();
    m->Dump(list, range.first, range.last, range.filter);

    Vlist* out = m->Create(32);
    m->MatchRange(&range, pattern.c_str());
    m->SearchRange(&range, pattern.c_str());
    m->ExtractRange(out, &range, pattern.c_str());
    m->MatchWholeRange(&range, pattern.c_str());
    m->AppendText(&range, pattern.c_str());
    m->CutMatchRange(&range, pattern.c_str());
    m->CutSuffixRange(&range, filter.c_str());
    m->UpperRange(&range);
    m->TrimLeftRange(&range);

    TsValue* one = nullptr;
    m->ParseValue(&one, text.c_str());
    m->Split(out, &one, pattern.c_str());
    m->Replace(&one, pattern.c_str(), filter.c_str());
    m->Extract(&one, &one, pattern.c_str());
    m->CutLeft(&one, static_cast<int8_t>(knobs));
    m->JoinList(&one, out, filter.c_str());
    CheckValue(m, &one);
    for (int32_t i = 0; i < m->Size(list); ++i)
        CheckValue(m, m->Entry(list, i));
    m->Erase(&range);
    TsHolderRelease(&one);
    m->Destroy(out);
    m->Destroy(list);

    TsCreation c = TsParseCreationText(text.c_str());
    if (!c.flags && (c.params.maxRows != TS_DEFAULT_MAXROWS || c.params.maxCols != TS_DEFAULT_MAXCOLS))
        abort();
    TsQueryRecord q;
    TsParseQuery(text.c_str(), &q);
    if (strlen(q.text) > 128)
        abort();
    char answer[64];
    if (TsFormatQuery(q.command, q, answer, knobs % sizeof answer) >= sizeof answer)
        abort();
    return 0;
}
