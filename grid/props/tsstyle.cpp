#include "tsstyle.h"

#include <string.h>

#include "qfpattern.h"

const uint16_t TsResetAlignments[8] = {0x0000, 0x0301, 0x0302, 0x0303, 0x0C04, 0x0F05, 0x0F06, 0x0F07};

namespace {

// A keyword anywhere in the value: SL or TS, the part, then Text or Icon.
// Where several are given the last one counts. The scan tries each place
// from the end with the keyword alone, which reads the same as a pattern
// with "*?" around it but stays linear on long values.
const char kHorizontal[] = "([Ss][Ll]|[Tt][Ss]){a([Ll]eft|[Cc]enter|[Rr]ight)}$b";
const char kVertical[] = "([Ss][Ll]|[Tt][Ss]){a([Tt]op|[Vv][Cc]enter|[Bb]ottom)}$b";
const char kTextWord[] = "[Tt]ext";
const char kIconWord[] = "[Ii]con";

// The longest keyword, "TSVCenterText": each try looks no further, since
// the engine's lookahead over groups costs more the more text it sees.
const int kKeywordMax = 13;

// The first letter of the last keyword's part, or 0.
char LastKeyword(const char* text, const char* pattern, const char* word)
{
    const int length = static_cast<int>(strlen(text));
    for (int i = length - 1; i-- > 0;) {
        const char first = static_cast<char>(text[i] | 0x20), second = static_cast<char>(text[i + 1] | 0x20);
        if (!((first == 's' && second == 'l') || (first == 't' && second == 's')))
            continue;  // cannot start a keyword: spare the engine
        char part[16] = "";  // at most "VCenter"
        void* letters[2] = {part, const_cast<char*>(word)};
        const int window = length - i < kKeywordMax ? length - i : kKeywordMax;
        if (QfMatchPatternCounted(text + i, window, pattern, letters) >= 0)
            return static_cast<char>(part[0] | 0x20);
    }
    return 0;
}

uint16_t ReadCode(const char* text, const char* word)
{
    uint16_t code = 0;
    switch (LastKeyword(text, kHorizontal, word)) {
    case 'l': code = TS_ALIGN_LEFT; break;
    case 'c': code = TS_ALIGN_CENTER; break;
    case 'r': code = TS_ALIGN_RIGHT; break;
    }
    switch (LastKeyword(text, kVertical, word)) {
    case 't': code |= TS_ALIGN_TOP; break;
    case 'v': code |= TS_ALIGN_VCENTER; break;
    case 'b': code |= TS_ALIGN_BOTTOM; break;
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
