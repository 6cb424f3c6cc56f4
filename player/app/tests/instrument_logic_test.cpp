#include "instrument_logic.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

// Runs a sequence of menu choices from Disabled and follows the checks the
// menu would show.
struct LampMenu {
    uint8_t l1 = 0, l2 = 0;
    bool checked[18] = {true};  // "Disabled" checked at start

    void Choose(int a)
    {
        const LampChoice c = ChooseLamp(l1, l2, a);
        for (int v : c.uncheck)
            checked[v] = false;
        for (int v : c.check)
            checked[v] = true;
        l1 = c.l1;
        l2 = c.l2;
    }
    std::vector<int> Checked() const
    {
        std::vector<int> out;
        for (int v = 0; v < 18; ++v) {
            if (checked[v])
                out.push_back(v);
        }
        return out;
    }
};

struct LampCase {
    const char* name;
    std::vector<int> choices;
    uint8_t l1, l2;
    std::vector<int> checked;
};

TEST(LampMenuChoices, AtMostTwoChannelsInOrder)
{
    const LampCase cases[] = {
        {"one channel", {3}, 3, 0, {3}},
        {"second below the first is swapped", {3, 1}, 1, 3, {1, 3}},
        {"a third channel replaces L2", {3, 1, 5}, 1, 5, {1, 5}},
        {"a third channel below L1", {5, 7, 2}, 2, 5, {2, 5}},
        {"the single channel again leaves Disabled", {4, 4}, 0, 0, {0}},
        {"L1 again promotes L2", {4, 9, 4}, 9, 0, {9}},
        {"L2 again drops it", {4, 9, 9}, 4, 0, {4}},
        {"Auto excludes channels", {4, 9, 17}, 17, 0, {17}},
        {"a channel after Auto", {17, 6}, 6, 0, {6}},
        {"Disabled after two channels", {2, 8, 0}, 0, 0, {0}},
        {"Disabled again stays", {0, 0}, 0, 0, {0}},
        {"Auto again stays", {17, 17}, 17, 0, {17}},
        {"out of range changes nothing", {3, 18, -1}, 3, 0, {3}},
    };
    for (const LampCase& c : cases) {
        LampMenu menu;
        for (int a : c.choices)
            menu.Choose(a);
        EXPECT_EQ(c.l1, menu.l1) << c.name;
        EXPECT_EQ(c.l2, menu.l2) << c.name;
        EXPECT_EQ(c.checked, menu.Checked()) << c.name;
    }
}

TEST(VolumeSlider, TopIsLoudest)
{
    EXPECT_EQ(1, VolumeSliderPosition(128));
    EXPECT_EQ(1, VolumeSliderPosition(-128));  // off: the slider still shows the magnitude
    EXPECT_EQ(29, VolumeSliderPosition(100));
    EXPECT_EQ(128, VolumeSliderPosition(1));
    EXPECT_EQ(128, VolumeSliderPosition(0));
    EXPECT_EQ(100, VolumeForSliderPosition(29));  // sent as 63 hexadecimal (99)
    EXPECT_EQ(128, VolumeForSliderPosition(1));
    EXPECT_EQ(1, VolumeForSliderPosition(128));
    EXPECT_EQ(1, VolumeForSliderPosition(500));
}

TEST(PlaybackControlSettings, SwitchedOffControlsAreNeutral)
{
    PlaybackControls c;
    c.velocityBase = 90;
    c.transpose = -5;
    c.tempo = 20;
    c.trackVolume = 64;
    EXPECT_EQ(90, EffectiveVelocityBase(c));
    PlayAdjustSettings s = EffectiveAdjustments(c);
    EXPECT_EQ(0, s.transpose);
    EXPECT_EQ(0, s.tempoPercent);
    EXPECT_EQ(127, s.trackVolume);

    c.velocityBaseOn = false;
    c.transposeOn = c.tempoOn = c.trackVolumeOn = true;
    EXPECT_EQ(127, EffectiveVelocityBase(c));
    s = EffectiveAdjustments(c);
    EXPECT_EQ(-5, s.transpose);
    EXPECT_EQ(20, s.tempoPercent);
    EXPECT_EQ(64, s.trackVolume);
}

}  // namespace
}  // namespace zub
