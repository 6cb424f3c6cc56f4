// The main window's side of the playlist window: the state the playlist
// reads and writes (CurrentSongPath, VoiceMapPath, UserStopFlag, the
// options, the last-used folder, the recent files and the saved window
// rectangle), and the playlist seam's calls.
#include "file_dialog_pos.h"
#include "player_app.h"
#include "playlist_window.h"
#include "registry_store.h"
#include "seams.h"

namespace zub {

namespace {

// The main window's state, which the playlist window reaches through the
// main window it was opened from.
class AppPlaylistHost : public playlist::PlaylistHost {
public:
    void Attach(PlayerApp& app) { app_ = &app; }

    SequencerState State() override { return App().sequencer->State(); }
    bool Option(playlist::PlayerOption option) override
    {
        using playlist::PlayerOption;
        switch (option) {
        case PlayerOption::AutoPlay:
            return OptionOn(App(), kOptAutoPlay);
        case PlayerOption::SongGap:
            return OptionOn(App(), kOptSongGap);
        case PlayerOption::Loop:
            return OptionOn(App(), kOptLoop);
        case PlayerOption::SortByDiskDir:
            return OptionOn(App(), kOptSortDiskDir);
        case PlayerOption::UsePianodirLengths:
            return OptionOn(App(), kOptUsePianodir);
        case PlayerOption::AlwaysOnTop:
            return OptionOn(App(), kOptAlwaysOnTop);
        }
        return false;
    }
    std::string CurrentSongPath() override { return App().currentSongPath; }
    void SetSong(const std::string& path, const std::string& voiceMap) override
    {
        lstrcpynA(App().currentSongPath, path.c_str(), MAX_PATH);
        lstrcpynA(App().voiceMapPath, voiceMap.c_str(), MAX_PATH);
    }
    void SetUserStop() override { App().userStopFlag = true; }
    void Command(int id) override { SendMessageA(App().main, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void Wait(uint32_t ms) override { Sleep(ms); }

    HWND Main() override { return App().main; }
    HINSTANCE Instance() override { return App().instance; }
    std::string LastOpenDir() override { return App().folders[kLastOpenDir]; }
    void SetLastOpenDir(const std::string& dir) override { App().folders[kLastOpenDir] = dir; }
    void AddRecentFile(const std::string& path) override { AddRecent(App(), path.c_str()); }
    void UseSavePosition(OPENFILENAMEA& ofn) override { UsePositionHook(ofn, "SavePos"); }
    bool LoadPlacement(RECT* rect) override
    {
        RECT desk;
        GetWindowRect(GetDesktopWindow(), &desk);
        auto pos = LoadWindowPos(PlayerStore(), kWindowName, desk.right, desk.bottom);
        if (!pos)
            return false;
        *rect = {pos->left, pos->top, pos->left + pos->width, pos->top + pos->height};
        return true;
    }
    void SavePlacement(const RECT& r) override
    {
        RECT desk;
        GetWindowRect(GetDesktopWindow(), &desk);
        SaveWindowPos(PlayerStore(), kWindowName, desk.right, desk.bottom,
                      WindowPos{r.left, r.top, r.right - r.left, r.bottom - r.top});
    }

    floppy::CopyTargetChoice CopyTarget() override { return floppy::LoadCopyTargetChoice(PlayerStore()); }
    bool SetCopyTarget(const floppy::CopyTargetChoice& choice) override
    {
        return floppy::SaveCopyTargetChoice(PlayerStore(), choice);
    }

private:
    static constexpr const char* kWindowName = "Playlist";
    PlayerApp& App() { return *app_; }

    PlayerApp* app_ = nullptr;
};

// One playlist window at a time, opened from the one main window.
AppPlaylistHost& Host()
{
    static AppPlaylistHost host;
    return host;
}

}  // namespace

namespace playlist_seam {

HWND Window()
{
    return playlist::PlaylistWindowHandle();
}

bool PreTranslate(MSG* msg)
{
    return playlist::PreTranslatePlaylistMessage(msg);
}

void Open(HWND main, const char* path)
{
    PlayerApp* app = AppOfMainWindow(main);
    if (!app)
        return;
    Host().Attach(*app);
    playlist::OpenPlaylistWindow(Host(), path);
}

bool ConfirmClose(HWND)
{
    return playlist::CloseForOpen();
}

void Save(HWND, bool askName)
{
    playlist::SavePlaylist(askName);
}

void Export(HWND, const char* path)
{
    playlist::ExportPlaylist(path);
}

unsigned NavigationBits()
{
    return playlist::PlaylistNavigationBits();
}

}  // namespace playlist_seam

}  // namespace zub
