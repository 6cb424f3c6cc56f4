// Live adjustments of the Playback Control dialog, applied while buffers
// are filled, each from the next buffer on:
// - Transpose: notes of every channel but the drum channel 10 move by the
//   given semitones. A note's release always goes to the key its note-on
//   went to, also when the same key was struck again after the
//   transposition changed, so changing it never leaves a note hanging; a
//   note moved beyond 0-127 is left out together with its release.
// - Tempo: the song plays at (100 + p) percent of its speed; every tempo
//   is scaled, and a change re-sends the song's current tempo at once.
//   At 0 percent every tempo passes unchanged.
// - Track Volume: every channel volume controller (7) of the song is scaled
//   by v/127; a change re-sends the scaled volume of each channel that has
//   had one.
// Neutral values (0, 0, 127) change nothing.
#ifndef ZUB_PLAYBACK_PLAYADJUST_H
#define ZUB_PLAYBACK_PLAYADJUST_H

#include <cstdint>

#include "midistream.h"  // MidiBuffer, kDefaultTempo
#include "voicemaphook.h"

constexpr int kTransposeLimit = 24;
constexpr int kTempoPercentLimit = 50;
constexpr int kTrackVolumeFull = 127;

struct PlayAdjustSettings {
    int transpose = 0;                   // -24 to 24 semitones
    int tempoPercent = 0;                // -50 to 50
    int trackVolume = kTrackVolumeFull;  // 0 to 127
};

// State across the buffers of one playback; used by the filling thread only.
class PlayAdjuster {
public:
    PlayAdjuster() { Reset(kDefaultTempo); }
    // At each preroll: nothing sounds, the song's tempo is `songTempo`, no
    // volume was seen, and the stream runs at the song's own tempo.
    void Reset(uint32_t songTempo);
    // A channel message about to be sent; false to leave it out.
    bool Channel(ShortMessage* message, const PlayAdjustSettings& s);
    // The tempo to send for a tempo of the song.
    uint32_t Tempo(uint32_t songTempo, const PlayAdjustSettings& s);
    // The channels' volumes are sent already scaled for `trackVolume`
    // (the state at the start of a playback).
    void SettleVolume(int trackVolume) { volumeSent_ = trackVolume; }
    // The tempo the stream runs at after what was sent so far.
    uint32_t StreamTempo() const { return Scaled(songTempo_, tempoSent_); }
    // At the start of a buffer: delta-0 records that bring the stream to
    // changed settings. Nothing is written while the buffer lacks the room;
    // the change then waits for the next buffer.
    void WriteChanges(MidiBuffer* buffer, const PlayAdjustSettings& s);

private:
    // The keys one key of the song sounds on while it is held: a key struck
    // again after the transposition changed sounds on a second key. Oldest
    // first; each with the number of note-ons not yet released.
    static constexpr int kKeysPerHeldKey = 4;
    struct HeldKey {
        uint8_t count;
        uint8_t key[kKeysPerHeldKey];      // kLeftOut: beyond 0-127, not sent
        uint8_t strikes[kKeysPerHeldKey];
    };

    static uint32_t Scaled(uint32_t songTempo, int tempoPercent);
    static uint8_t Strike(HeldKey& held, uint8_t key);
    static uint8_t Release(HeldKey& held);

    HeldKey held_[16][128];
    uint8_t volume_[16];         // the song's last volume per channel
    bool volumeSeen_[16];
    uint32_t songTempo_;
    int tempoSent_;    // the tempo percentage the stream runs at
    int volumeSent_;   // the track volume the channels' volumes reflect
};

#endif
