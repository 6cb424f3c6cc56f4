#include "smfreader.h"

#include <gtest/gtest.h>

#include "bufferfill.h"
#include "midistream.h"
#include "songbuilder.h"
#include "songstate.h"
#include "streamrecords.h"

namespace {

SmfResult OpenBytes(const std::vector<uint8_t>& bytes, std::unique_ptr<SmfReader>* reader)
{
    return SmfReader::OpenImage(bytes.data(), bytes.size(), reader);
}

std::vector<uint8_t> SimpleSong()
{
    return BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 100).NoteOff(96, 1, 60).End()});
}

struct Merged {
    uint32_t tick, delta;
    uint16_t track;
    std::string bytes;
};

std::vector<Merged> MergeAll(SmfReader& reader, uint32_t limit = kSmfNoLimit, bool include = true)
{
    std::vector<Merged> out;
    SmfEvent e;
    while (reader.NextEvent(limit, include, &e) == SmfResult::Ok) {
        std::vector<uint8_t> bytes = {e.status};
        if (e.status < 0xF0) {
            bytes.push_back(e.data1);
            if ((e.status & 0xE0) != 0xC0)
                bytes.push_back(e.data2);
        } else {
            if (e.status == 0xFF)
                bytes.push_back(e.data1);
            bytes.insert(bytes.end(), e.data, e.data + e.length);
        }
        out.push_back({e.tick, e.delta, e.track, Hex(bytes)});
    }
    return out;
}

// ---- Structure: every fault is an invalid file ---------------------------

std::vector<uint8_t> DropLast(std::vector<uint8_t> bytes, size_t n)
{
    bytes.resize(bytes.size() - n);
    return bytes;
}

struct StructureCase {
    const char* name;
    std::vector<uint8_t> bytes;
    SmfResult expected;
};

std::vector<StructureCase> StructureCases()
{
    const std::vector<uint8_t> good = SimpleSong();
    const std::vector<uint8_t> track = Track().NoteOn(0, 1, 60, 100).End().bytes;
    std::vector<StructureCase> cases = {
        {"empty", {}, SmfResult::InvalidFile},
        {"seven bytes", {'M', 'T', 'h', 'd', 0, 0, 0}, SmfResult::InvalidFile},
        {"wrong magic", Concat({'M', 'T', 'h', 'e'}, std::vector<uint8_t>(good.begin() + 4, good.end())),
         SmfResult::InvalidFile},
        {"header length 5", Concat(Chunk("MThd", {0, 0, 0, 1, 0}), Chunk("MTrk", track)), SmfResult::InvalidFile},
        {"header length past the data", {'M', 'T', 'h', 'd', 0, 0, 0, 9, 0, 0, 0, 1, 0, 96}, SmfResult::InvalidFile},
        {"header length near 4 GB", {'M', 'T', 'h', 'd', 0xFF, 0xFF, 0xFF, 0xFA, 0, 0, 0, 0, 0, 96},
         SmfResult::InvalidFile},
        {"header length above 6 skips extra bytes", BuildSong(1, 96, {Track().End()}, 4), SmfResult::Ok},
        {"fewer tracks than counted", Concat(Chunk("MThd", {0, 1, 0, 2, 0, 96}), Chunk("MTrk", track)),
         SmfResult::InvalidFile},
        {"foreign chunk between tracks",
         Concat(Concat(Concat(Chunk("MThd", {0, 1, 0, 2, 0, 96}), Chunk("MTrk", track)), Chunk("XFIH", {1, 2})),
                Chunk("MTrk", track)),
         SmfResult::InvalidFile},
        {"track length past the data",
         Concat(Chunk("MThd", {0, 0, 0, 1, 0, 96}), {'M', 'T', 'r', 'k', 0, 0, 0, 50, 0, 0xFF, 0x2F, 0}),
         SmfResult::InvalidFile},
        {"track length near 4 GB",
         Concat(Chunk("MThd", {0, 0, 0, 1, 0, 96}), {'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xF8, 0, 0xFF, 0x2F, 0}),
         SmfResult::InvalidFile},
        {"missing End of Track", BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 100).NoteOff(10, 1, 60)}),
         SmfResult::InvalidFile},
        {"data byte without running status", BuildSong(0, 96, {Track().Ev(0, {0x3C, 0x40}).End()}),
         SmfResult::InvalidFile},
        {"running status after a meta event", BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).Meta(0, 1, {'a'}).Ev(0, {60, 0}).End()}),
         SmfResult::InvalidFile},
        {"undefined status 0xF1", BuildSong(0, 96, {Track().Ev(0, {0xF1, 0, 0}).End()}), SmfResult::InvalidFile},
        {"undefined status 0xFE", BuildSong(0, 96, {Track().Ev(0, {0xFE, 0, 0}).End()}), SmfResult::InvalidFile},
        {"system exclusive running past the track", BuildSong(0, 96, {Track().Ev(0, {0xF0, 0x40, 1, 2}).End()}),
         SmfResult::InvalidFile},
        {"meta length near 4 GB", BuildSong(0, 96, {Track().Ev(0, {0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}).End()}),
         SmfResult::InvalidFile},
        {"delta running past the track", BuildSong(0, 96, {Track().NoteOn(0, 1, 1, 1).Raw({0x81, 0x80})}),
         SmfResult::InvalidFile},
        {"channel message cut short", BuildSong(0, 96, {Track().Raw({0x00, 0x90, 0x3C})}), SmfResult::InvalidFile},
        {"delta beyond 32 bits", BuildSong(0, 96, {Track().Raw({0x90, 0x80, 0x80, 0x80, 0x00, 0xFF, 0x2F, 0x00})}),
         SmfResult::InvalidFile},
        {"padded delta within 32 bits", BuildSong(0, 96, {Track().Raw({0x80, 0x80, 0x80, 0x80, 0x80, 0x01, 0xFF, 0x2F, 0x00})}),
         SmfResult::Ok},
        {"ticks beyond 32 bits", BuildSong(0, 96, {Track().NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).NoteOn(0x0FFFFFFF, 1, 1, 1)
                                                  .NoteOn(0x0FFFFFFF, 1, 1, 1).End()}),
         SmfResult::InvalidFile},
        {"Set Tempo of 2 bytes", BuildSong(0, 96, {Track().Meta(0, 0x51, {7, 0xA1}).End()}), SmfResult::InvalidFile},
        {"Set Tempo of 4 bytes", BuildSong(0, 96, {Track().Meta(0, 0x51, {7, 0xA1, 0x20, 0}).End()}),
         SmfResult::InvalidFile},
        {"division 0", BuildSong(0, 0, {Track().End()}), SmfResult::InvalidFile},
        {"time code with 0 ticks per frame", BuildSong(0, 0xE700, {Track().End()}), SmfResult::InvalidFile},
        {"bytes after End of Track are ignored", BuildSong(0, 96, {Track().End().Raw({0xF4, 0xF5})}), SmfResult::Ok},
        {"no tracks", BuildSong(0, 96, {}), SmfResult::Ok},
        {"RMID with data", Riff("RMID", {LeChunk("INFO", {1, 2, 3}), LeChunk("data", good)}), SmfResult::Ok},
        {"RMID without data", Riff("RMID", {LeChunk("INFO", good)}), SmfResult::InvalidFile},
        {"RMID data cut short", DropLast(Riff("RMID", {LeChunk("data", good)}), 4), SmfResult::InvalidFile},
        {"RIFF of another form is read as MIDI data", Riff("WAVE", {LeChunk("data", good)}), SmfResult::InvalidFile},
    };
    return cases;
}

TEST(SmfReaderStructure, EveryFaultIsAnInvalidFile)
{
    for (const StructureCase& c : StructureCases()) {
        std::unique_ptr<SmfReader> reader;
        const SmfResult result = OpenBytes(c.bytes, &reader);
        EXPECT_STREQ(SmfResultText(c.expected), SmfResultText(result)) << c.name;
        EXPECT_EQ(result == SmfResult::Ok, reader != nullptr) << c.name;
    }
}

TEST(SmfReaderStructure, EveryTruncationOfAGoodSongIsInvalidNotACrash)
{
    const std::vector<uint8_t> song =
        BuildSong(1, 96, {Track().Tempo(0, 400000).Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).End(),
                          Track().Program(0, 1, 5).NoteOn(10, 1, 60, 90).Ev(5, {62, 80}).NoteOff(20, 1, 60).End()});
    for (size_t n = 0; n < song.size(); ++n) {
        std::unique_ptr<SmfReader> reader;
        std::vector<uint8_t> cut(song.begin(), song.begin() + n);
        EXPECT_EQ(SmfResult::InvalidFile, OpenBytes(cut, &reader)) << n << " bytes";
    }
}

TEST(SmfReaderStructure, OpenReportsMissingFiles)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::OpenFailed, SmfReader::Open("no\\such\\song.mid", &reader));
    EXPECT_STREQ("open failed", SmfResultText(SmfResult::OpenFailed));
}

TEST(SmfReaderStructure, HeaderFieldsAndRmidContents)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(Riff("RMID", {LeChunk("data", BuildSong(1, 480, {Track().End(7), Track().End(3)}))}), &reader));
    EXPECT_EQ(1, reader->Format());
    EXPECT_EQ(2, reader->TrackCount());
    EXPECT_EQ(480, reader->Division());
    EXPECT_EQ(7u, reader->Length());
}

// ---- The merge ---------------------------------------------------------

TEST(SmfReaderMerge, EarlierTrackWinsATieAndDeltasCountFromTheLastEvent)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok,
              OpenBytes(BuildSong(1, 96, {Track().NoteOn(10, 1, 60, 100).Ev(0, {62, 101}).End(30),
                                          Track().NoteOn(5, 2, 40, 50).NoteOn(5, 2, 41, 51).End(0)}),
                        &reader));
    const std::vector<Merged> events = MergeAll(*reader);
    const std::vector<Merged> expected = {
        {5, 5, 1, "91 28 32"},  {10, 5, 0, "90 3c 64"}, {10, 0, 0, "90 3e 65"},
        {10, 0, 1, "91 29 33"}, {10, 0, 1, "ff 2f"},    {40, 30, 0, "ff 2f"},
    };
    ASSERT_EQ(expected.size(), events.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].tick, events[i].tick) << i;
        EXPECT_EQ(expected[i].delta, events[i].delta) << i;
        EXPECT_EQ(expected[i].track, events[i].track) << i;
        EXPECT_EQ(expected[i].bytes, events[i].bytes) << i;
    }
    EXPECT_EQ(40u, reader->Length());
}

TEST(SmfReaderMerge, TwoByteMessagesAndRunningStatusAfterExclusive)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 96, {Track().Program(0, 3, 7).Ev(0, {9}).Ev(0, {0xD2, 0x33})
                                                              .Ev(1, {0xF7, 0x02, 0x43, 0x10}).End()}),
                                       &reader));
    const std::vector<Merged> events = MergeAll(*reader);
    ASSERT_EQ(5u, events.size());
    EXPECT_EQ("c2 07", events[0].bytes);
    EXPECT_EQ("c2 09", events[1].bytes);
    EXPECT_EQ("d2 33", events[2].bytes);
    EXPECT_EQ("f7 43 10", events[3].bytes);
}

struct LimitCase {
    uint32_t limit;
    bool include;
    size_t handedOut;
    SmfResult last;
};

TEST(SmfReaderMerge, LimitIncludedOrExcluded)
{
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track().NoteOn(0, 1, 1, 1).NoteOn(10, 1, 2, 1).End(10)});
    const LimitCase cases[] = {
        {0, false, 0, SmfResult::LimitReached}, {0, true, 1, SmfResult::LimitReached},
        {10, false, 1, SmfResult::LimitReached}, {10, true, 2, SmfResult::LimitReached},
        {20, true, 3, SmfResult::EndOfFile},     {kSmfNoLimit, true, 3, SmfResult::EndOfFile},
    };
    for (const LimitCase& c : cases) {
        std::unique_ptr<SmfReader> reader;
        ASSERT_EQ(SmfResult::Ok, OpenBytes(song, &reader));
        SmfEvent e;
        size_t n = 0;
        SmfResult result;
        while ((result = reader->NextEvent(c.limit, c.include, &e)) == SmfResult::Ok)
            ++n;
        EXPECT_EQ(c.handedOut, n) << c.limit << " " << c.include;
        EXPECT_STREQ(SmfResultText(c.last), SmfResultText(result)) << c.limit << " " << c.include;
        // A limit leaves the next event in place.
        if (result == SmfResult::LimitReached) {
            EXPECT_EQ(SmfResult::Ok, reader->NextEvent(kSmfNoLimit, true, &e));
        }
    }
}

// ---- Tempo map and milliseconds ---------------------------------------

TEST(SmfReaderTime, WithoutSetTempoTheSongPlaysAt500000)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 96, {Track().End(960)}), &reader));
    ASSERT_EQ(1u, reader->TempoMap().size());
    EXPECT_EQ(0u, reader->TempoMap()[0].tick);
    EXPECT_EQ(500000u, reader->TempoMap()[0].tempo);
    EXPECT_EQ(5000u, reader->TicksToMs(960));
    EXPECT_EQ(5000u, reader->TicksToMs(100000)) << "beyond the length counts as the length";
}

TEST(SmfReaderTime, FirstTempoAt480)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 480, {Track().Tempo(480, 250000).End(960)}), &reader));
    const std::vector<TempoMapEntry>& map = reader->TempoMap();
    ASSERT_EQ(2u, map.size());
    EXPECT_EQ(0u, map[0].tick);
    EXPECT_EQ(500000u, map[0].tempo);
    EXPECT_EQ(480u, map[1].tick);
    EXPECT_EQ(500u, map[1].ms);
    EXPECT_EQ(250000u, map[1].tempo);
    const uint32_t ticks[] = {0, 240, 479, 480, 960, 1440};
    const uint32_t ms[] = {0, 250, 499, 500, 750, 1000};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(ms[i], reader->TicksToMs(ticks[i])) << ticks[i];
}

TEST(SmfReaderTime, MillisecondsAreRoundedToNearest)
{
    // Division 3 at 1000 us per quarter: one tick is 1/3 ms.
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 3, {Track().Tempo(0, 1000).Tempo(2, 1000).End(100)}), &reader));
    EXPECT_EQ(0u, reader->TicksToMs(1));
    EXPECT_EQ(1u, reader->TicksToMs(2));
    EXPECT_EQ(1u, reader->TempoMap()[1].ms);
    EXPECT_EQ(34u, reader->TicksToMs(100)) << "1 + round(98/3)";
}

TEST(SmfReaderTime, TimeCodeDivisions)
{
    struct Case {
        uint16_t division;
        uint32_t ticks, ms;
    } cases[] = {
        {0xE728, 1000, 1000},  // 25 frames x 40 ticks
        {0xE302, 60, 1000},    // the 29-frame drop code counts as 30
        {0xE801, 12, 500},     // 24 frames x 1 tick
        {0xE250, 1, 0},        // 30 x 80 = 2400 ticks per second
    };
    for (const Case& c : cases) {
        std::unique_ptr<SmfReader> reader;
        ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, c.division, {Track().Tempo(5, 100000).End(5000)}), &reader));
        EXPECT_EQ(c.ms, reader->TicksToMs(c.ticks)) << std::hex << c.division;
    }
}

TEST(SmfReaderTime, HugeTicksSaturateInsteadOfWrapping)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 1, {Track().Tempo(0, 0xFFFFFF).End(0x0FFFFFFF)
                                                        .Raw({})}),
                                       &reader));
    EXPECT_EQ(0xFFFFFFFFu, reader->TicksToMs(0x0FFFFFFF));
}

// ---- Statistics ---------------------------------------------------------

TEST(SmfReaderStatistics, HighestVelocityCountsOnlyChannels1And2)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(1, 96, {Track().NoteOn(0, 1, 60, 90).NoteOn(0, 2, 60, 110).End(),
                                                         Track().NoteOn(0, 3, 60, 127).End()}),
                                       &reader));
    EXPECT_EQ(110, reader->HighestVelocity());
}

TEST(SmfReaderStatistics, LowestProgramAndLampChannels)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> programs;  // channel, program
        bool channel1Notes;
        int lowest, lampA, lampB;
    } cases[] = {
        {"none", {}, false, 255, 1, 0},
        {"one channel", {{4, 10}}, false, 10, 4, 0},
        {"lowest on 3 and 1", {{3, 0}, {1, 0}}, false, 0, 1, 3},
        {"lower program replaces both", {{2, 5}, {5, 5}, {9, 1}}, false, 1, 9, 0},
        {"third channel keeps the two lowest", {{6, 0}, {9, 0}, {7, 0}}, false, 0, 6, 7},
        {"higher channel does not replace B", {{2, 0}, {4, 0}, {8, 0}}, false, 0, 2, 4},
        {"notes on 1 without a program", {{5, 3}}, true, 3, 1, 0},
    };
    for (const auto& c : cases) {
        Track track;
        for (const auto& p : c.programs)
            track.Program(0, p.first, p.second);
        if (c.channel1Notes)
            track.NoteOn(0, 1, 60, 1);
        std::unique_ptr<SmfReader> reader;
        ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 96, {track.End()}), &reader)) << c.name;
        EXPECT_EQ(c.lowest, reader->LowestProgram()) << c.name;
        EXPECT_EQ(c.lampA, reader->LampChannelA()) << c.name;
        EXPECT_EQ(c.lampB, reader->LampChannelB()) << c.name;
    }
}

TEST(SmfReaderStatistics, LeadingExclusiveCountStopsAtTheFirstNoteOn)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok,
              OpenBytes(BuildSong(1, 96, {Track().Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).Sysex(5, {0x43, 0xF7})
                                              .Ev(0, {0xF7, 0x01, 0x00}).Sysex(20, {0x41, 0xF7}).End(),
                                          Track().NoteOn(10, 5, 60, 0).End()}),
                        &reader));
    EXPECT_EQ(2, reader->LeadingExclusiveCount());
}

// ---- State collection for a preroll ------------------------------------

TEST(SmfReaderSeek, StartAtZeroCollectsNothing)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 96, {Track().Tempo(0, 400000).Program(0, 1, 3).End(10)}), &reader));
    SongState state;
    SmfMerge mark;
    ASSERT_EQ(SmfResult::Ok, CollectSongState(*reader, 0, &state, &mark));
    EXPECT_TRUE(state.Events().empty());
    reader->PlaceAt(mark, 0);
    SmfEvent e;
    ASSERT_EQ(SmfResult::Ok, reader->NextEvent(kSmfNoLimit, true, &e));
    EXPECT_EQ(0x51, e.data1) << "the song's own opening events follow";
}

// The state goes channel by channel: bank and program first, so that the
// program is taken from the right bank, then the controllers. A reset of
// all controllers before the tick sends those controllers at their
// defaults; so does a controller the song sets only later (modulation here).
TEST(SmfReaderSeek, CollectsTempoProgramsAndControllersInOrder)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok,
              OpenBytes(BuildSong(0, 96, {Track().Tempo(0, 400000).Ev(0, {0xB2, 7, 100}).Ev(0, {0xB0, 10, 64})
                                              .Ev(0, {0xB0, 121, 0}).Program(0, 3, 9).Program(0, 1, 4)
                                              .Ev(0, {0xB0, 7, 90}).Ev(0, {0xB0, 7, 80}).Tempo(5, 300000)
                                              .NoteOn(5, 1, 60, 100).Ev(0, {0xB0, 1, 1}).End(10)}),
                        &reader));
    SongState state;
    SmfMerge mark;
    ASSERT_EQ(SmfResult::Ok, CollectSongState(*reader, 10, &state, &mark));
    const std::vector<uint32_t> expected = {
        0x01000000 | 300000, 0x0004C0,
        0x0001B0, 0x5007B0, 0x400AB0, 0x7F0BB0,                      // modulation, volume, pan, expression
        0x0040B0, 0x0041B0, 0x0042B0, 0x0043B0, 0x0044B0, 0x0045B0,  // pedals up
        0x0000D0, 0x4000E0,                                          // no pressure, bend centred
        0x0009C2, 0x6407B2,
    };
    EXPECT_EQ(expected, state.Events());
    reader->PlaceAt(mark, 10);
    SmfEvent e;
    ASSERT_EQ(SmfResult::Ok, reader->NextEvent(kSmfNoLimit, true, &e));
    EXPECT_EQ(0x90, e.status) << "events at the start tick are played, not collected";
    EXPECT_EQ(0u, e.delta);
    EXPECT_EQ(10u, e.tick);
}

TEST(SmfReaderSeek, StateThatDoesNotFitIsNoMemory)
{
    Track track;
    for (int controller = 0; controller < 10; ++controller)
        track.Ev(0, {0xB0, static_cast<uint8_t>(controller), 1});
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 96, {track.End(10)}), &reader));
    SongState state;
    SmfMerge mark;
    ASSERT_EQ(SmfResult::Ok, CollectSongState(*reader, 5, &state, &mark));
    // The tempo, bank select and 8 controllers (a data entry with no
    // parameter chosen has nowhere to go): 10 records of 12 bytes.
    InstrumentControls controls;
    BufferFiller filler(controls);
    filler.Start(*reader, state, false);
    std::vector<uint8_t> data(120);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 116;
    EXPECT_EQ(SmfResult::NoMemory, filler.WriteOpening(&buffer));
    buffer.size = 120;
    EXPECT_EQ(SmfResult::Ok, filler.WriteOpening(&buffer));
    EXPECT_EQ(120u, buffer.bytesRecorded);
}

}  // namespace
