// The voice-map reader on arbitrary text, then the hooks on arbitrary
// channel messages. The input is the map up to the first zero byte, then
// messages of three bytes. Whatever the map says, the instrument must only
// receive valid messages: data bytes below 128, the extra records bank
// selects and one program change, every record on the channel the map
// moves the message's channel to, and a reading problem must name its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "voice_map.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckLoad(const playlist::VoiceMapLoad& load)
{
    Check(load.opened);
    Check((load.badLine == 0) == load.problem.empty());
    if (load.badLine > 0)
        Check(load.problem.find(": line " + std::to_string(load.badLine) + ": ") != std::string::npos);
}

void CheckProgram(playlist::VoiceMap& map, ShortMessage m, uint8_t channel)
{
    uint32_t words[13];
    const uint32_t count = map.MapProgram(&m, words, 13);
    Check(count % 3 == 0 && count <= 12);
    int programs = 0;
    for (uint32_t i = 0; i < count; i += 3) {
        Check(words[i] == 0 && words[i + 1] == 0);
        const uint32_t e = words[i + 2];
        const uint8_t status = static_cast<uint8_t>(e);
        Check((e >> 24) == 0);                                         // a short message
        Check((status & 0x0F) == map.ChannelFor(channel));              // moved already
        Check((status & 0xF0) == 0xB0 || (status & 0xF0) == 0xC0);
        Check(((e >> 8) & 0x80) == 0 && ((e >> 16) & 0x80) == 0);
        if ((status & 0xF0) == 0xB0)
            Check(((e >> 8) & 0xFF) == 0 || ((e >> 8) & 0xFF) == 32);  // bank selects only
        programs += (status & 0xF0) == 0xC0 ? 1 : 0;
    }
    Check(count == 0 || programs == 1);
    Check(count == 0 || ((m.status & 0xF0) == 0xB0 && (m.data1 == 0 || m.data1 == 32)));
    Check(m.data1 < 0x80 && m.data2 < 0x80);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t mapSize = 0;
    while (mapSize < size && data[mapSize] != 0)
        ++mapSize;
    playlist::VoiceMap map;
    CheckLoad(map.LoadText(data, mapSize, "fuzz.map"));

    for (size_t at = mapSize + 1; at + 3 <= size; at += 3) {
        // A valid channel message: status 0x80-0xEF, data bytes below 128.
        ShortMessage m{static_cast<uint8_t>(0x80 | (data[at] % 0x70)), static_cast<uint8_t>(data[at + 1] & 0x7F),
                       static_cast<uint8_t>(data[at + 2] & 0x7F)};
        const uint8_t channel = m.status & 0x0F;
        const uint8_t kind = m.status & 0xF0;
        if (kind == 0xC0) {
            CheckProgram(map, m, channel);
            continue;
        }
        if (kind == 0x80 || kind == 0x90)
            map.MapNote(&m);
        else if (kind == 0xB0)
            map.MapController(&m);
        map.MapChannel(&m);
        Check((m.status & 0xF0) == kind && (m.status & 0x0F) == map.ChannelFor(channel));
        Check(m.data1 < 0x80 && m.data2 < 0x80);
        if (data[at] == 0xFF)
            map.Rewind();
    }
    return 0;
}
