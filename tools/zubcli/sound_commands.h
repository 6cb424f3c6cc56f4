// zubcli's sound on the machine itself: the options of play and render,
// the ALSA port list, the outputs of play and the render progress line.
#ifndef ZUB_TOOLS_ZUBCLI_SOUND_COMMANDS_H
#define ZUB_TOOLS_ZUBCLI_SOUND_COMMANDS_H

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "midisink.h"
#include "playadjust.h"
#include "sequencer.h"
#include "sound_outputs.h"
#include "sound_support.h"

struct PlayOptions {
    std::string path, capture;
    std::string map;  // --map FILE.MAP
    int velocityBase = 127;
    int volume = -128;
    uint8_t lamp1 = kLampsDisabled, lamp2 = 0;
    PlayAdjustSettings adjust;  // transpose, tempo, track volume
    bool fast = false;
    bool deviceGiven = false;
    int device = kMidiMapper;
    std::string port;       // --port CLIENT:PORT
    bool synth = false;     // --synth
    std::string soundFont;  // --soundfont
    std::string output;     // render: -o OUT.WAV
};

// The sink `play` sounds through: the ALSA port, the live synthesizer, or
// none (null) for the usual outputs. 0, or status 2 after a message.
int OpenPlaySink(const PlayOptions& o, std::ostream& err, std::unique_ptr<MidiSink>* sink);

// zubcli ports: the sequencer's ports that take MIDI.
int RunPortsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The progress line of a render, rewritten in place on a terminal and
// never written elsewhere. Update is called on the stream's thread.
class RenderProgress {
public:
    RenderProgress(std::ostream& err, const std::string& path, uint64_t totalMs);
    void Update(uint64_t renderedUs);
    void End();  // ends the line

private:
    std::ostream& err_;
    std::string name_;
    uint64_t totalMs_;
    bool terminal_;
    int shown_ = -1;  // the percentage on the line
};

#endif
