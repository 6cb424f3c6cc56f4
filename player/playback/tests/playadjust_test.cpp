#include "playadjust.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "bufferfill.h"
#include "playrig.h"
#include "songbuilder.h"
#include "streamrecords.h"

namespace {

PlayAdjustSettings Adjust(int transpose, int tempo = 0, int volume = kTrackVolumeFull)
{
    PlayAdjustSettings s;
    s.transpose = transpose;
    s.tempoPercent = tempo;
    s.trackVolume = volume;
    return s;
}

// "90 3c 40" or "-" when left out.
std::string Pass(PlayAdjuster& adjuster, std::initializer_list<uint8_t> bytes, const PlayAdjustSettings& s)
{
    const uint8_t* b = bytes.begin();
    ShortMessage m = {b[0], b[1], bytes.size() > 2 ? b[2] : uint8_t(0)};
    if (!adjuster.Channel(&m, s))
        return "-";
    return Hex({m.status, m.data1, m.data2});
}

TEST(PlayAdjustTranspose, ReleasesGoWhereTheirNotesWent)
{
    PlayAdjuster a;
    EXPECT_EQ("90 3e 40", Pass(a, {0x90, 60, 64}, Adjust(2)));
    EXPECT_EQ("a0 3e 10", Pass(a, {0xA0, 60, 16}, Adjust(-3)));  // key pressure follows the note
    EXPECT_EQ("80 3e 00", Pass(a, {0x80, 60, 0}, Adjust(-3)));   // changed meanwhile: still key 62
    EXPECT_EQ("90 39 40", Pass(a, {0x90, 60, 64}, Adjust(-3)));
    EXPECT_EQ("90 39 00", Pass(a, {0x90, 60, 0}, Adjust(5)));    // note-on with velocity 0 releases too
    EXPECT_EQ("80 41 00", Pass(a, {0x80, 60, 0}, Adjust(5)));    // no note sounding: the current shift
}

// Regression: the second note-on of a key after the transposition changed
// took over the first one's place, so both releases went to the new key and
// the first note sounded on.
TEST(PlayAdjustTranspose, AKeyStruckAgainAfterAChangeReleasesBothNotes)
{
    PlayAdjuster a;
    EXPECT_EQ("90 3c 40", Pass(a, {0x90, 0x3C, 64}, Adjust(0)));
    EXPECT_EQ("90 3e 40", Pass(a, {0x90, 0x3C, 64}, Adjust(2)));
    EXPECT_EQ("80 3c 00", Pass(a, {0x80, 0x3C, 0}, Adjust(2)));
    EXPECT_EQ("80 3e 00", Pass(a, {0x80, 0x3C, 0}, Adjust(2)));
    EXPECT_EQ("80 3e 00", Pass(a, {0x80, 0x3C, 0}, Adjust(2))) << "nothing held: where a note-on goes now";
}

// Every note-on finds its release, however often the key is struck and the
// transposition moves meanwhile.
TEST(PlayAdjustTranspose, EveryNoteOnIsReleasedOnItsKey)
{
    const int shifts[] = {0, 0, 3, -5, 3, 7, 12, -24, 1, 1};
    PlayAdjuster a;
    int sounding[128] = {};
    for (int shift : shifts) {
        ShortMessage on = {0x91, 64, 90};
        ASSERT_TRUE(a.Channel(&on, Adjust(shift)));
        ++sounding[on.data1];
    }
    for (int i = 0; i < 10; ++i) {
        ShortMessage off = {0x81, 64, 0};
        ASSERT_TRUE(a.Channel(&off, Adjust(-3)));
        EXPECT_GT(sounding[off.data1], 0) << "a release of key " << int(off.data1) << ", which does not sound";
        --sounding[off.data1];
    }
    for (int key = 0; key < 128; ++key)
        EXPECT_EQ(0, sounding[key]) << "key " << key << " still sounds";
}

TEST(PlayAdjustTranspose, DrumsAndOtherMessagesStay)
{
    PlayAdjuster a;
    EXPECT_EQ("99 24 64", Pass(a, {0x99, 36, 100}, Adjust(7)));  // channel 10
    EXPECT_EQ("c0 05 00", Pass(a, {0xC0, 5}, Adjust(7)));
    EXPECT_EQ("b0 40 7f", Pass(a, {0xB0, 64, 127}, Adjust(7)));
    EXPECT_EQ("e0 00 40", Pass(a, {0xE0, 0, 64}, Adjust(7)));
    EXPECT_EQ("91 3c 40", Pass(a, {0x91, 60, 64}, Adjust(0)));
}

TEST(PlayAdjustTranspose, NotesBeyondTheRangeAreLeftOutWithTheirRelease)
{
    PlayAdjuster a;
    EXPECT_EQ("-", Pass(a, {0x90, 120, 64}, Adjust(12)));
    EXPECT_EQ("-", Pass(a, {0x80, 120, 0}, Adjust(0)));  // its release, though the shift is gone
    EXPECT_EQ("90 00 40", Pass(a, {0x90, 24, 64}, Adjust(-24)));
    EXPECT_EQ("-", Pass(a, {0x90, 23, 64}, Adjust(-24)));
    a.Reset(kDefaultTempo);
    EXPECT_EQ("80 3c 00", Pass(a, {0x80, 60, 0}, Adjust(0)));  // nothing remembered after a reset
}

TEST(PlayAdjustVolume, ControllerSevenIsScaled)
{
    PlayAdjuster a;
    EXPECT_EQ("b0 07 64", Pass(a, {0xB0, 7, 100}, Adjust(0)));
    EXPECT_EQ("b1 07 32", Pass(a, {0xB1, 7, 100}, Adjust(0, 0, 64)));  // 100 * 64 / 127 = 50
    EXPECT_EQ("b1 07 00", Pass(a, {0xB1, 7, 100}, Adjust(0, 0, 0)));
    EXPECT_EQ("b1 0b 64", Pass(a, {0xB1, 11, 100}, Adjust(0, 0, 0)));  // expression stays
}

TEST(PlayAdjustTempo, ScaledByThePercentage)
{
    struct Case {
        uint32_t song;
        int percent;
        uint32_t sent;
    } cases[] = {
        {500000, 0, 500000}, {500000, 50, 333333}, {500000, -50, 1000000}, {500000, 25, 400000},
        {0xFFFFFF, -50, 0xFFFFFF}, {1, 50, 1},
        // Regression: with the slider off a tempo of 0 was sent as 1.
        {0, 0, 0}, {0, 50, 0}, {1, 0, 1},
    };
    for (const Case& c : cases) {
        PlayAdjuster a;
        EXPECT_EQ(c.sent, a.Tempo(c.song, Adjust(0, c.percent))) << c.song << " " << c.percent;
    }
}

std::vector<uint32_t> Words(const MidiBuffer& buffer)
{
    std::vector<uint32_t> out;
    for (uint32_t at = 0; at < buffer.bytesRecorded; at += 4)
        out.push_back(GetMidiWord(buffer.data + at));
    return out;
}

TEST(PlayAdjustChanges, TempoAndVolumesAreResentOnChange)
{
    std::vector<uint8_t> data(1024);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 1024;
    PlayAdjuster a;
    a.WriteChanges(&buffer, Adjust(0));
    EXPECT_EQ(0u, buffer.bytesRecorded) << "neutral settings at the start send nothing";

    a.WriteChanges(&buffer, Adjust(0, 50));  // no tempo in the song yet: the default 500000
    EXPECT_EQ(std::vector<uint32_t>({0, 0, 0x01000000 | 333333}), Words(buffer));
    buffer.bytesRecorded = 0;
    a.WriteChanges(&buffer, Adjust(0, 50));
    EXPECT_EQ(0u, buffer.bytesRecorded) << "only a change is sent";

    ShortMessage volume = {0xB2, 7, 90};
    a.Channel(&volume, Adjust(0, 50));
    a.Tempo(400000, Adjust(0, 50));
    a.WriteChanges(&buffer, Adjust(0, 0, 100));  // 90 * 100 / 127 = 70
    EXPECT_EQ(std::vector<uint32_t>({0, 0, 0x01000000 | 400000, 0, 0, 0x004607B2}),
              Words(buffer));
}

TEST(PlayAdjustChanges, WaitForRoomInTheBuffer)
{
    std::vector<uint8_t> data(24);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 24;
    PlayAdjuster a;
    ShortMessage volume = {0xB0, 7, 127};
    a.Channel(&volume, Adjust(0));
    buffer.bytesRecorded = 16;
    a.WriteChanges(&buffer, Adjust(0, 10, 50));
    EXPECT_EQ(16u, buffer.bytesRecorded) << "no room for either";
    std::vector<uint8_t> big(1024);
    buffer.data = big.data();
    buffer.size = 1024;
    buffer.bytesRecorded = 0;
    a.WriteChanges(&buffer, Adjust(0, 10, 50));
    EXPECT_EQ(24u, buffer.bytesRecorded) << "both in the next buffer";
}

// Buffers of 36 bytes take two events (the filling wants 16 bytes free for
// each): a change made between two fills applies from the second one on.
TEST(PlayAdjustFill, ChangesApplyFromTheNextBuffer)
{
    const std::vector<uint8_t> song =
        BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 64).NoteOn(0, 1, 64, 64).NoteOn(0, 10, 36, 64).NoteOff(96, 1, 60)
                              .NoteOn(0, 1, 67, 64).NoteOff(0, 1, 64).End()});
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    std::vector<uint8_t> data(36);
    MidiBuffer buffer;
    buffer.data = data.data();
    buffer.size = 36;
    InstrumentControls controls;
    BufferFiller filler(controls);
    SongState start;
    start.Reset(0);
    filler.Start(*reader, start, false);
    auto fill = [&](int transpose) {
        controls.SetAdjustments(Adjust(transpose));
        buffer.bytesRecorded = 0;
        filler.Fill(*reader, &buffer, reader->Length());
        std::vector<std::string> sent;
        for (uint32_t at = 8; at < buffer.bytesRecorded; at += 12) {
            const uint32_t w = GetMidiWord(buffer.data + at);
            if ((w & 0xFF000000) == 0)
                sent.push_back(Hex({uint8_t(w), uint8_t(w >> 8), uint8_t(w >> 16)}));
        }
        return sent;
    };
    EXPECT_EQ((std::vector<std::string>{"90 3c 40", "90 40 40"}), fill(0));
    EXPECT_EQ((std::vector<std::string>{"99 24 40", "80 3c 40"}), fill(12));
    EXPECT_EQ((std::vector<std::string>{"90 4f 40", "80 40 40"}), fill(12));
}

TEST(PlayAdjustSequencer, SettingsReachThePlayedSong)
{
    FastRig rig;
    PlayAdjustSettings s = Adjust(-12, 50, 64);
    rig.sequencer->SetAdjustments(s);
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().Tempo(0, 600000).Ev(0, {0xB0, 7, 127})
                                                      .NoteOn(0, 1, 60, 100).NoteOff(96, 1, 60).End()})));
    std::vector<std::string> sent;
    for (const MemorySink::Entry& e : rig.sink.Entries()) {
        if (e.kind == MidiSinkKind::Tempo)
            sent.push_back(std::to_string(e.tick) + ":tempo " + std::to_string(e.tempo));
    }
    for (const std::string& line : Sent(rig.sink.Entries()))
        sent.push_back(line);
    EXPECT_EQ((std::vector<std::string>{"0:tempo 333333", "0:tempo 400000", "0:b0 07 40", "0:90 30 64",
                                        "96:80 30 40"}),
              sent);
    // Out of range values are held to the dialog's ranges.
    rig.sequencer->SetAdjustments(Adjust(99, -99, 300));
    EXPECT_EQ(24, rig.sequencer->Adjustments().transpose);
    EXPECT_EQ(-50, rig.sequencer->Adjustments().tempoPercent);
    EXPECT_EQ(127, rig.sequencer->Adjustments().trackVolume);
}

// Regression: with the Tempo slider off, a Set Tempo of 0 reached the
// stream as 1.
TEST(PlayAdjustSequencer, WithTheSlidersOffEveryTempoPassesUnchanged)
{
    FastRig rig;
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().Tempo(0, 0).NoteOn(0, 1, 60, 100).Tempo(10, 1)
                                                      .Tempo(10, 0xFFFFFF).NoteOff(10, 1, 60).End()})));
    std::vector<uint32_t> tempos;
    for (const MemorySink::Entry& e : rig.sink.Entries()) {
        if (e.kind == MidiSinkKind::Tempo)
            tempos.push_back(e.tempo);
    }
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 0xFFFFFF}), tempos);
}

// ---- How soon a change is heard ------------------------------------------

// Division 500 at 500000 us per quarter: one tick is one millisecond. A
// note every 10 ms for `seconds`, and the volume of channel 1 at the start.
std::vector<uint8_t> BusySong(int seconds)
{
    Track track;
    track.Ev(0, {0xB0, 7, 100});
    for (int i = 0; i < seconds * 100; ++i)
        track.NoteOn(i == 0 ? 0 : 5, 1, 60, 100).NoteOff(5, 1, 60);
    return BuildSong(0, 500, {track.End()});
}

// Milliseconds from `changeUs` to the first entry at or after it that
// `changed` accepts; -1 for none.
template <typename Changed>
int64_t HeardAfter(const std::vector<MemorySink::Entry>& entries, uint64_t changeUs, Changed changed)
{
    for (const MemorySink::Entry& e : entries) {
        if (e.scheduledUs >= changeUs && changed(e))
            return static_cast<int64_t>(e.scheduledUs - changeUs) / 1000;
    }
    return -1;
}

// Regression: a change reached the stream only with the next buffer filled,
// after the four buffers already queued: 1.7 s of this song (a short song
// was queued whole, and a change never came).
TEST(PlayAdjustLatency, ChangesAreHeardWithin200Milliseconds)
{
    ManualRig rig;
    rig.Start(BusySong(4));
    const uint64_t changes[] = {1000000, 1777000, 2503000};
    PlayAdjustSettings s;
    for (uint64_t now = 0; now < 3300000; now += 1000) {
        if (now == changes[0])
            s.transpose = 2;
        if (now == changes[1])
            s.tempoPercent = 25;
        if (now == changes[2])
            s.trackVolume = 64;
        rig.sequencer->SetAdjustments(s);
        rig.Advance(1000);
    }
    const std::vector<MemorySink::Entry> entries = rig.sink.Entries();
    const int64_t transpose = HeardAfter(entries, changes[0], [](const MemorySink::Entry& e) {
        return e.kind == MidiSinkKind::Short && e.bytes[0] == 0x90 && e.bytes[1] == 62;
    });
    const int64_t tempo = HeardAfter(entries, changes[1], [](const MemorySink::Entry& e) {
        return e.kind == MidiSinkKind::Tempo && e.tempo == 400000;
    });
    const int64_t volume = HeardAfter(entries, changes[2], [](const MemorySink::Entry& e) {
        return e.kind == MidiSinkKind::Short && e.bytes[0] == 0xB0 && e.bytes[2] == 100 * 64 / 127;
    });
    for (int64_t ms : {transpose, tempo, volume}) {
        EXPECT_GE(ms, 0);
        EXPECT_LE(ms, 200);
    }
    // Nothing changes before it is made: the notes before the transposition
    // still sound on their own key.
    EXPECT_EQ(-1, HeardAfter(entries, 0, [&](const MemorySink::Entry& e) {
                  return e.scheduledUs < changes[0] && e.kind == MidiSinkKind::Short && e.bytes[1] == 62;
              }));
    rig.sequencer->Stop();
    rig.sequencer->EndPlayback();
}

}  // namespace
