// Songs the UI tests play, and a small reader of the capture files the
// player writes, reduced to the events that go out to an instrument.
#ifndef ZUB_TESTS_UI_TEST_SONGS_H
#define ZUB_TESTS_UI_TEST_SONGS_H

#include <cstdint>
#include <string>
#include <vector>

namespace zubtest {

// One sent event: channel message, system exclusive or tempo, at its tick.
struct SentEvent {
    uint32_t tick;
    std::vector<uint8_t> bytes;  // tempo as FF 51 03 tt tt tt
    bool operator==(const SentEvent& o) const { return tick == o.tick && bytes == o.bytes; }
};

// A format 0 song of `quarters` quarter notes at 120 beats a minute
// (division 96): the track name (the title "Test Song" by default), tempo, a program change, then
// one note per quarter.
std::vector<uint8_t> MakeSong(int quarters, const std::string& trackName = "Test:Song");
// A file that starts like a song but breaks off inside its track.
std::vector<uint8_t> MakeDamagedSong();

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes);

// The events of a Standard MIDI File that a player sends (all tracks merged
// by tick, earlier tracks first on equal ticks); false for a file that does
// not parse. Other meta events are left out.
bool SentEventsOf(const std::vector<uint8_t>& file, std::vector<SentEvent>& events, uint16_t* division = nullptr);

std::string Describe(const SentEvent& e);

}  // namespace zubtest

#endif
