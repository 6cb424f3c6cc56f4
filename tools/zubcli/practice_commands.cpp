#include "practice_commands.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "lyrics.h"
#include "playtime.h"
#include "sequencer.h"
#include "smfreader.h"

const char kPracticeUsage[] =
    "PRACTICE: [--start TIME] [--loop TIME-TIME [--repeat N]]\n"
    "          TIME as m:ss, h:mm:ss or seconds, each with decimals (--loop 0:05-0:10)\n";
const char kLyricsUsage[] = "       zubcli lyrics FILE\n";

namespace {

constexpr uint32_t kMostRepeats = 10000;

}  // namespace

bool IsPracticeOption(const std::string& option)
{
    return option == "--start" || option == "--loop" || option == "--repeat";
}

bool ParsePracticeOption(const std::string& option, const std::string& value, PracticeOptions* o,
                         std::string* problem)
{
    if (option == "--start") {
        o->startGiven = ParsePlayTime(value, &o->startMs);
        if (!o->startGiven)
            *problem = "--start expects a time as m:ss, h:mm:ss or seconds";
        return o->startGiven;
    }
    if (option == "--loop") {
        o->loopText = value;
        o->loopGiven = ParsePlayRange(value, &o->loopStartMs, &o->loopEndMs);
        if (!o->loopGiven)
            *problem = "--loop expects START-END, two times as m:ss, h:mm:ss or seconds";
        return o->loopGiven;
    }
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    o->repeatGiven = !value.empty() && !*end && n >= 1 && n <= static_cast<long>(kMostRepeats);
    o->repeat = o->repeatGiven ? static_cast<uint32_t>(n) : 0;
    if (!o->repeatGiven)
        *problem = "--repeat expects 1 to " + std::to_string(kMostRepeats) + " times";
    return o->repeatGiven;
}

bool CheckPracticeOptions(const PracticeOptions& o, bool endless, std::string* problem)
{
    if (o.repeatGiven && !o.loopGiven)
        *problem = "--repeat goes with --loop";
    else if (o.loopGiven && o.loopEndMs == o.loopStartMs)
        *problem = "--loop " + o.loopText + " is empty";
    else if (o.loopGiven && o.loopEndMs < o.loopStartMs)
        *problem = "--loop " + o.loopText + " ends before it starts";
    else if (o.loopGiven && !o.repeatGiven && endless)
        *problem = "--loop without --repeat would never end here";
    else
        return true;
    return false;
}

uint32_t ApplyPractice(const PracticeOptions& o, Sequencer& sequencer, uint32_t* startTick, std::string* problem)
{
    *startTick = 0;
    if (o.loopGiven) {
        const uint32_t a = sequencer.MsToTicks(o.loopStartMs);
        const uint32_t result = sequencer.SetLoop(a, sequencer.MsToTicks(o.loopEndMs), o.repeat);
        if (result == kSeqErrOutOfRange) {
            *problem = "the loop " + o.loopText + " lies beyond the song's end (" +
                       FormatPlayTime(sequencer.TicksToMs(sequencer.Length())) + ")";
            return result;
        }
        if (result != kSeqOk) {
            *problem = SequencerErrorText(result);
            return result;
        }
        *startTick = a;  // a passage to practise starts at its start
    }
    if (o.startGiven)
        *startTick = sequencer.MsToTicks(o.startMs);  // past the end is the end
    return kSeqOk;
}

void PlayedSpan(Sequencer& sequencer, uint32_t startTick, uint32_t* ticks, uint32_t* ms)
{
    const uint32_t end = sequencer.Length();
    startTick = std::min(startTick, end);
    uint64_t t = end - startTick;
    uint64_t m = sequencer.TicksToMs(end) - sequencer.TicksToMs(startTick);
    const Sequencer::LoopStatus loop = sequencer.Loop();
    // The jumps back happen only when playing reaches the passage's end.
    if (loop.on && loop.count > 1 && startTick < loop.endTick) {
        t += uint64_t{loop.count - 1} * (loop.endTick - loop.startTick);
        m += uint64_t{loop.count - 1} * (sequencer.TicksToMs(loop.endTick) - sequencer.TicksToMs(loop.startTick));
    }
    *ticks = static_cast<uint32_t>(std::min<uint64_t>(t, UINT32_MAX));
    *ms = static_cast<uint32_t>(std::min<uint64_t>(m, UINT32_MAX));
}

SmfResult PrintLyrics(const SmfReader& reader, std::ostream& out)
{
    Lyrics lyrics;
    const SmfResult result = Lyrics::Read(reader, &lyrics);
    if (result != SmfResult::Ok)
        return result;
    std::string block;
    for (const LyricLine& line : lyrics.Lines())
        block += FormatPlayTime(reader.TicksToMs(line.tick)) + "  " + line.text + "\n";
    out << block;
    return SmfResult::Ok;
}
