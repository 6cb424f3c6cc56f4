// "Build Playlist from Directory Tree": the root and the filters, kept
// for the walk that the playlist window then runs.
#include <windows.h>

#include "build_dialog_ids.h"
#include "folder_browser.h"
#include "playlist_actions.h"

namespace playlist {

namespace {

BuildOptions g_pending;

const struct {
    int id;
    bool ScanFilter::*option;
} kBoxes[] = {
    {IDC_BUILD_DOC, &ScanFilter::docFiles},
    {IDC_BUILD_SOLO, &ScanFilter::eseqSolo},
    {IDC_BUILD_ENSEMBLE, &ScanFilter::eseqEnsemble},
    {IDC_BUILD_MIDI, &ScanFilter::midiFiles},
    {IDC_BUILD_KARAOKE, &ScanFilter::karaokeFiles},
    {IDC_BUILD_BLANK, &ScanFilter::blankTitles},
    {IDC_BUILD_DUP_SONGS, &ScanFilter::duplicateSongs},
    {IDC_BUILD_DUP_DISKS, &ScanFilter::duplicateDisks},
};

void OnInit(HWND dialog)
{
    const ScanFilter defaults;
    for (const auto& box : kBoxes)
        CheckDlgButton(dialog, box.id, defaults.*box.option ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDC_BUILD_ROOT, EM_LIMITTEXT, MAX_PATH - 1, 0);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
}

void OnOk(HWND dialog, std::string* root)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, IDC_BUILD_ROOT, text, sizeof text);
    if (text[0]) {
        *root = text;
        g_pending.root = text;
        for (const auto& box : kBoxes)
            g_pending.filter.*box.option = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED;
    }
    g_pending.pacingMs = GetKeyState(VK_SHIFT) < 0 ? 0 : kBuildPacingMs;
    EndDialog(dialog, static_cast<unsigned char>(text[0]));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OnInit(dialog);
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    auto* root = reinterpret_cast<std::string*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (LOWORD(wParam)) {
    case IDC_BUILD_ROOT:
        if (HIWORD(wParam) == EN_CHANGE && GetWindowTextLengthA(GetDlgItem(dialog, IDC_BUILD_ROOT)) > 0)
            EnableWindow(GetDlgItem(dialog, IDOK), TRUE);
        return TRUE;
    case IDC_BUILD_BROWSE: {
        const std::string chosen = zub::BrowseForFolder(dialog, "Choose The Root Directory");
        if (!chosen.empty())
            SetDlgItemTextA(dialog, IDC_BUILD_ROOT, chosen.c_str());
        return TRUE;
    }
    case IDOK:
        OnOk(dialog, root);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

// What the actions use where no program registered its host.
class DefaultActionHost : public ActionHost {
public:
    std::string Folder(ActionFolder) override { return std::string(); }
    void SetFolder(ActionFolder, const std::string&) override {}
    void UseOpenPosition(OPENFILENAMEA&) override {}
};

ActionHost* g_host = nullptr;

}  // namespace

ActionHost& Actions()
{
    static DefaultActionHost fallback;
    return g_host ? *g_host : fallback;
}

void UseActions(ActionHost* host)
{
    g_host = host;
}

const BuildOptions& PendingBuildOptions()
{
    return g_pending;
}

INT_PTR BuildPlaylistDialog(HINSTANCE instance, HWND owner, std::string* root)
{
    return DialogBoxParamA(instance, "BUILDLISTDLG", owner, DialogProc, reinterpret_cast<LPARAM>(root));
}


}  // namespace playlist
