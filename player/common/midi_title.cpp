#include "midi_title.h"

#include <cstring>
#include <vector>

#include "clean_title.h"
#include "hostfile.h"
#include "riff_midi.h"

namespace smf {

namespace {

constexpr size_t kFormatLowByte = 9;
constexpr size_t kScanStart = 23;  // past the headers and the first delta
constexpr size_t kLongestName = 128;

size_t Available(size_t size, size_t from, size_t wanted)
{
    if (from >= size)
        return 0;
    return size - from < wanted ? size - from : wanted;
}

// The karaoke title: 0xFF 0x01 L '@' 'T', then L - 2 bytes. A recogniser
// with states: any unexpected byte resets it and a new 0xFF restarts it.
bool FindKaraokeTitle(const uint8_t* bytes, size_t size, MidiTitleEvent* event)
{
    enum State { Idle, AfterFF, AfterType, AfterLength, AfterAt } state = Idle;
    size_t length = 0;
    for (size_t pos = kScanStart; pos < size; ++pos) {
        const uint8_t b = bytes[pos];
        switch (state) {
        case AfterType:
            length = b;
            state = AfterLength;
            continue;
        case AfterFF:
            if (b == 0x01) {
                state = AfterType;
                continue;
            }
            break;
        case AfterLength:
            if (b == 0x40) {
                state = AfterAt;
                continue;
            }
            break;
        case AfterAt:
            if (b == 0x54) {
                event->karaoke = true;
                event->at = pos - 4;
                event->textAt = pos + 1;
                event->count = Available(size, pos + 1, length >= 2 ? length - 2 : 0);
                return true;
            }
            break;
        case Idle:
            break;
        }
        state = b == 0xFF ? AfterFF : Idle;
    }
    return false;
}

// The first 0xFF 0x03 name; files of format 1 and 2 only before their
// second track.
bool FindTrackName(const uint8_t* bytes, size_t size, bool stopAtTrack, MidiTitleEvent* event)
{
    for (size_t pos = kScanStart; pos + 3 <= size; ++pos) {
        if (stopAtTrack && pos + 4 <= size && std::memcmp(bytes + pos, "MTrk", 4) == 0)
            return false;
        if (bytes[pos] != 0xFF || bytes[pos + 1] != 0x03)
            continue;
        size_t count = bytes[pos + 2];
        if (count > kLongestName)
            count = kLongestName - 1;
        event->karaoke = false;
        event->at = pos;
        event->textAt = pos + 3;
        event->count = Available(size, pos + 3, count);
        return true;
    }
    return false;
}

// The text ends at a zero byte; line breaks count as spaces.
std::string Tidy(std::string raw)
{
    raw.resize(std::strlen(raw.c_str()));
    for (char& c : raw) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return CleanTitle(raw);
}

}  // namespace

bool FindMidiTitleEvent(const uint8_t* midi, size_t size, MidiTitleEvent* event)
{
    if (size < 10)
        return false;
    const bool multiTrack = midi[kFormatLowByte] != 0;
    return (multiTrack && FindKaraokeTitle(midi, size, event)) || FindTrackName(midi, size, multiTrack, event);
}

bool MidiTitleFromImage(const uint8_t* bytes, size_t size, std::string* title)
{
    RmidData data;
    if (!FindRmidData(bytes, size, &data))
        return false;
    const uint8_t* midi = bytes + data.start;
    MidiTitleEvent event;
    if (!FindMidiTitleEvent(midi, data.size, &event))
        return false;
    *title = Tidy(std::string(reinterpret_cast<const char*>(midi + event.textAt), event.count));
    return true;
}

bool ReadMidiTitle(const char* path, std::string* title)
{
    std::vector<uint8_t> image;
    if (ReadFileImage(path, &image) != FileResult::Ok)
        return false;
    return MidiTitleFromImage(image.data(), image.size(), title);
}

}  // namespace smf
