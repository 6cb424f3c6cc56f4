#include "smfreader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "midistream.h"
#include "songbuilder.h"
#include "streamrecords.h"

namespace {

// Milliseconds at `tick` from a tempo map entry (tick `from` at `fromMs`,
// `tempo`), or for a time-code division; rounded to the nearest.
uint32_t SmfTestMs(uint16_t division, uint32_t tick, uint32_t from, uint32_t fromMs, uint32_t tempo)
{
    if (division & 0x8000) {
        const int fps = static_cast<uint8_t>(division >> 8) == 0xE3 ? 30 : -static_cast<int8_t>(division >> 8);
        const uint64_t perSecond = static_cast<uint64_t>(fps) * (division & 0xFF);
        return static_cast<uint32_t>((static_cast<uint64_t>(tick) * 1000 + perSecond / 2) / perSecond);
    }
    const uint64_t den = static_cast<uint64_t>(division) * 1000;
    const uint64_t ms = fromMs + (static_cast<uint64_t>(tick - from) * tempo + den / 2) / den;
    return ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(ms);
}

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

struct Record {
    uint32_t delta, event;
};

std::vector<Record> Records(const MidiBuffer& buffer)
{
    std::vector<Record> out;
    for (uint32_t at = 0; at + 12 <= buffer.bytesRecorded; at += 12)
        out.push_back({GetMidiWord(buffer.data + at), GetMidiWord(buffer.data + at + 8)});
    return out;
}

TEST(SmfReaderSeek, StartAtZeroCollectsNothing)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(BuildSong(0, 96, {Track().Tempo(0, 400000).Program(0, 1, 3).End(10)}), &reader));
    std::vector<uint8_t> data(256);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 256;
    ASSERT_EQ(SmfResult::Ok, reader->Seek(0, &buffer));
    EXPECT_EQ(0u, buffer.bytesRecorded);
    SmfEvent e;
    ASSERT_EQ(SmfResult::Ok, reader->NextEvent(kSmfNoLimit, true, &e));
    EXPECT_EQ(0x51, e.data1) << "the song's own opening events follow";
}

TEST(SmfReaderSeek, CollectsTempoProgramsAndControllersInOrder)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok,
              OpenBytes(BuildSong(0, 96, {Track().Tempo(0, 400000).Ev(0, {0xB2, 7, 100}).Ev(0, {0xB0, 10, 64})
                                              .Ev(0, {0xB0, 121, 0}).Program(0, 3, 9).Program(0, 1, 4)
                                              .Ev(0, {0xB0, 7, 90}).Ev(0, {0xB0, 7, 80}).Tempo(5, 300000)
                                              .NoteOn(5, 1, 60, 100).Ev(0, {0xB0, 1, 1}).End(10)}),
                        &reader));
    std::vector<uint8_t> data(4096);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 4096;
    ASSERT_EQ(SmfResult::Ok, reader->Seek(10, &buffer));
    const std::vector<Record> records = Records(buffer);
    const uint32_t expected[] = {0x01000000 | 300000, 0x0004C0, 0x0009C2, 0x5007B0, 0x400AB0, 0x6407B2};
    ASSERT_EQ(6u, records.size());
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(0u, records[i].delta);
        EXPECT_EQ(expected[i], records[i].event) << i;
    }
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
    std::vector<uint8_t> data(120);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 116;
    EXPECT_EQ(SmfResult::NoMemory, reader->Seek(5, &buffer));
    buffer.size = 120;
    EXPECT_EQ(SmfResult::Ok, reader->Seek(5, &buffer));
    EXPECT_EQ(120u, buffer.bytesRecorded);
}

// ---- The reader against a model of the merge ---------------------------
//
// Random songs are written from lists of events whose merged order and
// statistics a plain model works out the slow, obvious way: every event in
// (tick, track, file order), the statistics counted in that order. The
// reader walks each track once for the statistics and merges through a
// heap; both must agree with the model exactly.

struct ModelEvent {
    uint32_t tick;
    uint16_t track;
    std::vector<uint8_t> bytes;  // status first; meta type and data as the merge shows them
};

struct ModelSong {
    std::vector<uint8_t> file;
    std::vector<ModelEvent> merged;
    uint32_t length = 0;
    std::vector<TempoMapEntry> tempoMap;
    uint8_t highestVelocity = 0, lowestProgram = 255, lampA = 1, lampB = 0;
    int32_t leadingExclusive = 0;
};

std::vector<uint8_t> RandomEvent(std::mt19937& rnd, uint8_t* runningStatus, bool* omitStatus)
{
    auto pick = [&rnd](uint32_t n) { return static_cast<uint32_t>(rnd() % n); };
    *omitStatus = false;
    const uint32_t k = pick(100);
    if (k < 60) {
        static const uint8_t kinds[] = {0x80, 0x90, 0x90, 0x90, 0xA0, 0xB0, 0xC0, 0xC0, 0xD0, 0xE0};
        const uint8_t status = static_cast<uint8_t>(kinds[pick(10)] | pick(16));
        *omitStatus = status == *runningStatus && pick(2) == 0;
        *runningStatus = status;
        std::vector<uint8_t> e = {status, static_cast<uint8_t>(pick(128))};
        if ((status & 0xE0) != 0xC0)
            e.push_back(static_cast<uint8_t>(pick(128)));
        return e;
    }
    *runningStatus = 0;
    if (k < 72) {
        std::vector<uint8_t> e = {pick(2) ? uint8_t(0xF0) : uint8_t(0xF7)};
        for (uint32_t i = pick(6); i > 0; --i)
            e.push_back(static_cast<uint8_t>(pick(128)));
        return e;
    }
    if (k < 80) {
        const uint32_t tempo = pick(2) ? 1 + pick(0xFFFFFF) : 250000 + 50000 * pick(8);
        return {0xFF, 0x51, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)};
    }
    std::vector<uint8_t> e = {0xFF, static_cast<uint8_t>(1 + pick(7))};
    for (uint32_t i = pick(4); i > 0; --i)
        e.push_back(static_cast<uint8_t>(pick(256)));
    return e;
}

// The file bytes of an event: a length after the status (and meta type)
// of 0xF0, 0xF7 and 0xFF events.
void PutEvent(Track& track, uint32_t delta, const std::vector<uint8_t>& e, bool omitStatus)
{
    std::vector<uint8_t> bytes;
    if (e[0] < 0xF0) {
        bytes.assign(e.begin() + (omitStatus ? 1 : 0), e.end());
    } else {
        const size_t head = e[0] == 0xFF ? 2 : 1;
        bytes.assign(e.begin(), e.begin() + head);
        const std::vector<uint8_t> length = Vlq(static_cast<uint32_t>(e.size() - head));
        bytes.insert(bytes.end(), length.begin(), length.end());
        bytes.insert(bytes.end(), e.begin() + head, e.end());
    }
    track.Ev(delta, bytes);
}

// The statistics and tempo map, counted in merged order.
void CountInMergedOrder(ModelSong& song, uint16_t division)
{
    bool noteSeen = false, channel1Note = false, channel1Program = false;
    for (const ModelEvent& e : song.merged) {
        const uint8_t kind = e.bytes[0] & 0xF0, channel = (e.bytes[0] & 0x0F) + 1;
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51) {
            const uint32_t tempo = e.bytes[2] << 16 | e.bytes[3] << 8 | e.bytes[4];
            if (song.tempoMap.empty() && e.tick > 0)
                song.tempoMap.push_back({0, 0, 500000});
            uint32_t ms = 0;
            if (division & 0x8000) {
                ms = SmfTestMs(division, e.tick, 0, 0, 0);
            } else if (!song.tempoMap.empty()) {
                const TempoMapEntry& last = song.tempoMap.back();
                ms = SmfTestMs(division, e.tick, last.tick, last.ms, last.tempo);
            }
            song.tempoMap.push_back({e.tick, ms, tempo});
        } else if (e.bytes[0] == 0xF0 && !noteSeen) {
            ++song.leadingExclusive;
        } else if (kind == 0xC0) {
            const uint8_t program = e.bytes[1];
            channel1Program |= channel == 1;
            if (program < song.lowestProgram) {
                song.lowestProgram = program;
                song.lampA = channel;
                song.lampB = 0;
            } else if (program == song.lowestProgram && channel < song.lampA) {
                song.lampB = song.lampA;
                song.lampA = channel;
            } else if (program == song.lowestProgram && channel > song.lampA &&
                       (song.lampB == 0 || channel < song.lampB)) {
                song.lampB = channel;
            }
        } else if (kind == 0x90) {
            if (channel <= 2 && e.bytes[2] > song.highestVelocity)
                song.highestVelocity = e.bytes[2];
            channel1Note |= channel == 1;
            noteSeen = true;
        }
    }
    if (channel1Note && !channel1Program)
        song.lampA = 1;
    if (song.tempoMap.empty())
        song.tempoMap.push_back({0, 0, 500000});
}

ModelSong RandomSong(uint32_t seed, int tracks, int eventsPerTrack)
{
    std::mt19937 rnd(seed);
    static const uint16_t divisions[] = {96, 480, 1, 0xE728, 0xE302};
    const uint16_t division = divisions[rnd() % 5];
    static const uint32_t deltas[] = {0, 0, 0, 1, 3, 10, 100, 5000};
    ModelSong song;
    std::vector<Track> built;
    for (int t = 0; t < tracks; ++t) {
        Track track;
        uint32_t tick = 0;
        uint8_t runningStatus = 0;
        const int events = eventsPerTrack ? static_cast<int>(rnd() % (2 * eventsPerTrack)) : 0;
        for (int i = 0; i < events; ++i) {
            const uint32_t delta = deltas[rnd() % 8];
            bool omit = false;
            std::vector<uint8_t> e = RandomEvent(rnd, &runningStatus, &omit);
            PutEvent(track, delta, e, omit);
            tick += delta;
            song.merged.push_back({tick, static_cast<uint16_t>(t), e});
        }
        const uint32_t last = deltas[rnd() % 8];
        track.End(last);
        song.merged.push_back({tick + last, static_cast<uint16_t>(t), {0xFF, 0x2F}});
        song.length = std::max(song.length, tick + last);
        built.push_back(track);
    }
    song.file = BuildSong(1, division, built);
    // Within a track the events are already in file order.
    std::stable_sort(song.merged.begin(), song.merged.end(), [](const ModelEvent& a, const ModelEvent& b) {
        return a.tick < b.tick || (a.tick == b.tick && a.track < b.track);
    });
    CountInMergedOrder(song, division);
    return song;
}

void ExpectModel(const ModelSong& model, const std::string& name)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(model.file, &reader)) << name;
    EXPECT_EQ(model.length, reader->Length()) << name;
    EXPECT_EQ(model.highestVelocity, reader->HighestVelocity()) << name;
    EXPECT_EQ(model.lowestProgram, reader->LowestProgram()) << name;
    EXPECT_EQ(model.lampA, reader->LampChannelA()) << name;
    EXPECT_EQ(model.lampB, reader->LampChannelB()) << name;
    EXPECT_EQ(model.leadingExclusive, reader->LeadingExclusiveCount()) << name;
    const std::vector<TempoMapEntry>& map = reader->TempoMap();
    ASSERT_EQ(model.tempoMap.size(), map.size()) << name;
    for (size_t i = 0; i < map.size(); ++i) {
        EXPECT_EQ(model.tempoMap[i].tick, map[i].tick) << name << " tempo " << i;
        EXPECT_EQ(model.tempoMap[i].ms, map[i].ms) << name << " tempo " << i;
        EXPECT_EQ(model.tempoMap[i].tempo, map[i].tempo) << name << " tempo " << i;
    }
    const std::vector<Merged> merged = MergeAll(*reader);
    ASSERT_EQ(model.merged.size(), merged.size()) << name;
    uint32_t previous = 0;
    for (size_t i = 0; i < merged.size(); ++i) {
        const ModelEvent& e = model.merged[i];
        ASSERT_EQ(e.tick, merged[i].tick) << name << " event " << i;
        ASSERT_EQ(e.tick - previous, merged[i].delta) << name << " event " << i;
        ASSERT_EQ(e.track, merged[i].track) << name << " event " << i;
        ASSERT_EQ(Hex(e.bytes), merged[i].bytes) << name << " event " << i;
        previous = e.tick;
    }
}

TEST(SmfReaderModel, RandomSongsMergeAndCountAsTheModelDoes)
{
    const struct {
        int tracks, events;
    } shapes[] = {{1, 40}, {2, 20}, {3, 60}, {16, 30}, {40, 3}, {200, 1}, {5, 0}};
    uint32_t seed = 1;
    for (const auto& shape : shapes) {
        for (int i = 0; i < 25; ++i, ++seed)
            ExpectModel(RandomSong(seed, shape.tracks, shape.events),
                        "seed " + std::to_string(seed) + ", " + std::to_string(shape.tracks) + " tracks");
    }
}

// The merge's queue at its largest (how fast it is: bench/bench_smf).
TEST(SmfReaderModel, TheLargestTrackCountMergesInOrder)
{
    ExpectModel(RandomSong(7, 65535, 1), "65535 tracks");
}

// The merge may stop at a limit and go on from there at any point.
TEST(SmfReaderModel, LimitsAnywhereLeaveTheMergeIntact)
{
    const ModelSong model = RandomSong(11, 12, 40);
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, OpenBytes(model.file, &reader));
    std::vector<std::string> seen;
    SmfEvent e;
    for (uint32_t limit = 0;; limit += 7) {
        SmfResult result;
        while ((result = reader->NextEvent(limit, limit % 2 == 0, &e)) == SmfResult::Ok)
            seen.push_back(std::to_string(e.tick) + "/" + std::to_string(e.track));
        if (result == SmfResult::EndOfFile)
            break;
        ASSERT_EQ(SmfResult::LimitReached, result);
    }
    ASSERT_EQ(model.merged.size(), seen.size());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(std::to_string(model.merged[i].tick) + "/" + std::to_string(model.merged[i].track), seen[i]) << i;
}

}  // namespace
