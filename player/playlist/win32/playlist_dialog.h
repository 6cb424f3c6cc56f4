// Inside the playlist window: its state, attached to the dialog, and the
// pieces of its procedure that live in files of their own (the status bar,
// the subclassed grid windows, the popup menu, the file dialogs).
#ifndef ZUB_PLAYLIST_WIN32_PLAYLIST_DIALOG_H
#define ZUB_PLAYLIST_WIN32_PLAYLIST_DIALOG_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "grid_window.h"
#include "image_files.h"
#include "length_probe.h"
#include "playlist_files.h"
#include "playlist_host.h"
#include "playlist_session.h"
#include "playlist_window_rules.h"

namespace playlist {

extern const char kUntitledPath[];  // "[Untitled]"

// Timers of the dialog.
enum : UINT_PTR { kScanTimer = 0, kAnimationTimer = 1 };

struct PlaylistActionsState;

struct PlaylistWindow : public PlaylistView {
    PlaylistWindow(PlaylistHost& h, const std::string& p) : host(h), path(p) {}

    PlaylistHost& host;
    HWND dialog = nullptr;
    HWND status = nullptr;
    std::string path;  // what the window was opened on; "[Untitled]" for a new list
    std::unique_ptr<GridWindow> grid;
    ImagePlaylistFiles files;  // floppy images read as disks
    std::unique_ptr<SequencerLengthProbe> probe;
    std::unique_ptr<PlaylistSession> session;
    WNDPROC outerProc = nullptr;
    WNDPROC innerProc = nullptr;
    int buttonWidth = 0;  // "&Add..." as designed, taken at the first resize
    std::string statusTexts[7];
    bool animating = false;
    // The scan's walk and what the other actions keep (playlist_actions_state.h).
    std::shared_ptr<PlaylistActionsState> actions;

    // PlaylistView
    void SetStatus(int part, const std::string& text) override;
    void StartAnimation() override;
    void StopAnimation() override;
    void ShowArrows(bool shown) override;
    void ShowError(const std::string& text) override;
};

PlaylistWindow* WindowOf(HWND dialog);

// playlist_status.cpp
HWND CreatePlaylistStatusBar(PlaylistWindow& w);
void LayOutStatusParts(PlaylistWindow& w);

// playlist_grid_hooks.cpp: the subclassed grid windows (scroll bars and
// right clicks) and the mouse wheel on the dialog.
void HookGridWindows(PlaylistWindow& w);
void UnhookGridWindows(PlaylistWindow& w);
void OnMouseWheel(PlaylistWindow& w, WPARAM wParam);

// playlist_popup.cpp
void ShowPopupMenu(PlaylistWindow& w, bool fromGrid, POINT at);
bool ClipboardHasFileList();

// playlist_file_dialogs.cpp: saving (asking for a name when needed), and
// the questions before the list goes away: false when the user cancelled.
bool SaveWithDialog(PlaylistWindow& w, bool askName);
bool AskToSave(PlaylistWindow& w, const char* text, const char* caption);
void ShowProblems(PlaylistWindow& w, const std::vector<std::string>& problems);

// The actions of the directory scan, the Add dialog, drops, voice maps,
// copying and the clipboard (playlist_scan.cpp, playlist_add.cpp,
// playlist_voicemap.cpp, playlist_copy.cpp, playlist_clipboard.cpp).
bool ScanCommand(PlaylistWindow& w, int command);
void AddFilesDialog(PlaylistWindow& w);
void DropFiles(PlaylistWindow& w, HDROP drop);
void VoiceMapCommand(PlaylistWindow& w, int command);
void CopyCommand(PlaylistWindow& w, int command);
void ClipboardMessage(PlaylistWindow& w, UINT message);

// copy_target_dialog.cpp: "Copy Target", where the copy commands write (a
// drive or a floppy image file, and the size a missing image is made at).
void CopyTargetDialog(PlaylistWindow& w);

}  // namespace playlist

#endif
