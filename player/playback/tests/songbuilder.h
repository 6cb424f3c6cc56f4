// Builds Standard MIDI File images in code for the playback tests.
#ifndef ZUB_PLAYBACK_TESTS_SONGBUILDER_H
#define ZUB_PLAYBACK_TESTS_SONGBUILDER_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

std::vector<uint8_t> Vlq(uint32_t value);

class Track {
public:
    // An event: its delta, then its bytes exactly as given.
    Track& Ev(uint32_t delta, std::initializer_list<uint8_t> bytes);
    Track& Ev(uint32_t delta, const std::vector<uint8_t>& bytes);
    Track& NoteOn(uint32_t delta, int channel, int note, int velocity);   // channel 1-16
    Track& NoteOff(uint32_t delta, int channel, int note);
    Track& Program(uint32_t delta, int channel, int program);
    Track& Tempo(uint32_t delta, uint32_t usPerQuarter);
    Track& Sysex(uint32_t delta, const std::vector<uint8_t>& data);       // F0, length, data
    Track& Meta(uint32_t delta, uint8_t type, const std::vector<uint8_t>& data);
    Track& End(uint32_t delta = 0);
    Track& Raw(std::initializer_list<uint8_t> bytes);  // no delta

    std::vector<uint8_t> bytes;
};

// MThd (with `extraHeader` bytes beyond 6) followed by one MTrk per track.
std::vector<uint8_t> BuildSong(uint16_t format, uint16_t division, const std::vector<Track>& tracks,
                               uint32_t extraHeader = 0);
std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& data);
std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b);
// A RIFF file of the given form with the given sub-chunks.
std::vector<uint8_t> Riff(const char* form, const std::vector<std::vector<uint8_t>>& chunks);
std::vector<uint8_t> LeChunk(const char* id, const std::vector<uint8_t>& data);

// Text helpers for assertions.
std::string Hex(const std::vector<uint8_t>& bytes);

#endif
