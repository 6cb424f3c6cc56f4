#include "playlist_row.h"

#include <cctype>
#include <cstdio>

#include "batch_paths.h"

namespace playlist {

const char kIconFolder[] = "Folder";
const char kIconPiano[] = "Piano";
const char kIconPianoPlus[] = "Piano+";
const char kIconPianoDoc[] = "PianoDoc";
const char kIconMissing[] = "Missing";
const char kColourRed[] = "Red";
const char kColourMagenta[] = "Magenta";
const char kColourDarkBlue[] = "Dark Blue";
const char kColourDarkGreen[] = "Dark Green";
const char kPianodirFile[] = "Pianodir.fil";
const char kMusicDirFile[] = "Music.dir";

std::string PlayingIcon(int n)
{
    return "Keys" + std::to_string(n < 0 ? 0 : n > 4 ? 4 : n);
}

bool PlaylistRow::IsDisk() const
{
    return IsFolder() && (icon == kIconPiano || icon == kIconPianoPlus || icon == kIconPianoDoc);
}

const char* IconName(SongKind kind)
{
    switch (kind) {
    case SongKind::DirectoryFolder: return kIconFolder;
    case SongKind::EseqDiskSolo: return kIconPiano;
    case SongKind::EseqDiskEnsemble: return kIconPianoPlus;
    case SongKind::DiskOrchestraDisk: return kIconPianoDoc;
    case SongKind::Missing: return kIconMissing;
    case SongKind::Playing: return "Keys0";
    case SongKind::MidiSong:
    case SongKind::KaraokeSong:
    case SongKind::EseqSong:
    case SongKind::CatalogSong: break;
    }
    return "";
}

std::string ExtensionOf(const std::string& fileName)
{
    const std::string name = eseq::FileNameOf(fileName);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool IsMidiName(const std::string& fileName, bool karaokeCounts)
{
    const std::string ext = ExtensionOf(fileName);
    return SameTextNoCase(ext, "MID") || SameTextNoCase(ext, "RMI") || (karaokeCounts && SameTextNoCase(ext, "KAR"));
}

SongKind SongKindOfName(const std::string& fileName)
{
    if (IsMidiName(fileName, false))
        return SongKind::MidiSong;
    return IsMidiName(fileName, true) ? SongKind::KaraokeSong : SongKind::EseqSong;
}

std::string FormatLength(uint32_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

namespace {

// One "%d" of scanf: blanks, an optional sign, digits (clamped).
bool ScanNumber(const char*& p, long long* value)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    long long v = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        v = v > 100000000000LL ? v : v * 10 + (*p - '0');
    *value = negative ? -v : v;
    return true;
}

}  // namespace

bool ParseLength(const std::string& text, uint32_t* seconds)
{
    const char* p = text.c_str();
    long long h = 0, m = 0, s = 0;
    if (!ScanNumber(p, &h) || *p++ != ':' || !ScanNumber(p, &m) || *p++ != ':' || !ScanNumber(p, &s))
        return false;
    const long long total = 3600 * h + 60 * m + s;
    *seconds = total < 0 ? 0 : total > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<uint32_t>(total);
    return true;
}

std::string FormatTimeStamp(const FileTime& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d", t.month, t.day, t.year, t.hour, t.minute, t.second);
    return text;
}

std::string TrimBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string CollapseSpaces(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out += c;
    }
    return out;
}

bool SameTextNoCase(const std::string& a, const std::string& b)
{
    return eseq::EqualsNoCase(a, b);
}

}  // namespace playlist
