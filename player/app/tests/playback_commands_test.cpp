#include "playback_commands.h"

#include <gtest/gtest.h>

#include "command_ids.h"
#include "playrig.h"
#include "songbuilder.h"

namespace zub {
namespace {

// A software stream whose start or stop can be refused, as a device that
// went away refuses them.
class RefusingStream : public SoftMidiStream {
public:
    using SoftMidiStream::SoftMidiStream;
    bool refuseRestart = false;
    bool refuseStop = false;
    uint32_t Restart() override { return refuseRestart ? kMidiErrError : SoftMidiStream::Restart(); }
    uint32_t Stop() override { return refuseStop ? kMidiErrError : SoftMidiStream::Stop(); }
};

struct Rig {
    Rig()
    {
        song = BuildSong(0, 96, {Track().Program(0, 1, 0).NoteOn(0, 1, 60, 100).NoteOff(96000, 1, 60).End()});
        EXPECT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    }
    // The sequencer drains and closes whatever stream is still open.
    ~Rig() { stream.refuseStop = false; }
    // Real time, so that the long song is still playing when stopped.
    SteadyStreamClock clock;
    MemorySink sink;
    RefusingStream stream{&clock, &sink};
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    std::vector<uint8_t> song;
};

TEST(PlaybackCommands, PlayPauseAndStopReportNothingWhenAllGoesWell)
{
    Rig rig;
    EXPECT_FALSE(PlayFromStart(*rig.sequencer, 3));
    EXPECT_EQ(3, rig.sequencer->Device());
    EXPECT_EQ(SequencerState::Playing, rig.sequencer->State());
    PauseOrResume(*rig.sequencer);
    EXPECT_EQ(SequencerState::Paused, rig.sequencer->State());
    PauseOrResume(*rig.sequencer);
    EXPECT_EQ(SequencerState::Playing, rig.sequencer->State());
    EXPECT_FALSE(StopPlayback(*rig.sequencer));
    EXPECT_EQ(SequencerState::Stopping, rig.sequencer->State());
}

TEST(PlaybackCommands, ARefusedStartIsAPrerollFailure)
{
    Rig rig;
    rig.stream.refuseRestart = true;
    const PlaybackReport report = PlayFromStart(*rig.sequencer, kMidiMapper);
    EXPECT_EQ(IDS_PREROLL_FAILED, report.stringId);
    EXPECT_NE(kSeqOk, report.result);
    EXPECT_EQ(SequencerState::Opened, rig.sequencer->State()) << "the song stays open for another try";
}

// Regression: the Stop command ignored a stop the output refused, so the
// user was never told that the song kept playing.
TEST(PlaybackCommands, ARefusedStopIsReported)
{
    Rig rig;
    ASSERT_FALSE(PlayFromStart(*rig.sequencer, kMidiMapper));
    rig.stream.refuseStop = true;
    const PlaybackReport report = StopPlayback(*rig.sequencer);
    EXPECT_EQ(IDS_STOP_FAILED, report.stringId);
    EXPECT_EQ(kSeqErrNotReady, report.result);
}

TEST(PlaybackCommands, StopWithoutPlaybackDoesNothing)
{
    Rig rig;
    EXPECT_FALSE(StopPlayback(*rig.sequencer));
    EXPECT_EQ(SequencerState::Opened, rig.sequencer->State());
}

}  // namespace
}  // namespace zub
