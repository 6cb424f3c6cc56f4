#include "eseq_convert.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "eseq_testdata.h"
#include "hostfile.h"
#include "smfreader.h"

namespace {

using eseq::ConvertOptions;
using eseq::ConvertResult;
using eseqtest::BuildEseq;
using eseqtest::EseqEvents;
using eseqtest::EseqSongSpec;

std::string Hex(const uint8_t* p, size_t n)
{
    std::string out;
    char b[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", p[i]);
        out += b;
    }
    return out;
}

struct Converted {
    ConvertResult result;
    std::vector<uint8_t> midi;
};

Converted Convert(const EseqSongSpec& spec, bool fixup = false)
{
    const std::vector<uint8_t> song = BuildEseq(spec);
    Converted c;
    ConvertOptions options;
    options.diskFixup = fixup;
    c.result = eseq::ConvertImage(song.data(), song.size(), options, &c.midi);
    return c;
}

// The song's events after the opening tempo and track name, as
// "delta: bytes", read back through the SmfReader.
std::vector<std::string> Events(const std::vector<uint8_t>& midi)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(midi.data(), midi.size(), &reader));
    std::vector<std::string> out;
    if (!reader)
        return out;
    SmfEvent e;
    int index = 0;
    while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
        if (index++ < 2)
            continue;
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
        out.push_back(std::to_string(e.delta) + ": " + Hex(bytes.data(), bytes.size()));
    }
    return out;
}

std::vector<std::string> EventsOf(const EseqEvents& events, bool fixup = false)
{
    EseqSongSpec spec;
    spec.events = events;
    const Converted c = Convert(spec, fixup);
    EXPECT_EQ(ConvertResult::Ok, c.result);
    return Events(c.midi);
}

// The track's bytes after the tempo and track name events.
std::string TrackBody(const std::vector<uint8_t>& midi)
{
    const size_t nameAt = 22 + 7;
    const size_t body = nameAt + 4 + midi[nameAt + 3];
    return Hex(midi.data() + body, midi.size() - body);
}

using Lines = std::vector<std::string>;

// ---- The file around the events ------------------------------------------

TEST(EseqConvertHeader, ChunksTempoAndTrackName)
{
    EseqSongSpec spec;
    spec.line1 = "Fur Elise";
    spec.line2 = "";
    spec.baseTempo = 120;
    spec.tempoAt51 = true;
    spec.events.NoteOn(1, 60, 64);
    const Converted c = Convert(spec);
    ASSERT_EQ(ConvertResult::Ok, c.result);
    EXPECT_EQ("4D 54 68 64 00 00 00 06 00 00 00 01 01 80", Hex(c.midi.data(), 14));
    const uint32_t length = static_cast<uint32_t>(c.midi.size() - 22);
    EXPECT_EQ(length, static_cast<uint32_t>(c.midi[18] << 24 | c.midi[19] << 16 | c.midi[20] << 8 | c.midi[21]));
    // 120 beats per minute: 500000 microseconds (07 A1 20); the name keeps
    // the centring's leading spaces and loses the trailing ones.
    EXPECT_EQ("00 FF 51 03 07 A1 20 00 FF 03 0C 20 20 20 46 75 72 20 45 6C 69 73 65",
              Hex(c.midi.data() + 22, 23));
}

TEST(EseqConvertHeader, BothSignaturePlacesConvertAlike)
{
    EseqSongSpec prefixed;
    prefixed.events.NoteOn(1, 60, 64).Wait(10).NoteOff(1, 60);
    EseqSongSpec bare = prefixed;
    bare.prefixed = false;
    EXPECT_EQ(Convert(prefixed).midi, Convert(bare).midi);
}

TEST(EseqConvertHeader, LeadInWaitIsDropped)
{
    for (int leadIn : {0, 50, 1000}) {
        EseqSongSpec spec;
        spec.leadIn = leadIn;
        spec.events.NoteOn(1, 60, 64).Wait(5);
        EXPECT_EQ(Lines({"0: 90 3C 40", "5: FF 2F"}), Events(Convert(spec).midi)) << leadIn;
    }
}

TEST(EseqConvertHeader, NoStartMarkGivesAnEmptySong)
{
    std::vector<uint8_t> song = BuildEseq(EseqSongSpec());
    song.resize(119);  // the header only
    std::vector<uint8_t> midi;
    EXPECT_EQ(ConvertResult::Ok, eseq::ConvertImage(song.data(), song.size(), ConvertOptions(), &midi));
    EXPECT_EQ(Lines({"0: FF 2F"}), Events(midi));
    // A file shorter than its title field converts too.
    EXPECT_EQ(ConvertResult::Ok, eseq::ConvertImage(song.data(), 90, ConvertOptions(), &midi));
    EXPECT_EQ(Lines({"0: FF 2F"}), Events(midi));
}

// ---- Events --------------------------------------------------------------

TEST(EseqConvertEvents, WaitsAccumulateIntoTheNextDelta)
{
    EXPECT_EQ(Lines({"272: 90 3C 40", "0: FF 2F"}), EventsOf(EseqEvents().Raw({0xF4, 0x10, 0x02}).NoteOn(1, 60, 64)));
    EXPECT_EQ(Lines({"0: 90 3C 40", "130: 80 3C 00", "5: FF 2F"}),
              EventsOf(EseqEvents().NoteOn(1, 60, 64).Wait(100).Wait(30).Raw({0x80, 0x3C, 0x00}).Wait(5)));
}

TEST(EseqConvertEvents, EveryEventCode)
{
    EseqEvents e;
    e.Program(1, 5).Control(2, 64, 127).Raw({0xD0, 0x40}).Raw({0xE0, 0x00, 0x40}).Raw({0xA0, 0x3C, 0x10});
    e.Sysex({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).TimeSignature(3, 2).TempoRatio(1000).TempoRatio(500);
    e.ChannelPrefix(2).NoteOn(1, 60, 64).NoteOff(1, 60);
    EXPECT_EQ(Lines({"0: C0 05", "0: B1 40 7F", "0: D0 40", "0: E0 00 40", "0: A0 3C 10", "0: F0 7E 7F 09 01 F7",
                     "0: FF 58 03 02 18 08", "0: FF 51 07 A1 20", "0: FF 51 0F 42 40", "0: FF 20 02",
                     "0: 90 3C 40", "0: 90 3C 00", "0: FF 2F"}),
              EventsOf(e));
}

TEST(EseqConvertEvents, RunningStatusWrittenExactlyWhereAllowed)
{
    EseqSongSpec spec;
    // Explicit repeat, then source running status, then a new status.
    spec.events.NoteOn(1, 60, 64).NoteOn(1, 62, 64).Raw({64, 64}).NoteOn(2, 40, 50).Raw({0xF9, 4, 2}).NoteOn(2, 41, 50);
    const Converted c = Convert(spec);
    EXPECT_EQ("00 90 3C 40 00 3E 40 00 40 40 00 91 28 32 00 FF 58 04 04 02 18 08 00 91 29 32 00 FF 2F 00",
              TrackBody(c.midi));
}

TEST(EseqConvertEvents, EventsThatWriteNothingKeepTheirWait)
{
    EseqEvents e;
    e.NoteOn(1, 60, 64).Wait(10).Empty().Wait(20).Unknown(0xFA, {1, 2, 3}).Wait(30).Unknown(0xF8, {});
    e.Wait(40).NoteOn(1, 60, 0);
    EXPECT_EQ(Lines({"0: 90 3C 40", "100: 90 3C 00", "0: FF 2F"}), EventsOf(e));
}

struct TempoCase {
    int baseTempo;
    uint32_t ratio;
    const char* bytes;
};

TEST(EseqConvertEvents, TempoChanges)
{
    const TempoCase cases[] = {
        {120, 1000, "FF 51 07 A1 20"},  // the base tempo again
        {120, 500, "FF 51 0F 42 40"},   // half speed: twice the microseconds
        {120, 2000, "FF 51 03 D0 90"},
        {29, 34, "FF 51 FF FF FF"},     // 34 * 29 / 1000 = 0: the slowest tempo
        {29, 0, "FF 51 FF FF FF"},
        {29, 35, "FF 51 FF FF FF"},     // 60000000 microseconds do not fit: the slowest
        {284, 16383, "FF 51 00 32 61"}, // very fast: still three bytes
    };
    for (const TempoCase& c : cases) {
        EseqSongSpec spec;
        spec.baseTempo = c.baseTempo;
        spec.events.TempoRatio(c.ratio);
        const Lines events = Events(Convert(spec).midi);
        ASSERT_EQ(2u, events.size()) << c.ratio;
        EXPECT_EQ(std::string("0: ") + c.bytes, events[0]) << c.baseTempo << " " << c.ratio;
    }
}

TEST(EseqConvertEvents, SysexLengthIsAVariableLengthNumber)
{
    EseqEvents e;
    e.Raw({0xF0});
    for (int i = 0; i < 200; ++i)
        e.Raw({0x11});
    e.Raw({0xF7});
    EseqSongSpec spec;
    spec.events = e;
    const std::string body = TrackBody(Convert(spec).midi);
    EXPECT_EQ("00 F0 81 49 11 11", body.substr(0, 17));  // 201 bytes after the 0xF0
}

// ---- The disk fixup ------------------------------------------------------

TEST(EseqConvertFixup, VolumeZeroOnChannelOneBecomesPianoAtFullVolume)
{
    EseqEvents e;
    e.NoteOn(1, 60, 64).Wait(7).Control(1, 7, 0).Raw({0x07, 0x00}).Control(2, 7, 0);
    EseqSongSpec spec;
    spec.events = e;
    EXPECT_EQ("00 90 3C 40 07 C0 00 00 B0 07 7F 00 C0 00 00 B0 07 7F 00 B1 07 00 00 FF 2F 00",
              TrackBody(Convert(spec, true).midi));
    EXPECT_EQ("00 90 3C 40 07 B0 07 00 00 07 00 00 B1 07 00 00 FF 2F 00", TrackBody(Convert(spec, false).midi));
}

TEST(EseqConvertFixup, SilencingSysexIsDroppedAndItsWaitCarries)
{
    EseqEvents e;
    e.Wait(10).Sysex({0xF0, 0x43, 0x10, 0x4C, 0x08, 0x00, 0x04, 0x7F, 0xF7}).Wait(5).NoteOn(1, 60, 64);
    EXPECT_EQ(Lines({"15: 90 3C 40", "0: FF 2F"}), EventsOf(e, true));
    EXPECT_EQ(Lines({"10: F0 43 10 4C 08 00 04 7F F7", "5: 90 3C 40", "0: FF 2F"}), EventsOf(e, false));
    // Another parameter is not touched.
    EseqEvents other;
    other.Sysex({0xF0, 0x43, 0x10, 0x4C, 0x08, 0x00, 0x04, 0x7E, 0xF7});
    EXPECT_EQ(Lines({"0: F0 43 10 4C 08 00 04 7E F7", "0: FF 2F"}), EventsOf(other, true));
}

// ---- Faults in the song --------------------------------------------------

TEST(EseqConvertFaults, DataByteWithoutRunningStatusTruncates)
{
    EseqSongSpec spec;
    spec.events.NoteOn(1, 60, 64).Empty().Raw({0x40, 0x40}).NoteOn(1, 61, 64);
    const Converted c = Convert(spec);
    EXPECT_EQ(ConvertResult::Truncated, c.result);
    EXPECT_EQ("00 90 3C 40", TrackBody(c.midi));  // no End of Track
    const uint32_t length = static_cast<uint32_t>(c.midi.size() - 22);
    EXPECT_EQ(length, static_cast<uint32_t>(c.midi[20] << 8 | c.midi[21]));
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::InvalidFile, SmfReader::OpenImage(c.midi.data(), c.midi.size(), &reader));
}

TEST(EseqConvertFaults, EndOfFileEndsTheSong)
{
    struct Case {
        const char* name;
        EseqEvents tail;
        Lines expected;
    };
    const Case cases[] = {
        {"no end-of-song event", EseqEvents().NoteOn(1, 60, 64).Wait(9), {"0: 90 3C 40", "9: FF 2F"}},
        {"system exclusive without 0xF7", EseqEvents().NoteOn(1, 60, 64).Wait(9).Raw({0xF0, 0x43, 0x10}),
         {"0: 90 3C 40", "9: FF 2F"}},
        {"note cut short", EseqEvents().NoteOn(1, 60, 64).Raw({0x90, 0x3C}), {"0: 90 3C 40", "0: FF 2F"}},
        {"wait cut short", EseqEvents().NoteOn(1, 60, 64).Raw({0xF4, 0x10}), {"0: 90 3C 40", "0: FF 2F"}},
        {"tempo cut short", EseqEvents().Raw({0xFB, 0x10}), {"0: FF 2F"}},
        {"time signature cut short", EseqEvents().Raw({0xF9}), {"0: FF 2F"}},
        {"channel prefix cut short", EseqEvents().Raw({0xFF}), {"0: FF 2F"}},
    };
    for (const Case& c : cases) {
        EseqSongSpec spec;
        spec.events = c.tail;
        spec.endMark = false;
        spec.pad = false;
        const Converted converted = Convert(spec);
        EXPECT_EQ(ConvertResult::Ok, converted.result) << c.name;
        EXPECT_EQ(c.expected, Events(converted.midi)) << c.name;
    }
}

TEST(EseqConvertFaults, PaddingAfterTheEndIsNotRead)
{
    EseqSongSpec spec;
    spec.events.NoteOn(1, 60, 64);
    const std::vector<uint8_t> song = BuildEseq(spec);
    EXPECT_EQ(0u, song.size() % 1024);
    EXPECT_EQ(Lines({"0: 90 3C 40", "0: FF 2F"}), Events(Convert(spec).midi));
}

TEST(EseqConvertFaults, StatusByteInterruptsAChannelMessage)
{
    EseqEvents e;
    e.Raw({0x90, 0x3C, 0x91, 0x30, 0x20}).Raw({0xC0, 0xF2});
    EseqSongSpec spec;
    spec.events = e;
    EXPECT_EQ(Lines({"0: 91 30 20", "0: FF 2F"}), Events(Convert(spec).midi));
}

TEST(EseqConvertFaults, HugeWaitsStayWithinTheFileFormat)
{
    EseqEvents e;
    for (int i = 0; i < 20000; ++i)
        e.Raw({0xF4, 0x7F, 0x7F});  // 327 million ticks in all
    e.NoteOn(1, 60, 64);
    EXPECT_EQ(Lines({"268435455: 90 3C 40", "0: FF 2F"}), EventsOf(e));
}

// ---- A whole song and the file-level call -----------------------------------

TEST(EseqConvertSong, SampleSongKeepsEveryNoteAndTheLength)
{
    const EseqSongSpec spec = eseqtest::SampleSong(7, "Sample", 50);
    const Converted c = Convert(spec);
    ASSERT_EQ(ConvertResult::Ok, c.result);
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(c.midi.data(), c.midi.size(), &reader));
    int noteOns = 0, noteOffs = 0;
    SmfEvent e;
    while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
        if ((e.status & 0xF0) == 0x90)
            ++(e.data2 ? noteOns : noteOffs);
    }
    EXPECT_EQ(100, noteOns);
    EXPECT_EQ(100, noteOffs);
    uint32_t ticks = 0;
    const std::vector<uint8_t>& b = spec.events.bytes;
    for (size_t i = 0; i < b.size(); ++i) {
        if (b[i] == 0xF3)
            ticks += b[++i];
        else if (b[i] == 0xF4) {
            ticks += b[i + 1] + 128u * b[i + 2];
            i += 2;
        }
    }
    EXPECT_EQ(ticks, reader->Length());
}

TEST(EseqConvertSong, OddSongsConvertAsDocumented)
{
    for (const eseqtest::NamedSong& song : eseqtest::OddSongs()) {
        std::vector<uint8_t> midi;
        const ConvertResult result = eseq::ConvertImage(song.bytes.data(), song.bytes.size(), ConvertOptions(), &midi);
        std::unique_ptr<SmfReader> reader;
        const SmfResult opened = SmfReader::OpenImage(midi.data(), midi.size(), &reader);
        if (song.name == "norunning.fil") {
            EXPECT_EQ(ConvertResult::Truncated, result);
            EXPECT_EQ(SmfResult::InvalidFile, opened);
        } else {
            EXPECT_EQ(ConvertResult::Ok, result) << song.name;
            EXPECT_EQ(SmfResult::Ok, opened) << song.name;
        }
    }
}

struct PathCase {
    const char* source;
    const char* temp;
    const char* out;
};

TEST(EseqConvertFile, OutputPaths)
{
    const PathCase cases[] = {
        {"C:\\Songs\\SONG01.FIL", "", "C:\\Songs\\SONG01.MID"},
        {"C:\\Songs\\SONG01", "", "C:\\Songs\\SONG01.MID"},
        {"C:\\Songs.v2\\SONG01", "", "C:\\Songs.v2\\SONG01.MID"},
        {"C:\\Songs\\a.b.c", "", "C:\\Songs\\a.b.MID"},
        {"C:\\Songs\\SONG01.FIL", "C:\\Temp\\", "C:\\Temp\\SONG01.MID"},
        {"C:\\Songs\\SONG01.FIL", "C:\\Temp", "C:\\Temp\\SONG01.MID"},
        {"/home/u/floppy.d/SONG01", "", "/home/u/floppy.d/SONG01.MID"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(c.out, eseq::ConvertedPathFor(c.source, c.temp)) << c.source;
}

TEST(EseqConvertFile, WritesTheConvertedFile)
{
    const std::string source = testing::TempDir() + "eseq_convert_test.fil";
    const std::string target = testing::TempDir() + "eseq_convert_test.mid";
    EseqSongSpec spec;
    spec.events.NoteOn(1, 60, 64);
    const std::vector<uint8_t> song = BuildEseq(spec);
    ASSERT_EQ(FileResult::Ok, WriteFileImage(source.c_str(), song.data(), song.size()));
    EXPECT_EQ(eseq::FileConvertResult::Ok, eseq::ConvertFile(source.c_str(), target.c_str(), ConvertOptions()));
    std::vector<uint8_t> written;
    ASSERT_EQ(FileResult::Ok, ReadFileImage(target.c_str(), &written));
    EXPECT_EQ(Convert(spec).midi, written);

    EXPECT_EQ(eseq::FileConvertResult::WriteFailed,
              eseq::ConvertFile(source.c_str(), testing::TempDir().c_str(), ConvertOptions()));
    std::remove(source.c_str());
    std::remove(target.c_str());
    EXPECT_EQ(eseq::FileConvertResult::ReadFailed,
              eseq::ConvertFile(source.c_str(), target.c_str(), ConvertOptions()));
}

}  // namespace
