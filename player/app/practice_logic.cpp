#include "practice_logic.h"

#include "playtime.h"

namespace zub {

int SeekBarPosition(uint32_t tick, uint32_t length)
{
    if (length == 0)
        return 0;
    if (tick >= length)
        return kSeekBarRange;
    return static_cast<int>(static_cast<uint64_t>(tick) * kSeekBarRange / length);
}

uint32_t SeekBarTick(int position, uint32_t length)
{
    if (position <= 0)
        return 0;
    if (position >= kSeekBarRange)
        return length;
    return static_cast<uint32_t>(static_cast<uint64_t>(length) * static_cast<uint32_t>(position) / kSeekBarRange);
}

uint32_t SteppedMs(uint32_t nowMs, int32_t stepMs, uint32_t lengthMs)
{
    const int64_t to = static_cast<int64_t>(nowMs) + stepMs;
    if (to <= 0)
        return 0;
    return to >= lengthMs ? lengthMs : static_cast<uint32_t>(to);
}

LoopProblem CheckLoop(const LoopMarks& marks, uint32_t length)
{
    if (!marks.hasStart || !marks.hasEnd)
        return LoopProblem::NotSet;
    const uint32_t end = marks.end < length ? marks.end : length;
    if (marks.end < marks.start)
        return LoopProblem::Backwards;
    if (end <= marks.start)
        return LoopProblem::Empty;
    return LoopProblem::None;
}

std::string LoopProblemText(LoopProblem problem)
{
    switch (problem) {
    case LoopProblem::None:
        break;
    case LoopProblem::NotSet:
        return "Set the loop start and the loop end first.";
    case LoopProblem::Backwards:
        return "The loop end lies before the loop start. Set them again.";
    case LoopProblem::Empty:
        return "The loop is empty: its end is where it starts. Set them again.";
    }
    return std::string();
}

std::string LoopStatusText(uint32_t startMs, uint32_t endMs, uint32_t repetition, uint32_t count)
{
    std::string text = "Loop " + FormatPlaySeconds(startMs) + "-" + FormatPlaySeconds(endMs) + " (" +
                       std::to_string(repetition);
    if (count)
        text += " of " + std::to_string(count);
    return text + ")";
}

LyricsView LyricsViewAt(const Lyrics& lyrics, uint32_t tick)
{
    LyricsView view;
    const auto& lines = lyrics.Lines();
    if (lines.empty())
        return view;
    const int at = lyrics.LineAt(tick);
    const size_t current = at < 0 ? 0 : static_cast<size_t>(at);
    view.current = lines[current].text;
    view.sung = at < 0 ? 0 : lyrics.SungLength(at, tick);
    if (current + 1 < lines.size())
        view.next = lines[current + 1].text;
    return view;
}

std::string LyricsViewText(const LyricsView& view)
{
    return view.current + "\r\n" + view.next;
}

}  // namespace zub
