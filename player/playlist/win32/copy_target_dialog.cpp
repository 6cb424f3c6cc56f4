// "Copy Target": where "Copy Song to A:" and "Copy Disk/Dir to A:" write, a
// drive or a floppy image file (made blank at the chosen size when it is
// missing). An image that does not read cleanly is refused here already,
// since nothing would ever be written into it.
#include "playlist_dialog.h"

#include <commdlg.h>

#include "floppy_image.h"
#include "image_paths.h"

namespace playlist {

namespace {

const char kImageOnlyFilter[] = ZUB_IMAGE_FILTER "All Files (*.*)\0*.*\0";

struct TargetDialog {
    PlaylistWindow& w;
    floppy::CopyTargetChoice choice;
};

std::string ItemText(HWND dialog, int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Browse(HWND dialog, TargetDialog& d)
{
    char file[MAX_PATH] = {};
    const std::string typed = ItemText(dialog, IDC_CT_WHERE);
    if (floppy::HasImageExtension(typed))
        lstrcpynA(file, typed.c_str(), MAX_PATH);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = kImageOnlyFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrDefExt = "IMG";
    ofn.lpstrTitle = "Floppy Image to Copy To";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
    d.w.host.UseSavePosition(ofn);
    if (GetSaveFileNameA(&ofn))
        SetDlgItemTextA(dialog, IDC_CT_WHERE, file);
}

// False (and the user told why) when the typed target cannot be used.
bool Accept(HWND dialog, TargetDialog& d)
{
    floppy::CopyTargetChoice choice;
    if (!floppy::ParseTargetText(ItemText(dialog, IDC_CT_WHERE), &choice.where)) {
        MessageBoxA(dialog, "Type a drive (A:) or a floppy image file.", "Copy Target", MB_OK | MB_ICONWARNING);
        return false;
    }
    choice.blankSize = IsDlgButtonChecked(dialog, IDC_CT_1440) == BST_CHECKED ? floppy::kImage1440 : floppy::kImage720;
    if (choice.Kind() == floppy::TargetKind::Image &&
        GetFileAttributesA(choice.where.c_str()) != INVALID_FILE_ATTRIBUTES) {
        floppy::FloppyImage image;
        if (image.Open(choice.where) != floppy::ImageError::Ok || !image.IsClean()) {
            const std::string why = image.Damage().empty() ? "it cannot be read" : image.Damage();
            const std::string text = choice.where + ": damaged image: " + why + "\n\nNo song can be copied into it.";
            MessageBoxA(dialog, text.c_str(), "Copy Target", MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    if (!d.w.host.SetCopyTarget(choice)) {
        MessageBoxA(dialog, "The setting could not be saved.", "Copy Target", MB_OK | MB_ICONWARNING);
        return false;
    }
    d.choice = choice;
    return true;
}

INT_PTR CALLBACK TargetProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    TargetDialog* d = reinterpret_cast<TargetDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        d = reinterpret_cast<TargetDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SendDlgItemMessageA(dialog, IDC_CT_WHERE, EM_LIMITTEXT, MAX_PATH - 1, 0);
        SetDlgItemTextA(dialog, IDC_CT_WHERE, d->choice.where.c_str());
        CheckRadioButton(dialog, IDC_CT_720, IDC_CT_1440,
                         d->choice.blankSize == floppy::kImage1440 ? IDC_CT_1440 : IDC_CT_720);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CT_BROWSE:
            Browse(dialog, *d);
            return TRUE;
        case IDOK:
            if (Accept(dialog, *d))
                EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

void CopyTargetDialog(PlaylistWindow& w)
{
    TargetDialog d{w, w.host.CopyTarget()};
    DialogBoxParamA(w.host.Instance(), "COPYTARGETDLG", w.dialog, TargetProc, reinterpret_cast<LPARAM>(&d));
}

}  // namespace playlist
