// The scroll hint: a small popup that shows a text beside the scroll bar
// at once while the user scrolls. One window per thread, shared by the
// thread's grids, made on first use and destroyed with the last grid.
#ifndef ZUB_GRID_WIN32_TSHINTWND_H
#define ZUB_GRID_WIN32_TSHINTWND_H

#include <windows.h>

class TsScrollHint {
public:
    TsScrollHint();   // one more grid of this thread uses the window
    ~TsScrollHint();
    TsScrollHint(const TsScrollHint&) = delete;
    TsScrollHint& operator=(const TsScrollHint&) = delete;

    // Shows text with its top right (vertical bar) or bottom left
    // (horizontal bar) corner near the screen point.
    void Show(const char* text, POINT at, bool vertical);
    void Hide();
    bool Shown() const;
    // The text shown (empty when hidden).
    const char* Text() const;
};

#endif
