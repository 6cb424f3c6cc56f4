// The plain parts of the sound outputs, apart from their libraries: which
// sound font to load, how the port list and the render progress read, and
// the meaning of a master volume message for a synthesizer.
#ifndef ZUB_SOUND_SOUND_SUPPORT_H
#define ZUB_SOUND_SOUND_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "sound_outputs.h"

// Where Debian's General MIDI sound font packages put their font.
constexpr char kSystemSoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";

// The sound font to load: `given` when not empty, else `systemFont`. Empty,
// with `*problem` saying what to do, when that file does not exist.
std::string ChooseSoundFont(const std::string& given, const std::string& systemFont, std::string* problem);

// The port list as a table with a heading, one port a line:
// " Port    Client name                      Port name".
std::string FormatPortList(const std::vector<AlsaPort>& ports);

// "Rendering NAME: 42% (1:15 of 3:00)" for a terminal's progress line.
std::string RenderProgressLine(const std::string& name, uint64_t doneMs, uint64_t totalMs);

// A Universal Real Time master volume message (F0 7F dev 04 01 lsb msb F7):
// true with its level from 0 to 1.
bool MasterVolumeLevel(const uint8_t* bytes, uint32_t length, double* level);

#endif
