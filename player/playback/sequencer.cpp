#include "sequencer.h"

#include <cstdio>
#include <new>
#include <thread>

#include "bufferfill.h"
#include "zub_assert.h"

namespace {

constexpr uint32_t kHeaderBytes = 64;     // the platform's buffer header ahead of the data
constexpr uint32_t kFirstRollBytes = 4096;
constexpr uint32_t kStopDelayMs = 5;

}  // namespace

std::string SequencerErrorText(uint32_t result)
{
    switch (result) {
    case kSeqOk: return "success";
    case kSeqErrOutOfMemory: return "no memory";
    case kSeqErrUnsupported: return "not possible in the present state";
    case kSeqErrNotReady: return "MIDI device not ready";
    case kSeqErrInvalidFile: return "invalid file";
    case kSeqErrOutOfRange: return "out of range";
    case kMidiErrError: return "MIDI stream error";
    case kMidiErrBadDeviceId: return "no such MIDI output device";
    case kMidiErrInvalidHandle: return "MIDI stream not open";
    case 6: return "no MIDI driver";
    case kMidiErrNoMemory: return "no memory for the MIDI stream";
    case kMidiErrInvalidParam: return "invalid MIDI stream parameter";
    case kMidiErrUnprepared: return "MIDI buffer not prepared";
    case kMidiErrStillPlaying: return "MIDI buffers still playing";
    default: break;
    }
    char text[48];
    std::snprintf(text, sizeof text, "multimedia error %u", static_cast<unsigned>(result));
    return text;
}

uint32_t SequencerResultFor(SmfResult result)
{
    switch (result) {
    case SmfResult::Ok: return kSeqOk;
    case SmfResult::NoMemory: return kSeqErrOutOfMemory;
    case SmfResult::InvalidFile:
    case SmfResult::OpenFailed: return kSeqErrInvalidFile;
    default: return kSeqErrUnsupported;
    }
}

Sequencer::Sequencer(MidiStreamPort* port, SequencerNotify* notify) : port_(port), notify_(notify)
{
    filler_.SetBufferSpan(kBufferSpanMs);
}

Sequencer::~Sequencer()
{
    // A stream still open is drained and closed so that no callback outlives us.
    Stop();
    if (streamOpen_) {
        DrainStream();
        UnprepareAll();
        port_->Close();
    }
}

std::unique_ptr<Sequencer> Sequencer::Create(MidiStreamPort* port, SequencerNotify* notify,
                                             uint32_t bufferCount, uint32_t bufferSize)
{
    std::unique_ptr<Sequencer> sequencer(new (std::nothrow) Sequencer(port, notify));
    if (!sequencer || !sequencer->AllocateBuffers(bufferCount, bufferSize))
        return nullptr;
    return sequencer;
}

bool Sequencer::AllocateBuffers(uint32_t count, uint32_t size)
{
    if (count == 0 || size < 64 || size % 4 != 0)
        return false;
    try {
        block_.resize(static_cast<size_t>(count) * size);
        buffers_.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (uint32_t i = count; i-- > 0;) {
        MidiBuffer& buffer = buffers_[i];
        buffer.data = block_.data() + static_cast<size_t>(i) * size;
        buffer.size = size;
        buffer.user = this;
        PushFree(&buffer);
    }
    rollBuffer_.user = this;
    return true;
}

// One buffer fewer queued; how many are left.
int32_t Sequencer::TakeInUse()
{
    const int32_t left = --inUse_;
    ZUB_ASSERT(left >= 0 && "a buffer came back that was not queued");
    return left;
}

void Sequencer::PushFree(MidiBuffer* buffer)
{
    std::lock_guard<std::mutex> guard(freeLock_);
    buffer->next = freeList_;
    freeList_ = buffer;
}

MidiBuffer* Sequencer::PopFree()
{
    std::lock_guard<std::mutex> guard(freeLock_);
    MidiBuffer* buffer = freeList_;
    if (buffer)
        freeList_ = buffer->next;
    return buffer;
}

// ---- Song -------------------------------------------------------------

uint32_t Sequencer::Open(const char* path)
{
    if (State() != SequencerState::NoFile)
        return kSeqErrUnsupported;
    std::unique_ptr<SmfReader> reader;
    const SmfResult result = SmfReader::Open(path, &reader);
    return OpenWith(result, reader);
}

uint32_t Sequencer::OpenImage(const uint8_t* bytes, size_t size)
{
    if (State() != SequencerState::NoFile)
        return kSeqErrUnsupported;
    std::unique_ptr<SmfReader> reader;
    const SmfResult result = SmfReader::OpenImage(bytes, size, &reader);
    return OpenWith(result, reader);
}

uint32_t Sequencer::OpenWith(SmfResult result, std::unique_ptr<SmfReader>& reader)
{
    if (result != SmfResult::Ok)
        return SequencerResultFor(result);
    reader_ = std::move(reader);
    timeDivision_ = reader_->Division();
    length_ = reader_->Length();
    trackCount_ = reader_->TrackCount();
    state_ = SequencerState::Opened;
    return kSeqOk;
}

uint32_t Sequencer::Close()
{
    if (State() != SequencerState::Opened)
        return kSeqErrUnsupported;
    ClearLoop();
    reader_.reset();
    if (streamOpen_) {
        DrainStream();  // a failed preroll may have left buffers queued
        UnprepareAll();
        port_->Close();
        streamOpen_ = false;
    }
    length_ = 0;
    trackCount_ = 0;
    timeDivision_ = 0;
    state_ = SequencerState::NoFile;
    return kSeqOk;
}

uint32_t Sequencer::SetPort(MidiStreamPort* port)
{
    if (streamOpen_)
        return kSeqErrUnsupported;
    port_ = port;
    return kSeqOk;
}

// ---- Preroll ----------------------------------------------------------

uint32_t Sequencer::Preroll(uint32_t startTick, uint32_t endTick)
{
    const SequencerState state = State();
    if (state != SequencerState::Opened && state != SequencerState::Prerolled)
        return kSeqErrUnsupported;
    return Reroll(startTick, endTick, false);
}

uint32_t Sequencer::Reroll(uint32_t startTick, uint32_t endTick, bool seeking)
{
    startTick_ = startTick;
    endTick_ = endTick;
    lastError_ = 0;
    if (streamOpen_)
        DrainStream();
    doneDue_ = false;  // whatever ended is superseded
    inUse_ = 0;
    state_ = SequencerState::Prerolling;

    uint32_t result = OpenStream();
    if (result == kSeqOk)
        result = CollectState(seeking);
    if (result != kSeqOk)
        return FailPreroll(result);

    result = QueueBuffers();
    if (result != kSeqOk)
        return FailPreroll(result);
    state_ = SequencerState::Prerolled;
    return kSeqOk;
}

uint32_t Sequencer::Seek(uint32_t tick)
{
    const SequencerState state = State();
    if (state != SequencerState::Prerolled && state != SequencerState::Playing && state != SequencerState::Paused)
        return kSeqErrUnsupported;
    if (tick > length_)
        tick = length_;
    const uint32_t result = Reroll(tick, endTick_, true);
    if (result != kSeqOk || state == SequencerState::Prerolled)
        return result;
    if (state == SequencerState::Paused) {
        state_ = SequencerState::Paused;  // the stream waits, stopped, for Resume
        return kSeqOk;
    }
    return Start();
}

uint32_t Sequencer::FailPreroll(uint32_t result)
{
    state_ = SequencerState::Opened;
    return result;
}

uint32_t Sequencer::OpenStream()
{
    if (streamOpen_)
        return kSeqOk;
    if (!port_)
        return kSeqErrNotReady;
    const uint32_t result = port_->Open(device_, &Sequencer::OnBufferDone, this);
    if (result != kMidiOk)
        return result;
    streamOpen_ = true;
    if (port_->SetTimeDivision(timeDivision_) != kMidiOk) {
        port_->Close();
        streamOpen_ = false;
        return kSeqErrNotReady;
    }
    return kSeqOk;
}

bool Sequencer::ResizeRollBuffer(uint32_t total)
{
    if (rollBuffer_.prepared)
        port_->Unprepare(&rollBuffer_);
    try {
        rollData_.resize(total - kHeaderBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    rollTotal_ = total;
    rollBuffer_.data = rollData_.data();
    rollBuffer_.size = total - kHeaderBytes;
    return true;
}

// The song's state at the start tick goes into the preroll buffer, which
// grows 4096, 8192, 16384, 32768 bytes as needed; the reader goes on from
// there.
uint32_t Sequencer::CollectState(bool seeking)
{
    SmfMerge mark;
    std::unique_ptr<SongState> state(new (std::nothrow) SongState());
    if (!state)
        return kSeqErrOutOfMemory;
    SmfResult result = SmfResult::NoMemory;
    try {
        result = CollectSongState(*reader_, startTick_, state.get(), &mark);
    } catch (const std::bad_alloc&) {
    }
    if (result != SmfResult::Ok)
        return SequencerResultFor(result);
    reader_->PlaceAt(mark, startTick_);
    filler_.Start(*reader_, *state, seeking);
    if (rollTotal_ == 0 && !ResizeRollBuffer(kFirstRollBytes))
        return kSeqErrOutOfMemory;
    for (;;) {
        rollBuffer_.user = this;
        rollBuffer_.bytesRecorded = 0;
        const SmfResult opening = filler_.WriteOpening(&rollBuffer_);
        if (opening == SmfResult::Ok)
            break;
        if (opening == SmfResult::NoMemory && rollTotal_ < rollLimit_ && ResizeRollBuffer(rollTotal_ * 2))
            continue;
        if (rollBuffer_.prepared)
            port_->Unprepare(&rollBuffer_);
        rollData_ = std::vector<unsigned char>();
        rollBuffer_.data = nullptr;
        rollBuffer_.size = 0;
        rollTotal_ = 0;
        return SequencerResultFor(opening);
    }
    if (port_->Prepare(&rollBuffer_) != kMidiOk)
        return kSeqErrNotReady;
    ++inUse_;
    if (port_->Queue(&rollBuffer_) != kMidiOk) {
        TakeInUse();
        return kSeqErrNotReady;
    }
    return kSeqOk;
}

uint32_t Sequencer::QueueBuffers()
{
    endOfSong_ = false;
    while (MidiBuffer* buffer = PopFree()) {
        const SmfResult fill = FillBuffer(buffer);
        if (fill != SmfResult::Ok && fill != SmfResult::EndOfFile) {
            PushFree(buffer);
            return SequencerResultFor(fill);
        }
        uint32_t result = port_->Prepare(buffer);
        if (result == kMidiOk) {
            ++inUse_;
            result = port_->Queue(buffer);
            if (result != kMidiOk)
                TakeInUse();
        }
        if (result != kMidiOk) {
            PushFree(buffer);
            return result;
        }
        if (fill == SmfResult::EndOfFile) {
            endOfSong_ = true;
            break;
        }
    }
    return kSeqOk;
}

SmfResult Sequencer::FillBuffer(MidiBuffer* buffer)
{
    return filler_.Fill(*reader_, buffer, endTick_);
}

// Yields until no buffer is queued and no callback is still running: a
// callback counts itself before it gives its buffer back.
void Sequencer::WaitUntilIdle()
{
    while (inUse_.load() > 0 || callbacks_.load() > 0)
        std::this_thread::yield();
}

// Returns every queued buffer (the callback only takes them back in
// Resetting) and waits for them.
void Sequencer::DrainStream()
{
    const SequencerState before = State();
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        state_ = SequencerState::Resetting;
    }
    port_->Reset();
    WaitUntilIdle();
    state_ = before;
}

void Sequencer::UnprepareAll()
{
    for (MidiBuffer& buffer : buffers_) {
        if (buffer.prepared)
            port_->Unprepare(&buffer);
    }
    if (rollBuffer_.prepared)
        port_->Unprepare(&rollBuffer_);
}

// ---- Transport --------------------------------------------------------

uint32_t Sequencer::Start()
{
    if (State() != SequencerState::Prerolled)
        return kSeqErrUnsupported;
    state_ = SequencerState::Playing;
    const uint32_t result = port_->Restart();
    if (result != kMidiOk)
        state_ = SequencerState::Opened;  // like a failed preroll: the song can be closed or prerolled again
    return result;
}

uint32_t Sequencer::Pause()
{
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        if (State() != SequencerState::Playing)
            return kSeqErrUnsupported;
        state_ = SequencerState::Paused;
    }
    port_->Pause();
    return kSeqOk;
}

uint32_t Sequencer::Resume()
{
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        if (State() != SequencerState::Paused)
            return kSeqErrUnsupported;
        state_ = SequencerState::Playing;
    }
    port_->Restart();
    return kSeqOk;
}

uint32_t Sequencer::Stop()
{
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        const SequencerState state = State();
        if (state != SequencerState::Playing && state != SequencerState::Paused)
            return kSeqOk;
        state_ = SequencerState::Stopping;
    }
    const uint32_t result = port_->Stop();
    lastError_ = result;
    if (result != kMidiOk)
        return kSeqErrNotReady;
    WaitUntilIdle();
    return kSeqOk;
}

bool Sequencer::EndPlayback()
{
    // The notice may arrive while the last callback is still returning.
    while (callbacks_.load() > 0)
        std::this_thread::yield();
    const bool due = doneDue_.exchange(false);
    if (!due && State() != SequencerState::Stopping)
        return false;
    if (streamOpen_) {
        UnprepareAll();
        port_->Close();
        streamOpen_ = false;
    }
    state_ = reader_ ? SequencerState::Opened : SequencerState::NoFile;
    lastError_ = 0;
    return true;
}

// ---- Loops ------------------------------------------------------------

uint32_t Sequencer::SetLoop(uint32_t startTick, uint32_t endTick, uint32_t count)
{
    if (!reader_)
        return kSeqErrUnsupported;
    if (endTick > length_)
        endTick = length_;
    if (startTick >= endTick)
        return kSeqErrOutOfRange;
    std::unique_ptr<LoopPlan> plan(new (std::nothrow) LoopPlan());
    if (!plan)
        return kSeqErrOutOfMemory;
    plan->start = startTick;
    plan->end = endTick;
    plan->count = count;
    SmfResult result = SmfResult::NoMemory;
    try {
        result = CollectSongState(*reader_, startTick, &plan->state, &plan->mark);
        if (result == SmfResult::Ok)
            filler_.SetLoop(plan.get());
    } catch (const std::bad_alloc&) {
        result = SmfResult::NoMemory;
    }
    if (result != SmfResult::Ok)
        return SequencerResultFor(result);
    loop_.on = true;
    loop_.startTick = startTick;
    loop_.endTick = endTick;
    loop_.count = count;
    return kSeqOk;
}

void Sequencer::ClearLoop()
{
    filler_.SetLoop(nullptr);
    loop_ = LoopStatus();
}

Sequencer::LoopStatus Sequencer::Loop()
{
    LoopStatus status = loop_;
    SongPlace place;
    if (status.on)
        status.repetition = PlayedPlace(&place) ? place.repetition : 1;
    return status;
}

// Where the song stands in what the stream has played.
bool Sequencer::PlayedPlace(SongPlace* place)
{
    uint32_t played = 0;
    switch (State()) {
    case SequencerState::Prerolling:
    case SequencerState::Prerolled:
        break;
    case SequencerState::Playing:
    case SequencerState::Paused:
        if (!port_ || port_->Position(&played) != kMidiOk)
            return false;
        break;
    default:
        return false;
    }
    *place = filler_.PlaceAt(played);
    return true;
}

uint32_t Sequencer::Position(uint32_t* ticks)
{
    switch (State()) {
    case SequencerState::Opened:
        *ticks = 0;
        return kSeqOk;
    case SequencerState::Prerolling:
    case SequencerState::Prerolled:
        *ticks = startTick_;
        return kSeqOk;
    case SequencerState::Playing:
    case SequencerState::Paused: {
        SongPlace place;
        if (!PlayedPlace(&place))
            return kSeqErrNotReady;
        *ticks = place.tick;
        return kSeqOk;
    }
    default:
        return kSeqErrUnsupported;
    }
}

uint32_t Sequencer::TicksToMs(uint32_t tick) const
{
    return reader_ ? reader_->TicksToMs(tick) : 0;
}

uint32_t Sequencer::MsToTicks(uint32_t ms) const
{
    return reader_ ? reader_->MsToTicks(ms) : 0;
}

// ---- The port's thread -----------------------------------------------

void Sequencer::OnBufferDone(MidiBuffer* buffer, void* context)
{
    Sequencer* self = static_cast<Sequencer*>(context);
    ++self->callbacks_;
    self->BufferDone(buffer);
    const int32_t running = --self->callbacks_;  // the last use of the Sequencer
    ZUB_ASSERT(running >= 0);
}

// The in-use count drops only once the buffer has been dealt with.
void Sequencer::BufferDone(MidiBuffer* buffer)
{
    const SequencerState state = State();
    const bool isRoll = buffer == &rollBuffer_;
    if (state == SequencerState::Resetting) {
        if (!isRoll)
            PushFree(buffer);
        TakeInUse();
        return;
    }
    if (state == SequencerState::Stopping || endOfSong_.load()) {
        ReleaseBuffer(buffer, state == SequencerState::Stopping);
        return;
    }
    const SmfResult fill = FillBuffer(buffer);
    if (fill == SmfResult::EndOfFile)
        endOfSong_ = true;
    bool stopping = false;
    {
        // A stop or reset that began during the fill has already emptied the
        // stream; a buffer queued now would never come back.
        std::lock_guard<std::mutex> guard(stateLock_);
        const SequencerState now = State();
        if (now == SequencerState::Stopping || now == SequencerState::Resetting) {
            stopping = now == SequencerState::Stopping;
        } else {
            if ((fill == SmfResult::Ok || fill == SmfResult::EndOfFile) && port_->Queue(buffer) == kMidiOk)
                return;  // requeued: still in use
            // A fault in the song or a failed queue stops playback.
            state_ = SequencerState::Stopping;
            stopping = true;
        }
    }
    if (!stopping) {  // a reset takes the buffer back as it is
        if (!isRoll)
            PushFree(buffer);
        TakeInUse();
        return;
    }
    ReleaseBuffer(buffer, true);
}

// Unprepares a buffer that is not requeued and, for the last one in use,
// arranges the done notice.
void Sequencer::ReleaseBuffer(MidiBuffer* buffer, bool stopping)
{
    port_->Unprepare(buffer);
    if (buffer != &rollBuffer_)
        PushFree(buffer);
    if (TakeInUse() == 0)
        ScheduleDone(stopping);
}

void Sequencer::ScheduleDone(bool stopping)
{
    doneDue_ = true;
    if (!notify_)
        return;
    int64_t delay = kStopDelayMs;
    uint32_t played = 0;
    if (!stopping && port_->Position(&played) == kMidiOk && played != 0) {
        delay = static_cast<int64_t>(TicksToMs(length_)) - TicksToMs(filler_.PlaceAt(played).tick);
        if (delay <= 0)
            delay = kStopDelayMs;
    }
    notify_->ScheduleDone(static_cast<uint32_t>(delay));
}
