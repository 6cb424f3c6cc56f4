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

// The tempo in effect just before `tick`: events at the tick itself are
// played, not collected by the seek.
uint32_t TempoBefore(const SmfReader& reader, uint32_t tick)
{
    uint32_t tempo = kDefaultTempo;
    for (const TempoMapEntry& e : reader.TempoMap()) {
        if (e.tick >= tick)
            break;
        tempo = e.tempo;
    }
    return tempo;
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

void BufferFiller::Start(const SmfReader& reader, uint32_t startTick)
{
    const InstrumentSettings settings = controls_.Load();
    lampPending_ = settings.lamps.first != kLampsDisabled;
    volumePending_ = settings.masterVolume > 0;
    injectionCountdown_ = reader.LeadingExclusiveCount();
    long_ = LongMessage();
    ended_ = false;
    division_ = reader.Division();
    streamTick_ = startTick;
    adjuster_.Reset(TempoBefore(reader, startTick));
    if (settings.voiceMap)
        settings.voiceMap->Rewind();  // the song starts again: no bank or voice carried over
}

SmfResult BufferFiller::Fill(SmfReader& reader, MidiBuffer* buffer, uint32_t endTick)
{
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
        // The injection goes out as soon as the song's leading system
        // exclusive messages have passed, before anything else is read.
        if (InjectionReady()) {
            StartInjection(reader, buffer);
            continue;
        }
        if (ended_ || FreeBytes(buffer) < room)
            break;
        const bool spanEndsFirst = spanEnd_ < endTick;
        SmfEvent event;
        SmfResult result = reader.NextEvent(spanEndsFirst ? spanEnd_ : endTick, true, &event);
        if (result == SmfResult::LimitReached && spanEndsFirst) {
            // The rest of the span passes without events; the next one waits
            // for the next buffer.
            if (spanEnd_ > streamTick_)
                PutMidiRecord(buffer, DeltaTo(spanEnd_), kMidiEventNop);
            break;
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
    return delta;
}

void BufferFiller::WriteChannelMessage(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event)
{
    ShortMessage message = {event.status, event.data1, event.data2};
    uint32_t delta = DeltaTo(event.tick);
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
        message.data2 = ApplyVelocityBase(message.data2, reader.HighestVelocity(), settings_.velocityBase);
    PutMidiRecord(buffer, delta, ShortEventWord(message.status, message.data1, message.data2));
}

void BufferFiller::WriteTempo(MidiBuffer* buffer, uint32_t delta, uint32_t songTempo)
{
    const uint32_t before = adjuster_.StreamTempo();
    PutMidiRecord(buffer, delta, kMidiEventTempo | adjuster_.Tempo(songTempo, settings_.adjust));
    MoveSpan(before);
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
