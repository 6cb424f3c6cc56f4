// The registry store on the real registry (under Wine in the tests), in a
// key of its own so that the player's settings stay untouched.
#include "registry_store.h"

#include <gtest/gtest.h>

#include <string>

#include "player_settings.h"

namespace zub {
namespace {

const char kTestSubkey[] = "Software\\Zubodeck Tests\\Registry Store";

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestSubkey); }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestSubkey); }
    RegistryStore store_{HKEY_CURRENT_USER, kTestSubkey};
};

TEST_F(RegistryStoreTest, StringsOfEveryLengthComeBackWhole)
{
    for (size_t length : {size_t(0), size_t(1), size_t(254), size_t(255), size_t(256), size_t(300), size_t(1000)}) {
        std::string written(length, 'p');
        if (length > 0)
            written[length - 1] = 'z';
        const std::string name = "Value" + std::to_string(length);
        ASSERT_TRUE(store_.WriteString(name, written)) << length;
        std::string read = "unchanged";
        ASSERT_TRUE(store_.ReadString(name, read)) << "a value of " << length << " characters must not be lost";
        EXPECT_EQ(written, read) << length;
    }
}

TEST_F(RegistryStoreTest, MissingValuesAndOtherTypesAreNotStrings)
{
    std::string text = "unchanged";
    EXPECT_FALSE(store_.ReadString("Missing", text));
    EXPECT_EQ("unchanged", text);
    ASSERT_TRUE(store_.WriteNumber("Number", 7));
    EXPECT_FALSE(store_.ReadString("Number", text));
    uint32_t number = 0;
    EXPECT_TRUE(store_.ReadNumber("Number", number));
    EXPECT_EQ(7u, number);
    EXPECT_TRUE(store_.DeleteValue("Number"));
    EXPECT_FALSE(store_.ReadNumber("Number", number));
}

// Regression: a recent file or folder with a path of 256 characters or more
// vanished after a restart instead of coming back cut at 255.
TEST_F(RegistryStoreTest, LongRecentFilesAndFoldersAreCutNotDropped)
{
    const std::string longPath = "C:\\" + std::string(297, 'd') + ".mid";
    const std::string folder = "C:\\" + std::string(400, 'f');
    ASSERT_TRUE(store_.WriteString("File1", longPath));
    ASSERT_TRUE(store_.WriteString("LastOpenDir", folder));
    ASSERT_TRUE(store_.WriteString("File2", "C:\\short.mid"));
    const PlayerSettings s = LoadPlayerSettings(store_);
    EXPECT_EQ(longPath.substr(0, 255), s.recent[0]);
    EXPECT_EQ("C:\\short.mid", s.recent[1]);
    EXPECT_EQ(folder.substr(0, 255), s.folders[kLastOpenDir]);
}

}  // namespace
}  // namespace zub
