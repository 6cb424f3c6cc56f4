#include "test_songs.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "smfbytes.h"

namespace zubtest {

namespace {

constexpr uint16_t kDivision = 96;

using smf::PutVlq;

std::vector<uint8_t> WrapTrack(const std::vector<uint8_t>& track)
{
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, kDivision >> 8, kDivision & 0xFF};
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    smf::PutBe32(file, static_cast<uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

// A bounded reader over one chunk of a file.
struct Cursor {
    const std::vector<uint8_t>& data;
    size_t at;
    size_t end;
    bool ok = true;

    uint8_t Byte()
    {
        if (at >= end) {
            ok = false;
            return 0;
        }
        return data[at++];
    }
    uint32_t VarLen()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return v;
        }
        ok = false;
        return 0;
    }
};

uint32_t Read32(const std::vector<uint8_t>& d, size_t at)
{
    return (uint32_t(d[at]) << 24) | (uint32_t(d[at + 1]) << 16) | (uint32_t(d[at + 2]) << 8) | d[at + 3];
}

bool ReadTrack(Cursor c, uint16_t trackIndex, std::vector<std::pair<uint64_t, SentEvent>>& out)
{
    uint32_t tick = 0;
    uint8_t running = 0;
    uint32_t order = 0;
    while (c.ok && c.at < c.end) {
        tick += c.VarLen();
        uint8_t status = c.Byte();
        SentEvent e{tick, {}};
        if (status < 0x80) {
            if (!running)
                return false;
            e.bytes = {running, status};
            uint8_t hi = running & 0xF0;
            if (hi != 0xC0 && hi != 0xD0)
                e.bytes.push_back(c.Byte());
        } else if (status < 0xF0) {
            running = status;
            e.bytes = {status, c.Byte()};
            uint8_t hi = status & 0xF0;
            if (hi != 0xC0 && hi != 0xD0)
                e.bytes.push_back(c.Byte());
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            uint32_t len = c.VarLen();
            if (status == 0xF0)
                e.bytes.push_back(0xF0);
            for (uint32_t i = 0; i < len && c.ok; ++i)
                e.bytes.push_back(c.Byte());
        } else if (status == 0xFF) {
            running = 0;
            uint8_t type = c.Byte();
            uint32_t len = c.VarLen();
            std::vector<uint8_t> data;
            for (uint32_t i = 0; i < len && c.ok; ++i)
                data.push_back(c.Byte());
            if (type == 0x2F)
                return c.ok;
            if (type != 0x51)
                continue;
            e.bytes = {0xFF, 0x51, static_cast<uint8_t>(len)};
            e.bytes.insert(e.bytes.end(), data.begin(), data.end());
        } else {
            return false;
        }
        if (!c.ok)
            return false;
        // Sort key: tick, then track, then order within the track.
        uint64_t key = (uint64_t(tick) << 32) | (uint64_t(trackIndex) << 20) | order++;
        out.push_back({key, e});
    }
    return false;  // no End of Track
}

}  // namespace

std::vector<uint8_t> MakeSong(int quarters, const std::string& trackName)
{
    constexpr uint32_t kRest = 8;  // ticks between a note-off and the next note-on
    std::vector<uint8_t> t = {0x00, 0xFF, 0x03, static_cast<uint8_t>(trackName.size() & 0x7F)};
    t.insert(t.end(), trackName.begin(), trackName.begin() + (trackName.size() & 0x7F));
    t.insert(t.end(), {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 us per quarter
    t.insert(t.end(), {0x00, 0xC0, 0x00});                          // piano on channel 1
    for (int q = 0; q < quarters; ++q) {
        uint8_t note = static_cast<uint8_t>(60 + q % 12);
        PutVlq(t, q == 0 ? 0 : kRest);
        t.insert(t.end(), {0x90, note, static_cast<uint8_t>(64 + q % 40)});
        PutVlq(t, kDivision - kRest);
        t.insert(t.end(), {0x80, note, 0x40});
    }
    // The last rest ends the song after exactly `quarters` quarters.
    PutVlq(t, kRest);
    t.insert(t.end(), {0xFF, 0x2F, 0x00});
    return WrapTrack(t);
}

std::vector<uint8_t> MakeDamagedSong()
{
    std::vector<uint8_t> file = MakeSong(4);
    file.resize(file.size() - 9);  // the track chunk now claims more than is there
    return file;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return true;
}

bool SentEventsOf(const std::vector<uint8_t>& file, std::vector<SentEvent>& events, uint16_t* division)
{
    events.clear();
    if (file.size() < 14 || std::string(file.begin(), file.begin() + 4) != "MThd")
        return false;
    uint32_t headerLength = Read32(file, 4);
    if (headerLength < 6 || headerLength > file.size() - 8)
        return false;
    uint16_t tracks = static_cast<uint16_t>((file[10] << 8) | file[11]);
    if (division)
        *division = static_cast<uint16_t>((file[12] << 8) | file[13]);
    size_t at = 8 + headerLength;
    std::vector<std::pair<uint64_t, SentEvent>> keyed;
    for (uint16_t t = 0; t < tracks; ++t) {
        if (file.size() - at < 8 || std::string(file.begin() + at, file.begin() + at + 4) != "MTrk")
            return false;
        uint32_t length = Read32(file, at + 4);
        if (length > file.size() - at - 8)
            return false;
        if (!ReadTrack(Cursor{file, at + 8, at + 8 + length}, t, keyed))
            return false;
        at += 8 + length;
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& k : keyed)
        events.push_back(k.second);
    return true;
}

std::string Describe(const SentEvent& e)
{
    std::string s = "@" + std::to_string(e.tick) + ":";
    char hex[4];
    for (uint8_t b : e.bytes) {
        snprintf(hex, sizeof(hex), " %02X", b);
        s += hex;
    }
    return s;
}

}  // namespace zubtest
