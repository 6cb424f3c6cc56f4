#pragma once

#include <windows.h>

#include <string>

namespace zub {

// The shell's folder browser, owned by `owner` and captioned `title`: the
// chosen folder, or empty when the user cancels or picks something that is
// not a folder of the file system.
std::string BrowseForFolder(HWND owner, const char* title);

}  // namespace zub
