#include "file_kind.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(FileKind, PlaylistTitles)
{
    struct Case {
        const char* title;
        bool playlist;
    } cases[] = {
        {"party.ZUB", true},   {"party.zub", true},     {"a.b.Zub", true},     {"Pianodir.fil", true},
        {"PIANODIR.FIL", true}, {"music.DIR", true},     {"Music.dir.bak", false}, {"song.mid", false},
        {"ZUB", false},        {"song.fil", false},     {"x.zubx", false},     {"", false},
        {"evening.m3u", true}, {"evening.M3U8", true},  {"x.m3u9", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlaylistTitle(c.title), c.playlist) << c.title;
}

TEST(FileKind, MidExtensionBesideTheSong)
{
    EXPECT_EQ(WithMidExtension("A:\\SONG01.FIL"), "A:\\SONG01.MID");
    EXPECT_EQ(WithMidExtension("C:\\d.x\\song"), "C:\\d.x\\song.MID");
    EXPECT_EQ(WithMidExtension("C:\\d\\a.b.evt"), "C:\\d\\a.b.MID");
}

}  // namespace
}  // namespace zub
