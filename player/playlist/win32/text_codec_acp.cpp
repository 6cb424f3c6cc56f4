// Windows: the ANSI code page through UTF-16.
#include <windows.h>

#include <vector>

#include "text_codec.h"

namespace playlist {

namespace {

std::string Convert(const std::string& text, UINT from, UINT to)
{
    if (text.empty())
        return text;
    const int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0)
        return text;
    std::vector<wchar_t> units(wide);
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), units.data(), wide);
    const int narrow = WideCharToMultiByte(to, 0, units.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0)
        return text;
    std::string out(narrow, '\0');
    WideCharToMultiByte(to, 0, units.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

}  // namespace

std::string NarrowToUtf8(const std::string& text)
{
    return Convert(text, CP_ACP, CP_UTF8);
}

std::string Utf8ToNarrow(const std::string& text)
{
    return Convert(text, CP_UTF8, CP_ACP);
}

}  // namespace playlist
