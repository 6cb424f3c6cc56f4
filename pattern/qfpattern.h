// The pattern language used to parse every specification string (fonts,
// colours, icon and cursor references, sizes, sort orders, creation texts).
// Matching is anchored at the start of the text and returns the number of
// characters matched, or -1. No allocation, no compile step.
#ifndef ZUB_PATTERN_QFPATTERN_H
#define ZUB_PATTERN_QFPATTERN_H

#ifdef __cplusplus
extern "C" {
#endif

// Letter arguments a, b, c, ... follow the pattern: each is either a pattern
// (for a reference $x) or a writable buffer (for a capture {x...}).
int QfMatchPattern(const char* text, const char* pattern, ...);

// As above with the letter arguments in an array indexed by letter (a = 0).
// A null table means no letter arguments: '$' and '{' lose their meaning.
int QfMatchPatternTable(const char* text, const char* pattern, void* const* table);

// Matches the text start..start+length. Negation tests still see the text up
// to its terminating NUL.
int QfMatchPatternCounted(const char* text, int length, const char* pattern, void* const* table);

// Syntax check: 0 or more for a well-formed pattern, -1 for a malformed one.
int QfCheckPattern(const char* pattern);

// The five meta-patterns (letters a to e) that define the syntax.
extern const char* const QfPatternSyntax[5];

#ifdef __cplusplus
}
#endif

#endif
