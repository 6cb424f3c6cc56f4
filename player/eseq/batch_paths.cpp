#include "batch_paths.h"

#include <cctype>
#include <cstdio>

namespace eseq {

namespace {

constexpr size_t kLineWhole = 75;
constexpr size_t kLineHead = 20;
constexpr size_t kLineTail = 30;

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

size_t LastSeparator(const std::string& path)
{
    for (size_t i = path.size(); i-- > 0;) {
        if (IsSeparator(path[i]))
            return i;
    }
    return std::string::npos;
}

}  // namespace

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string FileNameOf(const std::string& path)
{
    for (size_t i = path.size(); i-- > 0;) {
        if (IsSeparator(path[i]) || path[i] == ':')
            return path.substr(i + 1);
    }
    return path;
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    if (IsSeparator(dir.back()))
        return dir + name;
    return dir + "\\" + name;
}

std::string WithMidExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    const size_t sep = LastSeparator(path);
    if (dot == std::string::npos || (sep != std::string::npos && sep > dot))
        return path + ".MID";
    return path.substr(0, dot) + ".MID";
}

std::string RemoveLastComponent(const std::string& path)
{
    const size_t cut = path.rfind('\\');
    if (cut == std::string::npos || cut == 0)
        return path;
    const char before = path[cut - 1];
    if (before == '/' || before == ':' || before == '\\')
        return path;
    return path.substr(0, cut);
}

std::string LastComponent(const std::string& path)
{
    const size_t cut = path.rfind('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string LimitLastComponent(const std::string& path, int maxLength)
{
    const size_t cut = path.rfind('\\');
    const size_t start = cut == std::string::npos ? 0 : cut + 1;
    std::string last = path.substr(start);
    if (maxLength > 0 && last.size() > static_cast<size_t>(maxLength))
        last.resize(static_cast<size_t>(maxLength));
    while (last.size() > 1 && last.back() == ' ')
        last.pop_back();
    return path.substr(0, start) + last;
}

std::string WithNumberSuffix(const std::string& name, int number, int maxLength)
{
    const std::string suffix = "~" + std::to_string(number);
    std::string stem = name;
    if (maxLength > 0 && stem.size() + suffix.size() > static_cast<size_t>(maxLength))
        stem.resize(static_cast<size_t>(maxLength) > suffix.size() ? maxLength - suffix.size() : 0);
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    return stem + suffix;
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

bool IsSameOrInside(const std::string& path, const std::string& dir)
{
    if (dir.empty())
        return false;
    if (EqualsNoCase(path, dir))
        return true;
    const std::string prefix = IsSeparator(dir.back()) ? dir : dir + "\\";
    return path.size() > prefix.size() && EqualsNoCase(path.substr(0, prefix.size()), prefix);
}

std::string ShortenForLine(const std::string& path)
{
    if (path.size() <= kLineWhole)
        return path;
    return path.substr(0, kLineHead) + "..." + path.substr(path.size() - kLineTail);
}

std::string SummaryText(int converted)
{
    char text[64];
    std::snprintf(text, sizeof text, "Batch complete. %d file%sconverted.", converted, converted == 1 ? " " : "s ");
    return text;
}

}  // namespace eseq
