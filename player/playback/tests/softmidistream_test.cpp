#include "softmidistream.h"

#include <gtest/gtest.h>

#include "playrig.h"
#include "songbuilder.h"
#include "streamrecords.h"

namespace {

TEST(SoftMidiStreamTiming, EventsComeOutExactlyWhenDue)
{
    ManualRig rig;
    rig.Start(BuildSong(0, 96, {Track().NoteOn(96, 1, 60, 1).Tempo(0, 250000).NoteOn(96, 1, 62, 1).End()}));
    rig.Advance(499999);
    EXPECT_TRUE(Sent(rig.sink.Entries()).empty());
    rig.Advance(1);
    EXPECT_EQ((std::vector<std::string>{"96:90 3c 01"}), Sent(rig.sink.Entries()));
    // After the tempo change a quarter note lasts 250 ms.
    rig.Advance(249999);
    EXPECT_EQ(1u, Sent(rig.sink.Entries()).size());
    rig.Advance(1);
    const std::vector<MemorySink::Entry> entries = rig.sink.Entries();
    ASSERT_EQ(2u, Sent(entries).size());
    // (No-operation records of the silence between them come out when the
    // clock jumps past them.)
    for (const MemorySink::Entry& e : entries) {
        if (e.kind != MidiSinkKind::Nop) {
            EXPECT_EQ(e.scheduledUs, e.actualUs) << e.tick;
        }
    }
    EXPECT_EQ(750000u, entries.back().scheduledUs);
    ASSERT_TRUE(rig.done.Wait());
    rig.sequencer->EndPlayback();
}

TEST(SoftMidiStreamTiming, TimeCodeDivisionIgnoresTempo)
{
    ManualRig rig;
    rig.Start(BuildSong(0, 0xE728, {Track().Tempo(0, 100000).NoteOn(1000, 1, 60, 1).End()}));
    rig.Advance(999999);
    EXPECT_TRUE(Sent(rig.sink.Entries()).empty());
    rig.Advance(1);
    EXPECT_EQ((std::vector<std::string>{"1000:90 3c 01"}), Sent(rig.sink.Entries()));
}

TEST(SoftMidiStreamTransport, PositionPauseAndResume)
{
    ManualRig rig;
    rig.Start(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).NoteOn(192, 1, 62, 1).End()}));
    rig.Advance(250000);
    EXPECT_EQ(48u, rig.Position());
    ASSERT_EQ(kSeqOk, rig.sequencer->Pause());
    rig.Advance(5000000);
    EXPECT_EQ(48u, rig.Position()) << "time stands still while paused";
    EXPECT_EQ(1u, Sent(rig.sink.Entries()).size());
    ASSERT_EQ(kSeqOk, rig.sequencer->Resume());
    rig.Advance(749999);
    EXPECT_EQ(1u, Sent(rig.sink.Entries()).size());
    rig.Advance(1);
    const std::vector<MemorySink::Entry> entries = rig.sink.Entries();
    EXPECT_EQ(2u, Sent(entries).size());
    EXPECT_EQ(6000000u, entries.back().actualUs);
    EXPECT_EQ(192u, rig.Position());
}

TEST(SoftMidiStreamTransport, StopWhilePausedTurnsNotesOffAndReturnsEveryBuffer)
{
    ManualRig rig;
    std::vector<uint8_t> filler(4000, 0x10);
    filler.push_back(0xF7);
    rig.Start(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).NoteOn(0, 2, 64, 1).NoteOff(10, 2, 64)
                                    .Sysex(1000, filler).NoteOn(0, 1, 62, 1).End()}));
    rig.Advance(200000);
    ASSERT_EQ(kSeqOk, rig.sequencer->Pause());
    ASSERT_EQ(kSeqOk, rig.sequencer->Stop());
    EXPECT_EQ(SequencerState::Stopping, rig.sequencer->State());
    ASSERT_TRUE(rig.done.Wait());
    EXPECT_EQ(5u, rig.done.LastDelay());
    rig.stream.WaitIdle();
    const std::vector<std::string> sent = Sent(rig.sink.Entries());
    EXPECT_EQ((std::vector<std::string>{"0:90 3c 01", "0:91 40 01", "10:81 40 40", "38:80 3c 00"}), sent)
        << "only the note still sounding is turned off, at the stop's tick";
    rig.sequencer->EndPlayback();
    EXPECT_EQ(SequencerState::Opened, rig.sequencer->State());
    EXPECT_EQ(0u, rig.sequencer->LastError());
}

TEST(SoftMidiStreamTransport, ResetReturnsAllQueuedBuffersInOrder)
{
    struct Returned {
        std::vector<MidiBuffer*> buffers;
        static void Done(MidiBuffer* b, void* self) { static_cast<Returned*>(self)->buffers.push_back(b); }
    } returned;
    ManualStreamClock clock;
    SoftMidiStream stream(&clock, nullptr);
    ASSERT_EQ(kMidiOk, stream.Open(kMidiMapper, &Returned::Done, &returned));
    ASSERT_EQ(kMidiOk, stream.SetTimeDivision(96));
    uint8_t data[3][24] = {};
    MidiBuffer buffers[3];
    for (int i = 0; i < 3; ++i) {
        buffers[i].data = data[i];
        buffers[i].size = 24;
        PutMidiRecord(&buffers[i], 96, kMidiEventNop);
        EXPECT_EQ(kMidiErrUnprepared, stream.Queue(&buffers[i]));
        ASSERT_EQ(kMidiOk, stream.Prepare(&buffers[i]));
        ASSERT_EQ(kMidiOk, stream.Queue(&buffers[i]));
    }
    EXPECT_EQ(kMidiErrStillPlaying, stream.Unprepare(&buffers[0]));
    ASSERT_EQ(kMidiOk, stream.Restart());
    clock.Advance(500000);
    stream.WaitIdle();
    EXPECT_EQ(1u, returned.buffers.size());
    ASSERT_EQ(kMidiOk, stream.Reset());
    stream.WaitIdle();
    EXPECT_EQ((std::vector<MidiBuffer*>{&buffers[0], &buffers[1], &buffers[2]}), returned.buffers);
    uint32_t ticks = 99;
    ASSERT_EQ(kMidiOk, stream.Position(&ticks));
    EXPECT_EQ(0u, ticks);
    EXPECT_EQ(kMidiOk, stream.Unprepare(&buffers[0]));
    EXPECT_EQ(kMidiOk, stream.Close());
    EXPECT_EQ(kMidiErrInvalidHandle, stream.Queue(&buffers[0]));
}

// ---- Capture --------------------------------------------------------------

std::vector<std::string> MergedText(const std::vector<uint8_t>& song, bool channelAndExclusiveOnly)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    std::vector<std::string> out;
    if (!reader)
        return out;
    SmfEvent e;
    while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
        std::vector<uint8_t> bytes = {e.status, e.data1};
        if (e.status >= 0xF0) {
            for (uint32_t i = 0; i < e.length; ++i)
                bytes.push_back(e.data[i]);
        } else if ((e.status & 0xE0) != 0xC0) {
            bytes.push_back(e.data2);
        }
        if (channelAndExclusiveOnly && e.status == 0xFF && e.data1 != 0x51)
            continue;
        out.push_back(std::to_string(e.tick) + ":" + Hex(bytes));
    }
    out.push_back("length " + std::to_string(reader->Length()));
    return out;
}

TEST(SoftMidiStreamCapture, ACaptureReplaysTheSongAtTheSameTicks)
{
    std::vector<uint8_t> big(1500, 0x55);
    big.push_back(0xF7);
    const std::vector<uint8_t> song =
        BuildSong(1, 384, {Track().Tempo(0, 600000).Meta(0, 3, {'t'}).Tempo(700, 450000).End(2000),
                           Track().Program(0, 1, 4).NoteOn(10, 1, 60, 90).Sysex(5, big).Ev(100, {0xE0, 0, 64})
                               .NoteOff(600, 1, 60).End(33)});
    FastStreamClock clock;
    CaptureSink capture;
    SoftMidiStream stream(&clock, &capture);
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
    ASSERT_EQ(kSeqOk, sequencer->Start());
    ASSERT_TRUE(done.Wait());
    sequencer->EndPlayback();
    const std::vector<uint8_t> captured = capture.Build();
    EXPECT_EQ(MergedText(song, true), MergedText(captured, true));
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(captured.data(), captured.size(), &reader));
    EXPECT_EQ(0, reader->Format());
    EXPECT_EQ(384, reader->Division());
}

TEST(SoftMidiStreamCapture, StreamsOneAfterAnotherFollowEachOther)
{
    CaptureSink capture;
    capture.OnTimeDivision(96);
    const uint8_t on[3] = {0x90, 60, 1};
    capture.OnEvent({MidiSinkKind::Short, 10, 0, 0, on, 3, 0});
    capture.OnEvent({MidiSinkKind::Nop, 50, 0, 0, nullptr, 0, 0});
    capture.OnTimeDivision(96);
    capture.OnEvent({MidiSinkKind::Short, 5, 0, 0, on, 3, 0});
    const std::vector<uint8_t> file = capture.Build();
    EXPECT_EQ((std::vector<std::string>{"10:90 3c 01", "55:90 3c 01", "length 55"}), MergedText(file, true));
}

// A playlist's song gap: the two seconds between songs stay in the capture.
TEST(SoftMidiStreamCapture, TheTimeBetweenStreamsStaysInTheCapture)
{
    CaptureSink capture;
    const uint8_t on[3] = {0x90, 60, 1};
    capture.OnTimeDivision(96);  // 96 ticks = 500 ms at the default tempo
    capture.OnEvent({MidiSinkKind::Short, 96, 500000, 500000, on, 3, 0});
    capture.OnEvent({MidiSinkKind::Nop, 192, 1000000, 1000000, nullptr, 0, 0});
    capture.OnTimeDivision(96);
    capture.OnEvent({MidiSinkKind::Short, 96, 3500000, 3500000, on, 3, 0});  // 2 s pause, then 500 ms in
    EXPECT_EQ((std::vector<std::string>{"96:90 3c 01", "672:90 3c 01", "length 672"}), MergedText(capture.Build(), true));
}

// The milliseconds of every note-on of a song, as its own tempo map has them.
std::vector<uint32_t> NoteOnTimes(const std::vector<uint8_t>& song)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    std::vector<uint32_t> out;
    SmfEvent e;
    while (reader && reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
        if ((e.status & 0xF0) == 0x90)
            out.push_back(reader->TicksToMs(e.tick));
    }
    return out;
}

// Regression: the capture kept the first song's division and copied the
// next songs' ticks as they were, so a song of 480 ticks per quarter after
// one of 120 played four times as slow.
TEST(SoftMidiStreamCapture, SongsOfOtherDivisionsAndTemposKeepTheirTiming)
{
    const std::vector<uint8_t> songs[] = {
        BuildSong(0, 120, {Track().Tempo(0, 600000).NoteOn(0, 1, 60, 1).NoteOn(120, 1, 62, 1).End(240)}),
        BuildSong(1, 480, {Track().Tempo(0, 250000).Tempo(960, 1000000).End(),
                           Track().NoteOn(480, 2, 64, 1).NoteOn(960, 2, 65, 1).NoteOn(480, 2, 67, 1).End(480)}),
        BuildSong(0, 0xE728, {Track().Tempo(0, 100000).NoteOn(500, 3, 69, 1).NoteOn(1000, 3, 71, 1).End(500)}),
        BuildSong(0, 96, {Track().NoteOn(96, 4, 72, 1).End(96)}),
    };
    FastStreamClock clock;
    CaptureSink capture;
    SoftMidiStream stream(&clock, &capture);
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    std::vector<uint32_t> expected;
    uint32_t songStart = 0;
    for (const std::vector<uint8_t>& song : songs) {
        ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
        for (uint32_t ms : NoteOnTimes(song))
            expected.push_back(songStart + ms);
        songStart += sequencer->TicksToMs(sequencer->Length());
        const int before = done.Count();
        ASSERT_EQ(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
        ASSERT_EQ(kSeqOk, sequencer->Start());
        ASSERT_TRUE(done.Wait(before + 1));
        sequencer->EndPlayback();
        ASSERT_EQ(kSeqOk, sequencer->Close());
    }
    const std::vector<uint8_t> captured = capture.Build();
    const std::vector<uint32_t> heard = NoteOnTimes(captured);
    ASSERT_EQ(expected.size(), heard.size());
    for (size_t i = 0; i < heard.size(); ++i)
        EXPECT_NEAR(expected[i], heard[i], 1.0) << "note " << i;
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(captured.data(), captured.size(), &reader));
    EXPECT_EQ(120, reader->Division());
    EXPECT_NEAR(songStart, reader->TicksToMs(reader->Length()), 1.0) << "the capture lasts as long as the songs";
}

// A capture that starts with a time-code song counts in frames; songs in
// quarter notes after it keep their tempo changes.
TEST(SoftMidiStreamCapture, ATimeCodeCaptureTakesSongsInQuarterNotes)
{
    CaptureSink capture;
    const uint8_t on[3] = {0x90, 60, 1};
    capture.OnTimeDivision(0xE728);  // 25 frames of 40 ticks: 1 tick = 1 ms
    capture.OnEvent({MidiSinkKind::Short, 1000, 0, 0, on, 3, 0});
    capture.OnTimeDivision(96);
    capture.OnEvent({MidiSinkKind::Short, 96, 0, 0, on, 3, 0});  // 500 ms at the default tempo
    capture.OnEvent({MidiSinkKind::Tempo, 96, 0, 0, nullptr, 0, 1000000});
    capture.OnEvent({MidiSinkKind::Short, 192, 0, 0, on, 3, 0});  // 1000 ms later
    EXPECT_EQ((std::vector<std::string>{"1000:90 3c 01", "1500:90 3c 01", "1500:ff 51 0f 42 40", "2500:90 3c 01",
                                        "length 2500"}),
              MergedText(capture.Build(), true));
}

// ---- Real time --------------------------------------------------------------

TEST(SoftMidiStreamRealTime, PlaysAShortSongOnTheSteadyClock)
{
    MemorySink sink;
    SoftMidiStream stream(nullptr, &sink);
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    const std::vector<uint8_t> song =
        BuildSong(0, 480, {Track().Tempo(0, 100000).NoteOn(0, 1, 60, 100).NoteOff(240, 1, 60).NoteOn(0, 1, 64, 100)
                               .NoteOff(240, 1, 64).End()});
    ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
    ASSERT_EQ(kSeqOk, sequencer->Start());
    ASSERT_TRUE(done.Wait());
    sequencer->EndPlayback();
    const std::vector<MemorySink::Entry> entries = sink.Entries();
    EXPECT_EQ((std::vector<std::string>{"0:90 3c 64", "240:80 3c 40", "240:90 40 64", "480:80 40 40"}), Sent(entries));
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_GE(entries[i].actualUs, entries[i - 1].actualUs);
    for (const MemorySink::Entry& e : entries)
        EXPECT_GE(e.actualUs, e.scheduledUs) << "nothing is played early";
}

}  // namespace
