// Shared memory between the UI tests and their probe library, which a global
// hook loads into the player's process. Menus cannot be read from another
// process, so the probe reads them inside the player when asked, and it
// logs the commands the player's main window takes from its queue.
#ifndef ZUB_TESTS_UI_UI_PROBE_H
#define ZUB_TESTS_UI_UI_PROBE_H

#include <windows.h>

#define ZUB_PROBE_MAPPING "ZubodeckUiProbe"
#define ZUB_PROBE_QUERY_MESSAGE "ZubodeckUiProbeQuery"
// Sent to the playlist window: do what shared.grid asks, inside the player.
#define ZUB_PROBE_GRID_MESSAGE "ZubodeckUiProbeGrid"
// Sent to the main window with a slider's handle in wParam: fills `slider`.
#define ZUB_PROBE_SLIDER_MESSAGE "ZubodeckUiProbeSlider"
// Sent to the main window with a window's handle in wParam (the main window
// itself or one of its dialogs): fills `controls` with its children.
#define ZUB_PROBE_LAYOUT_MESSAGE "ZubodeckUiProbeLayout"
// Sent to the main window with a window's handle in wParam: the window
// prints itself (PrintWindow) into a BMP file at `picturePath`.
#define ZUB_PROBE_PICTURE_MESSAGE "ZubodeckUiProbePicture"

struct ProbeMenuItem {
    int menuBarPos;  // which popup of the menu bar (-1: the bar itself)
    int depth;       // 0 for items of a popup, 1 for a popup within it
    int position;    // position within its popup
    UINT id;         // command, or 0 for separators and popups
    UINT state;      // GetMenuState flags
    char text[128];
};

struct ProbeStatusPart {
    char text[264];
};

// What the tests ask of the playlist window's grid inside the player: grid
// messages carry pointers, which only the player's own process can send.
enum ProbeGridOp {
    kProbeSelectRow = 1,     // row (and with arg > 0 only that column): the grid's selection and focus go there
    kProbeNotify = 2,        // arg: the grid's notification code, raised to the dialog
    kProbeEditText = 3,      // text: what the user typed into the open title editor
    kProbeEndEdit = 4,       // arg: 1 accept, 0 cancel
    kProbeStatusTexts = 5,   // answer: the playlist status bar's parts, one per line
};
struct ProbeGridRequest {
    int op;
    int row;
    int arg;
    char text[256];
    volatile LONG done;
    char answer[1024];
};

// A toolbar button and the tooltip text the main window gives it.
struct ProbeToolbarTip {
    int command;
    char text[80];
};

// A child window of a described window, or a part of a status bar (class
// "StatusPart"), with its text measured in its own font inside the player.
struct ProbeControl {
    HWND window;
    HWND buddy;  // an up-down control's buddy, else null
    int id;
    DWORD style;  // a status part: its drawing type (SBT_NOBORDERS ...)
    int visible;
    char className[32];
    char text[128];
    RECT rect;    // in the described window's client coordinates
    SIZE client;  // the client rectangle's size (a status part: its rectangle)
    SIZE extent;  // GetTextExtentPoint32 of the text as shown ("&" prefixes taken out);
                  // an empty edit field measures "0", for the height of its line
};

struct ProbeShared {
    // Commands posted or sent through the queue to a "ZubodeckMWnd" window.
    volatile LONG commandCount;
    int commands[256];
    // Filled on each query.
    volatile LONG queryCount;
    int itemCount;
    ProbeMenuItem items[200];
    int statusParts;
    ProbeStatusPart status[4];
    ProbeGridRequest grid;
    // The toolbar's tools (0 without a tooltip control) and its buttons.
    int toolCount;
    int tipCount;
    ProbeToolbarTip tips[16];
    // A slider's thumb and channel, in its client coordinates.
    volatile LONG sliderCount;
    RECT sliderThumb;
    RECT sliderChannel;
    // The described window's children, its client size and the dots per inch.
    volatile LONG layoutCount;
    int dpi;
    SIZE layoutClient;
    int controlCount;
    ProbeControl controls[64];
    // A picture asked for: where to write it, and whether it was written.
    volatile LONG pictureCount;
    char picturePath[MAX_PATH];
    int pictureWritten;
};

#endif
