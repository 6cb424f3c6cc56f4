#include "bufferfill.h"

#include <cassert>
#include <cstring>

#include "smftime.h"
#include "streamrecords.h"
#include "voicemaphook.h"

namespace {

constexpr uint32_t kRoomPerEvent = 16;
constexpr uint32_t kRoomPerMappedEvent = 64;  // a program change may expand into several events
constexpr uint32_t kMaxExtraWords = 13;
constexpr uint32_t kNoSpanEnd = 0xFFFFFFFFu;
constexpr uint8_t kMostStrikesCounted = 4;
constexpr uint8_t kSustain = 64;
constexpr uint8_t kSostenuto = 66;
constexpr uint32_t kReleaseNotes = 16 * 128;
constexpr uint32_t kReleaseEnd = kReleaseNotes + 16;

// Ticks that `us` microseconds last on a stream at `tempo`; at least 1 so
// that every span moves on.
uint32_t TicksIn(uint64_t us, uint16_t division, uint32_t tempo)
{
    uint64_t ticks = 0;
    if (IsTimeCode(division))
        ticks = us * TimeCodeTicksPerSecond(division) / 1000000;
    else if (tempo == 0)
        return kNoSpanEnd;  // no time passes at all
    else
        ticks = us * division / tempo;
    if (ticks < 1)
        return 1;
    return ticks > kNoSpanEnd ? kNoSpanEnd : static_cast<uint32_t>(ticks);
}

uint64_t UsIn(uint32_t ticks, uint16_t division, uint32_t tempo)
{
    if (IsTimeCode(division))
        return static_cast<uint64_t>(ticks) * 1000000 / TimeCodeTicksPerSecond(division);
    return static_cast<uint64_t>(ticks) * tempo / division;
}

void AppendSysex(uint8_t* out, uint32_t* length, const uint8_t* bytes, uint32_t count)
{
    std::memcpy(out + *length, bytes, count);
    *length += count;
}

void AppendLamp(uint8_t* out, uint32_t* length, uint8_t channel, bool on)
{
    const uint8_t message[] = {0xF0, 0x43, 0x73, 0x01, 0x11, static_cast<uint8_t>(channel - 1),
                               0x47, static_cast<uint8_t>(on ? 0x02 : 0x00), 0xF7};
    AppendSysex(out, length, message, sizeof message);
}

}  // namespace

uint8_t ApplyVelocityBase(uint8_t velocity, uint8_t highest, int base)
{
    const int drop = static_cast<int>(highest) - base;
    if (drop <= 0)
        return velocity;
    return velocity > drop ? static_cast<uint8_t>(velocity - drop) : 0;
}

uint32_t BuildInjection(bool volume, int masterVolume, bool lamps, LampPair selection, const SmfReader& reader,
                        LampPair* lit, uint8_t* out)
{
    uint32_t length = 0;
    if (volume) {
        int magnitude = masterVolume < 0 ? -masterVolume : masterVolume;
        magnitude = magnitude < 1 ? 1 : (magnitude > 128 ? 128 : magnitude);
        const uint8_t message[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, static_cast<uint8_t>(magnitude - 1), 0xF7};
        AppendSysex(out, &length, message, sizeof message);
    }
    if (lamps) {
        uint8_t next[2] = {selection.first, selection.second};
        if (selection.first == kLampsAuto) {
            next[0] = reader.LampChannelA();
            next[1] = reader.LampChannelB();
        }
        for (uint8_t& channel : next) {
            if (channel > 16)
                channel = 0;
        }
        for (uint8_t channel : {lit->first, lit->second}) {
            if (channel >= 1 && channel <= 16)
                AppendLamp(out, &length, channel, false);
        }
        for (uint8_t channel : next) {
            if (channel != 0)
                AppendLamp(out, &length, channel, true);
        }
        *lit = {next[0], next[1]};
    }
    return length;
}

// ---- Playback ---------------------------------------------------------

void BufferFiller::Start(const SmfReader& reader, const SongState& state, bool seeking)
{
    std::lock_guard<std::mutex> guard(lock_);
    const InstrumentSettings settings = controls_.Load();
    lampPending_ = !seeking && settings.lamps.first != kLampsDisabled;
    volumePending_ = !seeking && settings.masterVolume > 0;
    // Only the leading messages still ahead are waited for.
    injectionCountdown_ = reader.LeadingExclusiveCount() - state.ExclusivesBefore();
    long_ = LongMessage();
    ended_ = false;
    division_ = reader.Division();
    highestVelocity_ = reader.HighestVelocity();
    streamTick_ = state.Tick();
    elapsed_ = 0;
    startTempo_ = state.Tempo();
    adjuster_.Reset(startTempo_);
    // The stream's stop turned the notes off; after a seek the pedals follow.
    seeking_ = seeking;
    std::memset(sounding_, 0, sizeof sounding_);
    if (!seeking) {
        std::memset(pedalsMoved_, 0, sizeof pedalsMoved_);
        jumpsDone_ = 0;
    }
    std::memcpy(pedalsBeforeSeek_, pedalsMoved_, sizeof pedalsMoved_);
    std::memset(pedals_, 0, sizeof pedals_);
    release_ = Release();
    opening_ = state.Events();
    pending_.clear();
    pendingAt_ = 0;
    jumps_.Reset({state.Tick(), jumpsDone_ + 1});
}

SmfResult BufferFiller::WriteOpening(MidiBuffer* buffer)
{
    std::lock_guard<std::mutex> guard(lock_);
    settings_ = controls_.Load();
    buffer->bytesRecorded = 0;
    // Written from the top each time, also into a larger buffer.
    release_ = Release();
    release_.active = seeking_;
    std::memcpy(pedalsMoved_, pedalsBeforeSeek_, sizeof pedalsMoved_);
    pending_ = opening_;
    pendingAt_ = 0;
    adjuster_.Reset(startTempo_);
    adjuster_.SettleVolume(settings_.adjust.trackVolume);  // the state's volumes go out scaled
    if (settings_.voiceMap)
        settings_.voiceMap->Rewind();  // the song starts again: no bank or voice carried over
    if (!WriteReleases(buffer) || !WritePending(buffer))
        return SmfResult::NoMemory;
    return SmfResult::Ok;
}

SmfResult BufferFiller::Fill(SmfReader& reader, MidiBuffer* buffer, uint32_t endTick)
{
    std::lock_guard<std::mutex> guard(lock_);
    settings_ = controls_.Load();
    buffer->bytesRecorded = 0;
    // Changed adjustments go out first, but never inside a long message.
    if (long_.pending)
        WritePiece(buffer, 0);
    else
        adjuster_.WriteChanges(buffer, settings_.adjust);
    OpenSpan();
    const uint32_t room = settings_.voiceMap ? kRoomPerMappedEvent : kRoomPerEvent;
    for (;;) {
        if (long_.pending)
            break;  // the rest goes into the next buffer
        if (!WriteReleases(buffer) || !WritePending(buffer))
            break;  // a jump's turning off and state go on in the next buffer
        // The injection goes out as soon as the song's leading system
        // exclusive messages have passed, before anything else is read.
        if (InjectionReady()) {
            StartInjection(reader, buffer);
            continue;
        }
        if (ended_ || FreeBytes(buffer) < room)
            break;
        // Up to the end tick (included), or to the loop's end (excluded).
        const bool looping = LoopAhead(endTick);
        const uint32_t limit = looping ? loopEnd_ : endTick;
        const bool spanEndsFirst = spanEnd_ < limit;
        SmfEvent event;
        SmfResult result = reader.NextEvent(spanEndsFirst ? spanEnd_ : limit, spanEndsFirst || !looping, &event);
        if (result == SmfResult::LimitReached && spanEndsFirst) {
            // The rest of the span passes without events; the next one waits
            // for the next buffer.
            if (spanEnd_ > streamTick_)
                PutMidiRecord(buffer, DeltaTo(spanEnd_), kMidiEventNop);
            break;
        }
        if (result == SmfResult::LimitReached && looping) {
            Jump(reader, buffer);
            continue;
        }
        if (result == SmfResult::EndOfFile || result == SmfResult::LimitReached) {
            ended_ = true;
            break;
        }
        if (result == SmfResult::Ok)
            result = WriteEvent(reader, buffer, event);
        if (result != SmfResult::Ok)
            return result;
    }
    return ended_ && !long_.pending ? SmfResult::EndOfFile : SmfResult::Ok;
}

SmfResult BufferFiller::WriteEvent(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event)
{
    if (event.status < 0xF0) {
        WriteChannelMessage(reader, buffer, event);
    } else if (event.status == 0xFF) {
        if (event.data1 == 0x51) {
            if (event.length != 3)
                return SmfResult::InvalidFile;
            WriteTempo(buffer, DeltaTo(event.tick),
                       static_cast<uint32_t>(event.data[0]) << 16 | event.data[1] << 8 | event.data[2]);
        } else if (event.tick != streamTick_) {
            PutMidiRecord(buffer, DeltaTo(event.tick), kMidiEventNop);  // no time is lost
        }
    } else {
        const bool exclusive = event.status == 0xF0;
        if (!exclusive && event.length == 0) {
            if (event.tick != streamTick_)
                PutMidiRecord(buffer, DeltaTo(event.tick), kMidiEventNop);
            return SmfResult::Ok;
        }
        if (exclusive && (lampPending_ || volumePending_))
            --injectionCountdown_;
        StartLong(event.data, event.length, exclusive);
        WritePiece(buffer, DeltaTo(event.tick));
    }
    return SmfResult::Ok;
}

// The delta of a record at `tick`, which becomes the stream's time.
uint32_t BufferFiller::DeltaTo(uint32_t tick)
{
    assert(tick >= streamTick_);
    const uint32_t delta = tick - streamTick_;
    streamTick_ = tick;
    elapsed_ += delta;
    return delta;
}

void BufferFiller::WriteChannelMessage(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event)
{
    WriteShort(buffer, {event.status, event.data1, event.data2}, DeltaTo(event.tick), reader.HighestVelocity());
}

// A channel message of the song (or of a state at a start): through the
// voice map, the adjustments and the Velocity Base.
void BufferFiller::WriteShort(MidiBuffer* buffer, ShortMessage message, uint32_t delta, uint8_t highest)
{
    if (VoiceMapHook* map = settings_.voiceMap) {
        const uint8_t kind = message.status & 0xF0;
        if (kind == 0x80 || kind == 0x90) {
            map->MapNote(&message);
        } else if (kind == 0xB0) {
            map->MapController(&message);
        } else if (kind == 0xC0) {
            uint32_t extra[kMaxExtraWords];
            uint32_t words = map->MapProgram(&message, extra, kMaxExtraWords);
            words = (words > kMaxExtraWords ? kMaxExtraWords : words) / 3 * 3;
            for (uint32_t i = 0; i < words; i += 3) {
                // The first record written carries the event's delta, so the
                // extra events sound at the event's own time.
                PutMidiRecord(buffer, i == 0 ? delta : extra[i], extra[i + 2]);
            }
            if (words > 0)
                delta = 0;
        }
        map->MapChannel(&message);
    }
    if (!adjuster_.Channel(&message, settings_.adjust)) {
        if (delta != 0)
            PutMidiRecord(buffer, delta, kMidiEventNop);  // no time is lost
        return;
    }
    if ((message.status & 0xF0) == 0x90)
        message.data2 = ApplyVelocityBase(message.data2, highest, settings_.velocityBase);
    NoteSent(message);
    PutMidiRecord(buffer, delta, ShortEventWord(message.status, message.data1, message.data2));
}

// Keeps what the instrument was sent, so that a jump can turn it off.
void BufferFiller::NoteSent(const ShortMessage& message)
{
    const uint8_t kind = message.status & 0xF0, channel = message.status & 0x0F;
    if (kind == 0x90 || kind == 0x80) {
        uint8_t& count = sounding_[channel][message.data1 & 0x7F];
        if (kind == 0x90 && message.data2 != 0)
            count = count < kMostStrikesCounted ? count + 1 : count;
        else if (count > 0)
            --count;
    } else if (kind == 0xB0 && (message.data1 == kSustain || message.data1 == kSostenuto)) {
        const int pedal = message.data1 == kSustain ? 0 : 1;
        pedals_[channel][pedal] = message.data2;
        pedalsMoved_[channel][pedal] = true;
    }
}

void BufferFiller::WriteTempo(MidiBuffer* buffer, uint32_t delta, uint32_t songTempo)
{
    const uint32_t before = adjuster_.StreamTempo();
    PutMidiRecord(buffer, delta, kMidiEventTempo | adjuster_.Tempo(songTempo, settings_.adjust));
    MoveSpan(before);
}

// ---- Openings and loops ---------------------------------------------------

// Writes what is left of a release; false while it does not fit.
bool BufferFiller::WriteReleases(MidiBuffer* buffer)
{
    for (; release_.active && release_.at < kReleaseEnd;) {
        if (FreeBytes(buffer) < kMidiRecordSize)
            return false;
        if (release_.at < kReleaseNotes) {
            const uint8_t channel = static_cast<uint8_t>(release_.at / 128), key = release_.at % 128;
            uint8_t& count = sounding_[channel][key];
            if (!release_.notes || count == 0) {
                ++release_.at;
                continue;
            }
            --count;
            PutMidiRecord(buffer, 0, ShortEventWord(static_cast<uint8_t>(0x80 | channel), key, 0));
            continue;
        }
        const uint8_t channel = static_cast<uint8_t>(release_.at - kReleaseNotes);
        uint8_t* pedal = pedals_[channel];
        bool* moved = pedalsMoved_[channel];
        const bool sustain = release_.exact ? pedal[0] != 0 : moved[0];
        const bool sostenuto = release_.exact ? pedal[1] != 0 : moved[1];
        const uint32_t needed = (sustain ? 1 : 0) + (sostenuto ? 1 : 0);
        if (FreeBytes(buffer) < needed * kMidiRecordSize)
            return false;
        if (sustain)
            PutMidiRecord(buffer, 0, ShortEventWord(static_cast<uint8_t>(0xB0 | channel), kSustain, 0));
        if (sostenuto)
            PutMidiRecord(buffer, 0, ShortEventWord(static_cast<uint8_t>(0xB0 | channel), kSostenuto, 0));
        pedal[0] = pedal[1] = 0;
        moved[0] = moved[1] = false;
        ++release_.at;
    }
    release_ = Release();
    return true;
}

// Writes what is left of the pending state; false while it does not fit.
// Each event takes one record, or a few more for a voice map's program.
bool BufferFiller::WritePending(MidiBuffer* buffer)
{
    const uint32_t room = settings_.voiceMap ? kRoomPerMappedEvent : kMidiRecordSize;
    for (; pendingAt_ < pending_.size(); ++pendingAt_) {
        if (FreeBytes(buffer) < room)
            return false;
        const uint32_t word = pending_[pendingAt_];
        if ((word >> 24) == (kMidiEventTempo >> 24)) {
            WriteTempo(buffer, 0, word & kMidiEventParamMask);
        } else {
            const ShortMessage message = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                                          static_cast<uint8_t>(word >> 16)};
            WriteShort(buffer, message, 0, highestVelocity_);
        }
    }
    pending_.clear();  // keeps its storage
    pendingAt_ = 0;
    return true;
}

void BufferFiller::SetLoop(const LoopPlan* plan)
{
    std::vector<uint32_t> events;
    if (plan)
        events = plan->state.Events();
    std::lock_guard<std::mutex> guard(lock_);
    loopOn_ = plan != nullptr;
    jumpsDone_ = 0;
    if (!plan)
        return;
    loopStart_ = plan->start;
    loopEnd_ = plan->end;
    loopCount_ = plan->count;
    loopMark_ = plan->mark;
    loopTempo_ = plan->state.Tempo();
    loopEvents_.swap(events);
    if (pending_.capacity() < loopEvents_.size())
        pending_.reserve(loopEvents_.size());  // a jump then allocates nothing
    jumps_.Add(elapsed_, {streamTick_, 1});
}

// Whether the loop's end lies ahead of what has been written, and another
// time through the passage is due.
bool BufferFiller::LoopAhead(uint32_t endTick) const
{
    return loopOn_ && (loopCount_ == 0 || jumpsDone_ + 1 < loopCount_) && streamTick_ < loopEnd_ &&
           loopEnd_ <= endTick;
}

// At the loop's end: the time up to it passes, the notes and pedals go off,
// and the song goes on from the loop's start with its state there.
void BufferFiller::Jump(SmfReader& reader, MidiBuffer* buffer)
{
    if (loopEnd_ > streamTick_)
        PutMidiRecord(buffer, DeltaTo(loopEnd_), kMidiEventNop);
    const uint32_t spanLeft = spanEnd_ == kNoSpanEnd ? kNoSpanEnd : spanEnd_ - loopEnd_;
    ++jumpsDone_;
    jumps_.Add(elapsed_, {loopStart_, jumpsDone_ + 1});
    release_ = Release();
    release_.active = release_.notes = release_.exact = true;
    pending_.assign(loopEvents_.begin(), loopEvents_.end());
    pendingAt_ = 0;
    reader.PlaceAt(loopMark_, loopStart_);
    adjuster_.Reset(loopTempo_);
    adjuster_.SettleVolume(settings_.adjust.trackVolume);
    if (settings_.voiceMap)
        settings_.voiceMap->Rewind();
    // The stream's time goes on from here as the song's from the start.
    streamTick_ = loopStart_;
    spanEnd_ = spanLeft == kNoSpanEnd || spanLeft > kNoSpanEnd - loopStart_ ? kNoSpanEnd : loopStart_ + spanLeft;
}

// ---- Spans --------------------------------------------------------------

// The present buffer's span starts at the stream's time.
void BufferFiller::OpenSpan()
{
    spanEnd_ = kNoSpanEnd;
    if (spanMs_ == 0)
        return;
    const uint32_t ticks = TicksIn(static_cast<uint64_t>(spanMs_) * 1000, division_, adjuster_.StreamTempo());
    if (ticks < kNoSpanEnd - streamTick_)
        spanEnd_ = streamTick_ + ticks;
}

// A tempo change within the span: what is left of it lasts as long as before.
void BufferFiller::MoveSpan(uint32_t tempoBefore)
{
    if (spanEnd_ == kNoSpanEnd || IsTimeCode(division_))
        return;
    const uint64_t leftUs = UsIn(spanEnd_ - streamTick_, division_, tempoBefore);
    const uint32_t ticks = TicksIn(leftUs, division_, adjuster_.StreamTempo());
    spanEnd_ = ticks < kNoSpanEnd - streamTick_ ? streamTick_ + ticks : kNoSpanEnd;
}

// ---- Long messages and the injection -------------------------------------

// Writes the next piece of the pending long message, if at least 16 bytes
// are free; a continuation waits for the next buffer otherwise.
void BufferFiller::WritePiece(MidiBuffer* buffer, uint32_t delta)
{
    const uint32_t free = FreeBytes(buffer);
    if (free < 16)
        return;
    const uint32_t room = (free - kMidiRecordSize) & ~3u;
    const uint32_t piece = long_.remaining < room ? long_.remaining : room;
    PutMidiRecord(buffer, delta, kMidiEventLong | piece);
    uint8_t* p = buffer->data + buffer->bytesRecorded;
    uint32_t count = piece;
    if (long_.needsF0 && count > 0) {
        *p++ = 0xF0;
        --count;
        long_.needsF0 = false;
    }
    std::memcpy(p, long_.data, count);
    long_.data += count;
    const uint32_t padded = (piece + 3) & ~3u;
    std::memset(buffer->data + buffer->bytesRecorded + piece, 0, padded - piece);
    buffer->bytesRecorded += padded;
    long_.remaining -= piece;
    if (long_.remaining == 0)
        long_.pending = false;
}

void BufferFiller::StartLong(const uint8_t* data, uint32_t length, bool needsF0)
{
    long_.pending = true;
    long_.needsF0 = needsF0;
    long_.data = data;
    long_.remaining = length + (needsF0 ? 1 : 0);
}

bool BufferFiller::InjectionReady() const
{
    return (lampPending_ || volumePending_) && injectionCountdown_ <= 0 && !long_.pending;
}

void BufferFiller::StartInjection(const SmfReader& reader, MidiBuffer* buffer)
{
    LampPair lit = LitLamps();
    const uint32_t length = BuildInjection(volumePending_, settings_.masterVolume, lampPending_, settings_.lamps,
                                           reader, &lit, injection_);
    lit_ = lit.Packed();
    lampPending_ = false;
    volumePending_ = false;
    if (length == 0)
        return;
    StartLong(injection_, length, false);
    WritePiece(buffer, 0);
}
