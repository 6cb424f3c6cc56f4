// Value-list manager, slots 18, 19, 24, 25 and 28-56: texts of values and
// ranges, patterns, and reading a value.
#include <stdio.h>
#include <string.h>

#include "tspatternletters.h"
#include "tsstringlist.h"
#include "tsvalue.h"
#include "tsvlistmgr_impl.h"

namespace {

// A value's text copied out (numbers in decimal), with room to build a new one.
struct TextBuffer {
    char text[TS_VALUE_MAX + 1];
    int length;
    explicit TextBuffer(const TsValue* v)
    {
        char number[16];
        const char* t = TsValueString(v, number, sizeof number);
        length = TsValueIsNumber(v) ? static_cast<int>(strlen(t)) : v->length;
        memcpy(text, t, static_cast<size_t>(length));
        text[length] = '\0';
    }
};

// Replaces the holder's value by a text of its own; markers keep their type.
bool StoreText(TsValue** holder, const char* text, int length)
{
    if (length > TS_VALUE_MAX)
        length = TS_VALUE_MAX;
    int type = TsValueType(TsHeld(holder));
    char copy[TS_VALUE_MAX + 1];
    memcpy(copy, text, static_cast<size_t>(length));  // the text may be the value's own
    TsValue* v = TsMakeWritable(holder, static_cast<uint32_t>(length), false);
    if (!v)
        return false;
    memcpy(TsValueChars(v), copy, static_cast<size_t>(length));
    TsSetLength(v, length);
    TsSetType(v, type < TS_VALUE_MARKER ? TS_VALUE_TEXT : type);
    return true;
}

// Runs edit on the holder's text; edit changes the buffer and returns true
// when it changed something. Returns 1 when the value changed.
template <class F>
int32_t EditValue(TsValue** holder, F edit)
{
    if (!holder)
        return 0;
    TextBuffer b(TsHeld(holder));
    if (!edit(b))
        return 0;
    return StoreText(holder, b.text, b.length) ? 1 : 0;
}

template <class F>
int32_t EditRange(const VlistRange* range, F edit)
{
    int32_t changed = 0;
    TsWalkRange(range, [&](int32_t, TsValue** entry) {
        changed += EditValue(entry, edit);
        return true;
    });
    return changed;
}

void Cut(TextBuffer& b, int position, int count)
{
    memmove(b.text + position, b.text + position + count, static_cast<size_t>(b.length - position - count + 1));
    b.length -= count;
}

bool Insert(TextBuffer& b, int position, const char* text)
{
    int n = static_cast<int>(strnlen(text ? text : "", TS_VALUE_MAX));
    if (b.length + n > TS_VALUE_MAX)
        n = TS_VALUE_MAX - b.length;
    if (n <= 0)
        return false;
    memmove(b.text + position + n, b.text + position, static_cast<size_t>(b.length - position + 1));
    memcpy(b.text + position, text, static_cast<size_t>(n));
    b.length += n;
    return true;
}

int MatchAt(const TextBuffer& b, int position, const char* pattern, TsPatternLetters* letters)
{
    return TsMatchOutside(b.text + position, b.length - position, pattern, letters);
}

// The windows-1252 letters fold with the ASCII ones, as the system does.
unsigned char Lower(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    return c;
}

unsigned char Upper(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    return c;
}

bool MapCase(TextBuffer& b, unsigned char (*map)(unsigned char))
{
    bool changed = false;
    for (int i = 0; i < b.length; ++i) {
        unsigned char c = static_cast<unsigned char>(b.text[i]);
        if (map(c) != c) {
            b.text[i] = static_cast<char>(map(c));
            changed = true;
        }
    }
    return changed;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool CutLeftBy(TextBuffer& b, int count)
{
    if (count > b.length)
        count = b.length;
    if (count <= 0)
        return false;
    Cut(b, 0, count);
    return true;
}

bool CutRightBy(TextBuffer& b, int count)
{
    if (count > b.length)
        count = b.length;
    if (count <= 0)
        return false;
    b.length -= count;
    b.text[b.length] = '\0';
    return true;
}

bool TrimLeftBlanks(TextBuffer& b)
{
    int n = 0;
    while (n < b.length && IsBlank(b.text[n]))
        ++n;
    return CutLeftBy(b, n);
}

bool TrimRightBlanks(TextBuffer& b)
{
    int n = 0;
    while (n < b.length && IsBlank(b.text[b.length - 1 - n]))
        ++n;
    return CutRightBy(b, n);
}

bool CutSuffixText(TextBuffer& b, const char* suffix)
{
    if (!suffix || !*suffix)
        return false;
    for (int p = 0; p < b.length; ++p) {
        if (strcmp(b.text + p, suffix) == 0)
            return CutRightBy(b, b.length - p);
    }
    return false;
}

bool CutMatched(TextBuffer& b, const char* pattern)
{
    TsPatternLetters letters(static_cast<size_t>(b.length));
    return CutLeftBy(b, MatchAt(b, 0, pattern, &letters));
}

}  // namespace

int32_t TsVListMgr::AppendText(const VlistRange* range, const char* text)
{
    return EditRange(range, [text](TextBuffer& b) { return Insert(b, b.length, text); });
}

int32_t TsVListMgr::PrependText(const VlistRange* range, const char* text)
{
    return EditRange(range, [text](TextBuffer& b) { return Insert(b, 0, text); });
}

int32_t TsVListMgr::JoinList(TsValue** holder, const Vlist* list, const char* separator)
{
    if (!holder || !list)
        return 0;
    TextBuffer joined(TsHeld(nullptr));
    Vlist* l = const_cast<Vlist*>(list);
    for (int32_t i = 0; i < l->Size(); ++i) {
        if (i > 0 && separator)
            Insert(joined, joined.length, separator);
        TextBuffer piece(*l->At(i));
        Insert(joined, joined.length, piece.text);
    }
    return StoreText(holder, joined.text, joined.length) ? 1 : 0;
}

int32_t TsVListMgr::CompareText(const char* a, const char* b, int32_t ignoreCase)
{
    return TsCompareText(a, b, ignoreCase != 0);
}

int32_t TsVListMgr::Match(TsValue* const* holder, const char* pattern)
{
    TextBuffer b(TsHeld(holder));
    TsPatternLetters letters(static_cast<size_t>(b.length));
    return MatchAt(b, 0, pattern, &letters);
}

int32_t TsVListMgr::Search(TsValue* const* holder, const char* pattern)
{
    TextBuffer b(TsHeld(holder));
    TsPatternLetters letters(static_cast<size_t>(b.length));
    for (int p = 0; p <= b.length; ++p) {
        if (MatchAt(b, p, pattern, &letters) >= 0)
            return p;
    }
    return -1;
}

int32_t TsVListMgr::Extract(TsValue** out, TsValue* const* holder, const char* pattern)
{
    if (!out)
        return -1;
    TextBuffer b(TsHeld(holder));
    TsPatternLetters letters(static_cast<size_t>(b.length));
    int n = MatchAt(b, 0, pattern, &letters);
    if (n < 0)
        return -1;
    const char* a = letters.Letter(0);
    if (*a)
        StoreText(out, a, static_cast<int>(strlen(a)));
    else
        StoreText(out, b.text, n);
    return n;
}

int32_t TsVListMgr::MatchRange(const VlistRange* range, const char* pattern)
{
    int32_t matched = 0;
    TsWalkRange(range, [&](int32_t, TsValue** entry) {
        matched += Match(entry, pattern) >= 0 ? 1 : 0;
        return true;
    });
    return matched;
}

int32_t TsVListMgr::SearchRange(const VlistRange* range, const char* pattern)
{
    int32_t found = -1;
    TsWalkRange(range, [&](int32_t index, TsValue** entry) {
        if (Search(entry, pattern) < 0)
            return true;
        found = index;
        return false;
    });
    return found;
}

int32_t TsVListMgr::ExtractRange(Vlist* out, const VlistRange* range, const char* pattern)
{
    if (!out)
        return 0;
    int32_t extracted = 0;
    TsWalkRange(range, [&](int32_t, TsValue** entry) {
        TsValue* piece = nullptr;
        if (Extract(&piece, entry, pattern) >= 0) {
            if (!out->Append(piece)) {
                TsValueRelease(piece);
                return false;
            }
            ++extracted;
        }
        TsValueRelease(piece);
        return true;
    });
    return extracted;
}

int32_t TsVListMgr::LowerValue(TsValue** holder)
{
    return EditValue(holder, [](TextBuffer& b) { return MapCase(b, Lower); });
}

int32_t TsVListMgr::LowerRange(const VlistRange* range)
{
    return EditRange(range, [](TextBuffer& b) { return MapCase(b, Lower); });
}

int32_t TsVListMgr::UpperValue(TsValue** holder)
{
    return EditValue(holder, [](TextBuffer& b) { return MapCase(b, Upper); });
}

int32_t TsVListMgr::UpperRange(const VlistRange* range)
{
    return EditRange(range, [](TextBuffer& b) { return MapCase(b, Upper); });
}

int32_t TsVListMgr::CutMatch(TsValue** holder, const char* pattern)
{
    return EditValue(holder, [pattern](TextBuffer& b) { return CutMatched(b, pattern); });
}

int32_t TsVListMgr::CutLeft(TsValue** holder, int32_t count)
{
    return EditValue(holder, [count](TextBuffer& b) { return CutLeftBy(b, count); });
}

int32_t TsVListMgr::TrimLeft(TsValue** holder)
{
    return EditValue(holder, TrimLeftBlanks);
}

int32_t TsVListMgr::CutMatchRange(const VlistRange* range, const char* pattern)
{
    return EditRange(range, [pattern](TextBuffer& b) { return CutMatched(b, pattern); });
}

int32_t TsVListMgr::CutLeftRange(const VlistRange* range, int32_t count)
{
    return EditRange(range, [count](TextBuffer& b) { return CutLeftBy(b, count); });
}

int32_t TsVListMgr::TrimLeftRange(const VlistRange* range)
{
    return EditRange(range, TrimLeftBlanks);
}

int32_t TsVListMgr::CutSuffix(TsValue** holder, const char* suffix)
{
    return EditValue(holder, [suffix](TextBuffer& b) { return CutSuffixText(b, suffix); });
}

int32_t TsVListMgr::CutRight(TsValue** holder, int32_t count)
{
    return EditValue(holder, [count](TextBuffer& b) { return CutRightBy(b, count); });
}

int32_t TsVListMgr::TrimRight(TsValue** holder)
{
    return EditValue(holder, TrimRightBlanks);
}

int32_t TsVListMgr::CutSuffixRange(const VlistRange* range, const char* suffix)
{
    return EditRange(range, [suffix](TextBuffer& b) { return CutSuffixText(b, suffix); });
}

int32_t TsVListMgr::CutRightRange(const VlistRange* range, int32_t count)
{
    return EditRange(range, [count](TextBuffer& b) { return CutRightBy(b, count); });
}

int32_t TsVListMgr::TrimRightRange(const VlistRange* range)
{
    return EditRange(range, TrimRightBlanks);
}

int32_t TsVListMgr::MatchWhole(TsValue* const* holder, const char* pattern)
{
    TextBuffer b(TsHeld(holder));
    TsPatternLetters letters(static_cast<size_t>(b.length));
    return MatchAt(b, 0, pattern, &letters) == b.length ? 1 : 0;
}

int32_t TsVListMgr::MatchWholeRange(const VlistRange* range, const char* pattern)
{
    int32_t matched = 0;
    TsWalkRange(range, [&](int32_t, TsValue** entry) {
        matched += MatchWhole(entry, pattern);
        return true;
    });
    return matched;
}

int32_t TsVListMgr::Replace(TsValue** holder, const char* pattern, const char* text)
{
    return EditValue(holder, [pattern, text](TextBuffer& b) {
        TsPatternLetters letters(static_cast<size_t>(b.length));
        int n = MatchAt(b, 0, pattern, &letters);
        if (n < 0)
            return false;
        Cut(b, 0, n);
        Insert(b, 0, text);
        return true;
    });
}

int32_t TsVListMgr::Split(Vlist* out, TsValue* const* holder, const char* pattern)
{
    if (!out)
        return 0;
    TextBuffer b(TsHeld(holder));
    TsPatternLetters letters(static_cast<size_t>(b.length));
    int32_t pieces = 0;
    int start = 0;
    auto take = [&](int end) {
        TsValue* piece = TsMakeText(b.text + start, end - start);
        bool kept = out->Append(piece);
        TsValueRelease(piece);
        pieces += kept ? 1 : 0;
        return kept;
    };
    for (int p = 0; p < b.length;) {
        int n = MatchAt(b, p, pattern, &letters);
        if (n <= 0) {
            ++p;
            continue;
        }
        if (!take(p))
            return pieces;
        p += n;
        start = p;
    }
    take(b.length);
    return pieces;
}

const char* TsVListMgr::Text(TsValue* const* holder)
{
    return TsValueText(TsHeld(holder));
}

int32_t TsVListMgr::Number(TsValue* const* holder)
{
    const TsValue* v = TsHeld(holder);
    return TsValueIsNumber(v) ? TsValueNumber(v) : 0;
}

int32_t TsVListMgr::Length(TsValue* const* holder)
{
    return TsHeld(holder)->length;
}
