// zubcli's practice tools: play from a time, repeat a passage, and the
// lyrics of a song.
#ifndef ZUB_TOOLS_ZUBCLI_PRACTICE_COMMANDS_H
#define ZUB_TOOLS_ZUBCLI_PRACTICE_COMMANDS_H

#include <cstdint>
#include <ostream>
#include <string>

class Sequencer;
class SmfReader;

extern const char kPracticeUsage[];
extern const char kLyricsUsage[];

struct PracticeOptions {
    bool startGiven = false;
    uint32_t startMs = 0;
    bool loopGiven = false;
    std::string loopText;
    uint32_t loopStartMs = 0, loopEndMs = 0;
    bool repeatGiven = false;
    uint32_t repeat = 0;  // times through the passage; 0: until stopped
};

// --start, --loop and --repeat take a value.
bool IsPracticeOption(const std::string& option);
// Takes one of them; false with `*problem` set for a bad value.
bool ParsePracticeOption(const std::string& option, const std::string& value, PracticeOptions* o,
                         std::string* problem);
// Checks the options together; `endless` says that a loop never ending
// would never end the command (a fast clock, a capture, a render).
bool CheckPracticeOptions(const PracticeOptions& o, bool endless, std::string* problem);

// Sets the loop and gives the tick to preroll from. 0, or a Sequencer
// result with `*problem` set.
uint32_t ApplyPractice(const PracticeOptions& o, Sequencer& sequencer, uint32_t* startTick, std::string* problem);

// What playing from `startTick` to the song's end covers, in ticks and song
// milliseconds: the passage of a loop counts again for each jump back.
void PlayedSpan(Sequencer& sequencer, uint32_t startTick, uint32_t* ticks, uint32_t* ms);

// zubcli lyrics: "m:ss.cc  line" for each line of the song's words.
// Ok, or a fault of the file met on the way (nothing printed then).
enum class SmfResult;
SmfResult PrintLyrics(const SmfReader& reader, std::ostream& out);

#endif
