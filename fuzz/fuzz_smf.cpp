// Opens arbitrary bytes as a song, walks the whole merge, converts ticks to
// milliseconds, and plays it as fast as possible into memory through the
// Sequencer, with every instrument control armed and a preroll from the middle.
#include <cstddef>
#include <cstdint>

#include "donelatch.h"
#include "midisink.h"
#include "sequencer.h"
#include "smfreader.h"
#include "softmidistream.h"
#include "streamclock.h"

namespace {

void Play(Sequencer& sequencer, DoneLatch& done, uint32_t start)
{
    const int before = done.Count();
    if (sequencer.Preroll(start, sequencer.Length()) != kSeqOk)
        return;
    if (sequencer.Start() != kSeqOk)
        return;
    done.WaitFor(before + 1);
    sequencer.EndPlayback();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<SmfReader> reader;
    if (SmfReader::OpenImage(data, size, &reader) != SmfResult::Ok)
        return 0;
    SmfEvent event;
    uint32_t sum = 0;
    while (reader->NextEvent(kSmfNoLimit, true, &event) == SmfResult::Ok) {
        sum += event.status + event.delta;
        for (uint32_t i = 0; i < event.length; ++i)
            sum += event.data[i];
    }
    for (uint32_t tick : {0u, reader->Length() / 3, reader->Length(), reader->Length() + 1, 0xFFFFFFFFu})
        sum += reader->TicksToMs(tick);

    // The buffers hold at most 30 ms each, so a silence of days (a valid
    // 80-byte song can hold one) is millions of no-operation records that
    // the memory sink would keep: such songs are read but not played.
    constexpr uint32_t kLongestPlayedMs = 60 * 60 * 1000;
    if (reader->TicksToMs(reader->Length()) > kLongestPlayedMs)
        return 0;
    FastStreamClock clock;
    MemorySink sink;
    SoftMidiStream stream(&clock, &sink);
    DoneLatch done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    sequencer->SetVelocityBase(60);
    sequencer->SetMasterVolume(100);
    sequencer->SetLampSelection(kLampsAuto, 0);
    if (sequencer->OpenImage(data, size) != kSeqOk)
        __builtin_trap();  // the reader accepted it above
    Play(*sequencer, done, 0);
    Play(*sequencer, done, reader->Length() / 2);
    return static_cast<int>(sum & 0);
}
