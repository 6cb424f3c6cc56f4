#include "time_display.h"

#include <algorithm>

namespace zub {

const char kTimeLayoutText[] = "44:44:44";

DisplayLayout ComputeDisplayLayout(int width, int height, const MeasureFn& measure)
{
    DisplayLayout layout;
    // A font of height 0 would mean "default size": keep at least 1 pixel.
    layout.charHeight = std::max(3 * height / 4, 1);
    TextExtent extent = measure(layout.charHeight);
    if (extent.cx > 0 && extent.cy > 0) {
        int fitWidth = 3 * width / 4;
        if (static_cast<int64_t>(fitWidth) < static_cast<int64_t>(3 * height / 4) * extent.cx / extent.cy) {
            layout.charHeight = std::max(static_cast<int>(static_cast<int64_t>(fitWidth) * extent.cy / extent.cx), 1);
            extent = measure(layout.charHeight);
        }
    }
    layout.y = (height - extent.cy) / 2;
    for (int i = 0; i < kTimeLayoutLength; ++i)
        layout.x[i] = (width - extent.cx) / 2 + extent.prefix[i];
    return layout;
}

std::array<FrameLine, 8> SunkenFrameLines(int w, int h)
{
    return {{
        {0, 0, 1, h - 1, FrameColour::Grey},
        {1, 0, w - 2, 1, FrameColour::Grey},
        {1, 1, 1, h - 3, FrameColour::Black},
        {2, 1, w - 4, 1, FrameColour::Black},
        {w - 1, 0, 1, h - 1, FrameColour::White},
        {0, h - 1, w, 1, FrameColour::White},
        {w - 2, 1, 1, h - 2, FrameColour::LightGrey},
        {1, h - 2, w - 2, 1, FrameColour::LightGrey},
    }};
}

uint32_t DisplaySeconds(uint32_t positionMs, uint32_t totalSeconds, bool remaining)
{
    constexpr uint32_t kMaxShown = 99 * 3600 + 59 * 60 + 59;
    uint32_t s = positionMs / 1000;
    if (remaining)
        s = totalSeconds > s ? totalSeconds - s : 0;
    return std::min(s, kMaxShown);
}

namespace {

std::string TwoDigits(uint32_t tens, uint32_t units)
{
    return std::string{static_cast<char>('0' + tens % 10), static_cast<char>('0' + units % 10)};
}

}  // namespace

std::string HoursPiece(uint32_t s)
{
    return TwoDigits(s / 36000, s / 3600 % 10);
}

std::string MinutesPiece(uint32_t s)
{
    uint32_t m = s % 3600 / 60;
    return ":" + TwoDigits(m / 10, m % 10);
}

std::string SecondsPiece(uint32_t s)
{
    uint32_t sec = s % 60;
    return ":" + TwoDigits(sec / 10, sec % 10);
}

unsigned TimeRedraw::Plan(uint32_t s)
{
    uint32_t h = s / 3600;
    uint32_t m = s % 3600 / 60;
    uint32_t sec = s % 60;
    unsigned groups = 0;
    if (full_ || h != hours_)
        groups |= kGroupHours;
    if (full_ || m != minutes_)
        groups |= kGroupMinutes;
    if (full_ || sec != seconds_)
        groups |= kGroupSeconds;
    hours_ = h;
    minutes_ = m;
    seconds_ = sec;
    full_ = false;
    return groups;
}

}  // namespace zub
