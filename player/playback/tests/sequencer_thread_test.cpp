// The Sequencer between the user-interface thread and the stream's thread:
// a stop that meets a refill in flight, and what the callback may still do
// once a stop has returned.
#include "sequencer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "playrig.h"
#include "songbuilder.h"
#include "voicemaphook.h"

namespace {

// Guard time for a wait that only ends early when something is broken.
constexpr auto kHangGuard = std::chrono::seconds(10);

// Hands every call to a SoftMidiStream and tells who waits when the
// Sequencer has asked the stream to stop.
class StopWatchPort : public MidiStreamPort {
public:
    explicit StopWatchPort(SoftMidiStream& inner) : inner_(inner) {}
    uint32_t Open(int device, MidiDoneCallback callback, void* context) override
    {
        return inner_.Open(device, callback, context);
    }
    bool IsOpen() const override { return inner_.IsOpen(); }
    uint32_t SetTimeDivision(uint32_t division) override { return inner_.SetTimeDivision(division); }
    uint32_t Prepare(MidiBuffer* buffer) override { return inner_.Prepare(buffer); }
    uint32_t Unprepare(MidiBuffer* buffer) override { return inner_.Unprepare(buffer); }
    uint32_t Queue(MidiBuffer* buffer) override { return inner_.Queue(buffer); }
    uint32_t Restart() override { return inner_.Restart(); }
    uint32_t Pause() override { return inner_.Pause(); }
    uint32_t Stop() override
    {
        const uint32_t result = inner_.Stop();
        stopped_.set_value();
        return result;
    }
    uint32_t Position(uint32_t* ticks) override { return inner_.Position(ticks); }
    uint32_t Reset() override { return inner_.Reset(); }
    uint32_t Close() override { return inner_.Close(); }

    std::shared_future<void> Stopped() { return stoppedFuture_; }

private:
    SoftMidiStream& inner_;
    std::promise<void> stopped_;
    std::shared_future<void> stoppedFuture_ = stopped_.get_future().share();
};

// Once armed, the next note it sees (on the stream's thread, while a
// returned buffer is refilled) holds the refill until the stream has been
// told to stop.
class RefillGate : public VoiceMapHook {
public:
    explicit RefillGate(std::shared_future<void> stopped) : stopped_(std::move(stopped)) {}
    void Arm() { armed_ = true; }
    std::future<void> Entered() { return entered_.get_future(); }

    void MapNote(ShortMessage*) override
    {
        if (!armed_.exchange(false))
            return;
        entered_.set_value();
        stopped_.wait_for(kHangGuard);
    }
    void MapController(ShortMessage*) override {}
    uint32_t MapProgram(ShortMessage*, uint32_t*, uint32_t) override { return 0; }
    void MapChannel(ShortMessage*) override {}

private:
    std::shared_future<void> stopped_;
    std::atomic<bool> armed_{false};
    std::promise<void> entered_;
};

std::vector<uint8_t> LongSong()
{
    Track track;
    for (int i = 0; i < 400; ++i)
        track.NoteOn(10, 1, 60, 90).NoteOff(10, 1, 60);
    return BuildSong(0, 96, {track.End()});
}

TEST(SequencerThreads, StopDuringARefillReturnsEveryBuffer)
{
    FastStreamClock clock;
    SoftMidiStream stream(&clock, nullptr);
    StopWatchPort port(stream);
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&port, &done);
    RefillGate gate(port.Stopped());
    std::future<void> entered = gate.Entered();
    sequencer->SetVoiceMap(&gate);

    const std::vector<uint8_t> song = LongSong();
    ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
    gate.Arm();
    ASSERT_EQ(kSeqOk, sequencer->Start());
    ASSERT_EQ(std::future_status::ready, entered.wait_for(kHangGuard)) << "no buffer came back to be refilled";

    // The refill goes on only after the stream was told to stop: the buffer
    // it fills must not be queued to the stopped stream, where it would stay.
    std::future<uint32_t> stop = std::async(std::launch::async, [&] { return sequencer->Stop(); });
    const bool returned = stop.wait_for(kHangGuard) == std::future_status::ready;
    if (!returned)
        stream.Restart();  // lets the stranded buffer play out, so the test can end
    EXPECT_TRUE(returned) << "Stop waited for a buffer that was queued after the stream stopped";
    EXPECT_EQ(kSeqOk, stop.get());
    ASSERT_TRUE(done.Wait());
    EXPECT_EQ(SequencerState::Stopping, sequencer->State());
    sequencer->EndPlayback();
    EXPECT_EQ(SequencerState::Opened, sequencer->State());
}

// Takes its time to deliver the notice, as a busy thread might.
class SlowNotice : public SequencerNotify {
public:
    void ScheduleDone(uint32_t) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ++count;
    }
    std::atomic<int> count{0};
};

TEST(SequencerThreads, StopReturnsOnlyWhenTheCallbackIsDoneWithTheSequencer)
{
    ManualStreamClock clock;
    SoftMidiStream stream(&clock, nullptr);
    SlowNotice notice;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &notice);
    const std::vector<uint8_t> song = LongSong();
    ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
    ASSERT_EQ(kSeqOk, sequencer->Start());
    ASSERT_EQ(kSeqOk, sequencer->Stop());
    // The player may free the Sequencer as soon as Stop has returned, so the
    // last callback must have finished its notice by then.
    EXPECT_EQ(1, notice.count.load());
    sequencer.reset();
    EXPECT_EQ(1, notice.count.load());
}

}  // namespace
