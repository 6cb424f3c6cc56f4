#include "tsframe.h"

#include "tsvalue.h"

TsFrameState::TsFrameState()
{
    color[0] = TsMakeText("Light Gray");
    color[1] = TsMakeText("Color_3DFace");
}

TsFrameState::~TsFrameState()
{
    TsValueRelease(color[0]);
    TsValueRelease(color[1]);
}

bool TsFrameState::BorderByte(int32_t v, uint8_t* out)
{
    if (v <= -8 || v >= 8)
        return false;
    // A negative width draws without the style bit.
    *out = static_cast<uint8_t>(v < 0 ? -v : v + 8);
    return true;
}

bool TsFrameState::SetItem(uint32_t item, const TsValue* value)
{
    int32_t v = TsValueNumber(value);
    switch (item) {
    case 40:
        BorderByte(v, &inner);
        return true;
    case 41:
        BorderByte(v, &outer);
        return true;
    case 42:
        if (v >= 0 && v <= 7)
            margin = static_cast<uint8_t>(v);
        return true;
    case 43: {
        const char* spec = TsValueIsNumber(value) || value->length == 0 ? "Color_3DFace" : TsValueText(value);
        for (TsValue*& c : color) {
            TsValue* made = TsMakeText(spec);
            TsValueRelease(c);
            c = made;
        }
        ++colorVersion;
        return true;
    }
    default:
        return false;
    }
}

bool TsFrameState::GetItem(uint32_t item, int32_t* out) const
{
    if (item != 42)
        return false;
    *out = margin;
    return true;
}

uint32_t TsFrameState::SetStyle(uint32_t clear, uint32_t mask)
{
    style = clear ? style & ~mask : style | mask;
    return style;
}
