// Fuzzes the pattern engine three ways, chosen by the first byte:
// texts against the patterns the libraries really use, checked patterns
// from the fuzzer against fuzzed texts, and the syntax check itself.
#include "qfpattern.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kSystemPatterns[] = {
    "* {a<0-31>[^:][^ :]}* (:|!?)",
    "#-#-#-#-(.#-#!(* [pP][iI][xX])|* [pP][iI][xX])-(+ [cC][eE][lL][lL])(+ |!?)",
    "{a--}[Bb]-([Oo]-([Ll]-([Dd])))(+ |!?)",
    "{a--}[Uu]-([Nn]-([Dd]-([Ee]-([Rr]-([Ll]-([Ii]-([Nn]-([Ee]))))))))(+ |!?)",
    "* -({a<0-63>[^!]}\\!){b<1-63>[^()!]}-(\\(* {c#-#}* \\,* {d#-#}* \\))!?",
    "{a[Rr][Gg][Bb]|[Hh][Ll][Ss]}\\(",
    "* {a+[a-zA-Z0-9]}* =* {b+[^ =]}(+ |!?)",
    "* +#* !?",
    "{a[cwhCWH]}:{b+?}!?",
    "* -{a[-+]}* -({b[Aa]}-(lpha|LPHA)|{b[Nn]}-(umeric|UMERIC)|{b[Rr]}-(owdata|OWDATA))* ",
};

// Size-template items, bound to a, b and c of the template pattern.
const char* const kSizeItems[] = {
    "\\[(#-#-#[rR]|#-#-#-(.-#-#-#)%|.#-#-#%|[Bb])\\]",
    "\\[(-+<1-5>#-(-(.#-#)[pP]))-(\\+<1-5>#-(-(.#-#)[pP]))\\]",
    "+(+(\\\\?|[^():\\])|\\(-###\\*+(\\\\?|[^][():\\])\\))",
};

// Capture buffers large enough for any capture of the text.
struct Buffers {
    std::vector<std::vector<char>> store;
    void* table[26];
    explicit Buffers(size_t textLength)
    {
        store.assign(26, std::vector<char>(textLength + 2, '\0'));
        for (int i = 0; i < 26; ++i)
            table[i] = store[i].data();
    }
};

void MatchSystemPatterns(const std::string& text)
{
    Buffers buffers(text.size());
    for (const char* p : kSystemPatterns) {
        int n = QfMatchPatternTable(text.c_str(), p, buffers.table);
        if (n > static_cast<int>(text.size()))
            __builtin_trap();
    }
    void* items[3] = {const_cast<char*>(kSizeItems[0]), const_cast<char*>(kSizeItems[1]),
                      const_cast<char*>(kSizeItems[2])};
    QfMatchPatternTable(text.c_str(), "<0-127:>(($a|$b|$c)-(:($a|$b|$c)))!?", items);
    int counted = QfMatchPatternCounted(text.c_str(), static_cast<int>(text.size() / 2), "*?", nullptr);
    if (counted != static_cast<int>(text.size() / 2))
        __builtin_trap();
}

void MatchFuzzedPattern(const std::string& both)
{
    // Pattern and text are separated by the first NUL-free split point.
    size_t cut = both.find('\n');
    if (cut == std::string::npos)
        cut = both.size() / 2;
    std::string pattern = both.substr(0, cut);
    std::string text = cut < both.size() ? both.substr(cut + 1) : std::string();
    if (QfCheckPattern(pattern.c_str()) < 0)
        return;
    Buffers buffers(text.size() + pattern.size());
    // References get a small well-formed pattern; captures overwrite it.
    for (auto& b : buffers.store)
        std::memcpy(b.data(), "#", 2);
    int n = QfMatchPatternTable(text.c_str(), pattern.c_str(), buffers.table);
    if (n > static_cast<int>(text.size()))
        __builtin_trap();
    QfMatchPatternTable(text.c_str(), pattern.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 256)
        return 0;
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    rest = rest.substr(0, rest.find('\0'));  // texts and patterns end at their NUL
    switch (data[0] % 3) {
    case 0:
        MatchSystemPatterns(rest);
        break;
    case 1:
        MatchFuzzedPattern(rest);
        break;
    default:
        QfCheckPattern(rest.c_str());
        break;
    }
    return 0;
}
