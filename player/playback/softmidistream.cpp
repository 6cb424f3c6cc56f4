#include "softmidistream.h"

#include <algorithm>
#include <cstring>

#include "smftime.h"
#include "streamrecords.h"

namespace {

constexpr uint64_t kNoDeadline = ~0ull;

// a * b / c without overflow for the values met here (b and c below 2^32);
// results beyond 2^52 saturate, far past any song.
uint64_t MulDiv(uint64_t a, uint64_t b, uint64_t c)
{
    const uint64_t whole = a / c, rest = a % c;
    if (whole > (1ull << 52) / (b ? b : 1))
        return 1ull << 52;
    return whole * b + rest * b / c;
}

}  // namespace

struct SoftMidiStream::Impl {
    StreamClock* clock;
    SteadyStreamClock ownClock;
    MidiSink* sink;

    std::mutex lock;
    std::condition_variable wake;     // the stream thread waits on it
    std::condition_variable settled;  // WaitIdle waits on it
    std::thread thread;

    bool open = false;
    bool quit = false;
    bool running = false;
    bool notesOffPending = false;  // a stop awaits its note-offs on the thread
    uint64_t stopTick = 0;         // the sink tick of that stop
    MidiDoneCallback callback = nullptr;
    void* context = nullptr;
    uint32_t division = 96;

    std::deque<MidiBuffer*> queue;      // front is playing
    std::deque<MidiBuffer*> returning;  // played, waiting for the callback
    uint32_t offset = 0;                // read offset in the front buffer

    // Time: tick `anchorTick` falls at `anchorUs` at the present tempo.
    uint32_t tempo = kDefaultTempo;
    uint64_t anchorUs = 0;
    uint64_t anchorTick = 0;
    uint64_t lastTick = 0;    // stream tick of the last record played
    uint64_t pausedTick = 0;  // position while not running
    uint64_t sinkBase = 0;    // ticks played before the last stop, for the sink

    uint8_t sounding[16][128] = {};  // note-ons without their note-off

    bool parked = false;
    uint64_t parkedDeadline = kNoDeadline;
    bool inCallback = false;

    Impl(StreamClock* c, MidiSink* s) : clock(c ? c : &ownClock), sink(s) {}

    uint64_t TicksToUs(uint64_t ticks) const
    {
        if (IsTimeCode(division))
            return MulDiv(ticks, 1000000, TimeCodeTicksPerSecond(division));
        return MulDiv(ticks, tempo, division);
    }

    uint64_t UsToTicks(uint64_t us) const
    {
        if (IsTimeCode(division))
            return MulDiv(us, TimeCodeTicksPerSecond(division), 1000000);
        return tempo == 0 ? 0 : MulDiv(us, division, tempo);
    }

    // A record that fell behind the anchor (the queue ran dry while the
    // clock went on) is due at once.
    uint64_t Due(uint64_t tick) const { return tick < anchorTick ? anchorUs : anchorUs + TicksToUs(tick - anchorTick); }

    uint64_t PositionNow()
    {
        if (!running)
            return pausedTick;
        const uint64_t now = clock->NowMicros();
        const uint64_t tick = anchorTick + (now > anchorUs ? UsToTicks(now - anchorUs) : 0);
        return std::max(tick, lastTick);
    }

    // `sinkTick` counts from the stream's opening, across stops.
    void Deliver(MidiSinkKind kind, uint64_t sinkTick, uint64_t due, const uint8_t* bytes, uint32_t length,
                 uint32_t tempoValue)
    {
        if (!sink)
            return;
        MidiSinkEvent event = {kind, static_cast<uint32_t>(sinkTick), due, clock->NowMicros(), bytes, length, tempoValue};
        sink->OnEvent(event);
    }

    void TrackNote(const uint8_t* message)
    {
        const uint8_t kind = message[0] & 0xF0, channel = message[0] & 0x0F, note = message[1] & 0x7F;
        if (kind == 0x90 && message[2] != 0)
            sounding[channel][note] = 1;
        else if (kind == 0x80 || kind == 0x90)
            sounding[channel][note] = 0;
    }

    // Stop and reset, in the caller's thread: every queued buffer is due
    // back at once and the position goes back to 0. The thread then turns
    // off the sounding notes and returns the buffers.
    void StopNow()
    {
        stopTick = sinkBase + PositionNow();
        sinkBase = stopTick;
        notesOffPending = true;
        while (!queue.empty()) {
            returning.push_back(queue.front());
            queue.pop_front();
        }
        offset = 0;
        running = false;
        tempo = kDefaultTempo;  // a stream started again plays as a new one
        lastTick = pausedTick = anchorTick = 0;
        wake.notify_all();
    }

    void SendNotesOff()
    {
        notesOffPending = false;
        for (uint8_t channel = 0; channel < 16; ++channel) {
            for (uint8_t note = 0; note < 128; ++note) {
                if (!sounding[channel][note])
                    continue;
                sounding[channel][note] = 0;
                const uint8_t off[3] = {static_cast<uint8_t>(0x80 | channel), note, 0};
                Deliver(MidiSinkKind::Short, stopTick, clock->NowMicros(), off, 3, 0);
            }
        }
    }

    // Plays the next record of the front buffer if it is due. Returns the
    // time to wait for otherwise.
    uint64_t PlayNext()
    {
        MidiBuffer* buffer = queue.front();
        const uint32_t recorded = std::min(buffer->bytesRecorded, buffer->size);
        if (recorded < kMidiRecordSize || offset > recorded - kMidiRecordSize) {
            queue.pop_front();
            returning.push_back(buffer);
            offset = 0;
            return 0;
        }
        const uint8_t* record = buffer->data + offset;
        const uint32_t delta = GetMidiWord(record);
        const uint32_t event = GetMidiWord(record + 8);
        uint32_t recordSize = kMidiRecordSize;
        uint32_t longLength = 0;
        if (event & kMidiEventLong) {
            longLength = event & kMidiEventParamMask;
            const uint32_t padded = (longLength + 3) & ~3u;
            if (padded > recorded - offset - kMidiRecordSize) {
                offset = recorded;  // a malformed record ends the buffer
                return 0;
            }
            recordSize += padded;
        }
        const uint64_t tick = lastTick + delta;
        const uint64_t due = Due(tick);
        if (due > clock->NowMicros())
            return due;
        lastTick = tick;
        offset += recordSize;
        if (event & kMidiEventLong) {
            Deliver(MidiSinkKind::Long, sinkBase + tick, due, record + kMidiRecordSize, longLength, 0);
        } else if ((event >> 24) == 0) {
            const uint8_t message[3] = {static_cast<uint8_t>(event), static_cast<uint8_t>(event >> 8),
                                        static_cast<uint8_t>(event >> 16)};
            const uint8_t kind = message[0] & 0xF0;
            const uint32_t length = (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
            TrackNote(message);
            Deliver(MidiSinkKind::Short, sinkBase + tick, due, message, length, 0);
        } else if ((event >> 24) == 1) {
            // Re-anchor at the tempo change's due time, so no error accumulates.
            anchorUs = due;
            anchorTick = tick;
            tempo = event & kMidiEventParamMask;
            Deliver(MidiSinkKind::Tempo, sinkBase + tick, due, nullptr, 0, tempo);
        } else {
            Deliver(MidiSinkKind::Nop, sinkBase + tick, due, nullptr, 0, 0);
        }
        return 0;
    }

    void Park(std::unique_lock<std::mutex>& lk, uint64_t deadline)
    {
        parked = true;
        parkedDeadline = deadline;
        settled.notify_all();
        if (deadline == kNoDeadline)
            wake.wait(lk);
        else
            clock->WaitUntil(deadline, wake, lk);
        parked = false;
    }

    void Run()
    {
        std::unique_lock<std::mutex> lk(lock);
        for (;;) {
            if (notesOffPending)
                SendNotesOff();
            if (!returning.empty()) {
                MidiBuffer* buffer = returning.front();
                returning.pop_front();
                inCallback = true;
                lk.unlock();
                callback(buffer, context);
                lk.lock();
                inCallback = false;
                continue;
            }
            if (quit)
                break;
            if (running && !queue.empty()) {
                const uint64_t wait = PlayNext();
                if (wait != 0)
                    Park(lk, wait);
                continue;
            }
            Park(lk, kNoDeadline);
        }
        parked = true;
        settled.notify_all();
    }

    bool Idle()
    {
        if (!parked || inCallback || notesOffPending || !returning.empty())
            return !open;
        if (parkedDeadline == kNoDeadline)
            return !(running && !queue.empty());
        return parkedDeadline > clock->NowMicros();
    }

    bool IsQueued(const MidiBuffer* buffer) const
    {
        return std::find(queue.begin(), queue.end(), buffer) != queue.end() ||
               std::find(returning.begin(), returning.end(), buffer) != returning.end();
    }
};

SoftMidiStream::SoftMidiStream(StreamClock* clock, MidiSink* sink) : impl_(new Impl(clock, sink))
{
    impl_->clock->Attach(&impl_->lock, &impl_->wake);
}

SoftMidiStream::~SoftMidiStream()
{
    Close();
}

uint32_t SoftMidiStream::Open(int device, MidiDoneCallback callback, void* context)
{
    if (device < kMidiMapper)
        return kMidiErrBadDeviceId;
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (impl_->open)
        return kMidiErrError;
    if (!callback)
        return kMidiErrInvalidParam;
    impl_->callback = callback;
    impl_->context = context;
    impl_->quit = false;
    impl_->running = false;
    impl_->notesOffPending = false;
    impl_->queue.clear();
    impl_->returning.clear();
    impl_->offset = 0;
    impl_->tempo = kDefaultTempo;
    impl_->anchorUs = 0;
    impl_->anchorTick = impl_->lastTick = impl_->pausedTick = impl_->sinkBase = 0;
    std::memset(impl_->sounding, 0, sizeof impl_->sounding);
    impl_->parked = false;
    try {
        impl_->thread = std::thread([this] { impl_->Run(); });
    } catch (...) {
        return kMidiErrNoMemory;
    }
    impl_->open = true;
    return kMidiOk;
}

bool SoftMidiStream::IsOpen() const
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    return impl_->open;
}

uint32_t SoftMidiStream::SetTimeDivision(uint32_t division)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (!impl_->open)
        return kMidiErrInvalidHandle;
    if (division == 0 || division > 0xFFFF || (IsTimeCode(division) && (division & 0xFF) == 0))
        return kMidiErrInvalidParam;
    impl_->division = division;
    if (impl_->sink)
        impl_->sink->OnTimeDivision(division);
    return kMidiOk;
}

uint32_t SoftMidiStream::Prepare(MidiBuffer* buffer)
{
    if (!buffer || !buffer->data)
        return kMidiErrInvalidParam;
    std::lock_guard<std::mutex> guard(impl_->lock);
    buffer->prepared = true;
    return kMidiOk;
}

uint32_t SoftMidiStream::Unprepare(MidiBuffer* buffer)
{
    if (!buffer)
        return kMidiErrInvalidParam;
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (impl_->IsQueued(buffer))
        return kMidiErrStillPlaying;
    buffer->prepared = false;
    return kMidiOk;
}

uint32_t SoftMidiStream::Queue(MidiBuffer* buffer)
{
    if (!buffer)
        return kMidiErrInvalidParam;
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (!impl_->open)
        return kMidiErrInvalidHandle;
    if (!buffer->prepared)
        return kMidiErrUnprepared;
    if (impl_->IsQueued(buffer))
        return kMidiErrStillPlaying;
    impl_->queue.push_back(buffer);
    impl_->wake.notify_all();
    return kMidiOk;
}

uint32_t SoftMidiStream::Restart()
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (!impl_->open)
        return kMidiErrInvalidHandle;
    if (!impl_->running) {
        impl_->anchorUs = impl_->clock->NowMicros();
        impl_->anchorTick = impl_->pausedTick;
        impl_->running = true;
        impl_->wake.notify_all();
    }
    return kMidiOk;
}

uint32_t SoftMidiStream::Pause()
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (!impl_->open)
        return kMidiErrInvalidHandle;
    if (impl_->running) {
        impl_->pausedTick = impl_->PositionNow();
        impl_->running = false;
        impl_->wake.notify_all();
    }
    return kMidiOk;
}

uint32_t SoftMidiStream::Stop()
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (!impl_->open)
        return kMidiErrInvalidHandle;
    impl_->StopNow();
    return kMidiOk;
}

uint32_t SoftMidiStream::Reset()
{
    return Stop();
}

uint32_t SoftMidiStream::Position(uint32_t* ticks)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (!impl_->open)
        return kMidiErrInvalidHandle;
    *ticks = static_cast<uint32_t>(impl_->PositionNow());
    return kMidiOk;
}

uint32_t SoftMidiStream::Close()
{
    {
        std::lock_guard<std::mutex> guard(impl_->lock);
        if (!impl_->open)
            return kMidiErrInvalidHandle;
        impl_->quit = true;
        impl_->wake.notify_all();
    }
    impl_->thread.join();
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->open = false;
    impl_->queue.clear();
    impl_->returning.clear();
    return kMidiOk;
}

void SoftMidiStream::WaitIdle()
{
    std::unique_lock<std::mutex> lk(impl_->lock);
    impl_->settled.wait(lk, [this] { return impl_->Idle(); });
}
