#include "batch_paths.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* in;
    const char* out;
};

TEST(BatchPaths, RemoveLastComponent)
{
    const PathCase cases[] = {
        {"C:\\Music\\Out", "C:\\Music"},
        {"C:\\Out", "C:\\Out"},          // right below a drive root: kept
        {"C:\\", "C:\\"},
        {"\\\\server\\share", "\\\\server"},
        {"\\\\server", "\\\\server"},  // the character before is a backslash
        {"A:/\\x", "A:/\\x"},            // ... or a slash
        {"\\Out", "\\Out"},              // the backslash starts the path
        {"Out", "Out"},
        {"a\\b\\c", "a\\b"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(c.out, eseq::RemoveLastComponent(c.in)) << c.in;
}

TEST(BatchPaths, ComponentsAndJoins)
{
    EXPECT_EQ("Out", eseq::LastComponent("C:\\Music\\Out"));
    EXPECT_EQ("Out", eseq::LastComponent("Out"));
    EXPECT_EQ("SONG.FIL", eseq::FileNameOf("C:\\Songs\\SONG.FIL"));
    EXPECT_EQ("SONG.FIL", eseq::FileNameOf("/home/u/SONG.FIL"));
    EXPECT_EQ("SONG.FIL", eseq::FileNameOf("A:SONG.FIL"));
    EXPECT_EQ("C:\\a", eseq::JoinPath("C:\\", "a"));
    EXPECT_EQ("C:\\Songs\\a", eseq::JoinPath("C:\\Songs", "a"));
    EXPECT_EQ("a", eseq::JoinPath("", "a"));
}

TEST(BatchPaths, MidExtension)
{
    const PathCase cases[] = {
        {"C:\\T\\SONG01.FIL", "C:\\T\\SONG01.MID"},
        {"C:\\T\\Fur Elise", "C:\\T\\Fur Elise.MID"},
        {"C:\\T.old\\Fur Elise", "C:\\T.old\\Fur Elise.MID"},
        {"C:\\T\\03 1ST.EVT", "C:\\T\\03 1ST.MID"},
        {"NAME.", "NAME.MID"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(c.out, eseq::WithMidExtension(c.in)) << c.in;
}

TEST(BatchPaths, LimitLastComponent)
{
    EXPECT_EQ("C:\\T\\Piano Disk", eseq::LimitLastComponent("C:\\T\\Piano Disk", 64));
    EXPECT_EQ("C:\\T\\Piano", eseq::LimitLastComponent("C:\\T\\Piano Disk", 6));  // the cut leaves a space
    EXPECT_EQ("C:\\T\\P", eseq::LimitLastComponent("C:\\T\\P    ", 64));
    EXPECT_EQ("C:\\T\\ ", eseq::LimitLastComponent("C:\\T\\   ", 64));  // one character stays
    EXPECT_EQ("Disk", eseq::LimitLastComponent("Disk", 64));
}

TEST(BatchPaths, NumberSuffixStaysWithinTheLimit)
{
    EXPECT_EQ("Genera~2", eseq::WithNumberSuffix("Generate", 2, 8));
    EXPECT_EQ("Gener~10", eseq::WithNumberSuffix("Generate", 10, 8));
    EXPECT_EQ("Disk~2", eseq::WithNumberSuffix("Disk", 2, 8));
    EXPECT_EQ("SONG01~3", eseq::WithNumberSuffix("SONG01", 3, 0)) << "no limit";
    EXPECT_EQ("My~2", eseq::WithNumberSuffix("My Song", 2, 5)) << "no space before the suffix";
    EXPECT_EQ("~123", eseq::WithNumberSuffix("Name", 123, 4));
}

TEST(BatchPaths, Comparison)
{
    EXPECT_TRUE(eseq::EqualsNoCase("C:\\Songs\\Out", "c:\\SONGS\\out"));
    EXPECT_FALSE(eseq::EqualsNoCase("C:\\Songs\\Out", "C:\\Songs\\Out2"));
    EXPECT_TRUE(eseq::IsSameOrInside("C:\\S\\Out", "c:\\s\\out"));
    EXPECT_TRUE(eseq::IsSameOrInside("C:\\S\\Out\\a", "C:\\S\\Out"));
    EXPECT_FALSE(eseq::IsSameOrInside("C:\\S\\Outer", "C:\\S\\Out"));
    EXPECT_TRUE(eseq::IsSameOrInside("C:\\x", "C:\\"));
    EXPECT_FALSE(eseq::IsSameOrInside("C:\\x", ""));
}

TEST(BatchPaths, CurrentFileLine)
{
    const std::string p75 = "C:\\" + std::string(68, 'a') + ".FIL";
    ASSERT_EQ(75u, p75.size());
    EXPECT_EQ(p75, eseq::ShortenForLine(p75));
    const std::string p76 = "C:\\0123456789abcdefghij" + std::string(46, 'x') + "END.FIL";
    ASSERT_EQ(76u, p76.size());
    EXPECT_EQ("C:\\0123456789abcdefg..." + std::string(23, 'x') + "END.FIL", eseq::ShortenForLine(p76));
}

TEST(BatchPaths, Summary)
{
    EXPECT_EQ("Batch complete. 0 files converted.", eseq::SummaryText(0));
    EXPECT_EQ("Batch complete. 1 file converted.", eseq::SummaryText(1));
    EXPECT_EQ("Batch complete. 2 files converted.", eseq::SummaryText(2));
}

}  // namespace
