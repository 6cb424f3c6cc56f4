#include "playlist_text.h"

#include <cstring>

#include "text_codec.h"

namespace playlist {

namespace {

constexpr size_t kLineLimit = kZubLineBuffer - 1;  // characters a read takes, the LF included

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string Trimmed(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// "#EXTINF:seconds[ attributes],title": the title follows the first comma
// outside double quotes.
void ParseExtinf(const std::string& info, M3uEntry* entry)
{
    size_t pos = 0;
    const bool negative = pos < info.size() && info[pos] == '-';
    if (negative)
        ++pos;
    long long seconds = 0;
    bool digits = false;
    for (; pos < info.size() && info[pos] >= '0' && info[pos] <= '9'; ++pos) {
        digits = true;
        if (seconds < 100000000000LL)
            seconds = seconds * 10 + (info[pos] - '0');
    }
    entry->hasSeconds = digits;
    entry->seconds = negative ? -seconds : seconds;
    bool quoted = false;
    for (; pos < info.size(); ++pos) {
        if (info[pos] == '"')
            quoted = !quoted;
        else if (info[pos] == ',' && !quoted)
            break;
    }
    entry->title = pos < info.size() ? Trimmed(info.substr(pos + 1)) : std::string();
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

std::vector<std::string> SplitZubLines(const std::vector<uint8_t>& bytes)
{
    // Each read takes up to 519 characters through the next LF; what it
    // holds is seen as a C string, so a line ends at a zero byte.
    std::vector<std::string> lines;
    std::string chunk;
    auto finish = [&]() {
        chunk.resize(std::strlen(chunk.c_str()));
        lines.push_back(chunk);
        chunk.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;  // text mode: CR LF reads as LF
        chunk += c;
        if (c == '\n' || chunk.size() >= kLineLimit)
            finish();
    }
    if (!chunk.empty())
        finish();
    return lines;
}

ZubEntry ParseZubEntry(const std::string& line)
{
    ZubEntry entry;
    std::string fields[4];
    size_t field = 0;
    for (char c : line) {
        if (c == '\t' && field < 3) {
            ++field;
            continue;
        }
        fields[field] += c;
    }
    entry.path = fields[0];
    entry.stored.hasLength = field >= 1;
    entry.stored.length = fields[1];
    entry.stored.hasTitle = field >= 2;
    entry.stored.title = fields[2];
    entry.stored.hasStamp = field >= 3;
    entry.stored.stamp = fields[3];
    return entry;
}

bool IsVoiceMapLine(const std::string& line)
{
    return SameTextNoCase(ExtensionOf(line), "MAP");
}

std::string ZubEntryLine(const std::string& path, const std::string& length, const std::string& title,
                         const std::string& stamp)
{
    std::string safeTitle = title;
    for (char& c : safeTitle) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    const size_t fixed = path.size() + length.size() + stamp.size() + 4;  // three tabs and the LF
    if (fixed + safeTitle.size() > kLineLimit)
        safeTitle.resize(fixed < kLineLimit ? kLineLimit - fixed : 0);
    return path + "\t" + length + "\t" + safeTitle + "\t" + stamp + "\r\n";
}

std::vector<M3uEntry> ParseM3u(const std::vector<uint8_t>& bytes, bool utf8)
{
    std::vector<M3uEntry> entries;
    std::string text(bytes.begin(), bytes.end());
    if (StartsWith(text, "\xEF\xBB\xBF")) {
        text.erase(0, 3);
        utf8 = true;  // a byte order mark says so whatever the extension
    }
    M3uEntry info;
    bool haveInfo = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        line.resize(std::strlen(line.c_str()));
        if (utf8)
            line = Utf8ToNarrow(line);
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (StartsWith(line, "#EXTINF:")) {
                info = M3uEntry();
                ParseExtinf(line.substr(8), &info);
                haveInfo = true;
            }
            continue;
        }
        M3uEntry entry = haveInfo ? info : M3uEntry();
        haveInfo = false;
        if (line.find("://") != std::string::npos)
            continue;  // a stream or a URL: not a file this player can list
        bool control = false;
        for (char c : line)
            control = control || static_cast<unsigned char>(c) < 0x20;
        if (control)
            continue;  // no file name holds tabs or control characters
        entry.path = line;
        entries.push_back(entry);
    }
    return entries;
}

std::string CsvLine(const PlaylistRow& row)
{
    if (row.IsDisk())
        return Quoted(row.text[ColName]) + ",," + Quoted(row.text[ColLength]) + "," + Quoted(row.text[ColPath]) +
               "\r\n";
    return Quoted(row.text[ColName]) + "," + Quoted(row.text[ColTitle]) + "," + Quoted(row.text[ColLength]) + "," +
           Quoted(row.text[ColPath]) + "\r\n";
}

}  // namespace playlist
