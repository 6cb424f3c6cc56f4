// Encoding of the player's settings values: the "Options" switch string,
// folders derived from chosen files, window-position names and texts.
#ifndef ZUB_PLAYER_APP_SETTINGS_CODEC_H
#define ZUB_PLAYER_APP_SETTINGS_CODEC_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zub {

constexpr int kOptionCount = 13;

// One option switch: its menu command, menu text and default state, in the
// order of the characters of the "Options" value.
struct OptionSwitch {
    int command;
    const char* menuText;
    bool defaultOn;
};
extern const std::array<OptionSwitch, kOptionCount> kOptionSwitches;

// Positions in kOptionSwitches (and in OptionArray) by meaning.
enum OptionIndex {
    kOptToolbar,
    kOptStatusBar,
    kOptAutoPlay,
    kOptDiskFixup,
    kOptSongGap,
    kOptLoop,
    kOptCreateMid,
    kOptElapsed,
    kOptRemaining,
    kOptMapVoices,
    kOptAlwaysOnTop,
    kOptUsePianodir,
    kOptSortDiskDir,
};

using OptionArray = std::array<bool, kOptionCount>;

OptionArray DefaultOptions();
// Index of the switch with this menu command, or -1.
int OptionIndexOfCommand(int command);

// Each character replaces the switch at the same position ("0" clears it,
// any other digit sets it); characters past the 13th are ignored and
// positions the text does not reach keep their value.
void ParseOptions(std::string_view text, OptionArray& options);
std::string FormatOptions(const OptionArray& options);

// The folder of a chosen file: the path cut at its last backslash, keeping
// that backslash when it is among the first three characters ("C:\").
std::string FolderOfPath(std::string_view path);

// The part of a path after its last slash, colon or backslash.
std::string FileTitleOf(std::string_view path);

struct WindowPos {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
bool operator==(const WindowPos& a, const WindowPos& b);

// "Player1024x768": the value name of a window's position for one screen size.
std::string WindowPosValueName(std::string_view window, int screenWidth, int screenHeight);
// "left top width height".
std::string FormatWindowPos(const WindowPos& pos);
// Four integers separated by blanks, with a positive width and height.
std::optional<WindowPos> ParseWindowPos(std::string_view text);

// A stored master volume of 0 (never saved) means override off at full volume.
int32_t MasterVolumeFromStored(uint32_t stored);

}  // namespace zub

#endif
