// The words of a song, in lines, for following them while it plays: lyric
// events (meta 0x05), or the text events (meta 0x01) of a karaoke song,
// where "@" starts a header field, "\" a new paragraph and "/" a new line.
// Text is kept as UTF-8: a song whose words are not valid UTF-8 is read as
// the Windows Western code page, which shows every byte as something.
#ifndef ZUB_PLAYBACK_LYRICS_H
#define ZUB_PLAYBACK_LYRICS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "smfreader.h"

struct LyricSyllable {
    uint32_t tick = 0;  // when it is sung
    size_t end = 0;     // where its text ends in the line
};

struct LyricLine {
    uint32_t tick = 0;  // of its first syllable
    std::string text;
    std::vector<LyricSyllable> syllables;
};

// Which events a song's words come from.
enum class LyricSource { None, LyricEvents, KaraokeText };

class Lyrics {
public:
    // The longest line kept: longer text goes on to a new line, and a single
    // syllable longer than this is cut.
    static constexpr size_t kMaxLine = 200;
    // Without any line break in the words, lines are made about this long.
    static constexpr size_t kWrapAt = 48;

    // Reads the words of a song on a walk of its own. Ok with no lines for a
    // song without words; a fault of the file as the reader reports it.
    static SmfResult Read(const SmfReader& reader, Lyrics* out);

    // The raw events of one source, in song order, made into lines.
    void Build(LyricSource source, const std::vector<std::pair<uint32_t, std::string>>& events);

    LyricSource Source() const { return source_; }
    const std::vector<LyricLine>& Lines() const { return lines_; }
    bool Empty() const { return lines_.empty(); }

    // The line sung at `tick`: the last one begun at or before it, -1 before
    // the first.
    int LineAt(uint32_t tick) const;
    // How many bytes of line `index` have been sung by `tick`.
    size_t SungLength(int index, uint32_t tick) const;

private:
    LyricSource source_ = LyricSource::None;
    std::vector<LyricLine> lines_;
};

// Bytes of song text as UTF-8: kept when they are valid UTF-8 already
// (`utf8`), else each byte read in the Windows Western code page. Control
// characters are dropped, tabs become spaces.
std::string LyricTextToUtf8(const std::string& bytes, bool utf8);
bool IsValidUtf8(const std::string& bytes);

#endif
