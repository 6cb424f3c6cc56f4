#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "streamrecords.h"
#include "voice_map.h"

namespace {

using namespace playlist;

VoiceMapLoad LoadText(VoiceMap& map, const std::string& text)
{
    return map.LoadText(reinterpret_cast<const uint8_t*>(text.data()), text.size(), "test.map");
}

std::string VoiceText(const Voice& v)
{
    return std::to_string(v.program) + "/" + std::to_string(v.msb) + "/" + std::to_string(v.lsb);
}

// The target of a source voice as "program/msb/lsb", "-" for none.
std::string Lookup(const VoiceMap& map, Voice source)
{
    Voice target;
    return map.FindVoice(source, &target) ? VoiceText(target) : "-";
}

std::string Hex(const ShortMessage& m)
{
    char text[16];
    std::snprintf(text, sizeof text, (m.status & 0xE0) == 0xC0 ? "%02x %02x" : "%02x %02x %02x", m.status, m.data1,
                  m.data2);
    return text;
}

// One channel message through the hooks as the buffer filling calls them:
// the extra records first, then the message itself.
std::vector<std::string> Send(VoiceMap& map, uint8_t status, uint8_t data1, uint8_t data2 = 0)
{
    ShortMessage m{status, data1, data2};
    std::vector<std::string> out;
    const uint8_t kind = status & 0xF0;
    if (kind == 0x80 || kind == 0x90) {
        map.MapNote(&m);
    } else if (kind == 0xB0) {
        map.MapController(&m);
    } else if (kind == 0xC0) {
        uint32_t words[13];
        const uint32_t count = map.MapProgram(&m, words, 13);
        EXPECT_EQ(0u, count % 3);
        for (uint32_t i = 0; i < count; i += 3) {
            EXPECT_EQ(0u, words[i]) << "delta";
            EXPECT_EQ(0u, words[i + 1]) << "stream id";
            const uint32_t e = words[i + 2];
            out.push_back(Hex({static_cast<uint8_t>(e), static_cast<uint8_t>(e >> 8), static_cast<uint8_t>(e >> 16)}));
        }
    }
    map.MapChannel(&m);
    out.push_back(Hex(m));
    return out;
}

using Events = std::vector<std::string>;

// ---- reading ---------------------------------------------------------------

TEST(VoiceMapFile, VoicesBanksChannelsAndNoteSectionsAreReadAsWritten)
{
    VoiceMap map;
    const VoiceMapLoad load = LoadText(map,
                                       "0-0-0 0-0-5\n"
                                       "30976-2-10 256-1-20\r\n"  // MSB 30976 / 256 = 121
                                       "\n"
                                       "   \t\n"
                                       "0-255-7\t 0-0-9\n"        // any bank
                                       "0-0-10 255-255-2\n"       // channel 10 plays on channel 2
                                       "0-0-25 255-255-255\n"     // notes of program 25, bank 0/0
                                       "36 38\n"
                                       "  40   41  \n"
                                       "255 255\n"
                                       "0-0-1 0-0-2");
    EXPECT_TRUE(load.Ok()) << load.problem;
    EXPECT_EQ("5/0/0", Lookup(map, {0, 0, 0}));
    EXPECT_EQ("20/1/1", Lookup(map, {10, 121, 2}));
    EXPECT_EQ("-", Lookup(map, {10, 121, 3})) << "another LSB is another voice";
    EXPECT_EQ("9/0/0", Lookup(map, {7, 0, 255}));
    EXPECT_EQ("9/0/0", Lookup(map, {7, 64, 3})) << "any bank falls back to the LSB-255 entry";
    EXPECT_EQ("2/0/0", Lookup(map, {1, 0, 0})) << "voice mode again after the section";
    EXPECT_EQ(1, map.ChannelFor(9));
    EXPECT_EQ(0, map.ChannelFor(0));
    uint8_t note = 0;
    EXPECT_TRUE(map.FindNote({25, 0, 0}, 36, &note));
    EXPECT_EQ(38, note);
    EXPECT_TRUE(map.FindNote({25, 0, 0}, 40, &note));
    EXPECT_EQ(41, note);
    EXPECT_FALSE(map.FindNote({26, 0, 0}, 36, &note)) << "only the section's voice";
    std::vector<int> targets;
    for (const auto& entry : map.Voices())
        targets.push_back(entry.second.program);
    EXPECT_EQ((std::vector<int>{5, 2, 9, 20}), targets) << "keys ordered by bank, then program";
}

TEST(VoiceMapFile, AMalformedLineIsNamedAndTheLinesBeforeItStayInForce)
{
    struct Case {
        const char* text;
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"0-0-1 0-0-2\nhello\n0-0-3 0-0-4\n", 2,
         "test.map: line 2: expected a source and a target voice, as in \"0-0-1 0-0-2\""},
        {"0-0-1 0-0-2\n0-0-3 0-0-4 5\n", 2, "expected a source and a target voice"},
        {"0-0-1 0-0-2\n0-0-3 0-0-\n", 2, "expected a source and a target voice"},
        {"0-0-1 0-0-2\n-1-0-3 0-0-4\n", 2, "expected a source and a target voice"},
        {"0-0-1 0-0-2\n0-0-3-0-0-4\n", 2, "expected a source and a target voice"},
        {"0-0-1 0-0-2\n\n\n0-0-3 0-0-200\n", 4,
         "line 4: the target voice 0-0-200 cannot be sent (program, bank MSB and LSB are 0 to 127)"},
        {"0-0-1 0-0-2\n0-0-3 32768-0-4\n", 2, "the target voice 32768-0-4 cannot be sent"},
        {"0-0-1 0-0-2\n0-300-3 0-0-4\n", 2, "line 2: a bank LSB or program above 255"},
        {"0-0-1 0-0-2\n70000-0-3 0-0-4\n", 2, "line 2: the first number of a voice is above 65535"},
        {"0-0-1 0-0-2\n9999999999-0-3 0-0-4\n", 2, "expected a source and a target voice"},
        {"0-0-1 0-0-2\n0-0-17 255-255-2\n", 2, "line 2: channels are 1 to 16: 0-0-17 255-255-2"},
        {"0-0-1 0-0-2\n0-0-10 255-255-0\n", 2, "channels are 1 to 16"},
        {"0-0-1 0-0-2\n0-0-9 255-255-255\n36\n", 3,
         "line 3: expected two note numbers, or \"255 255\" to end the note section"},
        {"0-0-1 0-0-2\n0-0-9 255-255-255\n36 200\n", 3, "line 3: notes are 0 to 127: 36 200"},
        {"0-0-1 0-0-2\n0-0-9 255-255-255\n255 36\n", 3, "notes are 0 to 127"},
    };
    for (const Case& c : cases) {
        VoiceMap map;
        const VoiceMapLoad load = LoadText(map, c.text);
        EXPECT_TRUE(load.opened);
        EXPECT_EQ(c.line, load.badLine) << c.text;
        EXPECT_NE(std::string::npos, load.problem.find(c.problem)) << c.text << "\n" << load.problem;
        EXPECT_EQ("2/0/0", Lookup(map, {1, 0, 0})) << c.text << ": the line before stays";
        EXPECT_EQ("-", Lookup(map, {3, 0, 0})) << c.text << ": nothing after the bad line";
        EXPECT_EQ(0, map.ChannelFor(0));
    }
}

TEST(VoiceMapFile, LoadingStartsAfreshAndAFileThatCannotBeOpenedLeavesNoMap)
{
    VoiceMap map;
    ASSERT_TRUE(LoadText(map, "0-0-1 0-0-2\n0-0-3 255-255-4\n").Ok());
    EXPECT_FALSE(map.Empty());
    ASSERT_TRUE(LoadText(map, "0-0-5 0-0-6\n").Ok());
    EXPECT_EQ("-", Lookup(map, {1, 0, 0}));
    EXPECT_EQ(2, map.ChannelFor(2)) << "the channel table is the identity again";

    const VoiceMapLoad load = map.Load(testing::TempDir() + "no_such_voice.map");
    EXPECT_FALSE(load.opened);
    EXPECT_NE(std::string::npos, load.problem.find("no_such_voice.map: the voice map cannot be opened"));
    EXPECT_TRUE(map.Empty());
    EXPECT_EQ(Events{"c0 01"}, Send(map, 0xC0, 1));
}

// ---- the hooks ----------------------------------------------------------------

TEST(VoiceMapHooks, AProgramChangeExpandsIntoTheBankEventsItNeeds)
{
    const char* text =
        "0-0-1 256-1-11\n"   // both bank bytes differ from the channel's 0/0
        "0-0-2 256-0-12\n"   // only the MSB
        "0-0-3 0-1-13\n"     // only the LSB
        "0-0-4 0-0-14\n"     // the same bank
        "0-255-5 0-0-15\n"   // any bank
        "1792-3-4 0-0-14\n"; // program 4 of bank 7/3
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> before;  // controllers sent first on channel 1
        uint8_t program;
        Events sent;
    };
    const Case cases[] = {
        {"MSB and LSB differ", {}, 1, {"b0 00 01", "b0 20 01", "c0 0b", "b0 00 00", "b0 20 00"}},
        {"only the MSB differs", {}, 2, {"b0 00 01", "c0 0c", "b0 00 00"}},
        {"only the LSB differs", {}, 3, {"b0 20 01", "c0 0d", "b0 20 00"}},
        {"the same bank: the program alone", {}, 4, {"c0 0e"}},
        {"no entry: untouched", {}, 6, {"c0 06"}},
        {"the channel's bank is put back", {{0xB0, 0, 7}, {0xB0, 32, 3}}, 4, {"b0 00 00", "b0 20 00", "c0 0e", "b0 00 07", "b0 20 03"}},
        {"an exact bank misses: the any-bank entry", {{0xB0, 0, 9}}, 5, {"b0 00 00", "c0 0f", "b0 00 09"}},
        {"other controllers do not count as banks", {{0xB0, 7, 100}}, 4, {"c0 0e"}},
    };
    for (const Case& c : cases) {
        VoiceMap map;
        ASSERT_TRUE(LoadText(map, text).Ok());
        for (const auto& cc : c.before)
            EXPECT_EQ(Events{Hex({cc[0], cc[1], cc[2]})}, Send(map, cc[0], cc[1], cc[2])) << "controllers pass";
        EXPECT_EQ(c.sent, Send(map, 0xC0, c.program)) << c.what;
        EXPECT_EQ(Events{"c1 0e"}, Send(map, 0xC1, 4)) << c.what << ": banks are per channel";
    }
}

TEST(VoiceMapHooks, ExtraRecordsNeedRoomForFourAndOtherwiseOnlyTheProgramChanges)
{
    VoiceMap map;
    ASSERT_TRUE(LoadText(map, "0-0-1 256-1-11\n").Ok());
    ShortMessage m{0xC0, 1, 0};
    uint32_t words[13];
    EXPECT_EQ(12u, map.MapProgram(&m, words, 13)) << "four records fit the 64-byte reserve with the event";
    m = {0xC0, 1, 0};
    EXPECT_EQ(0u, map.MapProgram(&m, words, 11));
    EXPECT_EQ(0xC0, m.status);
    EXPECT_EQ(11, m.data1);
}

TEST(VoiceMapHooks, ChannelMovesTakeEveryMessageOfTheChannelAndTheBankEventsToo)
{
    VoiceMap map;
    ASSERT_TRUE(LoadText(map, "0-0-10 255-255-2\n0-0-1 256-0-11\n").Ok());
    EXPECT_EQ((Events{"b1 00 01", "c1 0b", "b1 00 00"}), Send(map, 0xC9, 1));
    EXPECT_EQ(Events{"91 3c 64"}, Send(map, 0x99, 60, 100));
    EXPECT_EQ(Events{"81 3c 40"}, Send(map, 0x89, 60, 64));
    EXPECT_EQ(Events{"a1 3c 10"}, Send(map, 0xA9, 60, 16));
    EXPECT_EQ(Events{"d1 10"}, Send(map, 0xD9, 16));
    EXPECT_EQ(Events{"e1 00 40"}, Send(map, 0xE9, 0, 64));
    EXPECT_EQ(Events{"b1 07 64"}, Send(map, 0xB9, 7, 100));
    EXPECT_EQ(Events{"90 3c 64"}, Send(map, 0x90, 60, 100)) << "other channels stay";
}

TEST(VoiceMapHooks, NoteSectionsApplyToTheirVoiceOrTheirChannel)
{
    VoiceMap map;
    ASSERT_TRUE(LoadText(map,
                         "0-0-25 255-255-255\n36 38\n255 255\n"     // program 25, bank 0/0
                         "0-255-10 255-255-255\n36 35\n40 41\n255 255\n")  // anything on channel 10
                    .Ok());
    EXPECT_EQ(Events{"99 29 64"}, Send(map, 0x99, 40, 100)) << "channel 10 before any program change";
    EXPECT_EQ(Events{"99 23 64"}, Send(map, 0x99, 36, 100));
    EXPECT_EQ(Events{"c9 19"}, Send(map, 0xC9, 25));
    EXPECT_EQ(Events{"99 26 64"}, Send(map, 0x99, 36, 100)) << "the voice's own section first";
    EXPECT_EQ(Events{"99 29 64"}, Send(map, 0x99, 40, 100)) << "then the channel's";
    EXPECT_EQ(Events{"90 24 64"}, Send(map, 0x90, 36, 100)) << "channel 1 has no section";
    EXPECT_EQ(Events{"c0 19"}, Send(map, 0xC0, 25));
    EXPECT_EQ(Events{"90 26 64"}, Send(map, 0x90, 36, 100)) << "the voice's section on any channel";
    EXPECT_EQ(Events{"c0 01"}, Send(map, 0xC0, 1));
    EXPECT_EQ(Events{"90 2a 64"}, Send(map, 0x90, 42, 100));
}

TEST(VoiceMapHooks, ANoteOffEndsTheNoteItsNoteOnStartedEvenAfterAProgramChange)
{
    VoiceMap map;
    ASSERT_TRUE(LoadText(map, "0-0-25 255-255-255\n36 38\n255 255\n").Ok());
    Send(map, 0xC0, 25);
    EXPECT_EQ(Events{"90 26 64"}, Send(map, 0x90, 36, 100));
    Send(map, 0xC0, 1);
    EXPECT_EQ(Events{"80 26 40"}, Send(map, 0x80, 36, 64)) << "the sounding note 38 ends";
    EXPECT_EQ(Events{"90 24 64"}, Send(map, 0x90, 36, 100)) << "voice 1: note 36 as it is";
    Send(map, 0xC0, 25);
    EXPECT_EQ(Events{"90 24 00"}, Send(map, 0x90, 36, 0)) << "a note-on of velocity 0 ends it too";
    EXPECT_EQ(Events{"80 26 40"}, Send(map, 0x80, 36, 64)) << "nothing sounds now: mapped by the voice";
}

TEST(VoiceMapHooks, RewindForgetsBanksVoicesAndSoundingNotes)
{
    VoiceMap map;
    ASSERT_TRUE(LoadText(map, "0-0-1 256-0-11\n0-0-25 255-255-255\n36 38\n255 255\n").Ok());
    Send(map, 0xC0, 25);
    Send(map, 0x90, 36, 100);
    Send(map, 0xB0, 0, 1);
    map.Rewind();
    EXPECT_EQ(Events{"80 24 40"}, Send(map, 0x80, 36, 64)) << "program 0 again, nothing sounding";
    EXPECT_EQ((Events{"b0 00 01", "c0 0b", "b0 00 00"}), Send(map, 0xC0, 1)) << "bank 0 again";
}

}  // namespace
