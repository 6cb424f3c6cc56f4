// What the playlist tests share: files in memory, a probe that counts what
// it measures, events that are recorded, and songs made in code.
#ifndef ZUB_PLAYLIST_TESTS_PLAYLIST_RIG_H
#define ZUB_PLAYLIST_TESTS_PLAYLIST_RIG_H

#include <string>
#include <vector>

#include "eseq_testdata.h"
#include "length_probe.h"
#include "playlist_builder.h"
#include "playlist_files.h"
#include "row_store.h"
#include "songbuilder.h"

namespace pltest {

// A song's length is 1000 ms per 10 bytes, so tests know it beforehand.
class CountingProbe : public playlist::LengthProbe {
public:
    uint32_t MeasureImage(const uint8_t*, size_t size) override
    {
        ++measured;
        return static_cast<uint32_t>(size / 10 * 1000);
    }
    int measured = 0;
};

class RecordedEvents : public playlist::PlaylistEvents {
public:
    void SecondsAdded(int64_t s) override { totalSeconds += s; }
    void TotalsChanged() override { ++totalsChanged; }
    void Overflow(int rows) override { overflows.push_back(rows); }
    void Problem(const std::string& text) override { problems.push_back(text); }
    int64_t totalSeconds = 0;
    int totalsChanged = 0;
    std::vector<int> overflows;
    std::vector<std::string> problems;
};

struct Rig {
    playlist::MemoryPlaylistFiles files;
    playlist::VectorRowStore rows;
    CountingProbe probe;
    RecordedEvents events;
    playlist::PlaylistBuilder builder{rows, files, &probe, &events};

    // "name [icon] title length" of every row, songs indented.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> out;
        for (const playlist::PlaylistRow& r : rows.Rows()) {
            std::string line = (r.IsFolder() ? "" : "  ") + r.Name();
            if (!r.icon.empty())
                line += " [" + r.icon + "]";
            out.push_back(line + " " + r.Title() + " " + r.text[playlist::ColLength]);
        }
        return out;
    }
};

inline std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A format 0 song named `title` (no name event when empty), padded to
// `size` bytes when larger, so its measured length is known.
inline std::vector<uint8_t> MidiSong(const std::string& title, size_t size = 0)
{
    Track track;
    if (!title.empty())
        track.Meta(0, 0x03, Bytes(title));
    track.NoteOn(0, 1, 60, 90).NoteOff(384, 1, 60);
    std::vector<uint8_t> song = BuildSong(0, 384, {track.End()});
    if (song.size() < size)
        song.resize(size, 0);  // bytes after the last chunk are ignored by readers
    return song;
}

inline std::vector<uint8_t> EseqSong(const std::string& title)
{
    eseqtest::EseqSongSpec spec;
    spec.line1 = title;
    spec.events.NoteOn(1, 60, 64).Wait(50).NoteOff(1, 60);
    return eseqtest::BuildEseq(spec);
}

}  // namespace pltest

#endif
