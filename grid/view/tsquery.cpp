#include "tsquery.h"

#include <stdio.h>
#include <string.h>

#include "ts.h"

namespace {

uint32_t ReadDigits(const char** p)
{
    uint32_t v = 0;
    while (**p >= '0' && **p <= '9')
        v = v * 10 + static_cast<uint32_t>(*(*p)++ - '0');
    return v;
}

void SkipSeparator(const char** p)
{
    if (**p)
        ++*p;
}

void SetText(TsQueryRecord* r, const char* text)
{
    snprintf(r->text, sizeof r->text, "%s", text ? text : "");
}

void SetPixels(TsQueryRecord* r, const TsPixels& px)
{
    r->values[0] = static_cast<uint32_t>(px.left);
    r->values[1] = static_cast<uint32_t>(px.top);
    r->values[2] = static_cast<uint32_t>(px.right);
    r->values[3] = static_cast<uint32_t>(px.bottom);
}

uint32_t RectValid(TsQuerySource& s, TsQueryRecord* r)
{
    uint32_t top, left, bottom, right;
    if (!s.QueryCell(r->values[1], r->values[0], &top, &left) || !s.QueryCell(r->values[3], r->values[2], &bottom, &right))
        return 0;
    if (top > bottom) {
        uint32_t t = top;
        top = bottom;
        bottom = t;
    }
    if (left > right) {
        uint32_t t = left;
        left = right;
        right = t;
    }
    TsPixels a, b;
    if (!s.QueryCellRect(top, left, 0, &a) || !s.QueryCellRect(bottom, right, 0, &b))
        return 0;
    SetPixels(r, TsPixels{a.left, a.top, b.right, b.bottom});
    return 1;
}

}  // namespace

void TsParseQuery(const char* text, TsQueryRecord* out)
{
    memset(out, 0, sizeof *out);
    const char* p = text ? text : "";
    out->command = ReadDigits(&p);
    SkipSeparator(&p);
    out->argument = ReadDigits(&p);
    SkipSeparator(&p);
    for (uint32_t& v : out->values) {
        v = ReadDigits(&p);
        SkipSeparator(&p);
    }
    SetText(out, p);
}

size_t TsFormatQuery(uint32_t result, const TsQueryRecord& r, char* out, size_t size)
{
    if (!out || size == 0)
        return 0;
    int n = snprintf(out, size, "%lu:%lu,%lu,%lu,%lu,%lu:%s", static_cast<unsigned long>(result),
                     static_cast<unsigned long>(r.argument), static_cast<unsigned long>(r.values[0]),
                     static_cast<unsigned long>(r.values[1]), static_cast<unsigned long>(r.values[2]),
                     static_cast<unsigned long>(r.values[3]), r.text);
    if (n < 0)
        return 0;
    return static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1;
}

bool TsRunQuery(TsQuerySource& s, TsQueryRecord* r, uint32_t* result)
{
    uint32_t row = 0, col = 0;
    bool cell = s.QueryCell(r->values[0], r->values[1], &row, &col);
    TsPixels px;
    *result = 0;
    switch (r->command) {
    case TSQ_ROWCOUNT:
        *result = s.QueryRowCount();
        break;
    case TSQ_COLCOUNT:
        *result = s.QueryColCount();
        break;
    case TSQ_CELLTEXT:
        r->text[0] = '\0';
        if (cell) {
            s.QueryCellText(row, col, r->text, sizeof r->text);
            *result = 1;
        }
        break;
    case TSQ_COLORPAIR:
    case TSQ_COLORNAME:
    case TSQ_FONT:
    case TSQ_ICON:
    case TSQ_CURSOR:
        SetText(r, cell ? s.QueryCellName(r->command, row, col) : "");
        *result = cell ? 1 : 0;
        break;
    case TSQ_SELECTION: {
        TsRect b;
        if (s.QuerySelection(&b)) {
            r->values[0] = static_cast<uint32_t>(b.left);
            r->values[1] = static_cast<uint32_t>(b.top);
            r->values[2] = static_cast<uint32_t>(b.right);
            r->values[3] = static_cast<uint32_t>(b.bottom);
            *result = 1;
        }
        break;
    }
    case TSQ_FIRSTROW:
        s.QueryOrigin(&r->values[0], &r->values[1]);
        *result = r->values[0];
        break;
    case TSQ_COLTABLE:
        *result = s.QueryColTable();
        break;
    case TSQ_RECTVALID:
        *result = RectValid(s, r);
        break;
    case TSQ_CELLRECT:
    case TSQ_CELLFRAMERECT:
    case TSQ_CELLSCREENRECT:
        if (cell && s.QueryCellRect(row, col, r->command == TSQ_CELLRECT ? 0 : r->command == TSQ_CELLFRAMERECT ? 1 : 2,
                                    &px)) {
            SetPixels(r, px);
            *result = 1;
        }
        break;
    case TSQ_SHOWCELL:
        if (cell) {
            s.QueryShowCell(row, col, (r->argument & 0x10) != 0);
            s.QueryOrigin(&r->values[2], &r->values[3]);
            *result = 1;
        }
        break;
    default:
        return false;
    }
    return true;
}
