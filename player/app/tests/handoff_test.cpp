#include "handoff.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(Handoff, OnlyAStartThatOpensAFileWithoutOwnSwitchesHandsItOver)
{
    const struct {
        const char* commandLine;
        bool handOff;
    } cases[] = {
        {"", false},                                        // a plain start: a player of its own
        {"C:\\Songs\\waltz.mid", true},                     // a file from the file manager
        {"\"C:\\My Songs\\waltz.mid\"", true},
        {"/new", false},
        {"/new C:\\Songs\\list.zub", false},                // asks for its own empty playlist
        {"/capture out.mid C:\\Songs\\waltz.mid", false},   // plays into its own capture
        {"/capture out.mid", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.handOff, ShouldHandOff(ParseCommandLine(c.commandLine))) << c.commandLine;
}

TEST(Handoff, AMessageOfOursGivesItsPath)
{
    const std::string path = "C:\\Songs\\waltz.mid";
    EXPECT_EQ(path, ReadHandoff(kHandoffTag, path.data(), path.size()).value_or("none"));
    const std::string longest(259, 'a');
    EXPECT_EQ(longest, ReadHandoff(kHandoffTag, longest.data(), longest.size()).value_or("none"));
}

TEST(Handoff, AnythingElseIsRefused)
{
    const std::string path = "C:\\Songs\\waltz.mid";
    EXPECT_FALSE(ReadHandoff(kHandoffTag + 1, path.data(), path.size()));  // another program's message
    EXPECT_FALSE(ReadHandoff(kHandoffTag, path.data(), 0));
    EXPECT_FALSE(ReadHandoff(kHandoffTag, nullptr, 5));
    const std::string tooLong(260, 'a');
    EXPECT_FALSE(ReadHandoff(kHandoffTag, tooLong.data(), tooLong.size()));
    const char withNul[] = {'a', '\0', 'b'};
    EXPECT_FALSE(ReadHandoff(kHandoffTag, withNul, sizeof withNul));
}

}  // namespace
}  // namespace zub
