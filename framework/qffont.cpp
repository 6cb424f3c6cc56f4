#include "qffont.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "qfpattern.h"

namespace {

const char kSizePattern[] =
    "#-#-#-#-(.#-#!(* [pP][iI][xX])|* [pP][iI][xX])-(+ [cC][eE][lL][lL])(+ |!?)";

struct FlagWord {
    const char* pattern;
    uint8_t bit;
};
const FlagWord kFlagWords[] = {
    {"{a--}[Bb]-([Oo]-([Ll]-([Dd])))(+ |!?)", QF_FONT_BOLD},
    {"{a--}[Ii]-([Tt]-([Aa]-([Ll]-([Ii]-([Cc])))))(+ |!?)", QF_FONT_ITALIC},
    {"{a--}[Uu]-([Nn]-([Dd]-([Ee]-([Rr]-([Ll]-([Ii]-([Nn]-([Ee]))))))))(+ |!?)", QF_FONT_UNDERLINE},
    {"{a--}[Ss]-([Tt]-([Rr]-([Ii]-([Kk]-([Ee]-([Oo]-([Uu]-([Tt]))))))))(+ |!?)", QF_FONT_STRIKEOUT},
    {"{a--}[Hh][Ww](+ |!?)", QF_FONT_HALFWIDTH},
    {"{a--}[Dd][Ww](+ |!?)", QF_FONT_DOUBLEWIDTH},
};

struct CharSetWord {
    const char* pattern;
    uint8_t charSet;
};
const CharSetWord kCharSetWords[] = {
    {"(ANSI|ansi)(+ |!?)", 0},
    {"(OEM|oem)(+ |!?)", 255},
    {"(DCS|dcs)(+ |!?)", 1},
};

bool StartsNoCase(const char* p, const char* word)
{
    for (; *word; ++p, ++word) {
        if ((*p | 0x20) != *word)
            return false;
    }
    return true;
}

// Applies a matched size: digits, an optional fraction, "pix", "cell".
void ApplySize(QfFontSpec* spec, const char* p)
{
    int whole = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        whole = whole * 10 + (*p - '0');
    int fraction = 0;
    if (*p == '.') {
        ++p;
        int digits = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++digits)
            fraction = fraction * 10 + (*p - '0');
        if (digits == 1)
            fraction *= 10;
    }
    while (*p == ' ')
        ++p;
    int size;
    if (StartsNoCase(p, "pix")) {
        spec->flags &= static_cast<uint8_t>(~QF_FONT_POINTS);
        size = whole;
        p += 3;
        while (*p == ' ')
            ++p;
    } else {
        spec->flags |= QF_FONT_POINTS;
        size = whole * 100 + fraction;
    }
    spec->size = StartsNoCase(p, "cell") ? size : -size;
}

// Tries each word of the language at p; the length matched, or -1.
int ApplyWord(QfFontSpec* spec, const char* p)
{
    int n = QfMatchPattern(p, kSizePattern);
    if (n > 0) {
        ApplySize(spec, p);
        return n;
    }
    for (const FlagWord& w : kFlagWords) {
        char minus[2] = "";
        n = QfMatchPattern(p, w.pattern, minus);
        if (n > 0) {
            if (minus[0] == '-')
                spec->flags &= static_cast<uint8_t>(~w.bit);
            else
                spec->flags |= w.bit;
            return n;
        }
    }
    for (const CharSetWord& w : kCharSetWords) {
        n = QfMatchPattern(p, w.pattern);
        if (n > 0) {
            spec->charSet = w.charSet;
            return n;
        }
    }
    return -1;
}

}  // namespace

void QfFontSpecInit(QfFontSpec* spec)
{
    memset(spec, 0, sizeof *spec);
    strcpy(spec->face, "Arial");
    spec->size = 1000;
    spec->charSet = 1;
    spec->flags = QF_FONT_POINTS;
}

bool QfParseFontSpec(QfFontSpec* spec, const char* text)
{
    if (!text)
        text = "";
    char facePattern[48];
    snprintf(facePattern, sizeof facePattern, "* {a<0-%d>[^:][^ :]}* (:|!?)", QF_FONT_FACE_MAX);
    char face[QF_FONT_FACE_MAX + 2] = "";
    const char* p = text;
    int n = QfMatchPattern(p, facePattern, face);
    if (n >= 0) {
        // The capture may reach 32 characters; the record keeps 31.
        strncpy(spec->face, face, QF_FONT_FACE_MAX);
        spec->face[QF_FONT_FACE_MAX] = '\0';
        p += n;
    }
    bool ok = true;
    for (;;) {
        while (*p == ' ')
            ++p;
        if (!*p)
            break;
        n = ApplyWord(spec, p);
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
    }
    if (ok)
        spec->flags &= static_cast<uint8_t>(~QF_FONT_INVALID);
    else
        spec->flags |= QF_FONT_INVALID;
    return ok;
}

int QfFormatFontSpec(const QfFontSpec* spec, char* out)
{
    out[0] = '\0';
    if (spec->flags & QF_FONT_INVALID)
        return 0;
    bool points = spec->flags & QF_FONT_POINTS;
    long absolute = labs(static_cast<long>(spec->size));
    long whole = points ? absolute / 100 : absolute;
    int hundredths = points ? static_cast<int>(absolute % 100) : 0;
    char fraction[8] = "";
    if (hundredths % 10 == 0 && hundredths != 0)
        snprintf(fraction, sizeof fraction, ".%d", hundredths / 10);
    else if (hundredths != 0)
        snprintf(fraction, sizeof fraction, ".%02d", hundredths);
    char face[QF_FONT_FACE_MAX + 1];
    strncpy(face, spec->face, QF_FONT_FACE_MAX);
    face[QF_FONT_FACE_MAX] = '\0';
    int n = snprintf(out, QF_FONT_TEXT_MAX, "%s:%ld%s%s%s%s%s%s%s%s%s%s", face, whole, fraction,
                     points ? "" : " pix", spec->size > 0 ? " cell" : "", (spec->flags & QF_FONT_BOLD) ? " b" : "",
                     (spec->flags & QF_FONT_ITALIC) ? " i" : "", (spec->flags & QF_FONT_UNDERLINE) ? " u" : "",
                     (spec->flags & QF_FONT_STRIKEOUT) ? " s" : "", "", (spec->flags & QF_FONT_HALFWIDTH) ? " hw" : "",
                     (spec->flags & QF_FONT_DOUBLEWIDTH) ? " dw" : "");
    return n < QF_FONT_TEXT_MAX ? n : QF_FONT_TEXT_MAX - 1;
}

namespace {

bool SameRecord(const QfFontSpec& a, const QfFontSpec& b)
{
    return strcmp(a.face, b.face) == 0 && a.size == b.size && a.charSet == b.charSet && a.flags == b.flags;
}

}  // namespace

bool QfFontRecordName(const QfFontSpec* spec, char* out)
{
    QfFontSpec record = *spec;
    record.face[QF_FONT_FACE_MAX] = '\0';
    char canonical[QF_FONT_TEXT_MAX];
    QfFormatFontSpec(&record, canonical);
    char set[16] = "";
    if (record.charSet == 0)
        strcpy(set, " ANSI");
    else if (record.charSet == 255)
        strcpy(set, " OEM");
    else if (record.charSet != 1)
        snprintf(set, sizeof set, " charset %u", static_cast<unsigned>(record.charSet));
    // Written after a leading "#", which stays only when the name does not
    // read back as the record.
    snprintf(out, QF_FONT_NAME_MAX, "#%s%s", canonical, set);
    QfFontSpec back;
    QfFontSpecInit(&back);
    bool same = QfParseFontSpec(&back, out + 1) && SameRecord(back, record);
    if (same)
        memmove(out, out + 1, strlen(out));
    return same;
}

int QfFontBaseHeight(const QfFontSpec* spec, int logPixelsY)
{
    if (!(spec->flags & QF_FONT_POINTS))
        return spec->size;
    return static_cast<int>(static_cast<long long>(logPixelsY) * spec->size / 7200);
}

int QfFontScaledHeight(const QfFontSpec* spec, int logPixelsY)
{
    int height = QfFontBaseHeight(spec, logPixelsY);
    if (spec->flags & QF_FONT_DOUBLEWIDTH)
        height *= 2;
    if (spec->flags & QF_FONT_HALFWIDTH)
        height /= 2;
    return height;
}

bool QfFontNeedsWidth(const QfFontSpec* spec)
{
    bool half = spec->flags & QF_FONT_HALFWIDTH, twice = spec->flags & QF_FONT_DOUBLEWIDTH;
    return half != twice;
}
