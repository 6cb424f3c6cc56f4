// Program-wide state of the player's main window, and the functions the
// shell's modules call on each other. One instance, owned by the program's
// entry and attached to the main window when it is created; window
// procedures find it through their window, never through a global.
#ifndef ZUB_PLAYER_APP_WIN32_PLAYER_APP_H
#define ZUB_PLAYER_APP_WIN32_PLAYER_APP_H

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "command_ids.h"
#include "delayed_post.h"
#include "gdi_object.h"
#include "midisink.h"
#include "midistream.h"
#include "player_settings.h"
#include "practice_state.h"
#include "recent_files.h"
#include "sequencer.h"
#include "voice_map.h"

namespace zub {

extern const char kMainClassName[];
extern const char kDisplayClassName[];

// The light grey of the position display: its class background and the
// background of its digits.
constexpr COLORREF kDisplayGrey = RGB(0xE0, 0xE0, 0xE0);

// Delivers the sequencer's "playback done" to the main window's thread:
// ZM_PLAYDONE with wParam 0, after the delay that lets the song's last
// notes sound out.
class WindowNotify : public SequencerNotify {
public:
    void SetWindow(HWND window) { window_ = window; }
    void ScheduleDone(uint32_t delayMs) override;

private:
    HWND window_ = nullptr;
    DelayedPost done_;
};

struct PlayerApp {
    HINSTANCE instance = nullptr;
    HWND main = nullptr;
    HWND toolbar = nullptr;
    HWND status = nullptr;
    HWND display = nullptr;
    GdiObject<HBRUSH> displayBrush;

    // Output: the real MIDI stream services, or the software stream into a
    // capture file when the command line asks for one. The capture holds
    // everything sent in this run and is written each time a stream closes.
    std::unique_ptr<CaptureSink> capture;
    std::string capturePath;
    std::unique_ptr<MidiStreamPort> port;
    WindowNotify notify;
    // The loaded voice map, made on first use; declared before the
    // sequencer, which uses it, so that it goes after it.
    std::unique_ptr<playlist::VoiceMap> voiceMap;
    std::unique_ptr<Sequencer> sequencer;
    std::vector<std::string> deviceNames;
    int device = 0;  // -1 = MIDI Mapper

    // Shared with the playlist window.
    char currentSongPath[MAX_PATH] = {};
    char fileTitle[MAX_PATH] = {};
    char voiceMapPath[MAX_PATH] = {};
    bool userStopFlag = false;

    // The option switches, the time mode and the instrument settings have
    // one home each: the switches and the time mode are the menu's check
    // marks (which are what is saved on exit), the master volume and the
    // guide lamps are the sequencer's (which plays them).
    std::string songTitle;  // status part 0
    std::string startupDir;
    RecentFiles recent;
    std::array<std::string, kFolderCount> folders;
    int openFilterIndex = 1;

    // From the command line.
    bool newPlaylist = false;
    std::string openAtStart;

    // Seek, the A-B loop and lyrics (off until the user turns them on).
    PracticeState practice;

    // Strings loaded at start-up.
    std::string titleFormat;
    std::string caption;
    std::string untitled;
};

// A string of the program's string table.
std::string LoadResString(int id);

// main_window.cpp
bool RegisterMainClass(HINSTANCE instance);
// Creates the main window with `app` attached to it.
HWND CreateMainWindow(PlayerApp& app, const RECT& place);
// The state attached to the main window (null before it is attached).
PlayerApp* AppOfMainWindow(HWND main);
void LayoutMainWindow(PlayerApp& app);
void SetMainTitle(PlayerApp& app, const char* name);
// The title "Zub Player - [Untitled]" and an empty song title: no song is open.
void ShowNoSong(PlayerApp& app);

// bars.cpp
HWND CreateToolbar(PlayerApp& app);
HWND CreateStatusBar(PlayerApp& app);
// The screen's dots per inch (96 unless the user chose larger text).
int ScreenDpi();
void UpdateStatusParts(PlayerApp& app);
void SetStatusText(PlayerApp& app, int part, const std::string& text);
// The tooltip of a toolbar button: its command's name. Empty for none.
std::string ToolbarTip(PlayerApp& app, int command);

// main_commands.cpp
void OnMainCommand(PlayerApp& app, int command);
void RefreshControls(PlayerApp& app);
void OnPlayDone(PlayerApp& app, WPARAM wParam);

// options.cpp: the option switches are the check marks of their menu items.
bool OptionOn(const PlayerApp& app, OptionIndex option);
void SetOptionCheck(PlayerApp& app, int command, bool on);
// CMD_ELAPSED or CMD_REMAINING, as the menu shows it.
int TimeMode(const PlayerApp& app);

// main_open.cpp
void OpenPathAsDropped(PlayerApp& app, const char* path);
void OpenFromDialog(PlayerApp& app);
void OpenRecent(PlayerApp& app, int index);
void OpenCurrentSong(PlayerApp& app);
void InsertRecentMenuItems(PlayerApp& app);
void ExportPlaylist(PlayerApp& app);
// Enters a path at the front of the recent files (menu and settings).
void AddRecent(PlayerApp& app, const char* path);

// position_display.cpp
bool RegisterDisplayClass(HINSTANCE instance, HBRUSH background);
// Creates the display as a child of the main window, with `app` attached.
HWND CreatePositionDisplay(PlayerApp& app);

// practice.cpp: the seek bar, seeking, the A-B loop; the menu items are
// added at creation.
void InitPractice(PlayerApp& app);
// False for a command that is not one of the practice tools'.
bool OnPracticeCommand(PlayerApp& app, int command);
// After a change of the song or its state (RefreshControls).
void RefreshPractice(PlayerApp& app);
// WM_HSCROLL from a child of the main window.
void OnPracticeScroll(PlayerApp& app, HWND bar, int code);
// The practice keys of the main window and its Lyrics window.
bool TranslatePracticeKey(PlayerApp& app, MSG* msg);
// The seek bar sits under the position display; 0 while it is off.
int SeekBarHeight(const PlayerApp& app);
void PlaceSeekBar(PlayerApp& app, int top, int width);

// lyrics_window.cpp
HWND CreateLyricsWindow(PlayerApp& app);
void ShowLyricsView(HWND lyrics, const LyricsView& view);

// error_box.cpp: "%s:\n%s" with the string and the multimedia error text.
void ShowPlaybackError(PlayerApp& app, int stringId, uint32_t error);

// Writes the capture file (when there is one); the stream must be closed.
void SaveCapture(PlayerApp& app);

// output_ports.cpp
std::vector<std::string> ListOutputDevices(const PlayerApp& app);
std::unique_ptr<MidiStreamPort> MakeOutputPort(PlayerApp& app);

}  // namespace zub

#endif
