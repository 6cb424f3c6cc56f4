// The playlist window's rules as plain tables and functions: the popup
// menu's enable and check states, the keyboard shortcuts, the status bar's
// part edges and the placement of the grid and buttons.
#ifndef ZUB_PLAYLIST_PLAYLIST_WINDOW_RULES_H
#define ZUB_PLAYLIST_PLAYLIST_WINDOW_RULES_H

#include <array>
#include <vector>

#include "playlist_ids.h"

namespace playlist {

// Control and command identifiers of the playlist dialog.
enum PlaylistId : int {
    kIdClose = IDC_PL_CLOSE,
    kIdUp = IDC_PL_UP,
    kIdAdd = IDC_PL_ADD,
    kIdDelete = IDC_PL_DELETE,
    kIdCue = IDC_PL_CUE,
    kIdGrid = IDC_PL_GRID,
    kIdDown = IDC_PL_DOWN,
    kIdStatusBar = IDC_PL_STATUS,
    kCmdAttachMap = CMD_PL_ATTACH_MAP,
    kCmdDetachMap = CMD_PL_DETACH_MAP,
    kCmdCopyDiskToA = CMD_PL_COPY_DISK_A,
    kCmdCopySongToA = CMD_PL_COPY_SONG_A,
    kCmdCopyToClipboard = CMD_PL_COPY_CLIPBOARD,
    kCmdPasteFromClipboard = CMD_PL_PASTE_CLIPBOARD,
    kCmdHideAllSongs = CMD_PL_HIDE_SONGS,
    kCmdShowAllSongs = CMD_PL_SHOW_SONGS,
    kCmdSortByDiskDir = CMD_PL_SORT_DISKDIR,
    kCmdSaveSongTitles = CMD_PL_SAVE_TITLES,
};

// The playlist window's private messages.
enum PlaylistMessage : unsigned {
    kMsgStep = ZM_PLAYLIST_STEP,
    kMsgState = ZM_PLAYLIST_STATE,
    kMsgOpen = ZM_PLAYLIST_OPEN,
    kMsgDelete = ZM_PLAYLIST_DELETE,
    kMsgCopyFiles = ZM_PLAYLIST_COPYFILES,
    kMsgPasteFiles = ZM_PLAYLIST_PASTEFILES,
    kMsgResort = ZM_PLAYLIST_RESORT,
    kMsgCopyText = ZM_PLAYLIST_COPYTEXT,
    kMsgPasteText = ZM_PLAYLIST_PASTETEXT,
};

// Popup menu ("IDM_POPUP"): what the window knows when it opens.
struct PopupFacts {
    bool clipboardHasFiles = false;
    bool hasSelection = false;
    bool selectionIsSong = false;
    bool selectionHasVoiceMap = false;
    bool titlesModified = false;
    bool sortedByDiskDir = false;
};
struct MenuItemState {
    int id;
    bool enabled;
    bool checked;
};
std::vector<MenuItemState> PopupItemStates(const PopupFacts& facts);

// Keyboard pre-translation of WM_KEYDOWN: whether the message is consumed
// and which message (0 for none) is posted to the playlist window.
// focusInDialog: the focus window's parent is the playlist dialog;
// forPlaylist: the key went to the dialog or a window inside it.
struct KeyDecision {
    bool consumed = false;
    unsigned post = 0;
};
KeyDecision DecideKey(int virtualKey, bool controlDown, bool focusInDialog, bool editorOpen, bool forPlaylist);

// Text widths, in the status bar's font, of the samples the parts are
// sized by.
struct StatusSampleWidths {
    int currentDisk = 0;  // "Current Disk:"
    int time = 0;         // "44:44:44"
    int totals = 0;       // "Totals:"
    int folders = 0;      // "44 Disk/Dirs"
    int files = 0;        // "1444 Files"
    int total = 0;        // "144:44:44"
};
// The right edges of the seven parts for a client width.
std::array<int, 7> StatusPartEdges(int clientWidth, const StatusSampleWidths& w);

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};
struct PlaylistLayout {
    Box grid, add, remove, up, down, cue, close;
};
// designedButtonWidth: the "&Add..." button's width as the dialog made it.
// The grid fills the client area above the buttons, its scroll bars inside it;
// the buttons stand 24 pixels above the bottom, or higher above a taller
// status bar (large fonts).
PlaylistLayout LayOutPlaylist(int clientWidth, int clientHeight, int designedButtonWidth, int buttonHeight,
                              int statusBarHeight = 0);

}  // namespace playlist

#endif
