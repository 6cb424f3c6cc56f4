// Letter arguments for patterns that come from outside: every letter a to z
// is a buffer of ours, long enough for any capture of the text, so a capture
// can never write elsewhere.
#ifndef ZUB_GRID_VALUES_TSPATTERNLETTERS_H
#define ZUB_GRID_VALUES_TSPATTERNLETTERS_H

#include <stddef.h>

#include <vector>

class TsPatternLetters {
public:
    explicit TsPatternLetters(size_t textLength);
    void* const* Table() const { return table_; }
    const char* Letter(int i) const { return store_.data() + static_cast<size_t>(i) * size_; }
    void ClearLetter(int i) { store_[static_cast<size_t>(i) * size_] = '\0'; }

private:
    size_t size_;
    std::vector<char> store_;
    void* table_[26];
};

// Matches text (length characters) at its start; -1 when it does not match
// or when the pattern fails the syntax check. A pattern with a "$" gets no
// letters at all ("$" and "{" are then plain characters): a reference to a
// captured text would run that text, unchecked, as a pattern.
int TsMatchOutside(const char* text, int length, const char* pattern, TsPatternLetters* letters);

#endif
