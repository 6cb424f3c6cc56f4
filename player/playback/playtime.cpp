#include "playtime.h"

#include <cstdio>

namespace {

// Digits only, at least one; false past `limit`.
bool ParseDigits(const std::string& text, uint64_t limit, uint64_t* value)
{
    if (text.empty())
        return false;
    uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<uint64_t>(c - '0');
        if (n > limit)
            return false;
    }
    *value = n;
    return true;
}

// "ss" or "ss.fff": whole seconds and milliseconds.
bool ParseSeconds(const std::string& text, uint64_t limit, uint64_t* ms)
{
    const size_t dot = text.find('.');
    uint64_t whole = 0;
    if (!ParseDigits(text.substr(0, dot), limit, &whole))
        return false;
    uint64_t fraction = 0;
    if (dot != std::string::npos) {
        const std::string digits = text.substr(dot + 1);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        // The first three digits are the milliseconds.
        const std::string three = (digits + "00").substr(0, 3);
        fraction = static_cast<uint64_t>((three[0] - '0') * 100 + (three[1] - '0') * 10 + (three[2] - '0'));
    }
    *ms = whole * 1000 + fraction;
    return true;
}

}  // namespace

bool ParsePlayTime(const std::string& text, uint32_t* ms)
{
    std::string fields[3];
    size_t count = 0, from = 0;
    for (;;) {
        if (count == 3)
            return false;
        const size_t colon = text.find(':', from);
        fields[count++] = text.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    constexpr uint64_t kLimit = UINT32_MAX;
    uint64_t total = 0;
    for (size_t i = 0; i < count; ++i) {
        const bool last = i + 1 == count;
        const uint64_t limit = i == 0 ? kLimit / 1000 : 59;  // what follows a colon stays below 60
        uint64_t value = 0;
        if (last) {
            if (!ParseSeconds(fields[i], limit, &value))
                return false;
        } else {
            if (!ParseDigits(fields[i], limit, &value))
                return false;
            value *= 1000;
        }
        total = total * 60 + value;
        if (total > kLimit)
            return false;
    }
    *ms = static_cast<uint32_t>(total);
    return true;
}

bool ParsePlayRange(const std::string& text, uint32_t* startMs, uint32_t* endMs)
{
    const size_t dash = text.find('-');
    if (dash == std::string::npos || text.find('-', dash + 1) != std::string::npos)
        return false;
    return ParsePlayTime(text.substr(0, dash), startMs) && ParsePlayTime(text.substr(dash + 1), endMs);
}

std::string FormatPlaySeconds(uint32_t ms)
{
    const uint32_t seconds = ms / 1000;
    char text[32];
    if (seconds >= 3600)
        snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    return text;
}

std::string FormatPlayTime(uint32_t ms)
{
    char hundredths[8];
    snprintf(hundredths, sizeof hundredths, ".%02u", ms % 1000 / 10);
    return FormatPlaySeconds(ms) + hundredths;
}
