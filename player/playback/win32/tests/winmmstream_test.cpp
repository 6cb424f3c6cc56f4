// WinMmStream against the real multimedia services. Under Wine without
// sound hardware there is no output device: opening must fail cleanly, and
// the player then falls back to the software stream, tested here too.
#include "winmmstream.h"

#include <gtest/gtest.h>

#include "playrig.h"
#include "songbuilder.h"

namespace {

struct Counter {
    int returned = 0;
    static void Done(MidiBuffer*, void* self) { ++static_cast<Counter*>(self)->returned; }
};

TEST(WinMmStream, OperationsOnAClosedStreamFail)
{
    WinMmStream stream;
    uint32_t ticks = 0;
    MidiBuffer buffer;
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(static_cast<uint32_t>(MMSYSERR_INVALHANDLE), stream.Restart());
    EXPECT_EQ(static_cast<uint32_t>(MMSYSERR_INVALHANDLE), stream.Position(&ticks));
    EXPECT_EQ(static_cast<uint32_t>(MMSYSERR_INVALHANDLE), stream.Queue(&buffer));
    EXPECT_EQ(static_cast<uint32_t>(MMSYSERR_INVALHANDLE), stream.Close());
}

TEST(WinMmStream, PlaysOnTheMapperOrReportsWhyNot)
{
    WinMmStream stream;
    Counter counter;
    const uint32_t opened = stream.Open(kMidiMapper, &Counter::Done, &counter);
    if (midiOutGetNumDevs() == 0) {
        // No device: the open fails with a platform code and nothing is left open.
        EXPECT_NE(kMidiOk, opened);
        EXPECT_FALSE(stream.IsOpen());
        return;
    }
    ASSERT_EQ(kMidiOk, opened);
    EXPECT_EQ(kMidiOk, stream.SetTimeDivision(96));
    uint8_t data[64] = {};
    MidiBuffer buffer;
    buffer.data = data;
    buffer.size = sizeof data;
    ASSERT_EQ(kMidiOk, stream.Prepare(&buffer));
    ASSERT_EQ(kMidiOk, stream.Queue(&buffer));
    EXPECT_EQ(kMidiOk, stream.Stop());
    EXPECT_EQ(kMidiOk, stream.Unprepare(&buffer));
    EXPECT_EQ(kMidiOk, stream.Close());
}

TEST(WinMmStream, SequencerReportsAFailedOpenAsAPrerollError)
{
    WinMmStream stream;
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    if (midiOutGetNumDevs() != 0)
        GTEST_SKIP() << "a MIDI output exists";
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).End(10)});
    ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    sequencer->SetDevice(kMidiMapper);
    EXPECT_NE(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
    EXPECT_EQ(SequencerState::Opened, sequencer->State());
    EXPECT_EQ(kSeqOk, sequencer->Close());
}

TEST(WinMmStream, SoftwareStreamPlaysUnderWindows)
{
    FastRig rig;
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().Program(0, 1, 5).NoteOn(0, 1, 60, 100).NoteOff(96, 1, 60)
                                                      .End()})));
    EXPECT_EQ((std::vector<std::string>{"0:c0 05", "0:90 3c 64", "96:80 3c 40"}), Sent(rig.sink.Entries()));
}

}  // namespace
