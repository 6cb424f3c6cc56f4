#include "folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

namespace zub {

namespace {

// Releases COM on every path once the browser is done.
struct ComScope {
    HRESULT result = CoInitialize(nullptr);
    ~ComScope()
    {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
};

}  // namespace

std::string BrowseForFolder(HWND owner, const char* title)
{
    ComScope com;
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return std::string();
    char path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return ok ? std::string(path) : std::string();
}

}  // namespace zub
