// Command, control and resource numbers of the practice tools (seek, A-B
// loop, lyrics). Plain macros so that the resource compiler reads them too.
#ifndef ZUB_PLAYER_APP_WIN32_PRACTICE_IDS_H
#define ZUB_PLAYER_APP_WIN32_PRACTICE_IDS_H

#define CMD_SEEK_BAR 40101
#define CMD_LYRICS 40102
#define CMD_GOTO_TIME 40103
#define CMD_SEEK_BACK 40104
#define CMD_SEEK_FORWARD 40105
#define CMD_LOOP_START 40106
#define CMD_LOOP_END 40107
#define CMD_LOOP_AB 40108
#define CMD_LOOP_TIMES 40109

#define IDC_SEEKBAR 302
#define IDC_LYRICS_TEXT 303
#define IDC_ASK_PROMPT 1101
#define IDC_ASK_EDIT 1102

#endif
