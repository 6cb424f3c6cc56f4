// The words of a song in lines: karaoke text, lyric events, encodings, and
// which part of which line is sung at a tick.
#include <gtest/gtest.h>

#include "lyrics.h"
#include "smfreader.h"
#include "songbuilder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

Lyrics ReadLyrics(const std::vector<uint8_t>& song)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(song.data(), song.size(), &reader));
    Lyrics lyrics;
    if (reader) {
        EXPECT_EQ(SmfResult::Ok, Lyrics::Read(*reader, &lyrics));
    }
    return lyrics;
}

std::vector<std::string> Texts(const Lyrics& lyrics)
{
    std::vector<std::string> out;
    for (const LyricLine& line : lyrics.Lines())
        out.push_back(std::to_string(line.tick) + " " + line.text);
    return out;
}

// A karaoke song as such files are made: headers in the first track, the
// words syllable by syllable in the second, notes in the third.
std::vector<uint8_t> KaraokeSong()
{
    Track headers, words, notes;
    headers.Meta(0, 0x01, Bytes("@KMIDI KARAOKE FILE")).Meta(0, 0x01, Bytes("@TTwinkle")).Meta(0, 0x01, Bytes("Made by hand")).End();
    words.Meta(0, 0x01, Bytes("@LENGL"))
        .Meta(96, 0x01, Bytes("\\Twin")).Meta(48, 0x01, Bytes("kle ")).Meta(48, 0x01, Bytes("twin"))
        .Meta(48, 0x01, Bytes("kle"))
        .Meta(96, 0x01, Bytes("/Lit")).Meta(48, 0x01, Bytes("tle ")).Meta(48, 0x01, Bytes("star"))
        .Meta(96, 0x01, Bytes("\\How ")).Meta(48, 0x01, Bytes("I")).End();
    notes.NoteOn(96, 1, 60, 100).NoteOff(600, 1, 60).End();
    return BuildSong(1, 96, {headers, words, notes});
}

TEST(KaraokeLyrics, TheWordsTrackMakesLinesAtEverySlashAndBackslash)
{
    const Lyrics lyrics = ReadLyrics(KaraokeSong());
    EXPECT_EQ(LyricSource::KaraokeText, lyrics.Source());
    EXPECT_EQ((std::vector<std::string>{"96 Twinkle twinkle", "336 Little star", "528 How I"}), Texts(lyrics));
}

TEST(KaraokeLyrics, TheSungPartGrowsSyllableBySyllableAndLinesFollowTheTick)
{
    const Lyrics lyrics = ReadLyrics(KaraokeSong());
    EXPECT_EQ(-1, lyrics.LineAt(0));
    EXPECT_EQ(-1, lyrics.LineAt(95));
    EXPECT_EQ(0, lyrics.LineAt(96));
    EXPECT_EQ(0, lyrics.LineAt(335));
    EXPECT_EQ(1, lyrics.LineAt(336));
    EXPECT_EQ(2, lyrics.LineAt(100000));
    // "Twin" at 96, "kle " at 144, "twin" at 192, "kle" at 240.
    EXPECT_EQ(0u, lyrics.SungLength(0, 95));
    EXPECT_EQ(4u, lyrics.SungLength(0, 96));
    EXPECT_EQ(4u, lyrics.SungLength(0, 143));
    EXPECT_EQ(8u, lyrics.SungLength(0, 144));
    EXPECT_EQ(15u, lyrics.SungLength(0, 240));  // the whole line
    EXPECT_EQ(0u, lyrics.SungLength(3, 240));
    EXPECT_EQ(0u, lyrics.SungLength(-1, 240));
}

TEST(KaraokeLyrics, SlashConventionsWithoutAHeaderAreStillKaraokeButNotesAreNot)
{
    Track words;
    words.Meta(0, 0x01, Bytes("/One ")).Meta(10, 0x01, Bytes("two")).Meta(10, 0x01, Bytes("/Three")).End();
    EXPECT_EQ((std::vector<std::string>{"0 One two", "20 Three"}), Texts(ReadLyrics(BuildSong(0, 96, {words}))));

    Track remarks;
    remarks.Meta(0, 0x01, Bytes("Copyright nobody")).Meta(0, 0x01, Bytes("Piano part")).End();
    const Lyrics none = ReadLyrics(BuildSong(0, 96, {remarks}));
    EXPECT_EQ(LyricSource::None, none.Source());
    EXPECT_TRUE(none.Empty());
}

TEST(LyricEvents, CarriageReturnsAndLineFeedsEndLinesAndTextEventsAreIgnored)
{
    Track t;
    t.Meta(0, 0x01, Bytes("A remark, not words")).Meta(0, 0x05, Bytes("Hap")).Meta(24, 0x05, Bytes("py\r"))
        .Meta(24, 0x05, Bytes("birth")).Meta(24, 0x05, Bytes("day\n")).Meta(24, 0x05, Bytes("\r"))
        .Meta(24, 0x05, Bytes("to you")).End();
    const Lyrics lyrics = ReadLyrics(BuildSong(0, 96, {t}));
    EXPECT_EQ(LyricSource::LyricEvents, lyrics.Source());
    EXPECT_EQ((std::vector<std::string>{"0 Happy", "48 birthday", "120 to you"}), Texts(lyrics));
}

TEST(LyricEvents, WordsWithoutAnyBreakAreWrappedIntoReadableLines)
{
    Track t;
    for (int i = 0; i < 40; ++i)
        t.Meta(10, 0x05, Bytes("word "));
    t.End();
    const Lyrics lyrics = ReadLyrics(BuildSong(0, 96, {t}));
    ASSERT_GE(lyrics.Lines().size(), 4u);
    for (const LyricLine& line : lyrics.Lines()) {
        EXPECT_LE(line.text.size(), Lyrics::kWrapAt + 5) << line.text;
        EXPECT_NE(' ', line.text[0]) << "a wrapped line starts with its word";
    }
}

TEST(LyricEncodings, Utf8StaysAndWesternBytesBecomeTheirCharacters)
{
    Track utf8;
    utf8.Meta(0, 0x05, Bytes("Gr\xC3\xBC\xC3\x9F" "e \xE2\x99\xAA")).End();
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F" "e \xE2\x99\xAA", ReadLyrics(BuildSong(0, 96, {utf8})).Lines().at(0).text);

    // Latin letters and the code page's quotes; one invalid sequence makes
    // the whole song's words Western.
    Track western;
    western.Meta(0, 0x05, Bytes("Gr\xFC\xDF" "e")).Meta(10, 0x05, Bytes(" \x93ok\x94\x81")).End();
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x9Cok\xE2\x80\x9D", ReadLyrics(BuildSong(0, 96, {western})).Lines().at(0).text);

    EXPECT_EQ("a b", LyricTextToUtf8(std::string("a\tb\x01\x7F", 5), true));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));        // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));    // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x99"));        // cut short
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8E\xB9"));
}

TEST(LyricBadInput, HugeEventsAreCutAtACharacterAndLongLinesGoOn)
{
    std::string huge;
    for (int i = 0; i < 100000; ++i)
        huge += "\xC3\xA9";  // é, two bytes each
    Track t;
    t.Meta(0, 0x05, Bytes(huge + "\r")).Meta(10, 0x05, Bytes(std::string(150, 'x'))).Meta(10, 0x05, Bytes(std::string(150, 'y')))
        .End();
    const Lyrics lyrics = ReadLyrics(BuildSong(0, 96, {t}));
    ASSERT_EQ(3u, lyrics.Lines().size());
    EXPECT_LE(lyrics.Lines()[0].text.size(), Lyrics::kMaxLine);
    EXPECT_TRUE(IsValidUtf8(lyrics.Lines()[0].text)) << "cut between characters, never inside one";
    EXPECT_EQ(std::string(150, 'x'), lyrics.Lines()[1].text);
    EXPECT_EQ(std::string(150, 'y'), lyrics.Lines()[2].text);
}

TEST(LyricBadInput, EmptyAndBreakOnlyEventsMakeNoEmptyLines)
{
    Lyrics lyrics;
    lyrics.Build(LyricSource::KaraokeText, {{0, ""}, {1, "/"}, {2, "\\"}, {3, "\r\n"}, {4, "  "}, {5, "/x"}});
    EXPECT_EQ((std::vector<std::string>{"5 x"}), Texts(lyrics));
}

}  // namespace
