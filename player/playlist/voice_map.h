// VoiceMap: a loaded voice map file (".MAP", "doc.map") and the event hooks
// the Sequencer calls while it fills buffers. A map replaces voices (a
// program with its bank), renumbers the notes of particular voices (drum
// kits) and moves channels.
//
// The file is text, read line by line, starting in voice mode:
//   voice mode  "a-b-c a-b-c"  a source and a target voice; a voice a-b-c is
//               program c, bank MSB a / 256, bank LSB b (LSB 255 in a source:
//               any bank). A target 255-255-255 opens a note section for the
//               source voice; a target 255-255-d moves channel c (the third
//               source number, 1 to 16) to channel d (1 to 16).
//   note mode   "n m"  note n of the section's voice plays as note m; "255 255"
//               closes the section.
// Blank lines are skipped. The first malformed line ends the reading; the
// lines before it stay in force, and the load result names the line.
#ifndef ZUB_PLAYLIST_VOICE_MAP_H
#define ZUB_PLAYLIST_VOICE_MAP_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "voicemaphook.h"

namespace playlist {

struct Voice {
    uint8_t program = 0;
    uint8_t msb = 0;  // bank select, controller 0
    uint8_t lsb = 0;  // bank select, controller 32; 255 in a source: any bank
};

struct VoiceMapLoad {
    bool opened = false;  // false: the file could not be read; the map is empty
    int badLine = 0;      // the first malformed line (1-based); 0 when none
    // Empty when the whole file was read; otherwise
    // "<file>: line N: <what is wrong>".
    std::string problem;
    bool Ok() const { return opened && badLine == 0; }
};

class VoiceMap : public VoiceMapHook {
public:
    VoiceMap();

    // Clears every table and the channels' state, then reads the file.
    VoiceMapLoad Load(const std::string& path);
    // The same from the file's bytes; `name` is used in the problem text.
    VoiceMapLoad LoadText(const uint8_t* bytes, size_t size, const std::string& name);
    // Back to an empty map (no rewriting).
    void Clear();
    bool Empty() const { return voices_.empty() && notes_.empty() && !movesChannels_; }

    // What the map says, for listings and tests.
    const std::map<uint32_t, Voice>& Voices() const { return voices_; }  // by VoiceKey
    bool FindVoice(const Voice& source, Voice* target) const;
    bool FindNote(const Voice& voice, uint8_t note, uint8_t* target) const;
    uint8_t ChannelFor(uint8_t channel) const { return channels_[channel & 0x0F]; }  // 0-based

    // Keys ordered by (MSB x 256 + LSB), then program.
    static uint32_t VoiceKey(const Voice& voice);

    // VoiceMapHook.
    void Rewind() override;
    void MapNote(ShortMessage* message) override;
    void MapController(ShortMessage* message) override;
    uint32_t MapProgram(ShortMessage* message, uint32_t* extraWords, uint32_t capacityWords) override;
    void MapChannel(ShortMessage* message) override;

private:
    struct Reader;

    std::map<uint32_t, Voice> voices_;
    std::map<uint32_t, uint8_t> notes_;  // VoiceKey << 8 | note
    uint8_t channels_[16];
    bool movesChannels_ = false;
    // Per channel, as the song sets them while it plays.
    uint8_t bankMsb_[16];
    uint8_t bankLsb_[16];
    Voice current_[16];
    // The note each sounding note-on was sent as, so its note-off matches
    // even when the channel's voice changed in between; 0xFF: not sounding.
    uint8_t sounding_[16][128];
};

}  // namespace playlist

#endif
