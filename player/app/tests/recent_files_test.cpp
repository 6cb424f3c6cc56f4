#include "recent_files.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

using List = std::vector<std::string>;

TEST(RecentFilesList, NewPathsGoFirstAndTheFourthDrops)
{
    RecentFiles r;
    EXPECT_TRUE(r.Touch("C:\\a.mid"));
    EXPECT_TRUE(r.Touch("C:\\b.mid"));
    EXPECT_TRUE(r.Touch("C:\\c.mid"));
    EXPECT_EQ(r.Entries(), (List{"C:\\c.mid", "C:\\b.mid", "C:\\a.mid"}));
    EXPECT_TRUE(r.Touch("C:\\d.mid"));
    EXPECT_EQ(r.Entries(), (List{"C:\\d.mid", "C:\\c.mid", "C:\\b.mid"}));
}

TEST(RecentFilesList, SamePathIgnoringCase)
{
    RecentFiles r;
    r.Load({"C:\\Songs\\A.MID", "C:\\b.mid", "C:\\c.mid"});
    EXPECT_FALSE(r.Touch("c:\\songs\\a.mid")) << "already first: nothing changes";
    EXPECT_EQ(r.At(0), "C:\\Songs\\A.MID");
    EXPECT_TRUE(r.Touch("C:\\C.MID"));
    EXPECT_EQ(r.Entries(), (List{"C:\\C.MID", "C:\\Songs\\A.MID", "C:\\b.mid"}));
    EXPECT_EQ(r.Count(), 3);
}

TEST(RecentFilesList, LoadSkipsEmptyValues)
{
    RecentFiles r;
    r.Load({"", "C:\\b.mid", ""});
    EXPECT_EQ(r.Entries(), (List{"C:\\b.mid"}));
    r.Load({"1", "2", "3", "4"});
    EXPECT_EQ(r.Count(), 3);
}

TEST(RecentFilesList, CaseFoldingIsAsciiOnly)
{
    EXPECT_TRUE(SamePathNoCase("ABC\\z", "abc\\Z"));
    EXPECT_FALSE(SamePathNoCase("abc", "abcd"));
    EXPECT_FALSE(SamePathNoCase("a\xc4", "a\xe4"));
}

TEST(RecentFilesMenu, ShortPathsShowWhole)
{
    std::string path35(35, 'p');
    EXPECT_EQ(RecentMenuText(1, "C:\\a.mid"), "&1 C:\\a.mid");
    EXPECT_EQ(RecentMenuText(3, path35), "&3 " + path35);
}

TEST(RecentFilesMenu, PathsOf36OrMoreAreShortened)
{
    std::string path = "C:\\Music\\Clavinova\\Disk 12\\Sonatina.mid";  // 39 characters
    ASSERT_GE(path.size(), 36u);
    EXPECT_EQ(RecentMenuText(2, path), "&2 C:\\...Clavinova\\Disk 12\\Sonatina.mid");
    std::string exactly36 = "ABC" + std::string(3, 'x') + std::string(30, 'z');
    EXPECT_EQ(RecentMenuText(1, exactly36), "&1 ABC..." + std::string(30, 'z'));
}

TEST(RecentFilesMenu, ValueNames)
{
    EXPECT_EQ(RecentValueName(1), "File1");
    EXPECT_EQ(RecentValueName(3), "File3");
}

}  // namespace
}  // namespace zub
