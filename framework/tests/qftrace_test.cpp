#include "qftrace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Collected {
    std::vector<std::string> lines;
};

void Collect(const char* text, void* context)
{
    static_cast<Collected*>(context)->lines.push_back(text);
}

void Append(QfTraceLine* line, const std::string& text, Collected* out)
{
    QfTraceAppend(line, text.data(), text.size(), Collect, out);
}

}  // namespace

TEST(QfTraceLineBuffer, PartialTextWaitsForItsNewline)
{
    QfTraceLine line = {};
    Collected out;
    Append(&line, "a", &out);
    EXPECT_TRUE(out.lines.empty());
    Append(&line, "b\n", &out);
    ASSERT_EQ(out.lines.size(), 1u);
    EXPECT_EQ(out.lines[0], "ab\n");
    EXPECT_EQ(line.count, 0u);
    EXPECT_STREQ(line.text, "");
}

TEST(QfTraceLineBuffer, SeveralLinesInOneCallComeOutSeparately)
{
    QfTraceLine line = {};
    Collected out;
    Append(&line, "one\ntwo\nthr", &out);
    Append(&line, "ee\n", &out);
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[0], "one\n");
    EXPECT_EQ(out.lines[1], "two\n");
    EXPECT_EQ(out.lines[2], "three\n");
}

TEST(QfTraceLineBuffer, OverlongLineIsWrittenInPiecesWithNothingLost)
{
    QfTraceLine line = {};
    Collected out;
    std::string big(600, 'x');
    Append(&line, big + "\n", &out);
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[0], std::string(256, 'x'));
    EXPECT_EQ(out.lines[1], std::string(256, 'x'));
    EXPECT_EQ(out.lines[2], std::string(88, 'x') + "\n");
}

TEST(QfTraceLineBuffer, LineFillingAll256CharactersComesOutWhole)
{
    QfTraceLine line = {};
    Collected out;
    std::string full = std::string(255, 'y') + "\n";
    Append(&line, full.substr(0, 100), &out);
    EXPECT_TRUE(out.lines.empty());
    Append(&line, full.substr(100), &out);
    ASSERT_EQ(out.lines.size(), 1u);
    EXPECT_EQ(out.lines[0], full);
    EXPECT_EQ(line.count, 0u);
    Append(&line, "next\n", &out);
    ASSERT_EQ(out.lines.size(), 2u);
    EXPECT_EQ(out.lines[1], "next\n");
}

TEST(QfTraceLineBuffer, FlushWritesAPartialLineAndCorruptCountIsReset)
{
    QfTraceLine line = {};
    Collected out;
    Append(&line, "left over", &out);
    QfTraceFlush(&line, Collect, &out);
    ASSERT_EQ(out.lines.size(), 1u);
    EXPECT_EQ(out.lines[0], "left over");
    QfTraceFlush(&line, Collect, &out);
    EXPECT_EQ(out.lines.size(), 1u);

    line.count = 100000;  // a bank scribbled on by someone else
    Append(&line, "ok\n", &out);
    ASSERT_EQ(out.lines.size(), 2u);
    EXPECT_EQ(out.lines[1], "ok\n");
}

TEST(QfKeyPathShortening, LongPathsKeepTheirEnds)
{
    char out[64];
    std::string path = "CLSID\\{FD8A2651-39BB-11D0-89BE-00A0C9163A43}\\InprocServer32";
    ASSERT_GT(path.size(), 48u);
    QfShortenKeyPath(path.c_str(), out);
    EXPECT_EQ(std::string(out), path.substr(0, 22) + "..." + path.substr(path.size() - 23));
    EXPECT_EQ(strlen(out), 48u);

    std::string sixty(60, 'k');
    for (int i = 0; i < 60; ++i)
        sixty[i] = static_cast<char>('A' + i % 26);
    QfShortenKeyPath(sixty.c_str(), out);
    EXPECT_STREQ(out, "ABCDEFGHIJKLMNOPQRSTUV...LMNOPQRSTUVWXYZABCDEFGH");

    QfShortenKeyPath("Interface\\{x}", out);
    EXPECT_STREQ(out, "Interface\\{x}");
    std::string exact(48, 'e');
    QfShortenKeyPath(exact.c_str(), out);
    EXPECT_EQ(std::string(out), exact);
}

TEST(QfStatistics, ReportsOncePerPeriodWithThreeDecimals)
{
    QfStatsRecord paint;
    QfStatsInit(&paint, "Paint", 200);
    char out[160] = "";
    // 200 events of 2.5 ms each, 1 ms processor time each, counter at 1 MHz.
    for (int i = 0; i < 199; ++i)
        EXPECT_FALSE(QfStatsAdd(&paint, 2500, 1000000, 10000, out, sizeof out));
    ASSERT_TRUE(QfStatsAdd(&paint, 2500, 1000000, 10000, out, sizeof out));
    EXPECT_STREQ(out, "Qf: Paint - 2.500 (1.000 cpu) ms/event avg  400.000 events/s\n");
    EXPECT_EQ(paint.events, 0u);
}

TEST(QfStatistics, TickCountFallbackAndZeroTime)
{
    QfStatsRecord event;
    QfStatsInit(&event, "Event", 3);
    char out[160] = "";
    EXPECT_FALSE(QfStatsAdd(&event, 1, 0, 0, out, sizeof out));  // frequency 0 means milliseconds
    EXPECT_FALSE(QfStatsAdd(&event, 1, 0, 0, out, sizeof out));
    ASSERT_TRUE(QfStatsAdd(&event, 2, 0, 0, out, sizeof out));
    EXPECT_STREQ(out, "Qf: Event - 1.333 (0.000 cpu) ms/event avg  750.000 events/s\n");

    QfStatsInit(&event, "Event", 1);
    ASSERT_TRUE(QfStatsAdd(&event, 0, 1000, 0, out, sizeof out));
    EXPECT_STREQ(out, "Qf: Event - 0.000 (0.000 cpu) ms/event avg  0.000 events/s\n");
}
