#include "fat_names.h"

#include <cctype>
#include <cstring>

namespace floppy {

namespace {

// Characters a short name may hold besides letters and digits; bytes from
// 0x80 up are the disk's code page and allowed too.
bool IsShortNameChar(unsigned char c)
{
    if (c >= 0x80 || std::isalnum(c))
        return true;
    return std::strchr("!#$%&'()-@^_`{}~", c) != nullptr && c != 0;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Name and extension, each kept to the characters a short name may hold.
// `lossy` is set when anything had to go or change.
void Basis(const std::string& name, std::string* base, std::string* ext, bool* lossy)
{
    *lossy = false;
    size_t start = 0;
    while (start < name.size() && (name[start] == '.' || name[start] == ' ')) {
        ++start;
        *lossy = true;
    }
    const size_t dot = name.rfind('.');
    const bool hasExt = dot != std::string::npos && dot >= start;
    const std::string stem = name.substr(start, hasExt ? dot - start : std::string::npos);
    const std::string tail = hasExt ? name.substr(dot + 1) : std::string();
    auto keep = [lossy](const std::string& part, size_t limit) {
        std::string out;
        for (unsigned char c : part) {
            if (c == ' ' || c == '.') {
                *lossy = true;
                continue;
            }
            const bool ok = IsShortNameChar(c);
            if (!ok)
                *lossy = true;
            out += ok ? char(std::toupper(c)) : '_';
        }
        if (out.size() > limit) {
            out.resize(limit);
            *lossy = true;
        }
        return out;
    };
    *base = keep(stem, 8);
    *ext = keep(tail, 3);
}

void Fill(const std::string& base, const std::string& ext, uint8_t raw11[11])
{
    std::memset(raw11, ' ', 11);
    std::memcpy(raw11, base.data(), base.size());
    std::memcpy(raw11 + 8, ext.data(), ext.size());
    if (raw11[0] == 0xE5)
        raw11[0] = 0x05;  // 0xE5 marks a deleted entry
}

}  // namespace

std::string ShortNameText(const uint8_t* raw, uint8_t caseFlags)
{
    std::string base(reinterpret_cast<const char*>(raw), 8), ext(reinterpret_cast<const char*>(raw + 8), 3);
    if (!base.empty() && uint8_t(base[0]) == 0x05)
        base[0] = char(0xE5);
    base.erase(base.find_last_not_of(' ') + 1);
    ext.erase(ext.find_last_not_of(' ') == std::string::npos ? 0 : ext.find_last_not_of(' ') + 1);
    auto lower = [](std::string& s) {
        for (char& c : s)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    };
    if (caseFlags & 0x08)
        lower(base);
    if (caseFlags & 0x10)
        lower(ext);
    return ext.empty() ? base : base + "." + ext;
}

uint8_t ShortNameChecksum(const uint8_t* raw)
{
    uint8_t sum = 0;
    for (int i = 0; i < 11; ++i)
        sum = uint8_t(((sum & 1) << 7) + (sum >> 1) + raw[i]);
    return sum;
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && Upper(a) == Upper(b);
}

bool ExactShortName(const std::string& name, uint8_t raw11[11])
{
    std::string base, ext;
    bool lossy = false;
    Basis(name, &base, &ext, &lossy);
    if (lossy || base.empty() || name == "." || name == "..")
        return false;
    Fill(base, ext, raw11);
    return true;
}

bool MakeShortName(const std::string& name, const std::set<std::string>& taken, bool forceTail, uint8_t raw11[11])
{
    std::set<std::string> upperTaken;
    for (const std::string& t : taken)
        upperTaken.insert(Upper(t));
    std::string base, ext;
    bool lossy = false;
    Basis(name, &base, &ext, &lossy);
    if (base.empty()) {
        if (ext.empty())
            return false;
        base = "_";  // ".mid" alone
        lossy = true;
    }
    if (!lossy && !forceTail) {
        Fill(base, ext, raw11);
        return true;
    }
    for (int n = 1; n < 1000000; ++n) {
        const std::string tail = "~" + std::to_string(n);
        const std::string candidate = base.substr(0, 8 - tail.size()) + tail;
        if (!upperTaken.count(ext.empty() ? candidate : candidate + "." + ext)) {
            Fill(candidate, ext, raw11);
            return true;
        }
    }
    return false;
}

}  // namespace floppy
