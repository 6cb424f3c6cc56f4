#include "songbuilder.h"

#include <cstdio>

#include "smfbytes.h"

std::vector<uint8_t> Vlq(uint32_t value)
{
    std::vector<uint8_t> out;
    smf::PutVlq(out, value);
    return out;
}

Track& Track::Ev(uint32_t delta, std::initializer_list<uint8_t> data)
{
    return Ev(delta, std::vector<uint8_t>(data));
}

Track& Track::Ev(uint32_t delta, const std::vector<uint8_t>& data)
{
    const std::vector<uint8_t> d = Vlq(delta);
    bytes.insert(bytes.end(), d.begin(), d.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
}

Track& Track::NoteOn(uint32_t delta, int channel, int note, int velocity)
{
    return Ev(delta, {static_cast<uint8_t>(0x90 | (channel - 1)), static_cast<uint8_t>(note),
                      static_cast<uint8_t>(velocity)});
}

Track& Track::NoteOff(uint32_t delta, int channel, int note)
{
    return Ev(delta, {static_cast<uint8_t>(0x80 | (channel - 1)), static_cast<uint8_t>(note), 0x40});
}

Track& Track::Program(uint32_t delta, int channel, int program)
{
    return Ev(delta, {static_cast<uint8_t>(0xC0 | (channel - 1)), static_cast<uint8_t>(program)});
}

Track& Track::Tempo(uint32_t delta, uint32_t usPerQuarter)
{
    return Ev(delta, {0xFF, 0x51, 0x03, static_cast<uint8_t>(usPerQuarter >> 16),
                      static_cast<uint8_t>(usPerQuarter >> 8), static_cast<uint8_t>(usPerQuarter)});
}

Track& Track::Sysex(uint32_t delta, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> event = {0xF0};
    const std::vector<uint8_t> length = Vlq(static_cast<uint32_t>(data.size()));
    event.insert(event.end(), length.begin(), length.end());
    event.insert(event.end(), data.begin(), data.end());
    return Ev(delta, event);
}

Track& Track::Meta(uint32_t delta, uint8_t type, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> event = {0xFF, type};
    const std::vector<uint8_t> length = Vlq(static_cast<uint32_t>(data.size()));
    event.insert(event.end(), length.begin(), length.end());
    event.insert(event.end(), data.begin(), data.end());
    return Ev(delta, event);
}

Track& Track::End(uint32_t delta)
{
    return Ev(delta, {0xFF, 0x2F, 0x00});
}

Track& Track::Raw(std::initializer_list<uint8_t> data)
{
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
}

std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out(id, id + 4);
    const uint32_t n = static_cast<uint32_t>(data.size());
    out.insert(out.end(), {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                           static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> LeChunk(const char* id, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out(id, id + 4);
    const uint32_t n = static_cast<uint32_t>(data.size());
    out.insert(out.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                           static_cast<uint8_t>(n >> 24)});
    out.insert(out.end(), data.begin(), data.end());
    if (n & 1)
        out.push_back(0);
    return out;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<uint8_t> BuildSong(uint16_t format, uint16_t division, const std::vector<Track>& tracks,
                               uint32_t extraHeader)
{
    std::vector<uint8_t> header = {static_cast<uint8_t>(format >> 8), static_cast<uint8_t>(format),
                                   static_cast<uint8_t>(tracks.size() >> 8), static_cast<uint8_t>(tracks.size()),
                                   static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)};
    header.resize(6 + extraHeader, 0xEE);
    std::vector<uint8_t> song = Chunk("MThd", header);
    for (const Track& track : tracks) {
        const std::vector<uint8_t> chunk = Chunk("MTrk", track.bytes);
        song.insert(song.end(), chunk.begin(), chunk.end());
    }
    return song;
}

std::vector<uint8_t> Riff(const char* form, const std::vector<std::vector<uint8_t>>& chunks)
{
    std::vector<uint8_t> body(form, form + 4);
    for (const auto& chunk : chunks)
        body = Concat(body, chunk);
    return LeChunk("RIFF", body);
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string out;
    char text[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(text, sizeof text, i ? " %02x" : "%02x", bytes[i]);
        out += text;
    }
    return out;
}
