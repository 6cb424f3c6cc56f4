// The probe's look at windows from inside the player.
#ifndef ZUB_TESTS_UI_PROBE_PROBE_WINDOWS_H
#define ZUB_TESTS_UI_PROBE_PROBE_WINDOWS_H

#include <windows.h>

#include "../ui_probe.h"

// Fills `controls` with the children of `window` (and each part of a status
// bar among them), and `dpi`.
void FillLayout(ProbeShared& s, HWND window);
// The window prints itself into a 24-bit BMP file; false when not written.
bool WritePicture(HWND window, const char* path);

#endif
