// Times typed for a seek or a loop, and read back from what is printed.
#include <gtest/gtest.h>

#include "playtime.h"

namespace {

TEST(PlayTimeParsing, EveryWrittenFormReadsAsItsMilliseconds)
{
    const struct {
        const char* text;
        uint32_t ms;
    } cases[] = {
        {"0", 0},          {"75", 75000},          {"2.5", 2500},         {"2.25", 2250},
        {"2.125", 2125},   {"2.1259", 2125},       {"1:15", 75000},       {"0:05", 5000},
        {"1:05.5", 65500}, {"10:00", 600000},      {"1:00:00", 3600000},  {"0:01:15.25", 75250},
        {"125:00", 7500000}, {"4294967", 4294967000u},
    };
    for (const auto& c : cases) {
        uint32_t ms = 1;
        EXPECT_TRUE(ParsePlayTime(c.text, &ms)) << c.text;
        EXPECT_EQ(c.ms, ms) << c.text;
    }
}

TEST(PlayTimeParsing, MalformedTimesAreRefused)
{
    const char* bad[] = {"", ":", "1:", ":5", "1:60", "1:5:60", "1:99:00", "-5", "+5", "5s", "1.2.3",
                         "1:2:3:4", "1.", ".5", " 5", "5 ", "1,5", "4294968", "99999999999999999999",
                         "1193:02:48", "0x10"};
    for (const char* text : bad) {
        uint32_t ms = 7;
        EXPECT_FALSE(ParsePlayTime(text, &ms)) << text;
        EXPECT_EQ(7u, ms) << "a refused time leaves the result alone: " << text;
    }
}

TEST(PlayTimeParsing, RangesNeedTwoTimesAroundOneDash)
{
    uint32_t a = 0, b = 0;
    ASSERT_TRUE(ParsePlayRange("0:05-0:10", &a, &b));
    EXPECT_EQ(5000u, a);
    EXPECT_EQ(10000u, b);
    ASSERT_TRUE(ParsePlayRange("12.5-3", &a, &b));  // the form only: the order is the caller's
    EXPECT_EQ(12500u, a);
    EXPECT_EQ(3000u, b);
    for (const char* bad : {"0:05", "-0:10", "0:05-", "1-2-3", "a-b", "0:05--0:10"})
        EXPECT_FALSE(ParsePlayRange(bad, &a, &b)) << bad;
}

TEST(PlayTimeFormatting, PrintedTimesReadBackToTheHundredth)
{
    EXPECT_EQ("0:00.00", FormatPlayTime(0));
    EXPECT_EQ("0:05.25", FormatPlayTime(5259));
    EXPECT_EQ("1:05.50", FormatPlayTime(65500));
    EXPECT_EQ("59:59.99", FormatPlayTime(3599999));
    EXPECT_EQ("1:00:00.00", FormatPlayTime(3600000));
    EXPECT_EQ("1:02:03", FormatPlaySeconds(3723999));
    for (uint32_t ms : {0u, 10u, 999u, 59990u, 61230u, 3599990u, 3600000u, 4294967290u}) {
        uint32_t back = 0;
        ASSERT_TRUE(ParsePlayTime(FormatPlayTime(ms), &back)) << FormatPlayTime(ms);
        EXPECT_EQ(ms / 10 * 10, back) << FormatPlayTime(ms);
    }
}

}  // namespace
