#include "midi_title.h"

#include <cstring>
#include <vector>

#include "clean_title.h"
#include "hostfile.h"

namespace smf {

namespace {

constexpr size_t kFormatLowByte = 9;
constexpr size_t kScanStart = 23;  // past the headers and the first delta
constexpr size_t kLongestName = 128;

// The karaoke title: 0xFF 0x01 L '@' 'T', then L - 2 bytes.
bool FindKaraokeTitle(const uint8_t* bytes, size_t size, std::string* raw)
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
                const size_t count = length >= 2 ? length - 2 : 0;
                const size_t from = pos + 1;
                const size_t take = from < size ? (size - from < count ? size - from : count) : 0;
                raw->assign(reinterpret_cast<const char*>(bytes + from), take);
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
bool FindTrackName(const uint8_t* bytes, size_t size, bool stopAtTrack, std::string* raw)
{
    for (size_t pos = kScanStart; pos + 3 <= size; ++pos) {
        if (stopAtTrack && pos + 4 <= size && std::memcmp(bytes + pos, "MTrk", 4) == 0)
            return false;
        if (bytes[pos] != 0xFF || bytes[pos + 1] != 0x03)
            continue;
        size_t count = bytes[pos + 2];
        if (count > kLongestName)
            count = kLongestName - 1;
        const size_t from = pos + 3;
        if (count > size - from)
            count = size - from;
        raw->assign(reinterpret_cast<const char*>(bytes + from), count);
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

bool MidiTitleFromImage(const uint8_t* bytes, size_t size, std::string* title)
{
    if (size < 10)
        return false;
    const bool multiTrack = bytes[kFormatLowByte] != 0;
    std::string raw;
    if (!(multiTrack && FindKaraokeTitle(bytes, size, &raw)) && !FindTrackName(bytes, size, multiTrack, &raw))
        return false;
    *title = Tidy(raw);
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
