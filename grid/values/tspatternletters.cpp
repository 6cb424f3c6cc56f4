#include "tspatternletters.h"

#include <string.h>

#include "qfpattern.h"

TsPatternLetters::TsPatternLetters(size_t textLength) : size_(textLength + 1), store_(26 * (textLength + 1), '\0')
{
    for (int i = 0; i < 26; ++i)
        table_[i] = store_.data() + static_cast<size_t>(i) * size_;
}

int TsMatchOutside(const char* text, int length, const char* pattern, TsPatternLetters* letters)
{
    if (!pattern || QfCheckPattern(pattern) < 0)
        return -1;
    bool references = strchr(pattern, '$') != nullptr;
    return QfMatchPatternCounted(text, length, pattern, references ? nullptr : letters->Table());
}
