// Assertions for the program's own invariants (never for bad input, which
// is a result). They stay on in every build: a broken invariant found early,
// with its place, beats a wrong note or a damaged file found late. The
// condition must have no side effects.
#ifndef ZUB_COMMON_ZUB_ASSERT_H
#define ZUB_COMMON_ZUB_ASSERT_H

#include <cstdio>
#include <cstdlib>

#define ZUB_ASSERT(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "%s:%d: assertion failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

#endif
