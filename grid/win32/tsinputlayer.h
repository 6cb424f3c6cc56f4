// The input layer of the grid window: keyboard, mouse, focus and enable
// messages decoded for the portable grid (key codes, modifier keys, points
// of the grid window, message times).
#ifndef ZUB_GRID_WIN32_TSINPUTLAYER_H
#define ZUB_GRID_WIN32_TSINPUTLAYER_H

#include <windows.h>

class TsGrid;

// True when the message is the input layer's (its result in *result);
// false lets it go on (to the grid's own switch or the default procedure).
bool TsInputLayer(TsGrid& grid, HWND window, UINT message, WPARAM wParam, LPARAM lParam, intptr_t* result);

#endif
