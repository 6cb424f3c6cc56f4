// The title stored in a Standard MIDI File: a karaoke title ("@T" text
// event) in files of format 1 or 2, else the first sequence or track name
// (0xFF 0x03). Shown for the song playing, used to name batch-converted
// songs, listed in the playlist and rewritten by the playlist's title
// write-back, which finds the event with the same locator.
//
// A RIFF-wrapped song (.RMI) is searched inside its "data" chunk, so offsets
// never fall inside the RIFF header.
#ifndef ZUB_COMMON_MIDI_TITLE_H
#define ZUB_COMMON_MIDI_TITLE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace smf {

// Where the title stands in the MIDI data (offsets from the start of the
// MIDI data, that is after the RIFF header of an .RMI song).
struct MidiTitleEvent {
    bool karaoke = false;  // 0xFF 0x01 L '@' 'T'; else 0xFF 0x03 L
    size_t at = 0;         // the 0xFF
    size_t textAt = 0;     // the title's first byte (after "@T" for karaoke)
    size_t count = 0;      // title bytes as the reader takes them (cut at the end of the data)
};

// Finds the title event in MIDI data (not RIFF-wrapped). False when none.
// The karaoke title is taken only in files of format 1 or 2; its count is
// the length byte minus 2. For a name the length byte is the count, but
// values above 128 count as 127 (a 128-byte name is read whole).
bool FindMidiTitleEvent(const uint8_t* midi, size_t size, MidiTitleEvent* event);

// False when the file holds no title. The title has the characters that may
// not stand in file names, line feeds and carriage returns replaced by
// spaces, no leading or trailing spaces, and no runs of spaces. `bytes` is a
// whole file: bare MIDI data or an .RMI song.
bool MidiTitleFromImage(const uint8_t* bytes, size_t size, std::string* title);

// The same read from a file; an unreadable file holds no title.
bool ReadMidiTitle(const char* path, std::string* title);

}  // namespace smf

#endif
