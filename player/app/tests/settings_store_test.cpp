#include "player_settings.h"
#include "settings_store.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(FallbackStore, WritesGoMachineWideWhenAllowed)
{
    MemoryStore machine, user;
    FallbackStore store(machine, user);
    EXPECT_TRUE(store.WriteString("Out", "Synth"));
    EXPECT_TRUE(machine.Has("Out"));
    EXPECT_FALSE(user.Has("Out"));
    std::string out;
    EXPECT_TRUE(store.ReadString("Out", out));
    EXPECT_EQ(out, "Synth");
}

TEST(FallbackStore, RefusedMachineWriteLandsWithTheUser)
{
    MemoryStore machine, user;
    machine.WriteNumber("ClavinovaLEDs", 3);
    machine.SetReadOnly(true);
    FallbackStore store(machine, user);
    EXPECT_TRUE(store.WriteNumber("ClavinovaLEDs", 17));
    uint32_t v = 0;
    ASSERT_TRUE(machine.ReadNumber("ClavinovaLEDs", v));
    EXPECT_EQ(v, 3u);
    ASSERT_TRUE(store.ReadNumber("ClavinovaLEDs", v));
    EXPECT_EQ(v, 17u) << "the user's value must win over the machine-wide one";
}

TEST(FallbackStore, LaterMachineWriteRemovesTheUsersCopy)
{
    MemoryStore machine, user;
    FallbackStore store(machine, user);
    machine.SetReadOnly(true);
    store.WriteString("Options", "0000000000000");
    machine.SetReadOnly(false);
    store.WriteString("Options", "1111111111111");
    EXPECT_FALSE(user.Has("Options"));
    std::string v;
    store.ReadString("Options", v);
    EXPECT_EQ(v, "1111111111111");
}

TEST(FallbackStore, NothingWritableMeansTheValueIsLost)
{
    MemoryStore machine, user;
    machine.SetReadOnly(true);
    user.SetReadOnly(true);
    FallbackStore store(machine, user);
    EXPECT_FALSE(store.WriteString("Out", "x"));
    std::string v;
    EXPECT_FALSE(store.ReadString("Out", v));
}

TEST(PlayerSettingsLoad, EmptyStoreGivesDefaults)
{
    MemoryStore store;
    PlayerSettings s = LoadPlayerSettings(store);
    EXPECT_EQ(s.out, "");
    for (const std::string& folder : s.folders)
        EXPECT_EQ(folder, "");
    EXPECT_EQ(s.options, DefaultOptions());
    EXPECT_EQ(s.lamps1, 0u);
    EXPECT_EQ(s.lamps2, 0u);
    EXPECT_EQ(s.masterVolume, -128);
    EXPECT_EQ(s.recent, (std::vector<std::string>{"", "", ""}));
}

TEST(PlayerSettingsLoad, ReadsEveryValueByItsName)
{
    MemoryStore store;
    store.WriteString("Out", "&Midi Mapper");
    store.WriteString("LastOpenDir", "C:\\Songs");
    store.WriteString("LastAddDir", "A:\\");
    store.WriteString("LastMapDir", "C:\\Maps");
    store.WriteString("LastExportDir", "C:\\Out");
    store.WriteString("Options", "1");
    store.WriteNumber("ClavinovaLEDs", 17);
    store.WriteNumber("ClavinovaLEDs2", 5);
    store.WriteNumber("MidiMasterVolume", 100);
    store.WriteString("File1", "C:\\a.mid");
    store.WriteString("File3", "C:\\c.mid");
    PlayerSettings s = LoadPlayerSettings(store);
    EXPECT_EQ(s.out, kMidiMapperText);
    EXPECT_EQ(s.folders[kLastOpenDir], "C:\\Songs");
    EXPECT_EQ(s.folders[kLastAddDir], "A:\\");
    EXPECT_EQ(s.folders[kLastMapDir], "C:\\Maps");
    EXPECT_EQ(s.folders[kLastExportDir], "C:\\Out");
    EXPECT_EQ(s.options, DefaultOptions());
    EXPECT_EQ(s.lamps1, 17u);
    EXPECT_EQ(s.lamps2, 5u);
    EXPECT_EQ(s.masterVolume, 100);
    EXPECT_EQ(s.recent, (std::vector<std::string>{"C:\\a.mid", "", "C:\\c.mid"}));
}

TEST(PlayerSettingsLoad, LongStringsAreCutAt255)
{
    MemoryStore store;
    store.WriteString("LastOpenDir", std::string(400, 'd'));
    EXPECT_EQ(LoadPlayerSettings(store).folders[kLastOpenDir], std::string(255, 'd'));
}

TEST(PlayerSettingsSave, RoundTripThroughTheStore)
{
    MemoryStore store;
    PlayerSettings s;
    s.out = "Software Synth";
    s.folders = {"C:\\1", "C:\\2", "C:\\3", "C:\\4"};
    s.options[kOptLoop] = true;
    s.options[kOptToolbar] = false;
    s.lamps1 = 1;
    s.lamps2 = 16;
    s.masterVolume = -77;
    SavePlayerSettings(store, s);
    SaveRecentFiles(store, {"C:\\x.mid", "C:\\y.kar"});
    PlayerSettings back = LoadPlayerSettings(store);
    EXPECT_EQ(back.out, s.out);
    EXPECT_EQ(back.folders, s.folders);
    EXPECT_EQ(back.options, s.options);
    EXPECT_EQ(back.lamps1, 1u);
    EXPECT_EQ(back.lamps2, 16u);
    EXPECT_EQ(back.masterVolume, -77);
    EXPECT_EQ(back.recent, (std::vector<std::string>{"C:\\x.mid", "C:\\y.kar", ""}));
    std::string options;
    store.ReadString("Options", options);
    EXPECT_EQ(options, "0111110010010");
}

TEST(PlayerSettingsWindowPos, SeparatePerScreenSize)
{
    MemoryStore store;
    SaveWindowPos(store, "Player", 1024, 768, {10, 20, 380, 200});
    EXPECT_EQ(*LoadWindowPos(store, "Player", 1024, 768), (WindowPos{10, 20, 380, 200}));
    EXPECT_FALSE(LoadWindowPos(store, "Player", 1280, 1024));
    SaveWindowPos(store, "Player", 1280, 1024, {0, 0, 500, 300});
    EXPECT_EQ(*LoadWindowPos(store, "Player", 1024, 768), (WindowPos{10, 20, 380, 200}));
    std::string raw;
    ASSERT_TRUE(store.ReadString("Player1280x1024", raw));
    EXPECT_EQ(raw, "0 0 500 300");
    store.WriteString("OpenPos1024x768", "garbage");
    EXPECT_FALSE(LoadWindowPos(store, "OpenPos", 1024, 768));
}

TEST(PlayerSettingsDevice, SavedOutSelectsTheDevice)
{
    std::vector<std::string> devices = {"Synth A", "Synth B"};
    EXPECT_EQ(DeviceForSavedOut("&Midi Mapper", devices), -1);
    EXPECT_EQ(DeviceForSavedOut("&Midi Mapper", {}), -1);
    EXPECT_EQ(DeviceForSavedOut("Synth B", devices), 1);
    EXPECT_EQ(DeviceForSavedOut("synth b", devices), 0) << "names compare exactly";
    EXPECT_EQ(DeviceForSavedOut("Gone", devices), 0);
    EXPECT_EQ(DeviceForSavedOut("", devices), 0);
    EXPECT_EQ(DeviceForSavedOut("", {""}), 0);
}

}  // namespace
}  // namespace zub
