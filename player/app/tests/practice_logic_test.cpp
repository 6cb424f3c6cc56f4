// The practice tools' arithmetic: the seek bar, the seek keys, the loop
// marks and texts, and what the Lyrics window shows.
#include <gtest/gtest.h>

#include "practice_logic.h"

namespace zub {
namespace {

TEST(SeekBar, PositionsAndTicksMapBothWaysWithinTheSong)
{
    EXPECT_EQ(0, SeekBarPosition(0, 0)) << "no song";
    EXPECT_EQ(0, SeekBarPosition(0, 9600));
    EXPECT_EQ(500, SeekBarPosition(4800, 9600));
    EXPECT_EQ(kSeekBarRange, SeekBarPosition(9600, 9600));
    EXPECT_EQ(kSeekBarRange, SeekBarPosition(20000, 9600)) << "past the end is the end";
    EXPECT_EQ(999, SeekBarPosition(0xFFFFFFF0u, 0xFFFFFFFFu)) << "no overflow in long songs";
    EXPECT_EQ(0u, SeekBarTick(-5, 9600));
    EXPECT_EQ(4800u, SeekBarTick(500, 9600));
    EXPECT_EQ(9600u, SeekBarTick(kSeekBarRange + 7, 9600));
    for (int p = 0; p <= kSeekBarRange; p += 37)
        EXPECT_EQ(p, SeekBarPosition(SeekBarTick(p, 96000), 96000)) << p;
}

TEST(SeekKeys, StepsStopAtTheStartAndTheEnd)
{
    EXPECT_EQ(8000u, SteppedMs(3000, kSeekStepMs, 60000));
    EXPECT_EQ(0u, SteppedMs(3000, -kSeekStepMs, 60000));
    EXPECT_EQ(60000u, SteppedMs(58000, kSeekStepMs, 60000));
    EXPECT_EQ(0xFFFFFFFFu, SteppedMs(0xFFFFFFFEu, kSeekStepMs, 0xFFFFFFFFu));
}

TEST(LoopMarksCheck, OnlyAPassageWithAStartBeforeItsEndIsALoop)
{
    LoopMarks m;
    EXPECT_EQ(LoopProblem::NotSet, CheckLoop(m, 1000));
    m.hasStart = true;
    m.start = 100;
    EXPECT_EQ(LoopProblem::NotSet, CheckLoop(m, 1000));
    m.hasEnd = true;
    m.end = 50;
    EXPECT_EQ(LoopProblem::Backwards, CheckLoop(m, 1000));
    m.end = 100;
    EXPECT_EQ(LoopProblem::Empty, CheckLoop(m, 1000));
    m.end = 101;
    EXPECT_EQ(LoopProblem::None, CheckLoop(m, 1000));
    m.end = 5000;
    EXPECT_EQ(LoopProblem::None, CheckLoop(m, 1000)) << "an end past the song is its end";
    m.start = 1000;
    EXPECT_EQ(LoopProblem::Empty, CheckLoop(m, 1000)) << "a start at the song's end leaves nothing";
    for (LoopProblem p : {LoopProblem::NotSet, LoopProblem::Backwards, LoopProblem::Empty})
        EXPECT_FALSE(LoopProblemText(p).empty());
    EXPECT_TRUE(LoopProblemText(LoopProblem::None).empty());
}

TEST(LoopStatus, ShowsThePassageAndTheTimeThroughIt)
{
    EXPECT_EQ("Loop 0:05-0:10 (2 of 4)", LoopStatusText(5000, 10999, 2, 4));
    EXPECT_EQ("Loop 1:00:00-1:02:03 (17)", LoopStatusText(3600000, 3723000, 17, 0));
}

Lyrics TwoLines()
{
    Lyrics lyrics;
    lyrics.Build(LyricSource::KaraokeText, {{100, "/Row "}, {150, "row"}, {300, "/Your boat"}});
    return lyrics;
}

TEST(LyricsWindowView, ShowsTheSungLineWithItsSungPartAndTheNextOne)
{
    const Lyrics lyrics = TwoLines();
    LyricsView v = LyricsViewAt(lyrics, 0);
    EXPECT_EQ("Row row", v.current) << "before the words begin, the first line waits";
    EXPECT_EQ(0u, v.sung);
    EXPECT_EQ("Your boat", v.next);
    v = LyricsViewAt(lyrics, 160);
    EXPECT_EQ(7u, v.sung);
    EXPECT_EQ("Row row\r\nYour boat", LyricsViewText(v));
    v = LyricsViewAt(lyrics, 100000);
    EXPECT_EQ("Your boat", v.current);
    EXPECT_EQ("", v.next);
    EXPECT_EQ("\r\n", LyricsViewText(LyricsViewAt(Lyrics(), 5)));
}

}  // namespace
}  // namespace zub
