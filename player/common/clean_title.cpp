#include "clean_title.h"

#include <cstring>

namespace {

// strchr finds the terminator too, so a zero byte counts as forbidden.
bool IsForbiddenInName(char c)
{
    return std::strchr("/\\:*?\"<>|", c) != nullptr;
}

}  // namespace

std::string CleanTitle(const std::string& text, bool replaceFullStop)
{
    std::string out;
    bool pendingSpace = false;
    for (char c : text) {
        if (IsForbiddenInName(c) || (replaceFullStop && c == '.'))
            c = ' ';
        if (c == ' ') {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace)
            out += ' ';
        pendingSpace = false;
        out += c;
    }
    return out;
}
