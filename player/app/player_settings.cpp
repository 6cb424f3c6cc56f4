#include "player_settings.h"

#include "recent_files.h"

namespace zub {

const char kSettingsSubkey[] = "Software\\Microsoft\\Multimedia\\Zubodeck";
const char kMidiMapperText[] = "&Midi Mapper";
const std::array<const char*, kFolderCount> kFolderValueNames = {"LastOpenDir", "LastAddDir", "LastMapDir",
                                                                 "LastExportDir"};

namespace {

// Values are read into 256-byte buffers: 255 characters and the terminator.
constexpr size_t kMaxStringValue = 255;

std::string ReadText(SettingsStore& store, const std::string& name)
{
    std::string value;
    if (!store.ReadString(name, value))
        return std::string();
    if (value.size() > kMaxStringValue)
        value.resize(kMaxStringValue);
    return value;
}

uint32_t ReadNumberOr0(SettingsStore& store, const std::string& name)
{
    uint32_t value = 0;
    return store.ReadNumber(name, value) ? value : 0;
}

}  // namespace

PlayerSettings LoadPlayerSettings(SettingsStore& store)
{
    PlayerSettings s;
    s.out = ReadText(store, "Out");
    for (int i = 0; i < kFolderCount; ++i)
        s.folders[i] = ReadText(store, kFolderValueNames[i]);
    ParseOptions(ReadText(store, "Options"), s.options);
    s.lamps1 = ReadNumberOr0(store, "ClavinovaLEDs");
    s.lamps2 = ReadNumberOr0(store, "ClavinovaLEDs2");
    s.masterVolume = MasterVolumeFromStored(ReadNumberOr0(store, "MidiMasterVolume"));
    for (int n = 1; n <= RecentFiles::kMax; ++n)
        s.recent.push_back(ReadText(store, RecentValueName(n)));
    return s;
}

void SavePlayerSettings(SettingsStore& store, const PlayerSettings& s)
{
    store.WriteString("Options", FormatOptions(s.options));
    for (int i = 0; i < kFolderCount; ++i)
        store.WriteString(kFolderValueNames[i], s.folders[i]);
    store.WriteString("Out", s.out);
    store.WriteNumber("ClavinovaLEDs", s.lamps1);
    store.WriteNumber("ClavinovaLEDs2", s.lamps2);
    store.WriteNumber("MidiMasterVolume", static_cast<uint32_t>(s.masterVolume));
}

int DeviceForSavedOut(const std::string& out, const std::vector<std::string>& deviceNames)
{
    if (out == kMidiMapperText)
        return -1;
    for (size_t i = 0; i < deviceNames.size(); ++i) {
        if (!out.empty() && deviceNames[i] == out)
            return static_cast<int>(i);
    }
    return 0;
}

void SaveRecentFiles(SettingsStore& store, const std::vector<std::string>& recent)
{
    for (size_t i = 0; i < recent.size(); ++i)
        store.WriteString(RecentValueName(static_cast<int>(i) + 1), recent[i]);
}

std::optional<WindowPos> LoadWindowPos(SettingsStore& store, const std::string& window, int screenWidth,
                                       int screenHeight)
{
    std::string text = ReadText(store, WindowPosValueName(window, screenWidth, screenHeight));
    return ParseWindowPos(text);
}

void SaveWindowPos(SettingsStore& store, const std::string& window, int screenWidth, int screenHeight,
                   const WindowPos& pos)
{
    store.WriteString(WindowPosValueName(window, screenWidth, screenHeight), FormatWindowPos(pos));
}

}  // namespace zub
