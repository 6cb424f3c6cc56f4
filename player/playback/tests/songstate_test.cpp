// The state at a tick, the jump log and the tick of a time: the pieces a
// seek and a loop stand on.
#include <gtest/gtest.h>

#include "jumplog.h"
#include "smfreader.h"
#include "songbuilder.h"
#include "songstate.h"
#include "streamrecords.h"

namespace {

std::vector<std::string> StateAt(const std::vector<uint8_t>& song, uint32_t tick)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    SongState state;
    EXPECT_EQ(SmfResult::Ok, CollectSongState(*reader, tick, &state, nullptr));
    std::vector<std::string> out;
    for (uint32_t word : state.Events()) {
        if ((word >> 24) == 1) {
            out.push_back("tempo " + std::to_string(word & 0xFFFFFF));
            continue;
        }
        const uint8_t kind = word & 0xF0;
        std::vector<uint8_t> bytes = {uint8_t(word), uint8_t(word >> 8)};
        if (kind != 0xC0 && kind != 0xD0)
            bytes.push_back(uint8_t(word >> 16));
        out.push_back(Hex(bytes));
    }
    return out;
}

TEST(SongStateCollection, ParametersAreSentWithTheirDataAndTheLastSelectionIsKept)
{
    // Bend range 12 (registered 0,0), a fine tuning, then an NRPN left
    // selected; then data entry for nothing.
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track()
        .Ev(0, {0xB0, 101, 0}).Ev(0, {0xB0, 100, 0}).Ev(0, {0xB0, 6, 12})
        .Ev(0, {0xB0, 100, 1}).Ev(0, {0xB0, 6, 64}).Ev(0, {0xB0, 38, 3})
        .Ev(0, {0xB0, 99, 1}).Ev(0, {0xB0, 98, 8})
        .Ev(0, {0xB1, 6, 99})
        .NoteOn(10, 1, 60, 1).End(10)});
    const std::vector<std::string> expected = {
        "tempo 500000",
        "b0 65 00", "b0 64 00", "b0 06 0c",
        "b0 65 00", "b0 64 01", "b0 06 40", "b0 26 03",
        "b0 63 01", "b0 62 08",
    };
    EXPECT_EQ(expected, StateAt(song, 10));
}

TEST(SongStateCollection, WhatTheSongSetsOnlyLaterIsSentAtItsDefault)
{
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track()
        .NoteOn(0, 1, 60, 1)
        .Ev(10, {0xB0, 64, 127}).Ev(0, {0xE0, 0, 0x60}).Ev(0, {0xD0, 50}).Ev(0, {0xB0, 7, 30})
        .Ev(0, {0xB0, 10, 0}).Ev(0, {0xB0, 11, 5}).Ev(0, {0xB0, 101, 0}).Program(0, 1, 9).End(10)});
    const std::vector<std::string> expected = {
        "tempo 500000", "c0 00", "b0 07 64", "b0 0a 40", "b0 0b 7f", "b0 40 00",
        "b0 65 7f", "b0 64 7f",  // the null parameter
        "d0 00", "e0 00 40",
    };
    EXPECT_EQ(expected, StateAt(song, 5));
    EXPECT_TRUE(StateAt(song, 0).empty()) << "tick 0 leaves everything to the song's opening";
}

TEST(SongStateCollection, TheLatestValueWinsAndModeMessagesAreNoSettings)
{
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track()
        .Ev(0, {0xB3, 1, 10}).Ev(0, {0xB3, 1, 20}).Ev(0, {0xB3, 123, 0}).Ev(0, {0xB3, 120, 0})
        .Ev(0, {0xB3, 96, 1}).Ev(0, {0xE3, 0x11, 0x22}).Ev(0, {0xE3, 0x01, 0x02}).Tempo(0, 250000)
        .Tempo(5, 300000).End(20)});
    EXPECT_EQ((std::vector<std::string>{"tempo 300000", "b3 01 14", "e3 01 02"}), StateAt(song, 10));
    EXPECT_EQ((std::vector<std::string>{"tempo 250000", "b3 01 14", "e3 01 02"}), StateAt(song, 5))
        << "the tempo at the tick itself is played, not collected";
}

TEST(SongStateCollection, ManyParametersKeepTheNewestSixteen)
{
    Track track;
    for (int p = 0; p < 20; ++p)
        track.Ev(0, {0xB0, 99, 0}).Ev(0, {0xB0, 98, uint8_t(p)}).Ev(0, {0xB0, 6, uint8_t(p)});
    const std::vector<std::string> state = StateAt(BuildSong(0, 96, {track.End(10)}), 5);
    ASSERT_EQ(1u + 16 * 3, state.size());
    EXPECT_EQ("b0 62 04", state[2]) << "the four oldest gave way";
    EXPECT_EQ("b0 06 13", state.back());
}

TEST(SongStateCollection, ExclusivesBeforeTheTickAreCounted)
{
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track().Sysex(0, {0x7E, 0xF7}).Sysex(5, {0x41, 0xF7})
                                                            .Sysex(5, {0x43, 0xF7}).End()});
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    SongState state;
    ASSERT_EQ(SmfResult::Ok, CollectSongState(*reader, 5, &state, nullptr));
    EXPECT_EQ(1, state.ExclusivesBefore());
    ASSERT_EQ(SmfResult::Ok, CollectSongState(*reader, 11, &state, nullptr));
    EXPECT_EQ(3, state.ExclusivesBefore());
}

TEST(SongStateCollection, AMarkTakenBeyondTheEndStandsAtTheEnd)
{
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).End(10)});
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    SongState state;
    SmfMerge mark;
    ASSERT_EQ(SmfResult::Ok, CollectSongState(*reader, 1000, &state, &mark));
    reader->PlaceAt(mark, 1000);
    SmfEvent e;
    EXPECT_EQ(SmfResult::EndOfFile, reader->NextEvent(kSmfNoLimit, true, &e));
}

TEST(SongStateCollection, DefaultsOfControllers)
{
    EXPECT_EQ(100, ControllerDefault(7));
    EXPECT_EQ(64, ControllerDefault(10));
    EXPECT_EQ(127, ControllerDefault(11));
    EXPECT_EQ(0, ControllerDefault(64));
    EXPECT_EQ(64, ControllerDefault(74));
    EXPECT_EQ(0, ControllerDefault(1));
}

TEST(JumpLogPlaces, TheNewestJumpNotAheadOfThePlayingApplies)
{
    JumpLog log;
    log.Reset({240, 1});
    log.Add(48, {96, 2});
    log.Add(240, {96, 3});
    EXPECT_EQ(250u, log.At(10).tick);
    EXPECT_EQ(1u, log.At(10).repetition);
    EXPECT_EQ(96u, log.At(48).tick);
    EXPECT_EQ(2u, log.At(100).repetition);
    EXPECT_EQ(148u, log.At(100).tick);
    EXPECT_EQ(3u, log.At(1000).repetition);
}

TEST(JumpLogPlaces, TheOldestKeptEntryStandsInForLostOnes)
{
    JumpLog log;
    log.Reset({0, 1});
    for (uint32_t i = 1; i <= 200; ++i)
        log.Add(i * 10, {5, i + 1});
    EXPECT_EQ(201u, log.At(5000).repetition);
    const SongPlace early = log.At(15);
    EXPECT_EQ(5u, early.tick) << "entries before the kept ones are gone; the oldest kept answers";
    EXPECT_GT(early.repetition, 100u);
}

TEST(SmfReaderTimes, MsToTicksIsTheFirstTickThatReachesTheTime)
{
    const std::vector<uint8_t> song =
        BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).Tempo(96, 250000).NoteOff(96, 1, 60).End(96 * 4)});
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    EXPECT_EQ(0u, reader->MsToTicks(0));
    EXPECT_EQ(96u, reader->MsToTicks(500));
    EXPECT_EQ(192u, reader->MsToTicks(750)) << "a quarter lasts 250 ms after the change";
    EXPECT_EQ(reader->Length(), reader->MsToTicks(0xFFFFFFFFu)) << "past the end is the end";
    for (uint32_t ms : {1u, 333u, 501u, 1234u}) {
        const uint32_t tick = reader->MsToTicks(ms);
        EXPECT_GE(reader->TicksToMs(tick), ms);
        if (tick > 0) {
            EXPECT_LT(reader->TicksToMs(tick - 1), ms);
        }
    }
}

}  // namespace
