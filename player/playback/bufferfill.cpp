#include "bufferfill.h"

#include <cstring>

#include "streamrecords.h"
#include "voicemaphook.h"

namespace {

constexpr uint32_t kRoomPerEvent = 16;
constexpr uint32_t kRoomPerMappedEvent = 64;  // a program change may expand into several events
constexpr uint32_t kMaxExtraWords = 13;

// Writes the next piece of the pending long message, if at least 16 bytes
// are free; a continuation waits for the next buffer otherwise.
void WritePiece(SmfPlayState& play, MidiBuffer* buffer, uint32_t delta)
{
    const uint32_t free = FreeBytes(buffer);
    if (free < 16)
        return;
    const uint32_t room = (free - kMidiRecordSize) & ~3u;
    const uint32_t piece = play.longRemaining < room ? play.longRemaining : room;
    PutMidiRecord(buffer, delta, kMidiEventLong | piece);
    uint8_t* p = buffer->data + buffer->bytesRecorded;
    uint32_t count = piece;
    if (play.longNeedsF0 && count > 0) {
        *p++ = 0xF0;
        --count;
        play.longNeedsF0 = false;
    }
    std::memcpy(p, play.longData, count);
    play.longData += count;
    const uint32_t padded = (piece + 3) & ~3u;
    std::memset(buffer->data + buffer->bytesRecorded + piece, 0, padded - piece);
    buffer->bytesRecorded += padded;
    play.longRemaining -= piece;
    if (play.longRemaining == 0)
        play.longPending = false;
}

void StartLong(SmfPlayState& play, const uint8_t* data, uint32_t length, bool needsF0)
{
    play.longPending = true;
    play.longNeedsF0 = needsF0;
    play.longData = data;
    play.longRemaining = length + (needsF0 ? 1 : 0);
}

bool InjectionReady(const SmfPlayState& play)
{
    return (play.lampPending || play.volumePending) && play.injectionCountdown <= 0 && !play.longPending;
}

void StartInjection(SmfReader& reader, MidiBuffer* buffer, FillSettings& settings)
{
    SmfPlayState& play = reader.PlayState();
    const uint32_t length = BuildInjection(play.volumePending, play.lampPending, reader, settings, play.injection);
    play.lampPending = false;
    play.volumePending = false;
    if (length == 0)
        return;
    StartLong(play, play.injection, length, false);
    WritePiece(play, buffer, 0);
}

void WriteChannelMessage(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event,
                         const FillSettings& settings)
{
    ShortMessage message = {event.status, event.data1, event.data2};
    uint32_t delta = event.delta;
    if (VoiceMapHook* map = settings.voiceMap) {
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
    if (settings.adjuster && !settings.adjuster->Channel(&message, settings.adjust)) {
        if (delta != 0)
            PutMidiRecord(buffer, delta, kMidiEventNop);  // no time is lost
        return;
    }
    if ((message.status & 0xF0) == 0x90)
        message.data2 = ApplyVelocityBase(message.data2, reader.HighestVelocity(), settings.velocityBase);
    PutMidiRecord(buffer, delta, ShortEventWord(message.status, message.data1, message.data2));
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

uint32_t BuildInjection(bool volume, bool lamps, const SmfReader& reader, FillSettings& settings, uint8_t* out)
{
    uint32_t length = 0;
    if (volume) {
        int magnitude = settings.masterVolume < 0 ? -settings.masterVolume : settings.masterVolume;
        magnitude = magnitude < 1 ? 1 : (magnitude > 128 ? 128 : magnitude);
        const uint8_t message[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, static_cast<uint8_t>(magnitude - 1), 0xF7};
        AppendSysex(out, &length, message, sizeof message);
    }
    if (lamps) {
        uint8_t next[2] = {settings.lamp1, settings.lamp2};
        if (settings.lamp1 == 17) {
            next[0] = reader.LampChannelA();
            next[1] = reader.LampChannelB();
        }
        for (uint8_t& channel : next) {
            if (channel > 16)
                channel = 0;
        }
        for (uint8_t channel : settings.lit) {
            if (channel >= 1 && channel <= 16)
                AppendLamp(out, &length, channel, false);
        }
        for (uint8_t channel : next) {
            if (channel != 0)
                AppendLamp(out, &length, channel, true);
        }
        settings.lit[0] = next[0];
        settings.lit[1] = next[1];
    }
    return length;
}

SmfResult FillStreamBuffer(SmfReader& reader, MidiBuffer* buffer, uint32_t endTick, FillSettings& settings)
{
    SmfPlayState& play = reader.PlayState();
    buffer->bytesRecorded = 0;
    // Changed adjustments go out first, but never inside a long message.
    if (settings.adjuster && !play.longPending)
        settings.adjuster->WriteChanges(buffer, settings.adjust);
    if (play.longPending)
        WritePiece(play, buffer, 0);
    const uint32_t room = settings.voiceMap ? kRoomPerMappedEvent : kRoomPerEvent;
    for (;;) {
        if (play.longPending)
            break;  // the rest goes into the next buffer
        // The injection goes out as soon as the song's leading system
        // exclusive messages have passed, before anything else is read.
        if (InjectionReady(play)) {
            StartInjection(reader, buffer, settings);
            continue;
        }
        if (play.ended || FreeBytes(buffer) < room)
            break;
        SmfEvent event;
        const SmfResult result = reader.NextEvent(endTick, true, &event);
        if (result == SmfResult::EndOfFile || result == SmfResult::LimitReached) {
            play.ended = true;
            break;
        }
        if (result != SmfResult::Ok)
            return result;
        if (event.status < 0xF0) {
            WriteChannelMessage(reader, buffer, event, settings);
        } else if (event.status == 0xFF) {
            if (event.data1 == 0x51) {
                if (event.length != 3)
                    return SmfResult::InvalidFile;
                uint32_t tempo = static_cast<uint32_t>(event.data[0]) << 16 | event.data[1] << 8 | event.data[2];
                if (settings.adjuster)
                    tempo = settings.adjuster->Tempo(tempo, settings.adjust);
                PutMidiRecord(buffer, event.delta, kMidiEventTempo | tempo);
            } else if (event.delta != 0) {
                PutMidiRecord(buffer, event.delta, kMidiEventNop);  // no time is lost
            }
        } else {
            const bool exclusive = event.status == 0xF0;
            if (!exclusive && event.length == 0) {
                if (event.delta != 0)
                    PutMidiRecord(buffer, event.delta, kMidiEventNop);
                continue;
            }
            if (exclusive && (play.lampPending || play.volumePending))
                --play.injectionCountdown;
            StartLong(play, event.data, event.length, exclusive);
            WritePiece(play, buffer, event.delta);
        }
    }
    return play.ended && !play.longPending ? SmfResult::EndOfFile : SmfResult::Ok;
}
