// The main window's side of the playlist's actions: the Add and voice-map
// folders, the Open dialogs' place, and the Build Playlist dialog, whose
// root becomes CurrentSongPath.
#include "file_dialog_pos.h"
#include "player_app.h"
#include "playlist_actions.h"
#include "playlist_window.h"
#include "registry_store.h"
#include "seams.h"

namespace zub {

namespace {

// The playlist window belongs to the main window.
PlayerApp* AppOfPlaylist()
{
    return AppOfMainWindow(GetWindow(playlist::PlaylistWindowHandle(), GW_OWNER));
}

class AppActionHost : public playlist::ActionHost {
public:
    std::string Folder(playlist::ActionFolder which) override
    {
        PlayerApp* app = AppOfPlaylist();
        return app ? app->folders[Index(which)] : std::string();
    }
    void SetFolder(playlist::ActionFolder which, const std::string& dir) override
    {
        if (PlayerApp* app = AppOfPlaylist())
            app->folders[Index(which)] = dir;
    }
    void UseOpenPosition(OPENFILENAMEA& ofn) override { UsePositionHook(ofn, "OpenPos"); }

private:
    static FolderIndex Index(playlist::ActionFolder which)
    {
        return which == playlist::ActionFolder::LastAdd ? kLastAddDir : kLastMapDir;
    }
};

// Registered before the program's entry runs.
AppActionHost g_actions;
const bool g_registered = (playlist::UseActions(&g_actions), true);

}  // namespace

namespace playlist_seam {

INT_PTR BuildPlaylistDialog(HWND main)
{
    PlayerApp* app = AppOfMainWindow(main);
    if (!app)
        return 0;
    std::string root;
    const INT_PTR result = playlist::BuildPlaylistDialog(app->instance, main, &root);
    if (result >= 1)
        lstrcpynA(app->currentSongPath, root.c_str(), MAX_PATH);
    return result;
}

}  // namespace playlist_seam

}  // namespace zub
