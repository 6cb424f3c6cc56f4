#include "sequencer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "bufferfill.h"
#include "playrig.h"
#include "songbuilder.h"
#include "streamrecords.h"
#include "voicemaphook.h"

namespace {

std::vector<uint8_t> ShortSong()
{
    return BuildSong(0, 96, {Track().Program(0, 1, 0).NoteOn(0, 1, 60, 100).NoteOff(96, 1, 60).End()});
}

// ---- States and results -------------------------------------------------

TEST(SequencerStates, RequestsInTheWrongStateGive274AndChangeNothing)
{
    FastRig rig;
    Sequencer& s = *rig.sequencer;
    uint32_t ticks = 0;
    EXPECT_EQ(kSeqErrUnsupported, s.Close());
    EXPECT_EQ(kSeqErrUnsupported, s.Preroll(0, 0));
    EXPECT_EQ(kSeqErrUnsupported, s.Position(&ticks));
    EXPECT_EQ(SequencerState::NoFile, s.State());

    const std::vector<uint8_t> song = ShortSong();
    ASSERT_EQ(kSeqOk, s.OpenImage(song.data(), song.size()));
    EXPECT_EQ(SequencerState::Opened, s.State());
    EXPECT_EQ(kSeqErrUnsupported, s.OpenImage(song.data(), song.size()));
    EXPECT_EQ(kSeqErrUnsupported, s.Pause());
    EXPECT_EQ(kSeqErrUnsupported, s.Start());
    EXPECT_EQ(kSeqErrUnsupported, s.Resume());
    EXPECT_EQ(kSeqOk, s.Stop()) << "stop outside playback does nothing";
    EXPECT_EQ(kSeqOk, s.Position(&ticks));
    EXPECT_EQ(0u, ticks);
    EXPECT_EQ(SequencerState::Opened, s.State());

    ASSERT_EQ(kSeqOk, s.Preroll(0, s.Length()));
    EXPECT_EQ(SequencerState::Prerolled, s.State());
    EXPECT_EQ(kSeqErrUnsupported, s.Close());
    ASSERT_EQ(kSeqOk, s.Start());
    EXPECT_EQ(kSeqErrUnsupported, s.Start());
    EXPECT_EQ(kSeqErrUnsupported, s.Preroll(0, 1));
    ASSERT_TRUE(rig.done.Wait());
    EXPECT_EQ(SequencerState::Playing, s.State()) << "a song that ends stays Playing until the done handler";
    s.EndPlayback();
    EXPECT_EQ(SequencerState::Opened, s.State());
    EXPECT_EQ(kSeqOk, s.Close());
    EXPECT_EQ(SequencerState::NoFile, s.State());
}

TEST(SequencerStates, ErrorTextsAndReaderMapping)
{
    EXPECT_EQ("invalid file", SequencerErrorText(kSeqErrInvalidFile));
    EXPECT_EQ("no memory", SequencerErrorText(kSeqErrOutOfMemory));
    EXPECT_EQ("not possible in the present state", SequencerErrorText(kSeqErrUnsupported));
    EXPECT_EQ("MIDI device not ready", SequencerErrorText(kSeqErrNotReady));
    EXPECT_EQ("multimedia error 999", SequencerErrorText(999));
    EXPECT_EQ(296u, SequencerResultFor(SmfResult::OpenFailed));
    EXPECT_EQ(296u, SequencerResultFor(SmfResult::InvalidFile));
    EXPECT_EQ(264u, SequencerResultFor(SmfResult::NoMemory));
    EXPECT_EQ(274u, SequencerResultFor(SmfResult::EndOfFile));
}

TEST(SequencerStates, OpenFailuresLeaveNoFile)
{
    FastRig rig;
    EXPECT_EQ(kSeqErrInvalidFile, rig.sequencer->Open("no\\such\\file.mid"));
    const std::vector<uint8_t> badTempo = BuildSong(0, 96, {Track().Meta(10, 0x51, {1, 2}).End()});
    EXPECT_EQ(kSeqErrInvalidFile, rig.sequencer->OpenImage(badTempo.data(), badTempo.size()));
    EXPECT_EQ(SequencerState::NoFile, rig.sequencer->State());
}

TEST(SequencerStates, PlayingTwiceSendsTheSameEvents)
{
    FastRig rig;
    const std::vector<uint8_t> song = ShortSong();
    ASSERT_EQ(kSeqOk, rig.Play(song));
    const std::vector<std::string> first = Sent(rig.sink.Entries());
    rig.sink.Clear();
    ASSERT_EQ(kSeqOk, rig.sequencer->Preroll(0, rig.sequencer->Length()));
    ASSERT_EQ(kSeqOk, rig.sequencer->Start());
    ASSERT_TRUE(rig.done.Wait(2));
    rig.sequencer->EndPlayback();
    EXPECT_EQ(first, Sent(rig.sink.Entries()));
    EXPECT_EQ((std::vector<std::string>{"0:c0 00", "0:90 3c 64", "96:80 3c 40"}), first);
}

// ---- What reaches the stream ------------------------------------------------

TEST(SequencerOutput, ExclusiveLongerThanABufferArrivesWholeAndInOrder)
{
    std::vector<uint8_t> data;
    for (int i = 0; i < 2500; ++i)
        data.push_back(static_cast<uint8_t>(i % 0x7F));
    data.push_back(0xF7);
    FastRig rig;
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).Sysex(10, data).NoteOn(0, 1, 61, 1).End(5)})));
    std::vector<uint8_t> joined;
    int pieces = 0;
    std::vector<std::string> order;
    for (const MemorySink::Entry& e : rig.sink.Entries()) {
        if (e.kind == MidiSinkKind::Long) {
            ++pieces;
            EXPECT_EQ(10u, e.tick);
            joined.insert(joined.end(), e.bytes.begin(), e.bytes.end());
            order.push_back("long");
        } else if (e.kind == MidiSinkKind::Short) {
            order.push_back(Hex(e.bytes));
        }
    }
    EXPECT_GE(pieces, 3);
    std::vector<uint8_t> expected = {0xF0};
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(expected, joined);
    EXPECT_EQ("90 3c 01", order.front());
    EXPECT_EQ("90 3d 01", order.back());
}

TEST(SequencerOutput, EventsAtTheEndTickAreSentAndNoneAfter)
{
    FastRig rig;
    const std::vector<uint8_t> song = BuildSong(1, 96, {Track().NoteOn(0, 1, 60, 1).NoteOff(50, 1, 60).End(),
                                                        Track().NoteOn(60, 2, 40, 1).End(10)});
    ASSERT_EQ(kSeqOk, rig.sequencer->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, rig.sequencer->Preroll(0, 50));
    ASSERT_EQ(kSeqOk, rig.sequencer->Start());
    ASSERT_TRUE(rig.done.Wait());
    rig.sequencer->EndPlayback();
    EXPECT_EQ((std::vector<std::string>{"0:90 3c 01", "50:80 3c 40"}), Sent(rig.sink.Entries()));
}

TEST(SequencerOutput, InjectionFollowsTheLeadingExclusiveMessages)
{
    const std::vector<uint8_t> reset = {0x7E, 0x7F, 0x09, 0x01, 0xF7};
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track().Sysex(0, reset).Sysex(5, {0x43, 0x10, 0xF7})
                                                            .NoteOn(5, 1, 60, 1).Sysex(0, {0x41, 0xF7}).End(1)});
    FastRig rig;
    rig.sequencer->SetMasterVolume(100);
    rig.sequencer->SetLampSelection(1, 0);
    ASSERT_EQ(kSeqOk, rig.Play(song));
    const std::vector<std::string> expected = {
        "0:f0 7e 7f 09 01 f7",
        "5:f0 43 10 f7",
        "5:f0 7f 7f 04 01 00 63 f7 f0 43 73 01 11 00 47 02 f7",
        "10:90 3c 01",
        "10:f0 41 f7",
    };
    EXPECT_EQ(expected, Sent(rig.sink.Entries()));
    EXPECT_EQ(1, rig.sequencer->LitLamp1());

    // The next song switches channel 1's lamps off and channel 2's on, at its start.
    rig.sink.Clear();
    rig.sequencer->SetMasterVolume(-100);
    rig.sequencer->SetLampSelection(2, 0);
    ASSERT_EQ(kSeqOk, rig.sequencer->Close());
    ASSERT_EQ(kSeqOk, rig.Play(ShortSong()));
    EXPECT_EQ("0:f0 43 73 01 11 00 47 00 f7 f0 43 73 01 11 01 47 02 f7", Sent(rig.sink.Entries()).front());

    // Disabled sends nothing: the lamps stay lit.
    rig.sink.Clear();
    rig.sequencer->SetLampSelection(kLampsDisabled, 0);
    ASSERT_EQ(kSeqOk, rig.sequencer->Close());
    ASSERT_EQ(kSeqOk, rig.Play(ShortSong()));
    EXPECT_EQ("0:c0 00", Sent(rig.sink.Entries()).front());
    EXPECT_EQ(2, rig.sequencer->LitLamp1());
}

TEST(SequencerOutput, AutomaticLampsUseTheSongsLampChannels)
{
    FastRig rig;
    rig.sequencer->SetLampSelection(kLampsAuto, 0);
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().Program(0, 3, 0).Program(0, 1, 0).NoteOn(0, 1, 60, 1).End()})));
    EXPECT_EQ("0:f0 43 73 01 11 00 47 02 f7 f0 43 73 01 11 02 47 02 f7", Sent(rig.sink.Entries()).front());
    EXPECT_EQ(1, rig.sequencer->LitLamp1());
    EXPECT_EQ(3, rig.sequencer->LitLamp2());
}

// Regression: the injection read L1 and L2 one after the other, so a
// selection changed in between gave a pair the user never chose.
TEST(SequencerOutput, TheLampPairIsAlwaysReadAsItWasSet)
{
    InstrumentControls controls;
    controls.SetLamps(1, 2);
    std::atomic<bool> done{false};
    std::thread chooser([&] {
        for (int i = 0; !done; ++i)
            controls.SetLamps(i % 2 ? 1 : 3, i % 2 ? 2 : 4);
    });
    int torn = 0;
    for (int i = 0; i < 2000000; ++i) {
        const LampPair pair = controls.Load().lamps;
        if (!(pair == LampPair{1, 2}) && !(pair == LampPair{3, 4}))
            ++torn;
    }
    done = true;
    chooser.join();
    EXPECT_EQ(0, torn) << "pairs read half old, half new";
}

TEST(SequencerOutput, InjectionWaitsForALeadingExclusiveLongerThanABuffer)
{
    std::vector<uint8_t> dump(3000, 0x11);
    dump.push_back(0xF7);
    FastRig rig;
    rig.sequencer->SetMasterVolume(128);
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().Sysex(0, dump).NoteOn(0, 1, 60, 1).NoteOn(0, 1, 62, 1).End()})));
    std::vector<std::string> kinds;
    for (const std::string& s : Sent(rig.sink.Entries())) {
        if (s.find("f0 7f 7f 04 01 00 7f f7") != std::string::npos)
            kinds.push_back("volume");
        else if (s.find(":90 ") != std::string::npos)
            kinds.push_back("note");
    }
    EXPECT_EQ((std::vector<std::string>{"volume", "note", "note"}), kinds);
}

TEST(SequencerOutput, VelocityBase)
{
    struct Case {
        uint8_t velocity, highest;
        int base;
        uint8_t sent;
    } cases[] = {
        {64, 110, 100, 54}, {10, 110, 100, 0}, {11, 110, 100, 1}, {110, 110, 100, 100},
        {64, 110, 127, 64}, {64, 90, 100, 64}, {0, 110, 50, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.sent, ApplyVelocityBase(c.velocity, c.highest, c.base))
            << int(c.velocity) << " " << int(c.highest) << " " << c.base;

    FastRig rig;
    rig.sequencer->SetVelocityBase(100);
    ASSERT_EQ(kSeqOk, rig.Play(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 110).NoteOn(0, 3, 61, 64)
                                                      .NoteOn(0, 2, 62, 10).Ev(0, {0x81, 60, 64}).End()})));
    EXPECT_EQ((std::vector<std::string>{"0:90 3c 64", "0:92 3d 36", "0:91 3e 00", "0:81 3c 40"}),
              Sent(rig.sink.Entries()));
}

TEST(SequencerOutput, PrerollBufferGrowsTo32768AndFailsBeyond)
{
    Track track;
    for (int channel = 0; channel < 16; ++channel)
        for (int controller = 0; controller < 100; ++controller)
            track.Ev(0, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(controller), 1});
    const std::vector<uint8_t> song = BuildSong(0, 96, {track.NoteOn(10, 1, 60, 1).End(10)});

    FastRig rig;
    ASSERT_EQ(kSeqOk, rig.sequencer->OpenImage(song.data(), song.size()));
    rig.sequencer->SetPrerollLimit(16384);
    EXPECT_EQ(kSeqErrOutOfMemory, rig.sequencer->Preroll(10, rig.sequencer->Length()));
    EXPECT_EQ(SequencerState::Opened, rig.sequencer->State());

    rig.sequencer->SetPrerollLimit(32768);
    ASSERT_EQ(kSeqOk, rig.sequencer->Preroll(10, rig.sequencer->Length()));
    uint32_t ticks = 0;
    EXPECT_EQ(kSeqOk, rig.sequencer->Position(&ticks));
    EXPECT_EQ(10u, ticks);
    ASSERT_EQ(kSeqOk, rig.sequencer->Start());
    ASSERT_TRUE(rig.done.Wait());
    rig.sequencer->EndPlayback();
    const std::vector<std::string> sent = Sent(rig.sink.Entries());
    ASSERT_EQ(1601u, sent.size());
    EXPECT_EQ("0:b0 00 01", sent[0]);
    EXPECT_EQ("0:bf 63 01", sent[1599]);
    EXPECT_EQ("0:90 3c 01", sent[1600]) << "the note at the start tick is played";
}

// ---- Records in a buffer --------------------------------------------------

struct FillRig {
    std::unique_ptr<SmfReader> reader;
    std::vector<uint8_t> data;
    MidiBuffer buffer;
    InstrumentControls controls;
    BufferFiller filler{controls};

    explicit FillRig(const std::vector<uint8_t>& song, uint32_t size = 1024) : data(size)
    {
        SmfReader::OpenImage(song.data(), song.size(), &reader);
        buffer.data = data.data();
        buffer.size = size;
        if (reader)
            filler.Start(*reader, 0);
    }
    SmfResult Fill() { return filler.Fill(*reader, &buffer, reader->Length()); }
    std::vector<uint32_t> Words() const
    {
        std::vector<uint32_t> out;
        for (uint32_t at = 0; at < buffer.bytesRecorded; at += 4)
            out.push_back(GetMidiWord(buffer.data + at));
        return out;
    }
};

TEST(SequencerRecords, MetaDeltasBecomeNoOperationRecords)
{
    FillRig rig(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1).Meta(0, 1, {'a'}).Meta(30, 3, {'b'}).Tempo(10, 400000)
                                      .End(20)}));
    ASSERT_NE(nullptr, rig.reader);
    EXPECT_EQ(SmfResult::EndOfFile, rig.Fill());
    const std::vector<uint32_t> expected = {
        0, 0, 0x00013C90,         // the note
        30, 0, 0x02000000,        // text meta with delta 30 (the one with delta 0 is dropped)
        10, 0, 0x01061A80,        // tempo 400000
        20, 0, 0x02000000,        // End of Track keeps its delta
    };
    EXPECT_EQ(expected, rig.Words());
}

TEST(SequencerRecords, LongMessagePiecesArePaddedAndContinueInTheNextBuffer)
{
    std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xF7};
    FillRig rig(BuildSong(0, 96, {Track().Sysex(7, data).End()}), 32);
    ASSERT_EQ(SmfResult::Ok, rig.Fill());
    // 32 bytes: one record header and 20 bytes of the 20-byte message.
    EXPECT_EQ((std::vector<uint32_t>{7, 0, 0x80000014, 0x030201F0, 0x07060504, 0x0B0A0908, 0x0F0E0D0C, 0xF7121110}),
              rig.Words());
    std::vector<uint8_t> longer(30, 0x22);
    // 31 bytes in a 36-byte buffer: 24 now, 7 in the next buffer.
    FillRig rig2(BuildSong(0, 96, {Track().Sysex(7, longer).End(4)}), 36);
    ASSERT_EQ(SmfResult::Ok, rig2.Fill());
    EXPECT_EQ((std::vector<uint32_t>{7, 0, 0x80000018, 0x222222F0, 0x22222222, 0x22222222, 0x22222222, 0x22222222,
                                     0x22222222}),
              rig2.Words());
    ASSERT_EQ(SmfResult::Ok, rig2.Fill());
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0x80000007, 0x22222222, 0x00222222, 4, 0, 0x02000000}), rig2.Words());
    EXPECT_EQ(SmfResult::EndOfFile, rig2.Fill()) << "the end is found by the next read";
    EXPECT_EQ(0u, rig2.buffer.bytesRecorded);
}

class ChannelMover : public VoiceMapHook {
public:
    void MapNote(ShortMessage* m) override { m->data1 = static_cast<uint8_t>(m->data1 + 12); }
    void MapController(ShortMessage* m) override { controllers.push_back(m->data1); }
    uint32_t MapProgram(ShortMessage* m, uint32_t* extra, uint32_t capacity) override
    {
        EXPECT_EQ(13u, capacity);
        const uint32_t words[6] = {0, 0, 0x0500B0u | (m->status & 0x0Fu), 0, 0, 0x0020B0u | (m->status & 0x0Fu)};
        for (int i = 0; i < 6; ++i)
            extra[i] = words[i];
        return 6;
    }
    void MapChannel(ShortMessage* m) override { m->status = static_cast<uint8_t>((m->status & 0xF0) | 1); }
    std::vector<uint8_t> controllers;
};

TEST(SequencerRecords, VoiceMapHooksRewriteEventsAndNeed64FreeBytes)
{
    ChannelMover map;
    FillRig rig(BuildSong(0, 96, {Track().Program(5, 1, 7).Ev(0, {0xB0, 7, 99}).NoteOn(3, 1, 60, 70).End()}), 108);
    rig.controls.SetVoiceMap(&map);
    ASSERT_EQ(SmfResult::Ok, rig.Fill());
    // Extra events first, carrying the program change's delta; the whole
    // program change takes 36 bytes; after the controller only 60 remain.
    EXPECT_EQ((std::vector<uint32_t>{5, 0, 0x0500B0, 0, 0, 0x0020B0, 0, 0, 0x0007C1, 0, 0, 0x6307B1}), rig.Words());
    EXPECT_EQ((std::vector<uint8_t>{7}), map.controllers);
    ASSERT_EQ(SmfResult::EndOfFile, rig.Fill());
    EXPECT_EQ((std::vector<uint32_t>{3, 0, 0x464891}), rig.Words()) << "note moved up an octave, onto channel 2";
}

// Records how many controllers the map had seen at each rewind.
class RewindRecorder : public ChannelMover {
public:
    void Rewind() override { seenAtRewind.push_back(controllers.size()); }
    std::vector<size_t> seenAtRewind;
};

TEST(SequencerRecords, EveryPrerollStartsTheVoiceMapAfreshBeforeAnyBufferIsFilled)
{
    FastRig rig;
    RewindRecorder map;
    rig.sequencer->SetVoiceMap(&map);
    const std::vector<uint8_t> song = BuildSong(0, 96, {Track().Ev(0, {0xB0, 7, 99}).NoteOn(3, 1, 60, 70).End()});
    ASSERT_EQ(kSeqOk, rig.Play(song));
    ASSERT_EQ(kSeqOk, rig.sequencer->Preroll(0, rig.sequencer->Length())) << "played again";
    EXPECT_EQ((std::vector<size_t>{0, 1}), map.seenAtRewind);
}

// A stream whose start can be refused.
class RefusingStream : public SoftMidiStream {
public:
    using SoftMidiStream::SoftMidiStream;
    bool refuse = true;
    uint32_t Restart() override { return refuse ? kMidiErrError : SoftMidiStream::Restart(); }
};

// Regression: a refused start left the song Prerolled, which neither Close
// nor Open accept, so the next song could not be opened.
TEST(SequencerStates, RefusedStartLeavesTheSongOpenForCloseOrAnotherTry)
{
    FastStreamClock clock;
    MemorySink sink;
    RefusingStream stream(&clock, &sink);
    DoneSignal done;
    std::unique_ptr<Sequencer> s = Sequencer::Create(&stream, &done);
    const std::vector<uint8_t> song = ShortSong();
    ASSERT_EQ(kSeqOk, s->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, s->Preroll(0, s->Length()));
    EXPECT_NE(kSeqOk, s->Start());
    EXPECT_EQ(SequencerState::Opened, s->State());

    stream.refuse = false;
    ASSERT_EQ(kSeqOk, s->Preroll(0, s->Length())) << "a second try works";
    ASSERT_EQ(kSeqOk, s->Start());
    ASSERT_TRUE(done.Wait());
    s->EndPlayback();

    stream.refuse = true;
    ASSERT_EQ(kSeqOk, s->Preroll(0, s->Length()));
    EXPECT_NE(kSeqOk, s->Start());
    EXPECT_EQ(kSeqOk, s->Close()) << "the queued buffers are drained and the stream closed";
    EXPECT_EQ(SequencerState::NoFile, s->State());
    ASSERT_EQ(kSeqOk, s->OpenImage(song.data(), song.size()));
}

}  // namespace
