#include "file_kind.h"

#include "recent_files.h"
#include "settings_codec.h"

namespace zub {

bool IsPlaylistTitle(std::string_view title)
{
    size_t dot = title.rfind('.');
    if (dot != std::string_view::npos) {
        std::string_view ext = title.substr(dot + 1);
        if (SamePathNoCase(ext, "ZUB") || SamePathNoCase(ext, "M3U") || SamePathNoCase(ext, "M3U8"))
            return true;
    }
    return SamePathNoCase(title, "Pianodir.fil") || SamePathNoCase(title, "Music.dir");
}

std::string WithMidExtension(std::string_view path)
{
    size_t titleStart = path.size() - FileTitleOf(path).size();
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < titleStart)
        return std::string(path) + ".MID";
    return std::string(path.substr(0, dot)) + ".MID";
}

}  // namespace zub
