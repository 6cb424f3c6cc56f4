// The player's settings as a whole: what is read while the main window is
// created and written when it is destroyed, through a SettingsStore.
#ifndef ZUB_PLAYER_APP_PLAYER_SETTINGS_H
#define ZUB_PLAYER_APP_PLAYER_SETTINGS_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings_codec.h"
#include "settings_store.h"

namespace zub {

// The registry key under the machine-wide (and, as fallback, the user's) root.
extern const char kSettingsSubkey[];
extern const char kMidiMapperText[];

enum FolderIndex { kLastOpenDir, kLastAddDir, kLastMapDir, kLastExportDir, kFolderCount };
extern const std::array<const char*, kFolderCount> kFolderValueNames;

struct PlayerSettings {
    std::string out;  // text of the checked Play Thru item; empty = device 0
    std::array<std::string, kFolderCount> folders;
    OptionArray options = DefaultOptions();
    uint32_t lamps1 = 0;
    uint32_t lamps2 = 0;
    int32_t masterVolume = -128;
    std::vector<std::string> recent;
};

// Reads in start-up order: "Out", the folders, "Options", the lamps, the
// master volume and the recent files. Missing values keep their defaults;
// strings longer than 255 bytes are cut there.
PlayerSettings LoadPlayerSettings(SettingsStore& store);

// Writes in exit order: "Options", the folders, "Out", the lamps and the
// master volume. (The window position comes first and is written apart.)
void SavePlayerSettings(SettingsStore& store, const PlayerSettings& settings);

// The output device a saved "Out" text selects among the device names (in
// device order): -1 for "&Midi Mapper", the first device of that exact
// name, else device 0.
int DeviceForSavedOut(const std::string& out, const std::vector<std::string>& deviceNames);

// Writes "File1" to "FileN" for the current list.
void SaveRecentFiles(SettingsStore& store, const std::vector<std::string>& recent);

std::optional<WindowPos> LoadWindowPos(SettingsStore& store, const std::string& window, int screenWidth,
                                       int screenHeight);
void SaveWindowPos(SettingsStore& store, const std::string& window, int screenWidth, int screenHeight,
                   const WindowPos& pos);

}  // namespace zub

#endif
