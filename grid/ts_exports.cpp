#include "tsexports.h"

#include <cstring>
#include <vector>

#include "qfpattern.h"
#include "tsvlistmgr_impl.h"

unsigned long TSAPI TsGetVersion(void)
{
    return TS_VERSION;
}

int TSAPI TsCheckPattern(const char* text, const char* pattern)
{
    if (!text || !pattern)
        return 0;
    // "$a!?": the caller's pattern, then the end of the text. A pattern from
    // outside may capture into any letter, a included, so every letter is a
    // buffer of ours, long enough for any capture of the text: a gets a copy
    // of the pattern, the others start empty.
    const size_t textLength = std::strlen(text);
    const size_t patternLength = std::strlen(pattern);
    const size_t size = (textLength > patternLength ? textLength : patternLength) + 1;
    std::vector<char> store(26 * size, '\0');
    std::memcpy(store.data(), pattern, patternLength);
    void* letters[26];
    for (int i = 0; i < 26; ++i)
        letters[i] = store.data() + i * size;
    return QfMatchPatternTable(text, "$a!?", letters) >= 0 ? 1 : 0;
}

ITsVListMgr* TSAPI TsGetVListMgr(void)
{
    return TsVListManager();
}
