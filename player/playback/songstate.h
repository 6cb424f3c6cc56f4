// The state of a song's channels at a tick, for playing on from there: the
// tempo, bank and program, every controller (sustain included), registered
// and non-registered parameters, channel pressure and pitch bend. Whatever
// the song sets somewhere but not before the tick is sent at its default,
// so that a jump back from later in the song leaves nothing as the later
// part left it (a pitch bend, a held pedal).
#ifndef ZUB_PLAYBACK_SONGSTATE_H
#define ZUB_PLAYBACK_SONGSTATE_H

#include <cstdint>
#include <vector>

#include "smfreader.h"

// The value a controller has after a reset: what the song is taken to
// start from where it has not set it yet.
uint8_t ControllerDefault(uint8_t controller);

class SongState {
public:
    // Clear for a collection at `tick`.
    void Reset(uint32_t tick);
    uint32_t Tick() const { return tick_; }

    // An event before the tick: it sets the state.
    void Apply(const SmfEvent& event);
    // An event at or after the tick: what it sets is sent at its default
    // unless an earlier event set it.
    void Touch(const SmfEvent& event);

    // The tempo in effect at the tick (the song's default without one).
    uint32_t Tempo() const { return tempo_; }
    // 0xF0 events before the tick.
    int32_t ExclusivesBefore() const { return exclusives_; }

    // The stream event words (tempo or short message, as in stream records)
    // that bring an instrument to this state, all at the tick: the tempo;
    // then channel by channel the bank select and program, the controllers
    // in ascending order, each parameter with its data entry, the
    // parameter selection, channel pressure and pitch bend. Nothing for
    // tick 0: the song's own opening sets it up.
    std::vector<uint32_t> Events() const;

private:
    static constexpr uint8_t kNone = 0xFF;
    static constexpr int kParameters = 16;  // remembered per channel; the oldest goes first
    enum ParameterKind : uint8_t { kRegistered, kNonRegistered };
    struct Parameter {
        uint8_t kind, msb, lsb;
        uint8_t dataMsb, dataLsb;  // kNone: not set
    };
    struct Channel {
        uint8_t controllers[128];
        bool touched[128];
        uint8_t program;
        bool programTouched;
        uint16_t bend;  // 0xFFFF: none
        bool bendTouched;
        uint8_t pressure;
        bool pressureTouched;
        // The selection of each kind (MSB, LSB) and which kind came last.
        uint8_t select[2][2];
        uint8_t selectKind;  // kNone: nothing selected
        bool selectTouched;
        Parameter parameters[kParameters];
        int parameterCount;
    };

    void ApplyController(Channel& c, uint8_t controller, uint8_t value);
    void DataEntry(Channel& c, bool msb, uint8_t value);
    static void ResetControllers(Channel& c);
    static void ChannelEvents(uint8_t channel, const Channel& c, std::vector<uint32_t>* out);

    uint32_t tick_ = 0;
    uint32_t tempo_ = kDefaultTempo;
    int32_t exclusives_ = 0;
    Channel channels_[16];
};

// Walks the whole song (on a merge of its own, so playback may go on) and
// collects its state at `tick`. `mark`, when given, receives the merge
// placed at the tick: the first event it hands out is the first at the tick.
SmfResult CollectSongState(const SmfReader& reader, uint32_t tick, SongState* state, SmfMerge* mark);

#endif
