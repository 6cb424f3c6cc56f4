// What the player's command line asks for.
#ifndef ZUB_PLAYER_APP_COMMAND_LINE_H
#define ZUB_PLAYER_APP_COMMAND_LINE_H

#include <string>
#include <string_view>

namespace zub {

struct CommandLine {
    bool newPlaylist = false;  // "/new" anywhere in the text (case-sensitive)
    std::string captureFile;   // "/capture FILE": play through the software stream into FILE
    std::string openPath;      // a song or playlist to open as if dropped
};

// Words are separated by blanks; double quotes group a word with blanks.
// Words that are not switches make up the path to open, joined by one blank,
// so an unquoted path with single blanks still works. A word beginning with
// "/" is a switch; unknown switches are ignored. The path is given as typed:
// the caller makes it absolute.
CommandLine ParseCommandLine(std::string_view text);

}  // namespace zub

#endif
