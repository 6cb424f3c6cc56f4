// What the Sequencer asks of a loaded voice map while it fills buffers.
// The playlist's VoiceMap implements it; with none set, events pass unchanged.
#ifndef ZUB_PLAYBACK_VOICEMAPHOOK_H
#define ZUB_PLAYBACK_VOICEMAPHOOK_H

#include <cstdint>

struct ShortMessage {
    uint8_t status;  // 0x80-0xEF, channel in the low nibble
    uint8_t data1;
    uint8_t data2;   // 0 for two-byte messages
};

class VoiceMapHook {
public:
    virtual ~VoiceMapHook() = default;
    // Playback starts again from the song's beginning: forget what the
    // channels were set to (banks, voices, sounding notes).
    virtual void Rewind() {}
    // Note-on and note-off: may replace the note number.
    virtual void MapNote(ShortMessage* message) = 0;
    // Control change: sees bank selects; may rewrite the message.
    virtual void MapController(ShortMessage* message) = 0;
    // Program change: may write extra records (three 32-bit words each:
    // delta 0, stream id 0, event word) into `extraWords` to go ahead of the
    // message, and may rewrite the message. Returns the number of words
    // written, at most `capacityWords` (13: room for four extra records).
    virtual uint32_t MapProgram(ShortMessage* message, uint32_t* extraWords, uint32_t capacityWords) = 0;
    // Every channel message last: may move it to another channel.
    virtual void MapChannel(ShortMessage* message) = 0;
};

#endif
