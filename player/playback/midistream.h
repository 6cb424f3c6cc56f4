// The MIDI stream port: what the Sequencer needs from a stream output.
// The operations mirror the platform's stream services (open with a
// callback, time division, prepare, queue, restart, pause, stop, position,
// reset, unprepare, close). Two implementations: WinMmStream (win32/, the
// real services) and SoftMidiStream (portable, own clock thread).
#ifndef ZUB_PLAYBACK_MIDISTREAM_H
#define ZUB_PLAYBACK_MIDISTREAM_H

#include <cstddef>
#include <cstdint>

// Stream records in a buffer's data area, all little-endian 32-bit words:
// delta ticks, stream id (always 0), event word; a long event is followed by
// its bytes padded with zeros to a multiple of 4.
constexpr uint32_t kMidiRecordSize = 12;           // header of every record
constexpr uint32_t kMidiEventShort = 0x00000000;   // status | d1 << 8 | d2 << 16
constexpr uint32_t kMidiEventTempo = 0x01000000;   // | microseconds per quarter note
constexpr uint32_t kMidiEventNop = 0x02000000;     // carries a delta only
constexpr uint32_t kMidiEventLong = 0x80000000;    // | byte count of this piece
constexpr uint32_t kMidiEventParamMask = 0x00FFFFFF;

// Microseconds per quarter note of a song without Set Tempo, and of a
// stream before its first tempo record.
constexpr uint32_t kDefaultTempo = 500000;

// Result codes of the port: 0 on success, otherwise the platform's
// multimedia error numbers (these few also come from SoftMidiStream).
constexpr uint32_t kMidiOk = 0;
constexpr uint32_t kMidiErrError = 1;          // unspecified failure
constexpr uint32_t kMidiErrBadDeviceId = 2;
constexpr uint32_t kMidiErrInvalidHandle = 5;  // stream not open
constexpr uint32_t kMidiErrNoMemory = 7;
constexpr uint32_t kMidiErrInvalidParam = 11;
constexpr uint32_t kMidiErrUnprepared = 64;    // buffer queued without prepare
constexpr uint32_t kMidiErrStillPlaying = 65;  // buffer still queued

// Device number of the MIDI Mapper.
constexpr int kMidiMapper = -1;

// A stream buffer: header plus data area. The owner fills `data` with
// records and sets `bytesRecorded`; the port hands the buffer back through
// the done callback once it has played (or on stop and reset).
struct MidiBuffer {
    uint8_t* data = nullptr;
    uint32_t size = 0;           // capacity of `data` in bytes
    uint32_t bytesRecorded = 0;  // bytes of records in `data`
    void* user = nullptr;        // the owner's back pointer
    MidiBuffer* next = nullptr;  // the owner's list link
    // Room for the port's own per-buffer header (the platform's MIDI header
    // for WinMmStream); valid from Prepare to Unprepare.
    alignas(8) unsigned char portArea[96] = {};
    bool prepared = false;  // maintained by the port
};

// Called on the port's own thread for each buffer returned.
using MidiDoneCallback = void (*)(MidiBuffer* buffer, void* context);

class MidiStreamPort {
public:
    virtual ~MidiStreamPort() = default;

    // Opens the stream paused: queued buffers wait for Restart.
    // `device` is an output number or kMidiMapper.
    virtual uint32_t Open(int device, MidiDoneCallback callback, void* context) = 0;
    virtual bool IsOpen() const = 0;
    // The song's division word (ticks per quarter, or time code when bit 15 is set).
    virtual uint32_t SetTimeDivision(uint32_t division) = 0;
    virtual uint32_t Prepare(MidiBuffer* buffer) = 0;
    virtual uint32_t Unprepare(MidiBuffer* buffer) = 0;
    virtual uint32_t Queue(MidiBuffer* buffer) = 0;
    virtual uint32_t Restart() = 0;
    virtual uint32_t Pause() = 0;
    // Turns off sounding notes, returns every queued buffer through the
    // callback, and rewinds the position to 0; the stream stays open, paused.
    virtual uint32_t Stop() = 0;
    // Ticks played since the stream was opened or last stopped or reset.
    virtual uint32_t Position(uint32_t* ticks) = 0;
    // Like Stop, for the output as a whole (used before a new preroll).
    virtual uint32_t Reset() = 0;
    // Must not be called from the callback.
    virtual uint32_t Close() = 0;
};

#endif
