// Rules for a window's layout as the player really shows it: every text fits
// the control that shows it, sibling controls do not overlap, and every
// control lies inside its window.
#ifndef ZUB_TESTS_UI_LAYOUT_CHECK_H
#define ZUB_TESTS_UI_LAYOUT_CHECK_H

#include <windows.h>

#include <string>
#include <vector>

#include "ui_probe.h"

namespace zubtest {

// One sentence per fault found among the children of a window whose client
// area is `client`, at `dpi` dots per inch; empty when it lays out well.
std::vector<std::string> LayoutProblems(const std::vector<ProbeControl>& controls, SIZE client, int dpi);

}  // namespace zubtest

#endif
