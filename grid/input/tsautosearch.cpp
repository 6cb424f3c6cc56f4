#include "tsautosearch.h"

#include "tsvalue.h"

namespace {

// ASCII and Latin-1 letters to lower case (the ANSI code page of the
// program's texts).
unsigned char Fold(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    return c;
}

bool RowMatches(const TsDataMgr& d, uint32_t row, const std::string& prefix)
{
    char number[16];
    for (uint32_t c = 0; c < d.ColCount(); ++c) {
        if (!(d.Col(c)->flags & TS_COL_SEARCH))
            continue;
        if (TsBeginsWithFolded(TsValueString(d.Cell(row, c)->value, number, sizeof number), prefix))
            return true;
    }
    return false;
}

// The first matching shown row from `from` on, wrapping once round.
int32_t Scan(const TsDataMgr& d, const std::string& prefix, int32_t from)
{
    int32_t count = static_cast<int32_t>(d.RowCount());
    if (count == 0)
        return -1;
    if (from < 0 || from >= count)
        from = 0;
    for (int32_t n = 0; n < count; ++n) {
        uint32_t r = static_cast<uint32_t>((from + n) % count);
        if ((d.Row(r)->flags & TS_ROW_SHOWN) && RowMatches(d, r, prefix))
            return static_cast<int32_t>(r);
    }
    return -1;
}

}  // namespace

bool TsHasSearchColumns(const TsDataMgr& d)
{
    for (uint32_t c = 0; c < d.ColCount(); ++c) {
        if (d.Col(c)->flags & TS_COL_SEARCH)
            return true;
    }
    return false;
}

bool TsBeginsWithFolded(const char* text, const std::string& prefix)
{
    for (size_t i = 0; i < prefix.size(); ++i) {
        unsigned char t = static_cast<unsigned char>(text[i]);
        if (t == 0 || Fold(t) != Fold(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

int32_t TsSearchRows(const TsDataMgr& d, const std::string& typed, int32_t start)
{
    if (typed.empty())
        return -1;
    // A first letter moves on from the focus row; a longer text may still
    // match where the search stands.
    if (typed.size() == 1)
        return Scan(d, typed, start + 1);
    int32_t found = Scan(d, typed, start);
    if (found >= 0)
        return found;
    for (char c : typed) {
        if (Fold(static_cast<unsigned char>(c)) != Fold(static_cast<unsigned char>(typed[0])))
            return -1;
    }
    return Scan(d, typed.substr(0, 1), start + 1);
}
