#include "tsstyle.h"

#include "qfpattern.h"

const uint16_t TsResetAlignments[8] = {0x0000, 0x0301, 0x0302, 0x0303, 0x0C04, 0x0F05, 0x0F06, 0x0F07};

namespace {

const char kHorizontal[] = "*?([Ss][Ll]|[Tt][Ss]){a([Ll]eft|[Cc]enter|[Rr]ight)}$b*?!?";
const char kVertical[] = "*?([Ss][Ll]|[Tt][Ss]){a([Tt]op|[Vv][Cc]enter|[Bb]ottom)}$b*?!?";
const char kTextWord[] = "[Tt]ext";
const char kIconWord[] = "[Ii]con";

uint16_t ReadCode(const char* text, const char* word)
{
    // The captures are at most "VCenter"; the buffers are cleared because a
    // capture is written by trial matches too.
    char horizontal[16] = "";
    char vertical[16] = "";
    uint16_t code = 0;
    if (QfMatchPattern(text, kHorizontal, horizontal, word) >= 0) {
        switch (horizontal[0] | 0x20) {
        case 'l': code = TS_ALIGN_LEFT; break;
        case 'c': code = TS_ALIGN_CENTER; break;
        case 'r': code = TS_ALIGN_RIGHT; break;
        }
    }
    if (QfMatchPattern(text, kVertical, vertical, word) >= 0) {
        switch (vertical[0] | 0x20) {
        case 't': code |= TS_ALIGN_TOP; break;
        case 'v': code |= TS_ALIGN_VCENTER; break;
        case 'b': code |= TS_ALIGN_BOTTOM; break;
        }
    }
    return code;
}

}  // namespace

TsStyle TsParseStyle(const char* text)
{
    if (!text)
        return TsStyle{0, 0};
    return TsStyle{ReadCode(text, kTextWord), ReadCode(text, kIconWord)};
}

std::string TsFormatAlignment(uint16_t code, bool icon)
{
    static const char* const kHorizontalWords[4] = {"Left", "Left", "Center", "Right"};
    static const char* const kVerticalWords[4] = {"Top", "Top", "VCenter", "Bottom"};
    const char* suffix = icon ? "Icon" : "Text";
    const unsigned h = (code & TS_ALIGN_HGIVEN) ? (code & 3u) : 0u;
    const unsigned v = (code & TS_ALIGN_VGIVEN) ? ((code >> 2) & 3u) : 0u;
    return std::string("Ts") + kHorizontalWords[h] + suffix + " Ts" + kVerticalWords[v] + suffix;
}

std::string TsFormatStyle(const TsStyle& style)
{
    return TsFormatAlignment(style.text, false) + " " + TsFormatAlignment(style.icon, true);
}
