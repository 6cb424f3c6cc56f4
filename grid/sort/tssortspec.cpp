#include "tssortspec.h"

#include <string>

#include "qfpattern.h"

namespace {

// A whole key, for the syntax check.
const char kRowKey[] = "* -[-+]* -([Aa]-(lpha|LPHA)|[Nn]-(umeric|UMERIC)|[Rr]-(owdata|OWDATA))* ";
const char kColumnKey[] = "* -[-+]* -([Aa]-(lpha|LPHA)|[Nn]-(umeric|UMERIC)|[Cc]-(oldata|OLDATA))* ";
const char kSpec[] = "$a<0-7>(\\,$a)!?";
// One key with its direction in a and the first letter of its type in b.
const char kRowKeyParts[] = "* -{a[-+]}* -({b[Aa]}-(lpha|LPHA)|{b[Nn]}-(umeric|UMERIC)|{b[Rr]}-(owdata|OWDATA))* ";
const char kColumnKeyParts[] =
    "* -{a[-+]}* -({b[Aa]}-(lpha|LPHA)|{b[Nn]}-(umeric|UMERIC)|{b[Cc]}-(oldata|OLDATA))* ";

TsSortSpecKey ReadKey(const std::string& text, TsSortAxis axis)
{
    // Captures hold one character; cleared, since an optional part that took
    // no part in the match leaves its buffer as it was.
    char direction[2] = "";
    char type[2] = "";
    QfMatchPattern(text.c_str(), axis == TS_SORT_ROWS ? kRowKeyParts : kColumnKeyParts, direction, type);
    TsSortSpecKey key{0, false};
    switch (type[0] | 0x20) {
    case 'a': key.flags = TS_SORT_ALPHA; break;
    case 'n': key.flags = TS_SORT_NUMERIC; break;
    case 'r':
    case 'c': key.data = true; break;
    default: break;
    }
    if (direction[0] == '-')
        key.flags |= TS_SORT_DESCENDING;
    else
        key.flags |= TS_SORT_ASCENDING;
    if (!key.data && !(key.flags & (TS_SORT_ALPHA | TS_SORT_NUMERIC)))
        key.flags |= TS_SORT_ALPHA;
    return key;
}

}  // namespace

bool TsParseSortSpec(const char* text, TsSortAxis axis, TsSortSpec* out)
{
    if (!text)
        text = "";
    if (QfMatchPattern(text, kSpec, axis == TS_SORT_ROWS ? kRowKey : kColumnKey) < 0)
        return false;
    TsSortSpec spec;
    spec.count = 0;
    const std::string whole(text);
    size_t start = 0;
    for (;;) {
        const size_t comma = whole.find(',', start);
        spec.keys[spec.count++] = ReadKey(whole.substr(start, comma - start), axis);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    *out = spec;
    return true;
}

TsSortKeys TsNoSortKeys()
{
    TsSortKeys keys;
    for (int i = 0; i < TS_SORT_KEYS_MAX; ++i) {
        keys.lines[i] = 0;
        keys.flags[i] = 0;
    }
    keys.count = 0;
    keys.dataKey = 0;
    return keys;
}

TsSortStatus TsSetSortKeys(const char* text, TsSortAxis axis, const uint32_t* arguments, int argumentCount,
                           TsSortLineResolver resolve, void* context, TsSortKeys* keys)
{
    TsSortSpec spec;
    if (!TsParseSortSpec(text, axis, &spec))
        return TS_SORT_SYNTAX;
    TsSortKeys fresh = TsNoSortKeys();
    int next = 0;
    for (int k = 0; k < spec.count; ++k) {
        const TsSortSpecKey& key = spec.keys[k];
        const int used = fresh.count + (fresh.dataKey ? 1 : 0);
        if (key.data) {
            if (fresh.dataKey) {
                *keys = TsNoSortKeys();
                return TS_SORT_DATA_TWICE;
            }
            fresh.dataKey = static_cast<uint8_t>((fresh.count + 1) |
                                                 ((key.flags & TS_SORT_DESCENDING) ? TS_SORT_DATA_DESCENDING : 0));
            continue;
        }
        if (!arguments || next >= argumentCount)
            continue;
        uintptr_t line = 0;
        if (!resolve || !resolve(arguments[next++], &line, context))
            continue;
        for (int i = 0; i < fresh.count; ++i) {
            if (fresh.lines[i] == line) {
                *keys = TsNoSortKeys();
                return TS_SORT_LINE_TWICE;
            }
        }
        if (used >= TS_SORT_KEYS_MAX) {
            *keys = TsNoSortKeys();
            return TS_SORT_TOO_MANY;
        }
        fresh.lines[fresh.count] = line;
        fresh.flags[fresh.count] = key.flags;
        ++fresh.count;
    }
    *keys = fresh;
    return TS_SORT_OK;
}

const char* TsSortStatusMessage(TsSortStatus status, TsSortAxis axis)
{
    const bool rows = axis == TS_SORT_ROWS;
    switch (status) {
    case TS_SORT_SYNTAX:
        return "TS: (TsWndMgr) Sort spec invalid.";
    case TS_SORT_DATA_TWICE:
        return rows ? "TS: (TsWndMgr) Sort spec invalid; Row data specified twice, sorting disabled."
                    : "TS: (TsWndMgr) Sort spec invalid; Col data specified twice, sorting disabled.";
    case TS_SORT_LINE_TWICE:
        return rows ? "TS: (TsWndMgr) Sort spec invalid; Key column specified twice, sorting disabled."
                    : "TS: (TsWndMgr) Sort spec invalid; Key row specified twice, sorting disabled.";
    case TS_SORT_TOO_MANY:
        return "TS: (TsWndMgr) Sort spec invalid; Too many keys, sorting disabled.";
    default:
        return nullptr;
    }
}

void TsRemoveSortLine(TsSortKeys* keys, uintptr_t line)
{
    for (int i = 0; i < keys->count; ++i) {
        if (keys->lines[i] != line)
            continue;
        for (int j = i + 1; j < keys->count; ++j) {
            keys->lines[j - 1] = keys->lines[j];
            keys->flags[j - 1] = keys->flags[j];
        }
        --keys->count;
        keys->lines[keys->count] = 0;
        keys->flags[keys->count] = 0;
        const int dataAt = keys->dataKey & 0x7F;
        if (dataAt > i + 1)
            keys->dataKey = static_cast<uint8_t>((keys->dataKey & TS_SORT_DATA_DESCENDING) | (dataAt - 1));
        return;
    }
}
