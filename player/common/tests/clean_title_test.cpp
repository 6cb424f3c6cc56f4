#include "clean_title.h"

#include <gtest/gtest.h>

namespace {

TEST(CleanTitle, ForbiddenCharactersAndSpaces)
{
    struct Case {
        const char* in;
        bool fullStop;
        const char* out;
    } cases[] = {
        {"  Fur  Elise  ", false, "Fur Elise"},
        {"A/B\\C:D*E?F\"G<H>I|J", false, "A B C D E F G H I J"},
        {"Op. 27 No. 2", false, "Op. 27 No. 2"},
        {"Op. 27 No. 2", true, "Op 27 No 2"},
        {"::::", false, ""},
        {"", false, ""},
        {"Tab\tstays", false, "Tab\tstays"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, CleanTitle(c.in, c.fullStop)) << c.in;
}

}  // namespace
