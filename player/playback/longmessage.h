// Joins the pieces of long messages, as a stream queues them, back into
// whole messages: a system exclusive message from 0xF0 through 0xF7, and any
// run of bytes outside one as a message of its own (an escape). Sinks that
// need whole messages (a capture file, a synthesizer, the ALSA sequencer)
// share it.
#ifndef ZUB_PLAYBACK_LONGMESSAGE_H
#define ZUB_PLAYBACK_LONGMESSAGE_H

#include <cstdint>
#include <vector>

class LongMessageJoiner {
public:
    // `exclusive`: a message that starts with 0xF0 (it ends with 0xF7 unless
    // Flush cut it short); otherwise an escape run. `tick` is where it began.
    struct Message {
        uint32_t tick;
        const uint8_t* bytes;
        uint32_t length;
        bool exclusive;
    };

    // Adds one piece; calls `emit(const Message&)` for each message it completes.
    template <typename Emit>
    void Add(uint32_t tick, const uint8_t* bytes, uint32_t length, Emit emit)
    {
        uint32_t i = 0;
        while (i < length) {
            if (pending_.empty() && bytes[i] != 0xF0) {
                uint32_t j = i;
                while (j < length && bytes[j] != 0xF0)
                    ++j;
                emit(Message{tick, bytes + i, j - i, false});
                i = j;
                continue;
            }
            if (pending_.empty())
                pendingTick_ = tick;
            pending_.push_back(bytes[i]);
            if (bytes[i++] == 0xF7)
                Flush(emit);
        }
    }

    // Emits the exclusive message being joined, if any, as it stands.
    template <typename Emit>
    void Flush(Emit emit)
    {
        if (pending_.empty())
            return;
        emit(Message{pendingTick_, pending_.data(), static_cast<uint32_t>(pending_.size()), true});
        pending_.clear();
    }

    bool Pending() const { return !pending_.empty(); }

private:
    std::vector<uint8_t> pending_;
    uint32_t pendingTick_ = 0;
};

#endif
