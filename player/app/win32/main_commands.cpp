// The main window's command dispatcher, the control refresh and the
// handling of the end of playback.
#include <windows.h>
#include <commctrl.h>

#include "control_state.h"
#include "playback_commands.h"
#include "player_app.h"
#include "seams.h"
#include "zub_version.h"
#include "zub_assert.h"

namespace zub {

namespace {

void EnableCommand(PlayerApp& app, int command, bool on)
{
    EnableMenuItem(GetMenu(app.main), command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    if (app.toolbar)
        SendMessageA(app.toolbar, TB_ENABLEBUTTON, command, MAKELONG(on ? TRUE : FALSE, 0));
}

bool ToggleOption(PlayerApp& app, int command)
{
    const int index = OptionIndexOfCommand(command);
    ZUB_ASSERT(index >= 0);
    const bool on = !OptionOn(app, static_cast<OptionIndex>(index));
    SetOptionCheck(app, command, on);
    return on;
}

void Report(PlayerApp& app, const PlaybackReport& report)
{
    if (report)
        ShowPlaybackError(app, report.stringId, report.result);
}

void OnPlay(PlayerApp& app)
{
    // A stop asked for while nothing played (Next, Stop or an open while
    // stopped) left the flag with no end of playback to clear it: the song
    // starting now must still advance the playlist when it ends.
    app.userStopFlag = false;
    SendMessageA(app.display, WM_COMMAND, CMD_PLAY, 0);
    Report(app, PlayFromStart(*app.sequencer, app.device));
    RefreshControls(app);
}

void OnPause(PlayerApp& app)
{
    PauseOrResume(*app.sequencer);
    RefreshControls(app);
}

void OnStop(PlayerApp& app)
{
    SendMessageA(app.display, WM_COMMAND, CMD_STOP, 0);
    app.userStopFlag = true;
    Report(app, StopPlayback(*app.sequencer));
    RefreshControls(app);
}

// Toolbar (106) or status bar (107), also reached from the View menu.
void OnToggleBar(PlayerApp& app, int command)
{
    bool toolbar = command == CMD_TOOLBAR;
    HWND& bar = toolbar ? app.toolbar : app.status;
    bool on = ToggleOption(app, command);
    if (!on && bar) {
        DestroyWindow(bar);
        bar = nullptr;
    } else if (on && !bar) {
        bar = toolbar ? CreateToolbar(app) : CreateStatusBar(app);
        if (!toolbar) {
            SetStatusText(app, 0, app.songTitle);
            SetStatusText(app, 2, LoadResString(TimeMode(app)));
        }
    }
    LayoutMainWindow(app);
    RefreshControls(app);
}

void OnTimeMode(PlayerApp& app, int command)
{
    SetStatusText(app, 2, LoadResString(command));
    SetOptionCheck(app, CMD_ELAPSED, command == CMD_ELAPSED);
    SetOptionCheck(app, CMD_REMAINING, command == CMD_REMAINING);
    RECT r;
    GetClientRect(app.display, &r);
    SendMessageA(app.display, WM_SIZE, 0, MAKELPARAM(r.right, r.bottom));
}

void OnSelectDevice(PlayerApp& app, int command)
{
    HMENU menu = GetMenu(app.main);
    CheckMenuItem(menu, CMD_DEVICE_FIRST + app.device, MF_BYCOMMAND | MF_UNCHECKED);
    app.device = command - CMD_DEVICE_FIRST;
    CheckMenuItem(menu, command, MF_BYCOMMAND | MF_CHECKED);
}

void OnAlwaysOnTop(PlayerApp& app)
{
    bool on = ToggleOption(app, CMD_ALWAYS_ON_TOP);
    HWND after = on ? HWND_TOPMOST : HWND_NOTOPMOST;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (HWND playlist = playlist_seam::Window())
        SetWindowPos(playlist, after, 0, 0, 0, 0, flags);
    SetWindowPos(app.main, after, 0, 0, 0, 0, flags);
}

void OnStep(PlayerApp& app, int direction)
{
    app.userStopFlag = true;
    if (HWND playlist = playlist_seam::Window())
        SendMessageA(playlist, ZM_PLAYLIST_STEP, static_cast<WPARAM>(direction), 0);
}

void OnToggleSortDiskDir(PlayerApp& app)
{
    ToggleOption(app, CMD_SORT_DISK_DIR);
    if (HWND playlist = playlist_seam::Window())
        SendMessageA(playlist, ZM_PLAYLIST_RESORT, 0, 0);
}

void OnBuildPlaylist(PlayerApp& app)
{
    if (playlist_seam::BuildPlaylistDialog(app.main) >= 1)
        playlist_seam::Open(app.main, app.currentSongPath);
}

void OnViewPosition(PlayerApp& app)
{
    bool shown = IsWindowVisible(app.display) != FALSE;
    ShowWindow(app.display, shown ? SW_HIDE : SW_SHOW);
    CheckMenuItem(GetMenu(app.main), CMD_VIEW_POSITION, MF_BYCOMMAND | (shown ? MF_UNCHECKED : MF_CHECKED));
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_ABOUT_LINE1, "Zubodeck " ZUB_VERSION_SHORT ", a MIDI song player");
        about_grid_seam::Attach(dialog);
        return TRUE;
    case WM_TIMER:
        about_grid_seam::Timer(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            about_grid_seam::Release(dialog);
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RefreshControls(PlayerApp& app)
{
    const SequencerState state = app.sequencer->State();
    unsigned bits = EnableBitsForState(state);
    if (HWND playlist = playlist_seam::Window()) {
        SendMessageA(playlist, ZM_PLAYLIST_STATE, 0, 0);
        bits |= playlist_seam::NavigationBits() & (kBitNext | kBitPrevious);
    }
    if (app.toolbar)
        SendMessageA(app.toolbar, TB_CHECKBUTTON, CMD_PAUSE, MAKELONG(state == SequencerState::Paused, 0));
    for (const ControlBinding& b : kControlBindings)
        EnableCommand(app, b.command, (bits & b.bit) != 0);
    EnableMenuItem(GetMenu(app.main), MENUPOS_PLAYTHRU, MF_BYPOSITION | ((bits & kBitPlayThru) ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(app.main);
    const int textId = StatusTextIdForState(state);
    SetStatusText(app, 1, textId ? LoadResString(textId) : std::string());
    InvalidateRect(app.display, nullptr, TRUE);
}

void OnPlayDone(PlayerApp& app, WPARAM wParam)
{
    if (wParam != 0) {
        instrument_seam::CloseResetOutput(wParam);
        return;
    }
    app.sequencer->EndPlayback();
    SaveCapture(app);
    SendMessageA(app.display, WM_COMMAND, CMD_STOP, 0);
    RefreshControls(app);
    HWND playlist = playlist_seam::Window();
    if (playlist && !app.userStopFlag && app.sequencer->State() == SequencerState::Opened)
        PostMessageA(playlist, ZM_PLAYLIST_STEP, 0, 0);
    app.userStopFlag = false;
}

void OnMainCommand(PlayerApp& app, int command)
{
    if (command == CMD_ELAPSED || command == CMD_REMAINING)
        return OnTimeMode(app, command);
    if (command >= CMD_MIDI_MAPPER && command <= CMD_DEVICE_LAST)
        return OnSelectDevice(app, command);
    if (command >= CMD_RECENT_FIRST && command <= CMD_RECENT_LAST)
        return OpenRecent(app, command - CMD_RECENT_FIRST);
    if (command >= CMD_LAMP_DISABLED && command <= CMD_LAMP_AUTO)
        return instrument_seam::LampCommand(app.main, command, *app.sequencer);

    switch (command) {
    case CMD_EXIT:
        SendMessageA(app.main, WM_CLOSE, 0, 0);
        break;
    case CMD_OPEN:
        OpenFromDialog(app);
        break;
    case CMD_PLAY:
        OnPlay(app);
        break;
    case CMD_PAUSE:
        OnPause(app);
        break;
    case CMD_STOP:
        OnStop(app);
        break;
    case CMD_TOOLBAR:
    case CMD_STATUSBAR:
        OnToggleBar(app, command);
        break;
    case CMD_VIEW_TOOLBAR:
        OnToggleBar(app, CMD_TOOLBAR);
        break;
    case CMD_VIEW_STATUSBAR:
        OnToggleBar(app, CMD_STATUSBAR);
        break;
    case CMD_VIEW_POSITION:
        OnViewPosition(app);
        break;
    case CMD_AUTOPLAY:
    case CMD_DISK_FIXUP:
    case CMD_SONG_GAP:
    case CMD_CREATE_MID:
    case CMD_MAP_VOICES:
    case CMD_USE_PIANODIR:
        ToggleOption(app, command);
        break;
    case CMD_LOOP:
        ToggleOption(app, command);
        RefreshControls(app);
        break;
    case CMD_NEW:
        playlist_seam::Open(app.main, "[Untitled]");
        break;
    case CMD_SAVE:
    case CMD_SAVEAS:
        if (playlist_seam::Window())
            playlist_seam::Save(app.main, command == CMD_SAVEAS);
        break;
    case CMD_TOGGLE_TIME:
        SendMessageA(app.main, WM_COMMAND, TimeMode(app) != CMD_REMAINING ? CMD_REMAINING : CMD_ELAPSED, 0);
        break;
    case CMD_MIDI_RESET:
        instrument_seam::MidiReset(app.main, app.device);
        break;
    case CMD_MASTER_VOLUME:
        instrument_seam::VolumeDialog(app.main, *app.sequencer);
        break;
    case CMD_REFRESH:
        RefreshControls(app);
        break;
    case CMD_OPEN_CURRENT:
        OpenCurrentSong(app);
        break;
    case CMD_BATCH_CONVERT:
        eseq_seam::BatchConvertDialog(app.main, app.startupDir, OptionOn(app, kOptDiskFixup));
        break;
    case CMD_NEXT:
        OnStep(app, 1);
        break;
    case CMD_PREV:
        OnStep(app, -1);
        break;
    case CMD_BUILD_PLAYLIST:
        OnBuildPlaylist(app);
        break;
    case CMD_EXPORT_PLAYLIST:
        ExportPlaylist(app);
        break;
    case CMD_ABOUT:
        DialogBoxParamA(app.instance, "ABOUT", app.main, AboutProc, 0);
        break;
    case CMD_ALWAYS_ON_TOP:
        OnAlwaysOnTop(app);
        break;
    case CMD_PLAYBACK_CONTROL:
        instrument_seam::TogglePlaybackControl(app.main, *app.sequencer);
        break;
    case CMD_SORT_DISK_DIR:
        OnToggleSortDiskDir(app);
        break;
    default:
        break;  // unknown commands are ignored
    }
}

}  // namespace zub
