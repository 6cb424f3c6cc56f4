// The playlist window's rules as plain tables and functions: the popup
// menu's enable and check states, the keyboard shortcuts, the status bar's
// part edges and the placement of the grid and buttons.
#ifndef ZUB_PLAYLIST_PLAYLIST_WINDOW_RULES_H
#define ZUB_PLAYLIST_PLAYLIST_WINDOW_RULES_H

#include <array>
#include <vector>

namespace playlist {

// Control and command identifiers of the playlist dialog.
enum PlaylistId : int {
    kIdClose = 2,
    kIdUp = 1004,
    kIdAdd = 1005,
    kIdDelete = 1006,
    kIdCue = 1007,
    kIdGrid = 1014,
    kIdDown = 1015,
    kIdStatusBar = 301,
    kCmdAttachMap = 40005,
    kCmdDetachMap = 40006,
    kCmdCopyDiskToA = 40009,
    kCmdCopySongToA = 40011,
    kCmdCopyToClipboard = 40037,
    kCmdPasteFromClipboard = 40038,
    kCmdHideAllSongs = 40044,
    kCmdShowAllSongs = 40045,
    kCmdSortByDiskDir = 40047,
    kCmdSaveSongTitles = 40050,
};

// The playlist window's private messages (WM_USER + 30 ...).
enum PlaylistMessage : unsigned {
    kMsgStep = 1054,
    kMsgState = 1055,
    kMsgOpen = 1056,
    kMsgDelete = 1057,
    kMsgCopyFiles = 1058,
    kMsgPasteFiles = 1059,
    kMsgResort = 1060,
    kMsgCopyText = 1061,
    kMsgPasteText = 1062,
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
PlaylistLayout LayOutPlaylist(int clientWidth, int clientHeight, int designedButtonWidth, int buttonHeight,
                              int vscrollWidth, int hscrollHeight);

}  // namespace playlist

#endif
