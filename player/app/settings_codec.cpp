#include "settings_codec.h"

#include <cerrno>
#include <cstdlib>

#include "command_ids.h"

namespace zub {

const std::array<OptionSwitch, kOptionCount> kOptionSwitches = {{
    {CMD_TOOLBAR, "&Toolbar", true},
    {CMD_STATUSBAR, "&Status Bar", true},
    {CMD_AUTOPLAY, "Auto-&Play on Open", true},
    {CMD_DISK_FIXUP, "&Disklavier Disk Fixup for Clavinova", true},
    {CMD_SONG_GAP, "Append (2 sec) Song &Gap", true},
    {CMD_LOOP, "&Loop Playlist", false},
    {CMD_CREATE_MID, "&Create MID Files on ESEQ Playback", false},
    {CMD_ELAPSED, "Elapsed time", false},
    {CMD_REMAINING, "Remaining Time", true},
    {CMD_MAP_VOICES, "&Map Voices on DOC Playback", false},
    {CMD_ALWAYS_ON_TOP, "&Always On Top", false},
    {CMD_USE_PIANODIR, "&Use Pianodir for Song Length", true},
    {CMD_SORT_DISK_DIR, "S&ort Playlist by Disk/Dir Name", false},
}};

OptionArray DefaultOptions()
{
    OptionArray options{};
    for (int i = 0; i < kOptionCount; ++i)
        options[i] = kOptionSwitches[i].defaultOn;
    return options;
}

int OptionIndexOfCommand(int command)
{
    for (int i = 0; i < kOptionCount; ++i) {
        if (kOptionSwitches[i].command == command)
            return i;
    }
    return -1;
}

void ParseOptions(std::string_view text, OptionArray& options)
{
    for (size_t i = 0; i < text.size() && i < options.size(); ++i)
        options[i] = text[i] != '0';
}

std::string FormatOptions(const OptionArray& options)
{
    std::string text;
    for (bool on : options)
        text += on ? '1' : '0';
    return text;
}

std::string FolderOfPath(std::string_view path)
{
    size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos)
        return std::string();
    if (slash < 3)
        return std::string(path.substr(0, slash + 1));
    return std::string(path.substr(0, slash));
}

std::string FileTitleOf(std::string_view path)
{
    size_t cut = path.find_last_of("/:\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool operator==(const WindowPos& a, const WindowPos& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

std::string WindowPosValueName(std::string_view window, int screenWidth, int screenHeight)
{
    return std::string(window) + std::to_string(screenWidth) + "x" + std::to_string(screenHeight);
}

std::string FormatWindowPos(const WindowPos& pos)
{
    return std::to_string(pos.left) + " " + std::to_string(pos.top) + " " + std::to_string(pos.width) + " " +
           std::to_string(pos.height);
}

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads one signed decimal number at text[at], skipping blanks before it.
bool ReadInt(std::string_view text, size_t& at, int& value)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    size_t start = at;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    size_t digits = at;
    long long v = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        v = v * 10 + (text[at] - '0');
        if (v > 1000000000LL)
            return false;
        ++at;
    }
    if (at == digits)
        return false;
    value = static_cast<int>(text[start] == '-' ? -v : v);
    return true;
}

}  // namespace

std::optional<WindowPos> ParseWindowPos(std::string_view text)
{
    WindowPos pos;
    size_t at = 0;
    if (!ReadInt(text, at, pos.left) || !ReadInt(text, at, pos.top) || !ReadInt(text, at, pos.width) ||
        !ReadInt(text, at, pos.height))
        return std::nullopt;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    if (at != text.size() || pos.width <= 0 || pos.height <= 0)
        return std::nullopt;
    return pos;
}

int32_t MasterVolumeFromStored(uint32_t stored)
{
    int32_t v = static_cast<int32_t>(stored);
    if (v == 0 || v > 128 || v < -128)
        return -128;
    return v;
}

}  // namespace zub
