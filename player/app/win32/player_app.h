// Program-wide state of the player's main window, and the functions the
// shell's modules call on each other. One instance, reached through App().
#ifndef ZUB_PLAYER_APP_WIN32_PLAYER_APP_H
#define ZUB_PLAYER_APP_WIN32_PLAYER_APP_H

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "command_ids.h"
#include "delayed_post.h"
#include "midisink.h"
#include "midistream.h"
#include "player_settings.h"
#include "recent_files.h"
#include "sequencer.h"

namespace zub {

extern const char kMainClassName[];
extern const char kDisplayClassName[];

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
    HBRUSH displayBrush = nullptr;

    // Output: the real MIDI stream services, or the software stream into a
    // capture file when the command line asks for one. The capture holds
    // everything sent in this run and is written each time a stream closes.
    std::unique_ptr<CaptureSink> capture;
    std::string capturePath;
    std::unique_ptr<MidiStreamPort> port;
    WindowNotify notify;
    std::unique_ptr<Sequencer> sequencer;
    std::vector<std::string> deviceNames;
    int device = 0;  // -1 = MIDI Mapper

    // Shared with the playlist window.
    char currentSongPath[MAX_PATH] = {};
    char fileTitle[MAX_PATH] = {};
    char voiceMapPath[MAX_PATH] = {};
    bool userStopFlag = false;

    std::string songTitle;  // status part 0
    std::string startupDir;
    RecentFiles recent;
    int timeMode = CMD_REMAINING;
    OptionArray options = DefaultOptions();
    std::array<std::string, kFolderCount> folders;
    uint8_t lamps1 = 0;
    uint8_t lamps2 = 0;
    int32_t masterVolume = -128;
    int openFilterIndex = 1;

    // From the command line.
    bool newPlaylist = false;
    std::string openAtStart;

    // Strings loaded at start-up.
    std::string titleFormat;
    std::string caption;
    std::string untitled;
};

PlayerApp& App();
std::string LoadResString(int id);

// main_window.cpp
bool RegisterMainClass(HINSTANCE instance);
void LayoutMainWindow(PlayerApp& app);
void SetMainTitle(PlayerApp& app, const char* name);

// bars.cpp
HWND CreateToolbar(PlayerApp& app);
HWND CreateStatusBar(PlayerApp& app);
void UpdateStatusParts(PlayerApp& app);
void SetStatusText(PlayerApp& app, int part, const std::string& text);

// main_commands.cpp
void OnMainCommand(PlayerApp& app, int command);
void RefreshControls(PlayerApp& app);
void SetOptionCheck(PlayerApp& app, int command, bool on);
void OnPlayDone(PlayerApp& app, WPARAM wParam);

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

// error_box.cpp: "%s:\n%s" with the string and the multimedia error text.
void ShowPlaybackError(PlayerApp& app, int stringId, uint32_t error);

// Writes the capture file (when there is one); the stream must be closed.
void SaveCapture(PlayerApp& app);

// output_ports.cpp
std::vector<std::string> ListOutputDevices(const PlayerApp& app);
std::unique_ptr<MidiStreamPort> MakeOutputPort(PlayerApp& app);

}  // namespace zub

#endif
