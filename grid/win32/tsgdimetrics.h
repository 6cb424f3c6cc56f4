// Measuring with GDI: text extents and line heights in a memory device
// context of the screen, icon sizes from the icons' bitmaps, the
// resolution from the framework root. One per grid window, on its thread.
#ifndef ZUB_GRID_WIN32_TSGDIMETRICS_H
#define ZUB_GRID_WIN32_TSGDIMETRICS_H

#include <windows.h>

#include <map>

#include "tsmetrics.h"

class TsGdiMetrics final : public TsMetrics {
public:
    TsGdiMetrics();
    ~TsGdiMetrics();
    TsGdiMetrics(const TsGdiMetrics&) = delete;
    TsGdiMetrics& operator=(const TsGdiMetrics&) = delete;

    int TextWidth(QfGraphic* font, const char* text, int length) override;
    int TextHeight(QfGraphic* font) override;
    void IconSize(QfGraphic* icon, int* width, int* height) override;
    int LogPixelsY() override;
    void Forget() override;

private:
    void Select(QfGraphic* font);

    HDC dc_ = nullptr;
    HGDIOBJ original_ = nullptr;
    HFONT selected_ = nullptr;
    std::map<HFONT, int> heights_;
    std::map<HICON, SIZE> icons_;
};

// A GDI colour for a colour value of the framework: system colours looked
// up, the palette flag dropped; the fallback for the null colour and the
// special values.
COLORREF TsColorRef(uint32_t value, COLORREF fallback);

#endif
