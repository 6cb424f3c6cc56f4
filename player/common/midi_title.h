// The title stored in a Standard MIDI File: a karaoke title ("@T" text
// event) in files of format 1 or 2, else the first sequence or track name
// (0xFF 0x03). Shown for the song playing, listed in playlists and used to
// name batch-converted songs.
#ifndef ZUB_COMMON_MIDI_TITLE_H
#define ZUB_COMMON_MIDI_TITLE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace smf {

// False when the file holds no title. The title has the characters that may
// not stand in file names, line feeds and carriage returns replaced by
// spaces, no leading or trailing spaces, and no runs of spaces.
bool MidiTitleFromImage(const uint8_t* bytes, size_t size, std::string* title);

// The same read from a file; an unreadable file holds no title.
bool ReadMidiTitle(const char* path, std::string* title);

}  // namespace smf

#endif
