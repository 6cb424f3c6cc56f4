// zubcli: the command-line companion. The commands work on the portable
// core; main() only supplies the streams and, on Windows, the MIDI devices.
#ifndef ZUB_TOOLS_ZUBCLI_H
#define ZUB_TOOLS_ZUBCLI_H

#include <memory>
#include <ostream>
#include <string>

class MidiStreamPort;
class SmfReader;
struct SmfEvent;

// Gives a port for a real output device, or null when there is none (then
// `play` uses the software stream). `device` is -1 for the default.
using DevicePortFactory = std::unique_ptr<MidiStreamPort> (*)(int device);

// Runs one command line. Exit status: 0 success, 1 an option error (one
// line and the hint to --help), 2 a file that cannot be read or played (the
// message names the file). Without any argument the usage goes to `err`
// with status 2; --help prints it on `out`, --version the version.
int RunZubcli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
              DevicePortFactory devices = nullptr);

// The song facts, as one JSON object or as a table.
std::string SongInfoJson(const SmfReader& reader);
std::string SongInfoTable(const SmfReader& reader);
// "<tick> <delta> <track> <bytes>" for one merged event.
std::string EventLine(const SmfEvent& event);

#endif
