#include "command_line.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(CommandLineTest, Cases)
{
    struct Case {
        const char* text;
        bool newPlaylist;
        const char* capture;
        const char* open;
    } cases[] = {
        {"", false, "", ""},
        {"/new", true, "", ""},
        {"  /new  ", true, "", ""},
        // Unknown switches, in any letter case, are neither songs nor "/new".
        {"/NEW", false, "", ""},
        {"/help song.mid /x", false, "", "song.mid"},
        {"C:\\Songs\\a.mid", false, "", "C:\\Songs\\a.mid"},
        {"\"C:\\My Songs\\a b.mid\"", false, "", "C:\\My Songs\\a b.mid"},
        {"C:\\My Songs\\a.mid", false, "", "C:\\My Songs\\a.mid"},
        {"/capture out.mid song.mid", false, "out.mid", "song.mid"},
        {"song.mid /capture \"C:\\cap dir\\o.mid\" /new", true, "C:\\cap dir\\o.mid", "song.mid"},
        {"/capture", false, "", ""},
        // "/new" counts anywhere in the text, as it always did.
        {"C:\\x/newsongs\\a.mid", true, "", "C:\\x/newsongs\\a.mid"},
    };
    for (const Case& c : cases) {
        CommandLine cl = ParseCommandLine(c.text);
        EXPECT_EQ(cl.newPlaylist, c.newPlaylist) << c.text;
        EXPECT_EQ(cl.captureFile, c.capture) << c.text;
        EXPECT_EQ(cl.openPath, c.open) << c.text;
    }
}

}  // namespace
}  // namespace zub
