// The modal Volume dialog ("VOLUME"): the master volume override and its
// vertical slider, top = loudest. There are no OK or Cancel buttons; each
// change is in effect at once.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "instrument_ids.h"
#include "instrument_logic.h"
#include "instruments.h"

namespace zub {

namespace {

constexpr int kTickEvery = 16;

struct VolumeState {
    int32_t volume;
    const std::function<void(int32_t)>* apply;
};

void ShowVolume(HWND dialog, const VolumeState& s)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(std::abs(s.volume)));
    SetDlgItemTextA(dialog, IDC_VOL_VALUE, text);
    EnableWindow(GetDlgItem(dialog, IDC_VOL_SLIDER), s.volume > 0 ? TRUE : FALSE);
}

void Change(HWND dialog, VolumeState& s, int32_t volume)
{
    s.volume = volume;
    (*s.apply)(volume);
    ShowVolume(dialog, s);
}

void OnInit(HWND dialog, VolumeState& s)
{
    CheckDlgButton(dialog, IDC_VOL_OVERRIDE, s.volume > 0 ? BST_CHECKED : BST_UNCHECKED);
    HWND slider = GetDlgItem(dialog, IDC_VOL_SLIDER);
    SetUpSlider(slider, 1, 128, VolumeSliderPosition(s.volume));
    SendMessageA(slider, TBM_SETTICFREQ, kTickEvery, 0);
    ShowVolume(dialog, s);
}

// Page steps and the released thumb set V; so does the end of any other
// action (line steps by keys), so that the slider and V always agree. The
// thumb's movement while dragged does not.
void OnScroll(HWND dialog, VolumeState& s, int code, int reported)
{
    HWND slider = GetDlgItem(dialog, IDC_VOL_SLIDER);
    if (s.volume <= 0)
        return;
    if (code == TB_THUMBPOSITION)
        Change(dialog, s, VolumeForSliderPosition(reported));
    else if (code == TB_PAGEUP || code == TB_PAGEDOWN || code == TB_ENDTRACK)
        Change(dialog, s, VolumeForSliderPosition(static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0))));
}

INT_PTR CALLBACK VolumeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<VolumeState*>(lParam));
        return TRUE;
    }
    auto* s = reinterpret_cast<VolumeState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!s)
        return FALSE;
    switch (msg) {
    case WM_VSCROLL:
        OnScroll(dialog, *s, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_VOL_OVERRIDE && HIWORD(wParam) == BN_CLICKED)
            Change(dialog, *s, -s->volume);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowVolumeDialog(HINSTANCE instance, HWND main, int32_t volume, const std::function<void(int32_t)>& apply)
{
    VolumeState state = {volume == 0 ? -128 : volume, &apply};
    DialogBoxParamA(instance, "VOLUME", main, VolumeProc, reinterpret_cast<LPARAM>(&state));
}

}  // namespace zub
