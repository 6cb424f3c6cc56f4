// The grid for assistive technology: an IAccessible answering WM_GETOBJECT
// for OBJID_CLIENT. The grid is a list (multiple selection) whose children
// are its rows, each named by the texts of its shown cells; states tell
// which row has the focus and which are selected, hidden or out of view.
// The object lives while someone holds it; once its grid window is gone
// every call answers that the object is disconnected.
#ifndef ZUB_GRID_WIN32_TSACCESSIBLE_H
#define ZUB_GRID_WIN32_TSACCESSIBLE_H

#include <windows.h>

#include <oleacc.h>
#include <stdint.h>

class TsGrid;

// A new object with one reference for the caller.
IAccessible* TsCreateAccessible(TsGrid* grid, HWND window);
// The grid window is going: the object stops answering.
void TsDisconnectAccessible(IAccessible* object);
// WM_GETOBJECT: the result for OBJID_CLIENT (making the object when needed),
// or false for the other object identifiers.
bool TsAnswerGetObject(IAccessible** held, TsGrid* grid, HWND window, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Raises the platform event for a grid event (TS_EVENT_FOCUS or
// TS_EVENT_SELECTION) on a row (TS_NO_ROW: the grid itself).
void TsRaiseAccessibleEvent(TsGrid& grid, HWND window, uint32_t event, uint32_t row);

#endif
