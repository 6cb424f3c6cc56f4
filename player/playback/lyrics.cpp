#include "lyrics.h"

#include <algorithm>
#include <map>

namespace {

// More of one event than a line could show is never needed.
constexpr size_t kMaxEvent = 1024;

// The Windows Western code page's characters for 0x80-0x9F; 0 for the
// five bytes it leaves undefined.
const uint16_t kWestern80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the UTF-8 sequence starting at `at`, 0 when it is not one.
size_t SequenceLength(const std::string& s, size_t at)
{
    const auto b = static_cast<unsigned char>(s[at]);
    size_t n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (n == 0 || at + n > s.size())
        return 0;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80)
            return 0;
    const auto b1 = static_cast<unsigned char>(n > 1 ? s[at + 1] : 0);
    if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 >= 0xA0) || (b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 >= 0x90))
        return 0;  // overlong, surrogate or beyond the last character
    return n;
}

// Cuts `text` to at most `limit` bytes without splitting a character.
void CutAt(std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
}

struct LineBuilder {
    std::vector<LyricLine>& lines;
    bool wrap;  // no breaks in the words: make lines of about kWrapAt
    LyricLine line;

    void Break()
    {
        if (!line.text.empty())
            lines.push_back(std::move(line));
        line = LyricLine();
    }

    void Add(uint32_t tick, std::string text)
    {
        if (line.text.empty())
            text.erase(0, text.find_first_not_of(' '));
        if (text.empty())
            return;
        if ((wrap && line.text.size() >= Lyrics::kWrapAt) || line.text.size() + text.size() > Lyrics::kMaxLine) {
            Break();
            text.erase(0, text.find_first_not_of(' '));
        }
        CutAt(text, Lyrics::kMaxLine);
        if (text.empty())
            return;
        if (line.text.empty())
            line.tick = tick;
        line.text += text;
        line.syllables.push_back({tick, line.text.size()});
    }
};

// A karaoke text event starting with '/' or '\\' begins a new line.
bool StartsKaraokeLine(const std::string& text)
{
    return !text.empty() && (text[0] == '/' || text[0] == '\\');
}

bool HasBreak(LyricSource source, const std::string& text)
{
    if (source == LyricSource::KaraokeText && StartsKaraokeLine(text))
        return true;
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

bool IsValidUtf8(const std::string& bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        const size_t n = SequenceLength(bytes, at);
        if (n == 0)
            return false;
        at += n;
    }
    return true;
}

std::string LyricTextToUtf8(const std::string& bytes, bool utf8)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size(); ++at) {
        const auto b = static_cast<unsigned char>(bytes[at]);
        if (b == '\t') {
            out += ' ';
        } else if (b < 0x20 || b == 0x7F) {
            continue;
        } else if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (utf8) {
            const size_t n = SequenceLength(bytes, at);
            out.append(bytes, at, n ? n : 1);
            at += n ? n - 1 : 0;
        } else if (b < 0xA0) {
            if (kWestern80[b - 0x80])
                AppendUtf8(out, kWestern80[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

void Lyrics::Build(LyricSource source, const std::vector<std::pair<uint32_t, std::string>>& events)
{
    source_ = source;
    lines_.clear();
    if (source == LyricSource::None)
        return;
    bool utf8 = true, marked = false;
    for (const auto& e : events) {
        utf8 = utf8 && IsValidUtf8(e.second);
        marked = marked || HasBreak(source, e.second);
    }
    LineBuilder builder{lines_, !marked, LyricLine()};
    for (const auto& e : events) {
        std::string bytes = e.second;
        if (source == LyricSource::KaraokeText && StartsKaraokeLine(bytes)) {
            builder.Break();
            bytes.erase(0, 1);
        }
        // A carriage return or line feed ends the line after the text before it.
        for (size_t from = 0;;) {
            const size_t brk = bytes.find_first_of("\r\n", from);
            builder.Add(e.first, LyricTextToUtf8(bytes.substr(from, brk - from), utf8));
            if (brk == std::string::npos)
                break;
            builder.Break();
            from = brk + 1;
        }
    }
    builder.Break();
}

SmfResult Lyrics::Read(const SmfReader& reader, Lyrics* out)
{
    std::vector<std::pair<uint32_t, std::string>> lyricEvents;
    std::map<uint16_t, std::vector<std::pair<uint32_t, std::string>>> textByTrack;
    bool karaokeHeader = false;
    SmfMerge merge = reader.NewMerge();
    SmfEvent event;
    for (;;) {
        const SmfResult result = reader.Walk(merge, kSmfNoLimit, true, &event);
        if (result == SmfResult::EndOfFile)
            break;
        if (result != SmfResult::Ok)
            return result;
        if (event.status != 0xFF || (event.data1 != 0x05 && event.data1 != 0x01))
            continue;
        std::string bytes(reinterpret_cast<const char*>(event.data), std::min<size_t>(event.length, kMaxEvent));
        if (event.data1 == 0x05) {
            lyricEvents.emplace_back(event.tick, std::move(bytes));
        } else if (!bytes.empty() && bytes[0] == '@') {
            karaokeHeader = karaokeHeader || bytes.compare(0, 2, "@K") == 0;  // "@KMIDI KARAOKE FILE"
        } else {
            textByTrack[event.track].emplace_back(event.tick, std::move(bytes));
        }
    }
    // A karaoke song's words are the track with the most text in it; the
    // other tracks' texts are names and notes.
    const std::vector<std::pair<uint32_t, std::string>>* words = nullptr;
    for (const auto& track : textByTrack)
        if (!words || track.second.size() > words->size())
            words = &track.second;
    int markedWords = 0;
    if (words)
        for (const auto& e : *words)
            markedWords += StartsKaraokeLine(e.second);

    if (words && karaokeHeader)
        out->Build(LyricSource::KaraokeText, *words);
    else if (!lyricEvents.empty())
        out->Build(LyricSource::LyricEvents, lyricEvents);
    else if (words && markedWords >= 2)
        out->Build(LyricSource::KaraokeText, *words);
    else
        out->Build(LyricSource::None, {});
    return SmfResult::Ok;
}

int Lyrics::LineAt(uint32_t tick) const
{
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), tick,
                                        [](uint32_t t, const LyricLine& line) { return t < line.tick; });
    return static_cast<int>(after - lines_.begin()) - 1;
}

size_t Lyrics::SungLength(int index, uint32_t tick) const
{
    if (index < 0 || static_cast<size_t>(index) >= lines_.size())
        return 0;
    size_t sung = 0;
    for (const LyricSyllable& s : lines_[index].syllables) {
        if (s.tick > tick)
            break;
        sung = s.end;
    }
    return sung;
}
