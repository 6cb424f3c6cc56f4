// The focus colours: the grid watches its colour pair aliases named
// "CurrentFocus" (the focus cell), "CurrentFocusRow" and "CurrentFocusCol"
// and records, for each, the alias that colours the background and the one
// that colours the text, with a mask of the halves the pair defines. The
// painter reads this state; a half the pair leaves out is not applied.
#ifndef ZUB_GRID_INPUT_TSFOCUSSTATE_H
#define ZUB_GRID_INPUT_TSFOCUSSTATE_H

#include <stdint.h>

enum TsFocusPart { TS_FOCUS_NONE = 0, TS_FOCUS_CELL = 1, TS_FOCUS_ROW = 2, TS_FOCUS_COL = 3 };

class TsFocusColorState {
public:
    // Bits of Defined(): the background and the text half of each part.
    static uint32_t BackgroundBit(TsFocusPart part) { return 1u << (2 * (part - 1)); }
    static uint32_t TextBit(TsFocusPart part) { return 2u << (2 * (part - 1)); }

    // The part a reserved name stands for (letter case ignored).
    static TsFocusPart PartOf(const char* name);

    // A colour pair alias was defined or changed: when its name is
    // reserved, records its number for the halves it defines (empty or
    // missing halves are dropped) and returns the part to repaint.
    TsFocusPart Define(const char* name, uint32_t alias, const char* background, const char* text);

    // The alias colouring that half of the part; 0 when undefined.
    uint32_t Background(TsFocusPart part) const { return (defined_ & BackgroundBit(part)) ? aliases_[part][0] : 0; }
    uint32_t Text(TsFocusPart part) const { return (defined_ & TextBit(part)) ? aliases_[part][1] : 0; }
    uint32_t Defined() const { return defined_; }

private:
    uint32_t aliases_[4][2] = {};
    uint32_t defined_ = 0;
};

#endif
