// Command, resource and message numbers of the player's main window. Plain
// macros so that the resource compiler can read this file too.
#ifndef ZUB_PLAYER_APP_COMMAND_IDS_H
#define ZUB_PLAYER_APP_COMMAND_IDS_H

// Resources.
#define IDR_MAINMENU 51
#define IDB_TOOLBAR 200
#define IDC_TOOLBAR 300
#define IDC_STATUSBAR 301
#define IDC_ABOUT_GRID 1018
#define IDC_ABOUT_LINE1 1019
#define IDC_ABOUT_LINE2 1020
#define IDC_ABOUT_LINE3 1021

// Commands of the main window (WM_COMMAND, low word of wParam).
#define CMD_EXIT 100
#define CMD_OPEN 102
#define CMD_PLAY 103
#define CMD_PAUSE 104
#define CMD_STOP 105
#define CMD_TOOLBAR 106
#define CMD_STATUSBAR 107
#define CMD_AUTOPLAY 108
#define CMD_NEW 109
#define CMD_SAVE 110
#define CMD_SAVEAS 111
#define CMD_DISK_FIXUP 112
#define CMD_SONG_GAP 113
#define CMD_LOOP 114
#define CMD_TOGGLE_TIME 115
#define CMD_MIDI_RESET 116
#define CMD_MASTER_VOLUME 117
#define CMD_MIDI_MAPPER 129
#define CMD_DEVICE_FIRST 130
#define CMD_DEVICE_LAST 149
#define CMD_REFRESH 150
#define CMD_OPEN_CURRENT 151
#define CMD_RECENT_FIRST 160
#define CMD_RECENT_LAST 162
#define CMD_ELAPSED 1010
#define CMD_REMAINING 1011
#define CMD_BATCH_CONVERT 40001
#define CMD_CREATE_MID 40002
#define CMD_NEXT 40003
#define CMD_PREV 40004
#define CMD_BUILD_PLAYLIST 40007
#define CMD_EXPORT_PLAYLIST 40008
#define CMD_MAP_VOICES 40013
#define CMD_ABOUT 40014
#define CMD_LAMP_DISABLED 40016
#define CMD_LAMP_CHAN1 40017
#define CMD_LAMP_AUTO 40033
#define CMD_ALWAYS_ON_TOP 40035
#define CMD_VIEW_TOOLBAR 40039
#define CMD_VIEW_STATUSBAR 40040
#define CMD_PLAYBACK_CONTROL 40041
#define CMD_VIEW_POSITION 40042
#define CMD_USE_PIANODIR 40043
#define CMD_SORT_DISK_DIR 40046

// String table.
#define IDS_TITLE_FORMAT 1000
#define IDS_APP_CAPTION 1001
#define IDS_UNTITLED 1002
#define IDS_ELAPSED 1010
#define IDS_REMAINING 1011
#define IDS_STATE_BASE 1020
#define IDS_STOPPED 1021
#define IDS_SEEKING 1022
#define IDS_PREROLLED 1023
#define IDS_PLAYING 1024
#define IDS_PAUSED 1025
#define IDS_STOPPING 1026
#define IDS_OPEN_FAILED 1050
#define IDS_PREROLL_FAILED 1051
#define IDS_STOP_FAILED 1053

// Private window messages (WM_USER + n).
#define ZM_PLAYDONE 1044
#define ZM_PLAYLIST_STEP 1054
#define ZM_PLAYLIST_STATE 1055
#define ZM_PLAYLIST_RESORT 1060

// Timer of the main window that the sequencer sets when the last buffer is back.
#define TIMER_PLAYDONE 2

// Menu-bar positions of the main menu.
#define MENUPOS_FILE 0
#define MENUPOS_PLAY 1
#define MENUPOS_OPTIONS 2
#define MENUPOS_PLAYTHRU 3
#define MENUPOS_VIEW 4
#define MENUPOS_HELP 5

#endif
