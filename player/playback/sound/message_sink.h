// A sink for an output that takes channel messages one at a time and
// system exclusive messages whole (a synthesizer, the ALSA sequencer): the
// pieces of long messages are joined first; tempo and no-operation records
// only mark time and go nowhere.
#ifndef ZUB_SOUND_MESSAGE_SINK_H
#define ZUB_SOUND_MESSAGE_SINK_H

#include "longmessage.h"
#include "midisink.h"

class MessageSink : public MidiSink {
public:
    void OnEvent(const MidiSinkEvent& event) override
    {
        if (event.kind == MidiSinkKind::Short)
            Channel(event.bytes, event.length);
        else if (event.kind == MidiSinkKind::Long)
            joiner_.Add(event.tick, event.bytes, event.length,
                        [this](const LongMessageJoiner::Message& m) { Exclusive(m); });
    }

protected:
    virtual void Channel(const uint8_t* bytes, uint32_t length) = 0;
    virtual void Exclusive(const LongMessageJoiner::Message& message) = 0;

private:
    LongMessageJoiner joiner_;
};

#endif
