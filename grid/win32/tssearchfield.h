// The AutoSearch field of a grid window: the typed text in a small box as
// wide as "MMMMMMMM" in the grid's font, in the colours of the grid's
// "AutoSearch" colour pair, at the lower left of the focus cell.
#ifndef ZUB_GRID_WIN32_TSSEARCHFIELD_H
#define ZUB_GRID_WIN32_TSSEARCHFIELD_H

#include <windows.h>

#include "tsgrid.h"

class TsSearchField {
public:
    explicit TsSearchField(HWND grid) : grid_(grid) {}
    ~TsSearchField();
    TsSearchField(const TsSearchField&) = delete;
    TsSearchField& operator=(const TsSearchField&) = delete;

    // Shows the text beside the cell in the colours and the grid's font (null:
    // the system's); a null text hides the field.
    void Show(const char* text, const TsPixels& beside, COLORREF background, COLORREF foreground, HFONT font);
    // WM_CTLCOLORSTATIC from the field: the brush, or null for another window.
    HBRUSH Colors(HWND from, HDC dc);
    HWND Window() const { return field_; }

private:
    HWND grid_;
    HWND field_ = nullptr;
    HBRUSH brush_ = nullptr;
    COLORREF back_ = 0, text_ = 0;
};

#endif
