// Measuring with display objects: what the layout and the painter need to
// know about text and icons. GDI on Windows; a plain arithmetic stand-in
// in the native build (tsplaindisplay.h).
#ifndef ZUB_GRID_PROPS_TSMETRICS_H
#define ZUB_GRID_PROPS_TSMETRICS_H

#include "qf.h"

class TsMetrics {
public:
    // The width of length characters of text in the font.
    virtual int TextWidth(QfGraphic* font, const char* text, int length) = 0;
    // The height of a line of text in the font.
    virtual int TextHeight(QfGraphic* font) = 0;
    // The size an icon object is drawn at.
    virtual void IconSize(QfGraphic* icon, int* width, int* height) = 0;
    // The display's vertical resolution in dots per inch.
    virtual int LogPixelsY() = 0;
    // Display objects were made anew: measurements kept for them are stale.
    virtual void Forget() {}

protected:
    ~TsMetrics() = default;
};

#endif
