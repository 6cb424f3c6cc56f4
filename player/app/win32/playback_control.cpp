// The modeless Playback Control dialog ("PLAYBACK"): Velocity Base, and the
// Peek, Track Volume, Transpose and Tempo controls. Each change reaches the
// sequencer at once and takes effect from the next buffer it fills.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "command_ids.h"
#include "instrument_ids.h"
#include "instrument_logic.h"
#include "instruments.h"
#include "sequencer.h"

namespace zub {

namespace {

struct SliderSpec {
    int slider;
    int check;
    int value;
    int low;
    int high;
    int PlaybackControls::*setting;
    bool PlaybackControls::*on;
};

const SliderSpec kSliders[] = {
    {IDC_PC_PEEK_SLIDER, IDC_PC_PEEK, IDC_PC_PEEK_VALUE, 0, 27, &PlaybackControls::peek, &PlaybackControls::peekOn},
    {IDC_PC_VELOCITY_SLIDER, IDC_PC_VELOCITY, IDC_PC_VELOCITY_VALUE, 50, 127, &PlaybackControls::velocityBase,
     &PlaybackControls::velocityBaseOn},
    {IDC_PC_TRACKVOL_SLIDER, IDC_PC_TRACKVOL, IDC_PC_TRACKVOL_VALUE, 0, 127, &PlaybackControls::trackVolume,
     &PlaybackControls::trackVolumeOn},
    {IDC_PC_TRANSPOSE_SLIDER, IDC_PC_TRANSPOSE, IDC_PC_TRANSPOSE_VALUE, -kTransposeLimit, kTransposeLimit,
     &PlaybackControls::transpose, &PlaybackControls::transposeOn},
    {IDC_PC_TEMPO_SLIDER, IDC_PC_TEMPO, IDC_PC_TEMPO_VALUE, -kTempoPercentLimit, kTempoPercentLimit,
     &PlaybackControls::tempo, &PlaybackControls::tempoOn},
};
constexpr int kTempoTickEvery = 2;

// The settings live for the program's run, also while the dialog is hidden.
struct ControlState {
    HWND dialog = nullptr;
    HWND main = nullptr;
    Sequencer* sequencer = nullptr;
    PlaybackControls controls;
};

ControlState& State()
{
    static ControlState state;
    return state;
}

void Apply(const ControlState& s)
{
    if (!s.sequencer)
        return;
    s.sequencer->SetVelocityBase(EffectiveVelocityBase(s.controls));
    s.sequencer->SetAdjustments(EffectiveAdjustments(s.controls));
}

// The number beside a slider; the tempo shows the speed it plays at.
void ShowValue(HWND dialog, const SliderSpec& spec, int value)
{
    char text[16];
    if (spec.slider == IDC_PC_TEMPO_SLIDER)
        std::snprintf(text, sizeof text, "%d%%", 100 + value);
    else if (spec.slider == IDC_PC_TRANSPOSE_SLIDER && value > 0)
        std::snprintf(text, sizeof text, "+%d", value);
    else
        std::snprintf(text, sizeof text, "%d", value);
    SetDlgItemTextA(dialog, spec.value, text);
}

const SliderSpec* SpecOfSlider(HWND dialog, HWND slider)
{
    for (const SliderSpec& spec : kSliders) {
        if (GetDlgItem(dialog, spec.slider) == slider)
            return &spec;
    }
    return nullptr;
}

void OnInit(HWND dialog, ControlState& s)
{
    for (const SliderSpec& spec : kSliders) {
        SetUpSlider(GetDlgItem(dialog, spec.slider), spec.low, spec.high, s.controls.*spec.setting);
        CheckDlgButton(dialog, spec.check, s.controls.*spec.on ? BST_CHECKED : BST_UNCHECKED);
        ShowValue(dialog, spec, s.controls.*spec.setting);
    }
    SendDlgItemMessageA(dialog, IDC_PC_TEMPO_SLIDER, TBM_SETTICFREQ, kTempoTickEvery, 0);
}

// Dragging stores each new position; when any action on the slider ends
// (keys and page clicks too) the position it rests at is stored, so the
// slider never shows a value other than the one in effect.
void OnScroll(HWND dialog, ControlState& s, int code, HWND slider)
{
    const SliderSpec* spec = SpecOfSlider(dialog, slider);
    if (!spec || (code != TB_THUMBTRACK && code != TB_ENDTRACK))
        return;
    const int position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    s.controls.*spec->setting = position;
    ShowValue(dialog, *spec, position);
    Apply(s);
}

void OnCheck(HWND dialog, ControlState& s, int id)
{
    for (const SliderSpec& spec : kSliders) {
        if (spec.check == id) {
            s.controls.*spec.on = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
            Apply(s);
        }
    }
}

INT_PTR CALLBACK PlaybackControlProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ControlState& s = State();
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dialog, s);
        return TRUE;
    case WM_HSCROLL:
        OnScroll(dialog, s, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            SendMessageA(s.main, WM_COMMAND, CMD_PLAYBACK_CONTROL, 0);  // Escape hides it too
        else if (HIWORD(wParam) == BN_CLICKED)
            OnCheck(dialog, s, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        SendMessageA(s.main, WM_COMMAND, CMD_PLAYBACK_CONTROL, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND PlaybackControlDialog()
{
    return State().dialog;
}

void TogglePlaybackControlDialog(HINSTANCE instance, HWND main, Sequencer& sequencer)
{
    ControlState& s = State();
    s.main = main;
    s.sequencer = &sequencer;
    if (!s.dialog) {
        s.dialog = CreateDialogParamA(instance, "PLAYBACK", main, PlaybackControlProc, 0);
        if (!s.dialog)
            return;
    }
    HMENU menu = GetMenu(main);
    const bool shown = (GetMenuState(menu, CMD_PLAYBACK_CONTROL, MF_BYCOMMAND) & MF_CHECKED) != 0;
    CheckMenuItem(menu, CMD_PLAYBACK_CONTROL, MF_BYCOMMAND | (shown ? MF_UNCHECKED : MF_CHECKED));
    ShowWindow(s.dialog, shown ? SW_HIDE : SW_SHOW);
}

}  // namespace zub
