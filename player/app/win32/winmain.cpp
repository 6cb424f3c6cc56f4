// Process start-up: window classes, strings, the sequencer, the main window
// and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "command_line.h"
#include "handoff.h"
#include "instance_handoff.h"
#include "main_layout.h"
#include "player_app.h"
#include "registry_store.h"
#include "seams.h"
#include "tsexports.h"

namespace zub {

std::string LoadResString(int id)
{
    // The strings are the program's own resources.
    char buffer[256] = {};
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? n : 0);
}

namespace {

void LoadStrings(PlayerApp& app)
{
    app.titleFormat = LoadResString(IDS_TITLE_FORMAT);
    app.caption = LoadResString(IDS_APP_CAPTION);
    app.untitled = LoadResString(IDS_UNTITLED);
}

// The saved "Player" rectangle for this screen size, or the default place.
RECT InitialMainRect()
{
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    const WindowSize size = DefaultMainSize(ScreenDpi());
    RECT r = {static_cast<LONG>(CW_USEDEFAULT), static_cast<LONG>(CW_USEDEFAULT), size.width, size.height};
    if (auto pos = LoadWindowPos(PlayerStore(), "Player", desk.right, desk.bottom))
        r = {pos->left, pos->top, pos->width, pos->height};
    return r;
}

// A song named on the command line enters the recent list as a full path,
// so that it opens from there whatever the current folder is later.
std::string AbsolutePath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full) : path;
}

void RunMessageLoop(PlayerApp& app)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (playlist_seam::PreTranslate(&msg) || TranslatePracticeKey(app, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Closes a stream that the exit stopped (its end-of-playback message can no
// longer arrive) and writes the capture of what was sent.
void FinishPlayback(PlayerApp& app)
{
    if (app.sequencer->State() == SequencerState::Stopping)
        app.sequencer->EndPlayback();
    SaveCapture(app);
}

}  // namespace

int RunPlayer(HINSTANCE instance, HINSTANCE previous, const char* commandLine, int show)
{
    // Owns everything the windows use; they are gone before it is.
    PlayerApp app;
    app.instance = instance;
    CommandLine cl = ParseCommandLine(commandLine ? commandLine : "");
    StartupLock startup;
    if (ShouldHandOff(cl) && HandOffToRunningPlayer(cl.openPath))
        return 0;
    app.newPlaylist = cl.newPlaylist;
    if (!cl.openPath.empty())
        app.openAtStart = AbsolutePath(cl.openPath);
    if (!cl.captureFile.empty()) {
        app.capture = std::make_unique<CaptureSink>();
        app.capturePath = cl.captureFile;
    }

    app.displayBrush.Reset(CreateSolidBrush(kDisplayGrey));
    if (!previous) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        if (!RegisterMainClass(instance) || !RegisterDisplayClass(instance, app.displayBrush.Get()))
            return 0;
    }
    LoadStrings(app);

    app.port = MakeOutputPort(app);
    app.sequencer = Sequencer::Create(app.port.get(), &app.notify);
    if (!app.sequencer)
        return 0;

    if (!CreateMainWindow(app, InitialMainRect()))
        return 0;
    ShowWindow(app.main, show);
    startup.Release();  // from now on this player takes the files of later starts
    if (!app.openAtStart.empty())
        OpenPathAsDropped(app, app.openAtStart.c_str());

    RunMessageLoop(app);

    FinishPlayback(app);
    app.sequencer.reset();
    app.port.reset();
    return 0;
}

}  // namespace zub

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    // The grid library must be the one this program was built against.
    if (TsGetVersion() != TS_VERSION)
        return 0;
    return zub::RunPlayer(instance, previous, commandLine, show);
}
