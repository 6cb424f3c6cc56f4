#include "title_writeback.h"

#include <cstring>
#include <memory>

#include "eseq_format.h"
#include "midi_title.h"
#include "pianodir.h"
#include "playlist_files.h"
#include "riff_midi.h"
#include "row_store.h"
#include "smfreader.h"

namespace playlist {

namespace {

struct TrackChunk {
    size_t header;  // "MTrk"
    size_t start;   // first byte of its events
    size_t length;
};

void PutBe32At(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

void PutLe32At(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

bool TrackChunks(const std::vector<uint8_t>& midi, std::vector<TrackChunk>* tracks)
{
    const size_t n = midi.size();
    if (n < 14 || std::memcmp(midi.data(), "MThd", 4) != 0)
        return false;
    const uint32_t headerLength = Be32At(midi.data() + 4);
    if (headerLength < 6 || headerLength > n - 8)
        return false;
    const int count = midi[10] << 8 | midi[11];
    size_t pos = 8 + headerLength;
    for (int i = 0; i < count; ++i) {
        if (n - pos < 8 || std::memcmp(midi.data() + pos, "MTrk", 4) != 0)
            return false;
        const uint32_t length = Be32At(midi.data() + pos + 4);
        if (length > n - pos - 8)
            return false;
        tracks->push_back({pos, pos + 8, length});
        pos += 8 + length;
    }
    return count > 0;
}

bool ReadVlq(const std::vector<uint8_t>& bytes, size_t* pos, size_t end, uint32_t* value)
{
    *value = 0;
    for (int i = 0; i < 4 && *pos < end; ++i) {
        const uint8_t b = bytes[(*pos)++];
        *value = *value << 7 | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// Walks the track's events up to its End of Track: true when a meta event
// starts exactly at `at`, with where its length and its data end.
bool MetaEventAt(const std::vector<uint8_t>& m, const TrackChunk& track, size_t at, size_t* lengthAt, size_t* end)
{
    const size_t stop = track.start + track.length;
    size_t pos = track.start;
    uint8_t running = 0;
    uint32_t value = 0;
    while (pos < stop && pos <= at) {
        if (!ReadVlq(m, &pos, stop, &value) || pos >= stop)
            return false;
        const size_t event = pos;
        const uint8_t status = m[pos];
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            running = 0;
            pos += status == 0xFF ? 2 : 1;
            const size_t length = pos;
            if (pos > stop || !ReadVlq(m, &pos, stop, &value) || value > stop - pos)
                return false;
            if (status == 0xFF && event == at) {
                *lengthAt = length;
                *end = pos + value;
                return true;
            }
            if (status == 0xFF && m[event + 1] == 0x2F)
                return false;  // End of Track
            pos += value;
        } else {
            if (status >= 0xF0 || (status < 0x80 && running == 0))
                return false;
            if (status >= 0x80) {
                running = status;
                ++pos;
            }
            const uint8_t kind = running & 0xF0;
            pos += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        }
    }
    return false;
}

bool Fail(std::string* why, const char* text)
{
    *why = text;
    return false;
}

bool OpensCleanly(const std::vector<uint8_t>& file)
{
    std::unique_ptr<SmfReader> reader;
    return SmfReader::OpenImage(file.data(), file.size(), &reader) == SmfResult::Ok;
}

// The MIDI data with the title replaced (or inserted).
bool RewriteMidiData(const std::vector<uint8_t>& midi, const std::string& title, std::vector<uint8_t>* out,
                     bool* cut, std::string* why)
{
    std::vector<TrackChunk> tracks;
    if (!TrackChunks(midi, &tracks))
        return Fail(why, "the MIDI file's chunks are damaged");
    smf::MidiTitleEvent found;
    const bool hasEvent = smf::FindMidiTitleEvent(midi.data(), midi.size(), &found);
    const size_t limit = hasEvent && found.karaoke ? kKaraokeTitleLimit : kTrackNameLimit;
    const std::string text = title.substr(0, limit);
    *cut = title.size() > limit;

    std::vector<uint8_t> event;  // the length byte and the text
    event.push_back(static_cast<uint8_t>(text.size() + (hasEvent && found.karaoke ? 2 : 0)));
    if (hasEvent && found.karaoke)
        event.insert(event.end(), {0x40, 0x54});
    event.insert(event.end(), text.begin(), text.end());

    size_t track = 0, from = 0, to = 0;  // the bytes [from, to) are replaced
    if (hasEvent) {
        while (track < tracks.size() && found.at >= tracks[track].start + tracks[track].length)
            ++track;
        if (track == tracks.size() || found.at < tracks[track].start ||
            !MetaEventAt(midi, tracks[track], found.at, &from, &to))
            return Fail(why, "the title found is not an event of the song");
    } else {
        // A sequence name at the start of the first track.
        from = to = tracks[0].start;
        event.insert(event.begin(), {0x00, 0xFF, 0x03});
    }
    const uint64_t newLength = static_cast<uint64_t>(tracks[track].length) - (to - from) + event.size();
    if (newLength > 0xFFFFFFFFu)
        return Fail(why, "the track would grow too long");
    out->assign(midi.begin(), midi.begin() + from);
    out->insert(out->end(), event.begin(), event.end());
    out->insert(out->end(), midi.begin() + to, midi.end());
    PutBe32At(*out, tracks[track].header + 4, static_cast<uint32_t>(newLength));
    return true;
}

}  // namespace

bool RewriteMidiTitle(const std::vector<uint8_t>& file, const std::string& title, std::vector<uint8_t>* out,
                      bool* cut, std::string* why)
{
    RmidData data;
    if (!FindRmidData(file.data(), file.size(), &data))
        return Fail(why, "the RIFF file has no complete \"data\" chunk");
    if (!OpensCleanly(file))
        return Fail(why, "the MIDI file is damaged");
    const std::vector<uint8_t> midi(file.begin() + data.start, file.begin() + data.start + data.size);
    std::vector<uint8_t> rewritten;
    if (!RewriteMidiData(midi, title, &rewritten, cut, why))
        return false;
    if (!data.isRmid) {
        *out = std::move(rewritten);
    } else {
        // The "data" chunk with its new size and pad byte, and the RIFF size
        // grown or shrunk by as much.
        const size_t oldEnd = data.start + data.size + ((data.size & 1) && data.start + data.size < file.size());
        out->assign(file.begin(), file.begin() + data.start);
        out->insert(out->end(), rewritten.begin(), rewritten.end());
        if (rewritten.size() & 1)
            out->push_back(0);
        out->insert(out->end(), file.begin() + oldEnd, file.end());
        const int64_t delta = static_cast<int64_t>(out->size()) - static_cast<int64_t>(file.size());
        if (rewritten.size() > 0xFFFFFFFFu || Le32At(file.data() + 4) + delta > 0xFFFFFFFFLL)
            return Fail(why, "the RIFF file would grow too long");
        PutLe32At(*out, data.headerAt + 4, static_cast<uint32_t>(rewritten.size()));
        PutLe32At(*out, 4, static_cast<uint32_t>(Le32At(file.data() + 4) + delta));
    }
    if (!OpensCleanly(*out))
        return Fail(why, "the rewritten song would not open");
    return true;
}

std::string EseqTitleField(const std::string& title)
{
    std::string field = title.substr(0, kEseqTitleLimit);
    for (char& c : field) {
        if (static_cast<uint8_t>(c) == 0xF1)
            c = 'n';
    }
    field.resize(kEseqTitleLimit, ' ');
    return field;
}

bool RewriteEseqTitle(const std::vector<uint8_t>& file, const std::string& title, std::vector<uint8_t>* out,
                      bool* cut, std::string* why)
{
    const eseq::EseqKind kind = eseq::RecogniseImage(file.data(), file.size());
    if (!kind.isEseq)
        return Fail(why, "not an ESEQ song");
    if (kind.diskOrchestra)
        return Fail(why, "a Disk Orchestra song: its title field is not written");
    const size_t fieldEnd = eseq::kOffTitle + kEseqTitleLimit;
    if (file.size() < fieldEnd)
        return Fail(why, "the ESEQ song is too short to hold a title");
    for (size_t i = eseq::kOffTitle; i < fieldEnd; ++i) {
        if (file[i] == 0xF1)
            return Fail(why, "the ESEQ song's events start inside its title field");
    }
    *cut = title.size() > kEseqTitleLimit;
    const std::string field = EseqTitleField(title);
    *out = file;
    std::memcpy(out->data() + eseq::kOffTitle, field.data(), kEseqTitleLimit);
    return true;
}

TitleWriteResult WriteSongTitle(PlaylistFiles& files, const std::string& path, const std::string& title)
{
    TitleWriteResult result;
    std::vector<uint8_t> file, rewritten;
    const FileResult read = files.Read(path, kReadWhole, &file);
    const bool midi = IsMidiName(path, true);
    if (read != FileResult::Ok) {
        result.status = TitleWrite::Unreadable;
        result.message = path + ": cannot be read";
        return result;
    }
    if (!midi && !eseq::RecogniseImage(file.data(), file.size()).isEseq) {
        result.status = TitleWrite::NotASong;
        result.message = path + ": neither a MIDI file nor an ESEQ song; left untouched";
        return result;
    }
    std::string why;
    const bool ok = midi ? RewriteMidiTitle(file, title, &rewritten, &result.cut, &why)
                         : RewriteEseqTitle(file, title, &rewritten, &result.cut, &why);
    if (!ok) {
        result.status = TitleWrite::Damaged;
        result.message = path + ": " + why + "; left untouched";
        return result;
    }
    if (files.Write(path, rewritten) != FileResult::Ok) {
        result.status = TitleWrite::WriteFailed;
        result.message = path + ": cannot be written; the file is as it was";
        return result;
    }
    result.status = TitleWrite::Written;
    return result;
}

size_t TitleEditLimit(PlaylistFiles& files, const std::string& path)
{
    std::vector<uint8_t> file;
    if (IsMidiName(path, true)) {
        if (files.Read(path, kReadWhole, &file) != FileResult::Ok)
            return kTrackNameLimit;
        RmidData data;
        smf::MidiTitleEvent event;
        const bool karaoke = FindRmidData(file.data(), file.size(), &data) &&
                             smf::FindMidiTitleEvent(file.data() + data.start, data.size, &event) && event.karaoke;
        return karaoke ? kKaraokeTitleLimit : kTrackNameLimit;
    }
    if (files.Read(path, eseq::kRecogniseBytes, &file) != FileResult::Ok)
        return 0;
    const eseq::EseqKind kind = eseq::RecogniseImage(file.data(), file.size());
    return kind.isEseq && !kind.diskOrchestra ? kEseqTitleLimit : 0;
}

}  // namespace playlist
