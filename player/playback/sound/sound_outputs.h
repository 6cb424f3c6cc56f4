// Sound on the machine itself, for the native zubcli: the ALSA sequencer
// (a digital piano on USB, a synthesizer client) and the built-in FluidSynth
// synthesizer, live or rendering into a WAV file. Both are sinks of a
// SoftMidiStream, so the Sequencer plays into them exactly as into the
// capture. A build without the libraries gets the same calls, which say so.
#ifndef ZUB_SOUND_SOUND_OUTPUTS_H
#define ZUB_SOUND_SOUND_OUTPUTS_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "message_sink.h"
#include "midisink.h"

// A sequencer port that takes MIDI.
struct AlsaPort {
    int client = 0;
    int port = 0;
    std::string clientName;
    std::string portName;
};

// The sequencer's ports that take MIDI from others. False with `*problem`
// when there is no sequencer.
bool ListAlsaPorts(std::vector<AlsaPort>* ports, std::string* problem);

// A sink that sends every event at once to the port "CLIENT:PORT" (a client
// name may stand for the number). Null with `*problem` when the port is
// missing or refuses the connection.
std::unique_ptr<MidiSink> OpenAlsaSink(const std::string& address, std::string* problem);

// The synthesizer: events take effect on the audio output as they arrive
// (StartAudio), or at their scheduled time in the rendered samples
// (StartRender, then FinishRender once the stream is closed).
class SynthSink : public MessageSink {
public:
    static constexpr uint32_t kSampleRate = 44100;
    // The longest release tail rendered after the song's end, in milliseconds.
    static constexpr uint32_t kTailLimitMs = 1000;

    virtual bool StartAudio(std::string* problem) = 0;
    // `progress` is called on the stream's thread with the song time
    // rendered so far, in microseconds.
    virtual bool StartRender(const std::string& wavPath, std::function<void(uint64_t)> progress,
                             std::string* problem) = 0;
    // Renders the release tail, until the sound has died away or the limit,
    // and puts the file in place.
    virtual bool FinishRender(std::string* problem) = 0;
};

// Null with `*problem` when the sound font cannot be loaded.
std::unique_ptr<SynthSink> OpenSynth(const std::string& soundFont, std::string* problem);

#endif
