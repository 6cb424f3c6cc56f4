#include "playadjust.h"

#include <gtest/gtest.h>

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
    filler.Start(*reader, 0);
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

}  // namespace
