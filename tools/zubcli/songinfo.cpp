// zubcli info and events: song facts and the merged event stream as text.
#include <cstdio>
#include <string>

#include "smfreader.h"
#include "smftime.h"
#include "zubcli.h"

namespace {

void AppendHexByte(std::string& out, uint8_t byte)
{
    static const char kDigits[] = "0123456789abcdef";
    if (!out.empty() && out.back() != ' ')
        out += ' ';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

std::string TempoMapJson(const SmfReader& reader)
{
    std::string out = "[";
    for (const TempoMapEntry& e : reader.TempoMap()) {
        if (out.size() > 1)
            out += ",";
        out += "[" + std::to_string(e.tick) + "," + std::to_string(e.ms) + "," + std::to_string(e.tempo) + "]";
    }
    return out + "]";
}

}  // namespace

std::string SongInfoJson(const SmfReader& reader)
{
    std::string out = "{";
    out += "\"format\":" + std::to_string(reader.Format());
    out += ",\"tracks\":" + std::to_string(reader.TrackCount());
    out += ",\"division\":" + std::to_string(reader.Division());
    out += ",\"length_ticks\":" + std::to_string(reader.Length());
    out += ",\"length_ms\":" + std::to_string(reader.TicksToMs(reader.Length()));
    out += ",\"tempo_map\":" + TempoMapJson(reader);
    out += ",\"highest_velocity\":" + std::to_string(reader.HighestVelocity());
    out += ",\"lowest_program\":" + std::to_string(reader.LowestProgram());
    out += ",\"lamp_channels\":[" + std::to_string(reader.LampChannelA()) + "," +
           std::to_string(reader.LampChannelB()) + "]";
    out += ",\"leading_sysex\":" + std::to_string(reader.LeadingExclusiveCount());
    return out + "}\n";
}

std::string SongInfoTable(const SmfReader& reader)
{
    char line[160];
    std::string out;
    auto row = [&](const char* name, const std::string& value) {
        std::snprintf(line, sizeof line, "%-18s%s\n", name, value.c_str());
        out += line;
    };
    row("format", std::to_string(reader.Format()));
    row("tracks", std::to_string(reader.TrackCount()));
    char division[40];
    if (IsTimeCode(reader.Division()))
        std::snprintf(division, sizeof division, "%u (time code 0x%04x)", reader.Division(), reader.Division());
    else
        std::snprintf(division, sizeof division, "%u ticks per quarter", reader.Division());
    row("division", division);
    row("length_ticks", std::to_string(reader.Length()));
    row("length_ms", std::to_string(reader.TicksToMs(reader.Length())));
    const char* name = "tempo_map";
    for (const TempoMapEntry& e : reader.TempoMap()) {
        row(name, "tick " + std::to_string(e.tick) + " at " + std::to_string(e.ms) + " ms: " +
                      std::to_string(e.tempo) + " us per quarter");
        name = "";
    }
    row("highest_velocity", std::to_string(reader.HighestVelocity()));
    row("lowest_program", reader.LowestProgram() == 255 ? "255 (no program change)"
                                                         : std::to_string(reader.LowestProgram()));
    row("lamp_channels", std::to_string(reader.LampChannelA()) + ", " +
                             (reader.LampChannelB() ? std::to_string(reader.LampChannelB()) : "none"));
    row("leading_sysex", std::to_string(reader.LeadingExclusiveCount()));
    return out;
}

std::string EventLine(const SmfEvent& event)
{
    std::string bytes;
    AppendHexByte(bytes, event.status);
    if (event.status < 0xF0) {
        AppendHexByte(bytes, event.data1);
        const uint8_t kind = event.status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0)
            AppendHexByte(bytes, event.data2);
    } else {
        if (event.status == 0xFF)
            AppendHexByte(bytes, event.data1);
        for (uint32_t i = 0; i < event.length; ++i)
            AppendHexByte(bytes, event.data[i]);
    }
    return std::to_string(event.tick) + " " + std::to_string(event.delta) + " " + std::to_string(event.track) + " " +
           bytes + "\n";
}
