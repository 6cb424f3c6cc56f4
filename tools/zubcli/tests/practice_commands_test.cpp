// zubcli play --start/--loop/--repeat into capture files, and zubcli lyrics.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "cli_run.h"
#include "songbuilder.h"

namespace {

// Notes 60, 62, 64, 66 at 0, 0.5, 1 and 1.5 seconds (96 ticks to the
// quarter at 120 beats a minute), each half as long; the program and the
// volume at the start, the pedal down from 0.75 to 1.25 seconds.
std::vector<uint8_t> Scale()
{
    Track t;
    t.Program(0, 1, 5).Ev(0, {0xB0, 7, 90});
    t.NoteOn(0, 1, 60, 100).NoteOff(48, 1, 60);
    t.NoteOn(48, 1, 62, 100).NoteOff(48, 1, 62).Ev(24, {0xB0, 64, 127});
    t.NoteOn(24, 1, 64, 100).NoteOff(48, 1, 64).Ev(0, {0xB0, 64, 0});
    t.NoteOn(48, 1, 66, 100).NoteOff(48, 1, 66).End();
    return BuildSong(0, 96, {t});
}

// "tick bytes" of every event of a capture, as zubcli events prints them
// without the delta and track.
std::vector<std::string> Captured(const std::vector<std::string>& playArgs)
{
    const std::string capture = testing::TempDir() + "zubcli_practice_capture.mid";
    std::vector<std::string> args = {"play", "--fast", "--capture", capture};
    args.insert(args.end(), playArgs.begin(), playArgs.end());
    const CliRun run = Zubcli(args);
    EXPECT_EQ(0, run.status) << run.err;
    const CliRun events = Zubcli({"events", capture});
    std::remove(capture.c_str());
    std::vector<std::string> out;
    std::istringstream lines(events.out);
    for (std::string tick, delta, track, rest; lines >> tick >> delta >> track && std::getline(lines, rest);)
        out.push_back(tick + rest);
    return out;
}

int Count(const std::vector<std::string>& events, const std::string& event)
{
    int n = 0;
    for (const std::string& e : events)
        n += e.find(event) != std::string::npos;
    return n;
}

TEST(ZubcliPractice, StartPlaysFromTheTimeWithTheStateCollectedThere)
{
    SongFile song(Scale(), "zubcli_practice_start.mid");
    const std::vector<std::string> events = Captured({"--start", "0:01", song.path()});
    // At 1 s the pedal is down, the program and volume as set at the start;
    // the note of 1 s sounds at once and the one of 1.5 s half a second later.
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(0, Count(events, " 90 3c ")) << "nothing before the start plays";
    EXPECT_EQ(0, Count(events, " 90 3e "));
    EXPECT_EQ(1, Count(events, "0 c0 05"));
    EXPECT_EQ(1, Count(events, "0 b0 07 5a"));
    EXPECT_EQ(1, Count(events, "0 b0 40 7f"));
    EXPECT_EQ(1, Count(events, "0 90 40 64"));
    EXPECT_EQ(1, Count(events, "96 90 42 64"));
}

TEST(ZubcliPractice, ALoopPlaysThePassageTheGivenTimesThenTheRest)
{
    SongFile song(Scale(), "zubcli_practice_loop.mid");
    const std::vector<std::string> events = Captured({"--loop", "0.5-1.5", "--repeat", "3", song.path()});
    EXPECT_EQ(0, Count(events, " 90 3c ")) << "the passage is where playing starts";
    EXPECT_EQ(3, Count(events, " 90 3e 64"));
    EXPECT_EQ(3, Count(events, " 90 40 64"));
    EXPECT_EQ(1, Count(events, " 90 42 64")) << "after the last time the song plays on";
    // Each time through lasts the passage's 192 ticks: the notes of the
    // second time come 192 ticks after those of the first.
    std::vector<std::string> d;
    for (const std::string& e : events)
        if (e.find(" 90 3e 64") != std::string::npos)
            d.push_back(e.substr(0, e.find(' ')));
    EXPECT_EQ((std::vector<std::string>{"0", "192", "384"}), d);
    // The pedal, down at the loop's end, goes up before each jump back.
    EXPECT_GE(Count(events, " b0 40 00"), 3);
}

TEST(ZubcliPractice, WhatWasPlayedCountsThePassageEachTimeThrough)
{
    // 336 ticks of 1.75 s; the passage 0.5-1.5 s is 192 ticks, 1 s.
    SongFile song(Scale(), "zubcli_practice_played.mid");
    auto played = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"play", "--fast"});
        args.push_back(song.path());
        const CliRun run = Zubcli(args);
        EXPECT_EQ(0, run.status) << run.err;
        return run.out.substr(run.out.find(": played ") + 2);
    };
    EXPECT_EQ("played 336 ticks, 1750 ms\n", played({}));
    EXPECT_EQ("played 240 ticks, 1250 ms\n", played({"--start", "0.5"}));
    EXPECT_EQ("played 624 ticks, 3250 ms\n", played({"--loop", "0.5-1.5", "--repeat", "3"}))
        << "from the passage's start, three times through it, then the rest";
    EXPECT_EQ("played 528 ticks, 2750 ms\n", played({"--start", "1", "--loop", "0.5-1.5", "--repeat", "3"}))
        << "from inside the passage, which then counts as its first time";
    EXPECT_EQ("played 48 ticks, 250 ms\n", played({"--start", "1.5", "--loop", "0.5-1.5", "--repeat", "3"}))
        << "from the passage's end on: no jump back";
}

TEST(ZubcliPractice, BadTimesAndPassagesAreRefusedWithOneLine)
{
    struct Case {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"play", "--start", "1:75", "s.mid"}, "play: --start expects a time as m:ss, h:mm:ss or seconds"},
        {{"play", "--loop", "0:05", "s.mid"}, "play: --loop expects START-END, two times as m:ss, h:mm:ss or seconds"},
        {{"play", "--loop", "0:10-0:05", "s.mid"}, "play: --loop 0:10-0:05 ends before it starts"},
        {{"play", "--loop", "0:05-5", "s.mid"}, "play: --loop 0:05-5 is empty"},
        {{"play", "--repeat", "2", "s.mid"}, "play: --repeat goes with --loop"},
        {{"play", "--loop", "1-2", "--repeat", "0", "s.mid"}, "play: --repeat expects 1 to 10000 times"},
        {{"play", "--fast", "--loop", "1-2", "s.mid"}, "play: --loop without --repeat would never end here"},
        {{"render", "-o", "x.wav", "--loop", "1-2", "s.mid"}, "render: --loop without --repeat would never end here"},
        {{"lyrics"}, "lyrics: expected one file"},
    };
    for (const Case& c : cases) {
        const CliRun run = Zubcli(c.args);
        EXPECT_EQ(1, run.status) << c.line;
        EXPECT_EQ("zubcli: " + c.line + "\nTry 'zubcli --help' for more information.\n", run.err);
    }
}

TEST(ZubcliPractice, PlacesPastTheEndAreClampedOrRefusedPlainly)
{
    SongFile song(Scale(), "zubcli_practice_end.mid");
    const CliRun late = Zubcli({"play", "--fast", "--start", "1:00:00", song.path()});
    EXPECT_EQ(0, late.status) << late.err;
    EXPECT_EQ(song.path() + ": played 0 ticks, 0 ms\n", late.out) << "nothing is left to play";

    const CliRun beyond = Zubcli({"play", "--fast", "--loop", "5-6", "--repeat", "2", song.path()});
    EXPECT_EQ(2, beyond.status);
    EXPECT_EQ("zubcli: " + song.path() + ": the loop 5-6 lies beyond the song's end (0:01.75)\n", beyond.err);

    // A loop running over the end is cut at it.
    const std::vector<std::string> events = Captured({"--loop", "1.5-9", "--repeat", "2", song.path()});
    EXPECT_EQ(2, Count(events, " 90 42 64"));
}

TEST(ZubcliLyrics, AKaraokeSongsLinesArePrintedWithTheirTimes)
{
    Track head, words;
    head.Meta(0, 0x01, {'@', 'K', 'M', 'I', 'D', 'I'}).End();
    words.Meta(96, 0x01, {'\\', 'H', 'e', 'l'}).Meta(48, 0x01, {'l', 'o', ' '}).Meta(48, 0x01, {'y', 'o', 'u'})
        .Meta(96, 0x01, {'/', 'B', 'y', 'e'}).End();
    SongFile song(BuildSong(1, 96, {head, words}), "zubcli_practice_words.kar");
    const CliRun run = Zubcli({"lyrics", song.path()});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("0:00.50  Hello you\n0:01.50  Bye\n", run.out);
}

TEST(ZubcliLyrics, ASongWithoutWordsPrintsNothingAndBadFilesSayWhy)
{
    SongFile song(Scale(), "zubcli_practice_nowords.mid");
    const CliRun run = Zubcli({"lyrics", song.path()});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.out);
    EXPECT_EQ("", run.err);

    SongFile broken(std::vector<uint8_t>{'M', 'T', 'h', 'd', 0, 0}, "zubcli_practice_broken.mid");
    const CliRun bad = Zubcli({"lyrics", broken.path()});
    EXPECT_EQ(2, bad.status);
    EXPECT_EQ(0u, bad.err.find("zubcli: " + broken.path() + ": ")) << bad.err;
}

}  // namespace
