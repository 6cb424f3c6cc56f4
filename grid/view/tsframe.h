// The frame's own state: two border bytes (bits 0-2 the width, bit 3 the
// style), the extra margin, the border colours and the frame style word,
// with the frame properties 40-43 that set them and the inset of the inner
// window they give.
#ifndef ZUB_GRID_VIEW_TSFRAME_H
#define ZUB_GRID_VIEW_TSFRAME_H

#include <stdint.h>

#include "tsvlistmgr.h"

class TsFrameState {
public:
    TsFrameState();
    ~TsFrameState();
    TsFrameState(const TsFrameState&) = delete;
    TsFrameState& operator=(const TsFrameState&) = delete;

    // Frame property items 40-43 from a value; false for other items.
    // Values out of range change nothing but count as handled.
    bool SetItem(uint32_t item, const TsValue* value);
    // Item 42 (the margin) reads back; false for the others.
    bool GetItem(uint32_t item, int32_t* out) const;
    // TSM_SETSTYLE: clear = 0 sets the bits of mask, nonzero clears them.
    uint32_t SetStyle(uint32_t clear, uint32_t mask);

    // The inner window's distance from every edge of the frame's client area.
    int32_t Inset() const { return margin + (inner & 7) + (outer & 7); }
    bool HasBorder() const { return Inset() > 0; }

    uint8_t inner = 8;
    uint8_t outer = 8;
    uint8_t margin = 0;
    uint32_t style = 0;
    // Colour specifications of the two border colours.
    TsValue* color[2];
    // Bumped when a colour changes, so the window side remakes its objects.
    uint32_t colorVersion = 0;

private:
    static bool BorderByte(int32_t v, uint8_t* out);
};

#endif
