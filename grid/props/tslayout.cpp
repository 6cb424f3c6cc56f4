#include "tslayout.h"

#include <vector>

namespace {

const int kSizeMax = 32767;

int Clamp(long long size)
{
    return size < 0 ? 0 : size > kSizeMax ? kSizeMax : static_cast<int>(size);
}

int ItemSize(const TsSizeTemplate& t, uint8_t kind, int slot, size_t index, int available, TsMeasure& measure)
{
    switch (kind) {
    case TS_SIZE_ABSOLUTE:
        return t.absolute[slot] == TS_SIZE_UNSET ? 0 : t.absolute[slot];
    case TS_SIZE_TEXT:
        return Clamp(measure.TextExtent(index, t.text));
    case TS_SIZE_BEST:
        return Clamp(measure.BestExtent(index));
    case TS_SIZE_PERCENT:
        return available > 0 ? Clamp(static_cast<long long>(available) * t.percent / 100000) : 0;
    default:
        return 0;
    }
}

bool OnlyWeight(const TsSizeTemplate& t)
{
    return (t.FirstKind() == TS_SIZE_WEIGHT && t.SecondKind() == 0) ||
           (t.SecondKind() == TS_SIZE_WEIGHT && t.FirstKind() == 0);
}

}  // namespace

TsLineSize TsMeasureLine(const TsSizeTemplate& t, size_t index, int available, TsMeasure& measure)
{
    const int first = ItemSize(t, t.FirstKind(), 0, index, available, measure);
    const int second = ItemSize(t, t.SecondKind(), 1, index, available, measure);
    int base = first > second ? first : second;
    if (OnlyWeight(t))
        base = Clamp(measure.TextExtent(index, "M"));
    // The weighted item stands at the base until it gets its share.
    TsLineSize size;
    size.first = static_cast<uint16_t>(t.FirstKind() == TS_SIZE_WEIGHT ? base : first);
    size.second = static_cast<uint16_t>(t.SecondKind() == TS_SIZE_WEIGHT ? base : second);
    return size;
}

void TsLayoutLines(const TsLayoutLine* lines, size_t count, int available, TsMeasure& measure, TsLineSize* out)
{
    long long used = 0;
    long long totalWeight = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!lines[i].shown) {
            out[i] = TsLineSize{0, 0};
            continue;
        }
        const TsSizeTemplate& t = lines[i].tmpl ? *lines[i].tmpl : TsTemplateDefault();
        out[i] = TsMeasureLine(t, i, available, measure);
        used += out[i].Size();
        if (t.Has(TS_SIZE_WEIGHT))
            totalWeight += t.weight;
    }
    const long long left = available - used;
    if (left <= 0 || totalWeight == 0)
        return;
    long long given = 0;
    std::vector<size_t> weighted;
    for (size_t i = 0; i < count; ++i) {
        const TsSizeTemplate& t = lines[i].tmpl ? *lines[i].tmpl : TsTemplateDefault();
        if (!lines[i].shown || !t.Has(TS_SIZE_WEIGHT) || t.weight == 0)
            continue;
        weighted.push_back(i);
        const long long share = left * t.weight / totalWeight;
        given += share;
        uint16_t& slot = t.FirstKind() == TS_SIZE_WEIGHT ? out[i].first : out[i].second;
        slot = static_cast<uint16_t>(Clamp(slot + share));
    }
    for (size_t k = 0; given < left && k < weighted.size(); ++k, ++given) {
        const size_t i = weighted[k];
        const TsSizeTemplate& t = lines[i].tmpl ? *lines[i].tmpl : TsTemplateDefault();
        uint16_t& slot = t.FirstKind() == TS_SIZE_WEIGHT ? out[i].first : out[i].second;
        slot = static_cast<uint16_t>(Clamp(slot + 1));
    }
}
