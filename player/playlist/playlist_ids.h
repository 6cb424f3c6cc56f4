// Control, command, message and resource numbers of the playlist window.
// Plain macros so that the resource compiler can read this file too.
#ifndef ZUB_PLAYLIST_PLAYLIST_IDS_H
#define ZUB_PLAYLIST_PLAYLIST_IDS_H

// Controls of "PLAYLISTDLG".
#define IDC_PL_CLOSE 2
#define IDC_PL_UP 1004
#define IDC_PL_ADD 1005
#define IDC_PL_DELETE 1006
#define IDC_PL_CUE 1007
#define IDC_PL_GRID 1014
#define IDC_PL_DOWN 1015
#define IDC_PL_STATUS 301

// Directory scan steps, posted by the scan to its window.
#define CMD_PL_SCAN_STOP 101
#define CMD_PL_SCAN_ENTER 102
#define CMD_PL_SCAN_FILE 103
#define CMD_PL_SCAN_NEXT 104

// Popup menu "IDM_POPUP".
#define CMD_PL_ATTACH_MAP 40005
#define CMD_PL_DETACH_MAP 40006
#define CMD_PL_COPY_DISK_A 40009
#define CMD_PL_COPY_SONG_A 40011
#define CMD_PL_COPY_CLIPBOARD 40037
#define CMD_PL_PASTE_CLIPBOARD 40038
#define CMD_PL_HIDE_SONGS 40044
#define CMD_PL_SHOW_SONGS 40045
#define CMD_PL_SORT_DISKDIR 40047
#define CMD_PL_SAVE_TITLES 40050
#define CMD_PL_COPY_TARGET 40061

// Dialog "COPYTARGETDLG": where the copy commands write.
#define IDC_CT_WHERE 1101
#define IDC_CT_BROWSE 1102
#define IDC_CT_720 1103
#define IDC_CT_1440 1104

// Private messages (WM_USER + 30 ...).
#define ZM_PLAYLIST_STEP 1054
#define ZM_PLAYLIST_STATE 1055
#define ZM_PLAYLIST_OPEN 1056
#define ZM_PLAYLIST_DELETE 1057
#define ZM_PLAYLIST_COPYFILES 1058
#define ZM_PLAYLIST_PASTEFILES 1059
#define ZM_PLAYLIST_RESORT 1060
#define ZM_PLAYLIST_COPYTEXT 1061
#define ZM_PLAYLIST_PASTETEXT 1062

#endif
