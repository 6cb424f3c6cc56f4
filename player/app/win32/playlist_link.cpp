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

class AppPlaylistHost : public playlist::PlaylistHost {
public:
    SequencerState State() override { return app_->sequencer->State(); }
    bool Option(playlist::PlayerOption option) override
    {
        using playlist::PlayerOption;
        switch (option) {
        case PlayerOption::AutoPlay:
            return OptionOn(*app_, kOptAutoPlay);
        case PlayerOption::SongGap:
            return OptionOn(*app_, kOptSongGap);
        case PlayerOption::Loop:
            return OptionOn(*app_, kOptLoop);
        case PlayerOption::SortByDiskDir:
            return OptionOn(*app_, kOptSortDiskDir);
        case PlayerOption::UsePianodirLengths:
            return OptionOn(*app_, kOptUsePianodir);
        case PlayerOption::AlwaysOnTop:
            return OptionOn(*app_, kOptAlwaysOnTop);
        }
        return false;
    }
    std::string CurrentSongPath() override { return app_->currentSongPath; }
    void SetSong(const std::string& path, const std::string& voiceMap) override
    {
        lstrcpynA(app_->currentSongPath, path.c_str(), MAX_PATH);
        lstrcpynA(app_->voiceMapPath, voiceMap.c_str(), MAX_PATH);
    }
    void SetUserStop() override { app_->userStopFlag = true; }
    void Command(int id) override { SendMessageA(app_->main, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void Wait(uint32_t ms) override { Sleep(ms); }

    HWND Main() override { return app_->main; }
    HINSTANCE Instance() override { return app_->instance; }
    std::string LastOpenDir() override { return app_->folders[kLastOpenDir]; }
    void SetLastOpenDir(const std::string& dir) override { app_->folders[kLastOpenDir] = dir; }
    void AddRecentFile(const std::string& path) override { AddRecent(*app_, path.c_str()); }
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

    // The program state attached to the main window the playlist opens beside.
    void Link(HWND main)
    {
        if (auto* app = reinterpret_cast<PlayerApp*>(GetWindowLongPtrA(main, GWLP_USERDATA)))
            app_ = app;
    }

private:
    static constexpr const char* kWindowName = "Playlist";
    PlayerApp* app_ = nullptr;
};

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
    Host().Link(main);
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
