// Arithmetic of the position display: font size and character positions,
// the sunken frame, the time shown and which digit groups need redrawing.
#ifndef ZUB_PLAYER_APP_TIME_DISPLAY_H
#define ZUB_PLAYER_APP_TIME_DISPLAY_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace zub {

// The template of the display: hours, colon, minutes, colon, seconds.
extern const char kTimeLayoutText[];  // "44:44:44"
constexpr int kTimeLayoutLength = 8;

// Size of the layout text in a font of one character height, and the width of
// each of its prefixes (prefix[i] = width of the first i characters).
struct TextExtent {
    int cx = 0;
    int cy = 0;
    std::array<int, kTimeLayoutLength + 1> prefix{};
};
using MeasureFn = std::function<TextExtent(int charHeight)>;

struct DisplayLayout {
    int charHeight = 0;  // the font's character height (pixels, positive)
    int y = 0;
    std::array<int, kTimeLayoutLength> x{};
};

// Digits three quarters of the height, unless that makes the text wider than
// three quarters of the width, in which case they shrink to fit the width.
DisplayLayout ComputeDisplayLayout(int width, int height, const MeasureFn& measure);

enum class FrameColour { Grey, Black, White, LightGrey };
struct FrameLine {
    int x, y, width, height;
    FrameColour colour;
};
// The eight one-pixel lines of the sunken frame of a width x height window.
std::array<FrameLine, 8> SunkenFrameLines(int width, int height);

// Whole seconds to show for a position: elapsed, or what remains of the song
// (never below 0). Clamped to 99:59:59, the most the digits can show.
uint32_t DisplaySeconds(uint32_t positionMs, uint32_t totalSeconds, bool remaining);

// The three pieces drawn at character positions 0, 2 and 5.
std::string HoursPiece(uint32_t seconds);    // "01"
std::string MinutesPiece(uint32_t seconds);  // ":02"
std::string SecondsPiece(uint32_t seconds);  // ":03"

enum TimeGroup : unsigned { kGroupHours = 1, kGroupMinutes = 2, kGroupSeconds = 4 };

// Remembers what was drawn last so that only changed groups are redrawn.
class TimeRedraw {
public:
    void RequestFull() { full_ = true; }
    // The groups to draw for these seconds; afterwards they count as drawn.
    unsigned Plan(uint32_t seconds);

private:
    bool full_ = true;
    uint32_t hours_ = 0;
    uint32_t minutes_ = 0;
    uint32_t seconds_ = 0;
};

}  // namespace zub

#endif
