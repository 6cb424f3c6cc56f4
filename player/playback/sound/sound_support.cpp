#include "sound_support.h"

#include <cstdio>
#include <sys/stat.h>

std::string ChooseSoundFont(const std::string& given, const std::string& systemFont, std::string* problem)
{
    const std::string& path = given.empty() ? systemFont : given;
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
        return path;
    if (!given.empty())
        *problem = given + ": open failed";
    else
        *problem = "no General MIDI sound font at " + systemFont +
                   ": install the Debian package fluid-soundfont-gm (or the smaller timgm6mb-soundfont), "
                   "or name a font with --soundfont";
    return std::string();
}

std::string FormatPortList(const std::vector<AlsaPort>& ports)
{
    std::string text = " Port    Client name                      Port name\n";
    char line[160];
    for (const AlsaPort& p : ports) {
        std::snprintf(line, sizeof line, "%3d:%-3d  %-32.32s %s\n", p.client, p.port, p.clientName.c_str(),
                      p.portName.c_str());
        text += line;
    }
    return text;
}

namespace {

std::string MinutesSeconds(uint64_t ms)
{
    const uint64_t s = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu", static_cast<unsigned long long>(s / 60),
                  static_cast<unsigned long long>(s % 60));
    return text;
}

}  // namespace

std::string RenderProgressLine(const std::string& name, uint64_t doneMs, uint64_t totalMs)
{
    if (doneMs > totalMs)
        doneMs = totalMs;
    const unsigned percent = totalMs == 0 ? 100u : static_cast<unsigned>(doneMs * 100 / totalMs);
    return "Rendering " + name + ": " + std::to_string(percent) + "% (" + MinutesSeconds(doneMs) + " of " +
           MinutesSeconds(totalMs) + ")";
}

bool MasterVolumeLevel(const uint8_t* bytes, uint32_t length, double* level)
{
    if (length != 8 || bytes[0] != 0xF0 || bytes[1] != 0x7F || bytes[3] != 0x04 || bytes[4] != 0x01 ||
        bytes[7] != 0xF7 || (bytes[5] | bytes[6]) > 0x7F)
        return false;
    *level = ((bytes[6] << 7) | bytes[5]) / 16383.0;
    return true;
}
