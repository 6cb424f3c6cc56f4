#include "tsfocusstate.h"

#include "tsvalue.h"

TsFocusPart TsFocusColorState::PartOf(const char* name)
{
    if (!name)
        return TS_FOCUS_NONE;
    static const char* const kNames[] = {"CurrentFocus", "CurrentFocusRow", "CurrentFocusCol"};
    for (int i = 0; i < 3; ++i) {
        if (TsCompareText(name, kNames[i], true) == 0)
            return static_cast<TsFocusPart>(i + 1);
    }
    return TS_FOCUS_NONE;
}

TsFocusPart TsFocusColorState::Define(const char* name, uint32_t alias, const char* background, const char* text)
{
    TsFocusPart part = PartOf(name);
    if (part == TS_FOCUS_NONE)
        return part;
    bool hasBackground = alias && background && *background;
    bool hasText = alias && text && *text;
    defined_ &= ~(BackgroundBit(part) | TextBit(part));
    aliases_[part][0] = hasBackground ? alias : 0;
    aliases_[part][1] = hasText ? alias : 0;
    if (hasBackground)
        defined_ |= BackgroundBit(part);
    if (hasText)
        defined_ |= TextBit(part);
    return part;
}
