#include "settings_codec.h"

#include <gtest/gtest.h>

#include "command_ids.h"

namespace zub {
namespace {

TEST(SettingsOptions, DefaultsFollowTheSwitchTable)
{
    EXPECT_EQ(FormatOptions(DefaultOptions()), "1111100010010");
    EXPECT_EQ(OptionIndexOfCommand(CMD_REMAINING), kOptRemaining);
    EXPECT_EQ(OptionIndexOfCommand(CMD_SORT_DISK_DIR), kOptSortDiskDir);
    EXPECT_EQ(OptionIndexOfCommand(CMD_PLAY), -1);
    EXPECT_STREQ(kOptionSwitches[kOptDiskFixup].menuText, "&Disklavier Disk Fixup for Clavinova");
}

TEST(SettingsOptions, ParseReplacesOnlyThePositionsGiven)
{
    struct Case {
        const char* stored;
        const char* expected;
    } cases[] = {
        {"", "1111100010010"},
        {"1", "1111100010010"},
        {"0", "0111100010010"},
        {"00000", "0000000010010"},
        {"1111111111111", "1111111111111"},
        {"0000000000000", "0000000000000"},
        {"00000000000001111", "0000000000000"},  // past the 13th ignored
        {"0101", "0101100010010"},
        {"x", "1111100010010"},  // any character but "0" sets the switch
    };
    for (const Case& c : cases) {
        OptionArray options = DefaultOptions();
        ParseOptions(c.stored, options);
        EXPECT_EQ(FormatOptions(options), c.expected) << "stored \"" << c.stored << "\"";
    }
}

TEST(SettingsOptions, RoundTripOfEveryPattern)
{
    for (unsigned bits = 0; bits < (1u << kOptionCount); bits += 97) {
        OptionArray written{};
        for (int i = 0; i < kOptionCount; ++i)
            written[i] = (bits >> i) & 1;
        OptionArray read = DefaultOptions();
        ParseOptions(FormatOptions(written), read);
        EXPECT_EQ(read, written) << bits;
    }
}

TEST(SettingsFolders, CutAtTheLastBackslash)
{
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Songs\\Piano\\a.mid", "C:\\Songs\\Piano"},
        {"C:\\a.mid", "C:\\"},
        {"\\a.mid", "\\"},
        {"\\\\a.mid", "\\\\"},
        {"A:\\x\\y.fil", "A:\\x"},
        {"a.mid", ""},
        {"", ""},
        {"C:/Songs/a.mid", ""},  // only backslashes separate folders here
        {"\\\\server\\share\\b.mid", "\\\\server\\share"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

TEST(SettingsFolders, FileTitleAfterSlashColonOrBackslash)
{
    EXPECT_EQ(FileTitleOf("C:\\Songs\\Fur Elise.MID"), "Fur Elise.MID");
    EXPECT_EQ(FileTitleOf("A:song.fil"), "song.fil");
    EXPECT_EQ(FileTitleOf("dir/x.kar"), "x.kar");
    EXPECT_EQ(FileTitleOf("plain.mid"), "plain.mid");
    EXPECT_EQ(FileTitleOf("C:\\Songs\\"), "");
}

TEST(SettingsWindowPos, ValueNamePerScreenSize)
{
    EXPECT_EQ(WindowPosValueName("Player", 1024, 768), "Player1024x768");
    EXPECT_EQ(WindowPosValueName("OpenPos", 1280, 1024), "OpenPos1280x1024");
    EXPECT_NE(WindowPosValueName("Playlist", 800, 600), WindowPosValueName("Playlist", 1024, 768));
}

TEST(SettingsWindowPos, FormatAndParse)
{
    WindowPos pos{-4, 12, 380, 200};
    EXPECT_EQ(FormatWindowPos(pos), "-4 12 380 200");
    ASSERT_TRUE(ParseWindowPos("-4 12 380 200"));
    EXPECT_EQ(*ParseWindowPos("-4 12 380 200"), pos);
    EXPECT_EQ(*ParseWindowPos("  1\t2 3 4 "), (WindowPos{1, 2, 3, 4}));
}

TEST(SettingsWindowPos, RejectsTextThatIsNotFourIntegers)
{
    const char* bad[] = {"", "1 2 3", "1 2 3 x", "1 2 3 4 5", "a b c d", "1,2,3,4", "1 2 0 4", "1 2 3 -4",
                         "1 2 99999999999 4", "- 2 3 4"};
    for (const char* text : bad)
        EXPECT_FALSE(ParseWindowPos(text)) << "\"" << text << "\"";
}

TEST(SettingsVolume, StoredZeroMeansOverrideOffAtFullVolume)
{
    EXPECT_EQ(MasterVolumeFromStored(0), -128);
    EXPECT_EQ(MasterVolumeFromStored(100), 100);
    EXPECT_EQ(MasterVolumeFromStored(static_cast<uint32_t>(-64)), -64);
    EXPECT_EQ(MasterVolumeFromStored(128), 128);
    // Out of range values cannot come from the player: full volume, off.
    EXPECT_EQ(MasterVolumeFromStored(129), -128);
    EXPECT_EQ(MasterVolumeFromStored(static_cast<uint32_t>(-500)), -128);
}

}  // namespace
}  // namespace zub
