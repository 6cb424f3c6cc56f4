// Seeks and A-B loops through the real Sequencer and software stream. What
// was sent is read back from the capture file, as a user would play it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "midisink.h"
#include "playrig.h"
#include "sequencer.h"
#include "softmidistream.h"
#include "songbuilder.h"
#include "streamclock.h"
#include "voicemaphook.h"

namespace {

// 96 ticks per quarter at the default tempo: a tick lasts 5208.33 us, so
// 24 ticks are 125 ms.
constexpr uint64_t kUsPer24Ticks = 125000;

struct CaptureRig {
    explicit CaptureRig(bool fast = false)
    {
        tee.Add(&memory);
        tee.Add(&capture);
        stream = std::make_unique<SoftMidiStream>(fast ? static_cast<StreamClock*>(&fastClock) : &clock, &tee);
        sequencer = Sequencer::Create(stream.get(), &done);
    }
    ~CaptureRig()
    {
        sequencer.reset();
        stream.reset();
    }
    void Open(const std::vector<uint8_t>& song)
    {
        ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    }
    void Play(uint32_t startTick = 0)
    {
        ASSERT_EQ(kSeqOk, sequencer->Preroll(startTick, sequencer->Length()));
        ASSERT_EQ(kSeqOk, sequencer->Start());
        stream->WaitIdle();
    }
    void AdvanceTicks(uint64_t ticks)
    {
        clock.Advance(ticks * kUsPer24Ticks / 24);
        stream->WaitIdle();
    }
    void Finish()
    {
        ASSERT_TRUE(done.Wait(++ends));
        EXPECT_TRUE(sequencer->EndPlayback());
    }
    uint32_t Position()
    {
        uint32_t ticks = 0;
        EXPECT_EQ(kSeqOk, sequencer->Position(&ticks));
        return ticks;
    }
    // "tick:bytes" of every channel and system exclusive event of the
    // capture file; meta events left out.
    std::vector<std::string> Captured() const
    {
        const std::vector<uint8_t> file = capture.Build();
        std::unique_ptr<SmfReader> reader;
        EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(file.data(), file.size(), &reader));
        std::vector<std::string> out;
        if (!reader)
            return out;
        SmfEvent e;
        while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
            if (e.status == 0xFF)
                continue;
            std::vector<uint8_t> bytes(1, e.status);
            if (e.status == 0xF0) {
                for (uint32_t i = 0; i < e.length; ++i)
                    bytes.push_back(e.data[i]);
            } else {
                bytes.push_back(e.data1);
                const uint8_t kind = e.status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0)
                    bytes.push_back(e.data2);
            }
            out.push_back(std::to_string(e.tick) + ":" + Hex(bytes));
        }
        return out;
    }
    std::vector<uint32_t> TemposSent() const
    {
        std::vector<uint32_t> out;
        for (const MemorySink::Entry& e : memory.Entries()) {
            if (e.kind == MidiSinkKind::Tempo)
                out.push_back(e.tempo);
        }
        return out;
    }

    ManualStreamClock clock;
    FastStreamClock fastClock;
    MemorySink memory;
    CaptureSink capture;
    TeeSink tee;
    DoneSignal done;
    int ends = 0;  // "done" notices expected so far
    std::unique_ptr<SoftMidiStream> stream;
    std::unique_ptr<Sequencer> sequencer;
};

std::vector<std::string> From(const std::vector<std::string>& lines, size_t first)
{
    return std::vector<std::string>(lines.begin() + static_cast<long>(std::min(first, lines.size())), lines.end());
}

// A piano part with the sustain pedal, a bank and program, a bend.
std::vector<uint8_t> PedalSong()
{
    return BuildSong(0, 96, {Track()
                                 .Ev(0, {0xB0, 0, 1})
                                 .Program(0, 1, 5)
                                 .Ev(0, {0xB0, 7, 90})
                                 .Ev(0, {0xB0, 64, 127})
                                 .NoteOn(0, 1, 60, 100)
                                 .NoteOff(96, 1, 60)
                                 .NoteOn(0, 1, 62, 100)
                                 .Ev(54, {0xE0, 0, 0x50})
                                 .NoteOff(42, 1, 62)
                                 .NoteOn(0, 1, 64, 100)
                                 .Ev(96, {0xB0, 64, 0})
                                 .NoteOff(0, 1, 64)
                                 .NoteOn(96, 1, 65, 100)
                                 .NoteOff(96, 1, 65)
                                 .End(20)});
}

// ---- Seek -------------------------------------------------------------------

TEST(SequencerSeek, TurnsOffWhatSoundsThenSendsTheStateThenPlaysOnFromTheNewTick)
{
    CaptureRig rig;
    rig.Open(PedalSong());
    rig.Play();
    rig.AdvanceTicks(120);  // note 62 sounds, the pedal is down
    const size_t before = rig.Captured().size();
    ASSERT_EQ(kSeqOk, rig.sequencer->Seek(384));
    EXPECT_EQ(SequencerState::Playing, rig.sequencer->State());
    EXPECT_EQ(384u, rig.Position());
    rig.AdvanceTicks(24);
    EXPECT_EQ(408u, rig.Position()) << "the position display follows";
    rig.AdvanceTicks(200);
    rig.Finish();
    const std::vector<std::string> expected = {
        "120:80 3e 00",  // the stream's stop turns the sounding note off
        "120:b0 40 00",  // the pedal goes up
        // The state at tick 384: bank before program, the volume, the pedal
        // as the song left it before 384, the bend.
        "120:b0 00 01", "120:c0 05", "120:b0 07 5a", "120:b0 40 00", "120:e0 00 50",
        "120:90 41 64",  // the event at the new tick, at once
        "216:80 41 40",
    };
    EXPECT_EQ(expected, From(rig.Captured(), before));
}

TEST(SequencerSeek, APausedSongStaysPausedAtTheNewPlace)
{
    CaptureRig rig;
    rig.Open(PedalSong());
    rig.Play();
    rig.AdvanceTicks(48);
    ASSERT_EQ(kSeqOk, rig.sequencer->Pause());
    ASSERT_EQ(kSeqOk, rig.sequencer->Seek(192));
    EXPECT_EQ(SequencerState::Paused, rig.sequencer->State());
    rig.AdvanceTicks(96);
    EXPECT_EQ(192u, rig.Position()) << "time stands still while paused";
    const size_t held = rig.Captured().size();
    ASSERT_EQ(kSeqOk, rig.sequencer->Resume());
    rig.AdvanceTicks(96);
    EXPECT_EQ(288u, rig.Position());
    const std::vector<std::string> after = From(rig.Captured(), held);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ("48:b0 40 00", after.front()) << "the pedal and the state waited for Resume";
    EXPECT_NE(std::find(after.begin(), after.end(), "48:90 40 64"), after.end()) << "note 64 starts at tick 192";
    ASSERT_EQ(kSeqOk, rig.sequencer->Stop());
    rig.Finish();
}

TEST(SequencerSeek, PastTheEndIsTheEndAndTheSongFinishes)
{
    CaptureRig rig;
    rig.Open(PedalSong());
    rig.Play();
    rig.AdvanceTicks(10);
    ASSERT_EQ(kSeqOk, rig.sequencer->Seek(0xFFFFFFF0u));
    EXPECT_EQ(rig.sequencer->Length(), rig.Position());
    rig.AdvanceTicks(10);
    rig.Finish();
    EXPECT_EQ(SequencerState::Opened, rig.sequencer->State());
}

TEST(SequencerSeek, RefusedOutsidePlaybackAndAStateTooLargeLeavesTheSongOpened)
{
    CaptureRig rig;
    EXPECT_EQ(kSeqErrUnsupported, rig.sequencer->Seek(0));
    Track track;
    for (int channel = 0; channel < 16; ++channel)
        for (int controller = 1; controller < 96; ++controller)
            track.Ev(0, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(controller), 1});
    rig.Open(BuildSong(0, 96, {track.NoteOn(0, 1, 60, 1).NoteOff(96, 1, 60).End(96)}));
    EXPECT_EQ(kSeqErrUnsupported, rig.sequencer->Seek(10)) << "a stopped song starts from its beginning";
    rig.sequencer->SetPrerollLimit(16384);
    rig.Play();
    rig.AdvanceTicks(10);
    EXPECT_EQ(kSeqErrOutOfMemory, rig.sequencer->Seek(96));
    EXPECT_EQ(SequencerState::Opened, rig.sequencer->State());
    EXPECT_EQ(kSeqOk, rig.sequencer->Close());
}

// Regression guard: a song that had ended schedules its "done" notice; a
// seek back before it arrives makes it stale, and the song plays on.
TEST(SequencerSeek, ASeekAfterTheEndMakesTheDoneNoticeStale)
{
    CaptureRig rig;
    rig.Open(PedalSong());
    rig.Play(400);
    rig.AdvanceTicks(200);
    ASSERT_TRUE(rig.done.Wait(++rig.ends));
    ASSERT_EQ(kSeqOk, rig.sequencer->Seek(0));
    EXPECT_FALSE(rig.sequencer->EndPlayback()) << "the notice came from before the seek";
    EXPECT_EQ(SequencerState::Playing, rig.sequencer->State());
    rig.AdvanceTicks(600);
    rig.Finish();
    EXPECT_FALSE(rig.sequencer->EndPlayback()) << "one notice ends one playback";
}

// The state takes the same way as the song's own events: voice map and
// Track Volume apply to it.
class MoveToChannel2 : public VoiceMapHook {
public:
    void MapNote(ShortMessage*) override {}
    void MapController(ShortMessage* m) override { banks.push_back(m->data2); }
    uint32_t MapProgram(ShortMessage* m, uint32_t*, uint32_t) override
    {
        programBank = banks.empty() ? -1 : banks.back();
        m->data1 = static_cast<uint8_t>(m->data1 + 1);
        return 0;
    }
    void MapChannel(ShortMessage* m) override { m->status = static_cast<uint8_t>((m->status & 0xF0) | 1); }
    std::vector<uint8_t> banks;
    int programBank = -2;
};

TEST(SequencerSeek, TheStateGoesThroughTheVoiceMapAndTheTrackVolume)
{
    CaptureRig rig;
    MoveToChannel2 map;
    rig.sequencer->SetVoiceMap(&map);
    PlayAdjustSettings adjust;
    adjust.trackVolume = 64;
    rig.sequencer->SetAdjustments(adjust);
    rig.Open(BuildSong(0, 96, {Track().Ev(0, {0xB0, 0, 8}).Program(0, 1, 5).Ev(0, {0xB0, 7, 100})
                                   .NoteOn(96, 1, 60, 1).NoteOff(96, 1, 60).End()}));
    rig.Play(96);
    rig.AdvanceTicks(200);
    rig.Finish();
    const std::vector<std::string> expected = {"0:b1 00 08", "0:c1 06", "0:b1 07 32", "0:91 3c 01", "96:81 3c 40"};
    EXPECT_EQ(expected, rig.Captured());
    EXPECT_EQ(8, map.programBank) << "the program came after its bank";
}

TEST(SequencerSeek, AFreshPlaybackFromInsideTheSongSendsTheInjectionAtOnce)
{
    CaptureRig rig;
    rig.sequencer->SetMasterVolume(100);
    rig.Open(BuildSong(0, 96, {Track().Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).NoteOn(0, 1, 60, 1)
                                   .NoteOff(96, 1, 60).NoteOn(0, 1, 62, 1).NoteOff(96, 1, 62).End()}));
    rig.Play(96);
    rig.AdvanceTicks(30);
    // A seek while playing sends no injection again.
    ASSERT_EQ(kSeqOk, rig.sequencer->Seek(100));
    rig.AdvanceTicks(200);
    rig.Finish();
    const std::vector<std::string> captured = rig.Captured();
    ASSERT_FALSE(captured.empty());
    EXPECT_EQ("0:f0 7f 7f 04 01 00 63 f7", captured.front());
    EXPECT_EQ(1, std::count_if(captured.begin(), captured.end(),
                               [](const std::string& s) { return s.find("f0 7f 7f 04") != std::string::npos; }));
}

// ---- Loops ------------------------------------------------------------------

// Two notes in a passage from 96 to 288, with the pedal down at its end.
std::vector<uint8_t> LoopSong()
{
    return BuildSong(0, 96, {Track()
                                 .Program(0, 1, 1)
                                 .NoteOn(0, 1, 48, 90)
                                 .NoteOff(96, 1, 48)
                                 .NoteOn(0, 1, 60, 90)  // 96: the loop's start
                                 .Ev(0, {0xB0, 64, 127})
                                 .NoteOn(48, 1, 64, 90)
                                 .NoteOff(48, 1, 60)
                                 .NoteOn(48, 1, 67, 90)  // 240: still sounding at the end
                                 .NoteOff(96, 1, 64)     // 336
                                 .NoteOff(0, 1, 67)
                                 .Ev(0, {0xB0, 64, 0})
                                 .End(20)});
}

struct NoteBalance {
    std::map<std::string, int> open;  // "channel key" -> note-ons not yet released
    bool AllReleased() const
    {
        for (const auto& [key, count] : open) {
            if (count > 0)
                return false;
        }
        return true;
    }
    void Take(const std::string& line)
    {
        const std::string bytes = line.substr(line.find(':') + 1);
        if (bytes.size() < 8)
            return;
        const int status = std::stoi(bytes.substr(0, 2), nullptr, 16);
        const std::string key = bytes.substr(1, 1) + bytes.substr(2, 3);
        const int velocity = std::stoi(bytes.substr(6, 2), nullptr, 16);
        if ((status & 0xF0) == 0x90 && velocity > 0)
            ++open[key];
        else if ((status & 0xF0) == 0x80 || (status & 0xF0) == 0x90)
            open[key] = std::max(0, open[key] - 1);
    }
};

int TickOf(const std::string& line)
{
    return std::stoi(line.substr(0, line.find(':')));
}

TEST(SequencerLoop, NRepetitionsHoldThePassageNTimesWithEveryNoteReleasedBeforeEachJump)
{
    CaptureRig rig(true);
    rig.Open(LoopSong());
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(96, 288, 3));
    rig.Play(96);
    ASSERT_TRUE(rig.done.Wait(1));
    EXPECT_EQ(3u, rig.sequencer->Loop().repetition);
    EXPECT_TRUE(rig.sequencer->EndPlayback());
    const std::vector<std::string> captured = rig.Captured();

    // The passage lasts 192 ticks: its notes come at 0, 48, 144 of each time.
    std::vector<int> noteOnTicks;
    for (const std::string& line : captured) {
        if (line.find(":90 ") != std::string::npos)
            noteOnTicks.push_back(TickOf(line));
    }
    EXPECT_EQ((std::vector<int>{0, 48, 144, 192, 240, 336, 384, 432, 528}), noteOnTicks);

    // Before each jump (at 192 and 384) every note-on has its note-off, and
    // the pedal, down at the loop's end, goes up.
    for (int jump : {192, 384}) {
        NoteBalance balance;
        bool pedalUp = false;
        for (const std::string& line : captured) {
            if (TickOf(line) > jump || line == std::to_string(jump) + ":90 3c 5a")
                break;
            balance.Take(line);
            pedalUp = pedalUp || line == std::to_string(jump) + ":b0 40 00";
        }
        EXPECT_TRUE(balance.AllReleased()) << "a note hangs at the jump at " << jump;
        EXPECT_TRUE(pedalUp) << "the pedal stays down at the jump at " << jump;
    }
    // After the third time the song goes on to its end.
    ASSERT_GE(captured.size(), 3u);
    EXPECT_EQ("624:80 40 40", captured[captured.size() - 3]);
}

TEST(SequencerLoop, TheJumpSendsTheStateAtTheLoopStartAfterTheReleases)
{
    CaptureRig rig(true);
    rig.Open(LoopSong());
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(96, 288, 2));
    rig.Play(96);
    rig.Finish();
    const std::vector<std::string> captured = rig.Captured();
    const auto jump = std::find(captured.begin(), captured.end(), "192:80 40 00");
    ASSERT_NE(jump, captured.end()) << "note 64 is released at the jump";
    const std::vector<std::string> expected = {
        "192:80 40 00", "192:80 43 00",  // the sounding notes, in key order
        "192:b0 40 00",                  // the pedal
        "192:c0 01", "192:b0 40 00",     // the state at 96: program, pedal not yet down
        "192:80 30 40", "192:90 3c 5a", "192:b0 40 7f",  // the passage again
    };
    EXPECT_EQ(expected, std::vector<std::string>(jump, jump + static_cast<long>(expected.size())));
}

TEST(SequencerLoop, TheTempoSliderWorksInTheLoop)
{
    CaptureRig rig(true);
    PlayAdjustSettings adjust;
    adjust.tempoPercent = -50;  // half speed
    rig.sequencer->SetAdjustments(adjust);
    rig.Open(BuildSong(0, 96, {Track().Tempo(0, 400000).NoteOn(0, 1, 60, 1).NoteOff(96, 1, 60).Tempo(0, 300000)
                                   .NoteOn(0, 1, 62, 1).NoteOff(96, 1, 62).End()}));
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(48, 144, 2));
    rig.Play();
    rig.Finish();
    // The stream's default at half speed, the song's 400000 at half speed,
    // then at 96 its 300000; the jump back to 48 brings 400000 again, then
    // 300000 at 96 once more.
    EXPECT_EQ((std::vector<uint32_t>{1000000, 800000, 600000, 800000, 600000}), rig.TemposSent());
}

TEST(SequencerLoop, PositionAndRepetitionFollowThePlaying)
{
    CaptureRig rig;
    rig.Open(LoopSong());
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(96, 288, 0));
    rig.Play(240);
    EXPECT_EQ(1u, rig.sequencer->Loop().repetition);
    rig.AdvanceTicks(24);
    EXPECT_EQ(264u, rig.Position());
    rig.AdvanceTicks(48);  // 24 ticks past the end: 24 into the passage
    EXPECT_EQ(120u, rig.Position());
    EXPECT_EQ(2u, rig.sequencer->Loop().repetition);
    for (int i = 0; i < 10; ++i)
        rig.AdvanceTicks(192);
    EXPECT_EQ(120u, rig.Position()) << "an endless loop goes on";
    EXPECT_EQ(12u, rig.sequencer->Loop().repetition);
    rig.sequencer->ClearLoop();
    rig.AdvanceTicks(192);
    EXPECT_EQ(312u, rig.Position()) << "cleared, the song plays through the end";
    EXPECT_FALSE(rig.sequencer->Loop().on);
    rig.AdvanceTicks(200);
    rig.Finish();
}

TEST(SequencerLoop, BadPassagesAreRefusedAndTheEndIsClamped)
{
    CaptureRig rig;
    EXPECT_EQ(kSeqErrUnsupported, rig.sequencer->SetLoop(0, 10, 1)) << "no song";
    rig.Open(LoopSong());
    EXPECT_EQ(kSeqErrOutOfRange, rig.sequencer->SetLoop(200, 100, 1)) << "end before start";
    EXPECT_EQ(kSeqErrOutOfRange, rig.sequencer->SetLoop(100, 100, 1)) << "zero length";
    const uint32_t length = rig.sequencer->Length();
    EXPECT_EQ(kSeqErrOutOfRange, rig.sequencer->SetLoop(length, length + 50, 1)) << "nothing left after the end";
    EXPECT_FALSE(rig.sequencer->Loop().on);
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(300, 0xFFFFFFFFu, 2));
    EXPECT_EQ(length, rig.sequencer->Loop().endTick);
    ASSERT_EQ(kSeqOk, rig.sequencer->Close());
    EXPECT_FALSE(rig.sequencer->Loop().on) << "a loop belongs to its song";
}

// A loop of one tick with nothing in it jumps at every tick: the stream
// still moves on, and stopping works.
TEST(SequencerLoop, ATinyEmptyLoopNeverHangs)
{
    CaptureRig rig;
    rig.Open(LoopSong());
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(340, 341, 0));
    rig.Play(340);
    rig.AdvanceTicks(500);
    EXPECT_EQ(340u, rig.Position());
    EXPECT_GT(rig.sequencer->Loop().repetition, 100u);
    ASSERT_EQ(kSeqOk, rig.sequencer->Stop());
    rig.Finish();
}

TEST(SequencerLoop, ATransposedNoteIsReleasedWhereItSounds)
{
    CaptureRig rig(true);
    PlayAdjustSettings adjust;
    adjust.transpose = 2;
    rig.sequencer->SetAdjustments(adjust);
    rig.Open(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).NoteOff(200, 1, 60).End()}));
    ASSERT_EQ(kSeqOk, rig.sequencer->SetLoop(0, 96, 2));
    rig.Play();
    rig.Finish();
    const std::vector<std::string> expected = {"0:90 3e 01", "96:80 3e 00", "96:90 3e 01", "296:80 3e 40"};
    EXPECT_EQ(expected, rig.Captured());
}

}  // namespace
