#include "midi_title.h"

#include <gtest/gtest.h>

#include "songbuilder.h"

namespace {

std::vector<uint8_t> Text(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

struct TitleCase {
    const char* name;
    std::vector<uint8_t> song;
    bool found;
    const char* title;
};

TEST(MidiTitle, WhereTheTitleComesFrom)
{
    const TitleCase cases[] = {
        {"track name of format 0", BuildSong(0, 384, {Track().Meta(0, 0x03, Text("  Fur  Elise ")).End()}), true,
         "Fur Elise"},
        {"karaoke title wins in format 1",
         BuildSong(1, 384, {Track().Meta(0, 0x03, Text("Name")).Meta(0, 0x01, Text("@TKaraoke")).End()}), true,
         "Karaoke"},
        {"format 0 ignores karaoke titles",
         BuildSong(0, 384, {Track().Meta(0, 0x01, Text("@TKaraoke")).Meta(0, 0x03, Text("Name")).End()}), true,
         "Name"},
        {"format 1 name only in the first track",
         BuildSong(1, 384, {Track().End(), Track().Meta(0, 0x03, Text("Second")).End()}), false, ""},
        {"forbidden characters and line breaks", BuildSong(0, 384, {Track().Meta(0, 0x03, Text("A:B\r\nC?")).End()}),
         true, "A B C"},
        {"no title", BuildSong(0, 384, {Track().End()}), false, ""},
        {"too short", {0x4D, 0x54}, false, ""},
    };
    for (const TitleCase& c : cases) {
        std::string title = "unchanged";
        EXPECT_EQ(c.found, smf::MidiTitleFromImage(c.song.data(), c.song.size(), &title)) << c.name;
        if (c.found) {
            EXPECT_EQ(c.title, title) << c.name;
        }
    }
}

// The byte after 0xFF 0x03 is taken as the count itself: 128 reads 128
// bytes, anything above reads 127; a name running past the end of the
// file stops there.
TEST(MidiTitle, LengthLimits)
{
    struct Case {
        uint8_t countByte;
        size_t cutFromEnd;
        size_t expected;
    };
    const std::string name(200, 'y');
    for (const Case& c : {Case{0x80, 0, 128}, Case{0xC8, 0, 127}, Case{0xC8, 150, 50}}) {
        std::vector<uint8_t> raw = BuildSong(0, 384, {Track().End()});
        raw.insert(raw.end(), {0x00, 0xFF, 0x03, c.countByte});
        raw.insert(raw.end(), name.begin(), name.end());
        raw.resize(raw.size() - c.cutFromEnd);
        std::string title;
        ASSERT_TRUE(smf::MidiTitleFromImage(raw.data(), raw.size(), &title));
        EXPECT_EQ(c.expected, title.size()) << int(c.countByte);
    }
}

}  // namespace

namespace {

// An .RMI song is read inside its "data" chunk: a chunk before it whose
// bytes look like a name event does not count, and a song whose "data"
// chunk runs past the end has no title.
TEST(MidiTitle, RiffSongsAreReadInsideTheirDataChunk)
{
    const std::vector<uint8_t> song = BuildSong(0, 384, {Track().Meta(0, 0x03, Text("Inside")).End()});
    const std::vector<uint8_t> decoy = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x03, 5, 'D', 'e', 'c', 'o', 'y'};
    const std::vector<uint8_t> rmi = Riff("RMID", {LeChunk("DISP", decoy), LeChunk("data", song)});
    std::string title;
    ASSERT_TRUE(smf::MidiTitleFromImage(rmi.data(), rmi.size(), &title));
    EXPECT_EQ("Inside", title);

    std::vector<uint8_t> cut = rmi;
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(smf::MidiTitleFromImage(cut.data(), cut.size(), &title));
}

}  // namespace
