#include "tstemplate.h"

#include <stdio.h>
#include <string.h>

#include "qfpattern.h"
#include "tsdiag.h"

namespace {

// Weights, percentages and B in brackets.
const char kShare[] = "\\[(#-#-#[rR]|#-#-#-(.-#-#-#)%|.#-#-#%|[Bb])\\]";
// Pixels and points, optionally a second term after "+".
const char kAbsolute[] = "\\[(-+<1-5>#-(-(.#-#)[pP]))-(\\+<1-5>#-(-(.#-#)[pP]))\\]";
// A text to measure with "(N*text)" repeats. The count is up to three digits
// and may be left out (one repeat), and texts keep brackets out, so that an
// unclosed "[20" is an error and not a text to measure; "\[" measures one.
const char kText[] = "+(+(\\\\?|[^][():\\])|\\(<0-3>#\\*+(\\\\?|[^][():\\])\\))";
const char kTemplate[] = "<0-127:>(($a|$b|$c)-(:($a|$b|$c)))!?";
const char kItem[] = "$a|$b|$c";

const int kAbsoluteMax = 32767;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a run of digits (the pattern bounds its length).
long ReadNumber(const char*& p)
{
    long value = 0;
    while (IsDigit(*p))
        value = value * 10 + (*p++ - '0');
    return value;
}

// Reads up to `places` fraction digits after a '.', scaled to that many places.
long ReadFraction(const char*& p, int places)
{
    long value = 0;
    int read = 0;
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            value = value * 10 + (*p++ - '0');
            ++read;
        }
    }
    for (; read < places; ++read)
        value *= 10;
    return value;
}

// "[20]", "[7.5p]", "[20+3p]": terms added, points at the resolution.
int ReadAbsolute(const char* p, int logPixelsY)
{
    long long total = 0;
    ++p;  // '['
    while (*p != ']') {
        if (*p == '+')
            ++p;
        const long whole = ReadNumber(p);
        if (*p == '.' || *p == 'p' || *p == 'P') {
            const long hundredths = ReadFraction(p, 2);
            ++p;  // 'p'
            total += static_cast<long long>(logPixelsY) * (100LL * whole + hundredths) / 7200;
        } else {
            total += whole;
        }
    }
    return total > kAbsoluteMax ? kAbsoluteMax : static_cast<int>(total);
}

// Unescapes and expands repeats; false when the result would not fit.
bool ReadText(const char* p, const char* end, char* out)
{
    size_t length = 0;
    auto put = [&](char c) {
        if (length >= TS_SIZE_TEXT_MAX)
            return false;
        out[length++] = c;
        return true;
    };
    while (p < end) {
        if (*p == '\\') {
            if (!put(p[1]))
                return false;
            p += 2;
        } else if (*p == '(') {
            ++p;
            long count = IsDigit(*p) ? ReadNumber(p) : 1;
            ++p;  // '*'
            const char* body = p;
            while (*p != ')')
                p += (*p == '\\') ? 2 : 1;
            for (; count > 0; --count) {
                for (const char* q = body; q < p; ++q) {
                    if (*q == '\\')
                        ++q;
                    if (!put(*q))
                        return false;
                }
            }
            ++p;  // ')'
        } else if (!put(*p++)) {
            return false;
        }
    }
    out[length] = '\0';
    return true;
}

// Reads one item of `length` characters into the template as item `slot`.
bool ReadItem(const char* item, int length, int slot, int logPixelsY, TsSizeTemplate* t)
{
    uint8_t kind;
    const char* p = item + 1;
    if (item[0] != '[') {
        kind = TS_SIZE_TEXT;
    } else if (*p == 'B' || *p == 'b') {
        kind = TS_SIZE_BEST;
    } else if (item[length - 2] == 'r' || item[length - 2] == 'R') {
        kind = TS_SIZE_WEIGHT;
    } else if (item[length - 2] == '%') {
        kind = TS_SIZE_PERCENT;
    } else {
        kind = TS_SIZE_ABSOLUTE;
    }
    if (t->Has(kind))
        return false;
    switch (kind) {
    case TS_SIZE_TEXT:
        // An empty text could not be written back as a template.
        if (!ReadText(item, item + length, t->text) || t->text[0] == '\0')
            return false;
        break;
    case TS_SIZE_WEIGHT:
        t->weight = static_cast<uint16_t>(ReadNumber(p));
        break;
    case TS_SIZE_PERCENT: {
        const long whole = ReadNumber(p);
        t->percent = static_cast<uint32_t>(whole * 1000 + ReadFraction(p, 3));
        break;
    }
    case TS_SIZE_ABSOLUTE:
        t->absolute[slot] = static_cast<uint16_t>(ReadAbsolute(item, logPixelsY));
        break;
    }
    t->kinds |= static_cast<uint16_t>(kind << (8 * slot));
    return true;
}

void AppendText(std::string& out, const char* text)
{
    for (const char* p = text; *p; ++p) {
        if (strchr("\\()[]:", *p))
            out += '\\';
        out += *p;
    }
}

void AppendItem(std::string& out, const TsSizeTemplate& t, uint8_t kind, int slot)
{
    char buffer[32];
    switch (kind) {
    case TS_SIZE_ABSOLUTE:
        snprintf(buffer, sizeof buffer, "[%d]", t.absolute[slot]);
        break;
    case TS_SIZE_WEIGHT:
        snprintf(buffer, sizeof buffer, "[%dr]", t.weight);
        break;
    case TS_SIZE_PERCENT:
        if (t.percent % 1000 == 0)
            snprintf(buffer, sizeof buffer, "[%d%%]", static_cast<int>(t.percent / 1000));
        else
            snprintf(buffer, sizeof buffer, "[%d.%03d%%]", static_cast<int>(t.percent / 1000),
                     static_cast<int>(t.percent % 1000));
        break;
    case TS_SIZE_BEST:
        snprintf(buffer, sizeof buffer, "[b]");
        break;
    case TS_SIZE_TEXT:
        AppendText(out, t.text);
        return;
    default:
        return;
    }
    out += buffer;
}

}  // namespace

TsSizeTemplate TsEmptyTemplate()
{
    TsSizeTemplate t;
    memset(&t, 0, sizeof t);
    t.absolute[0] = t.absolute[1] = TS_SIZE_UNSET;
    return t;
}

TsSizeTemplate TsTextTemplate(const char* text)
{
    TsSizeTemplate t = TsEmptyTemplate();
    t.kinds = TS_SIZE_TEXT;
    snprintf(t.text, sizeof t.text, "%s", text ? text : "");
    return t;
}

const TsSizeTemplate& TsTemplateM()
{
    static const TsSizeTemplate t = TsTextTemplate("M");
    return t;
}

const TsSizeTemplate& TsTemplateDefault()
{
    static const TsSizeTemplate t = TsTextTemplate("MMMMMM");
    return t;
}

const TsSizeTemplate& TsTemplateAutoSearch()
{
    static const TsSizeTemplate t = TsTextTemplate("MMMMMMMM");
    return t;
}

TsSizeTemplate TsParseTemplate(const char* text, int logPixelsY)
{
    TsSizeTemplate t = TsEmptyTemplate();
    if (!text || QfMatchPattern(text, kTemplate, kShare, kAbsolute, kText) < 0)
        return t;
    const char* p = text;
    for (int slot = 0; slot < 2 && *p; ++slot) {
        const int length = QfMatchPattern(p, kItem, kShare, kAbsolute, kText);
        if (length <= 0 || !ReadItem(p, length, slot, logPixelsY, &t))
            return TsEmptyTemplate();
        p += length;
        if (*p == ':')
            ++p;
    }
    if (*p)
        return TsEmptyTemplate();
    return t;
}

std::string TsFormatTemplate(const TsSizeTemplate& t)
{
    std::string out;
    AppendItem(out, t, t.FirstKind(), 0);
    if (t.SecondKind()) {
        out += ':';
        AppendItem(out, t, t.SecondKind(), 1);
    }
    return out;
}

uint16_t TsTemplateColumnFlags(const TsSizeTemplate& t)
{
    return t.Has(TS_SIZE_BEST) ? TS_COLUMN_FLAG_BEST : 0;
}

const char* TsTemplateSyntaxError(bool column)
{
    return column ? "TS: (TsPropertyMgr) Col template syntax error." : "TS: (TsPropertyMgr) Row template syntax error.";
}

bool TsApplyTemplateText(TsSizeTemplate* target, const char* text, int logPixelsY, bool column,
                         TsDiagnostics* diagnostics)
{
    const TsSizeTemplate parsed = TsParseTemplate(text, logPixelsY);
    if (parsed.kinds == 0) {
        if (diagnostics)
            diagnostics->Diagnostic(TsTemplateSyntaxError(column));
        return false;
    }
    *target = parsed;
    return true;
}
