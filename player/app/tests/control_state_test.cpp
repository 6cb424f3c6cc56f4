#include "control_state.h"

#include <gtest/gtest.h>

#include "command_ids.h"

namespace zub {
namespace {

TEST(ControlEnableBits, ByState)
{
    struct Case {
        int state;
        const char* name;
        unsigned bits;
    } cases[] = {
        {0, "NoFile", kBitPlayThru | kBitInstrument},
        {1, "Opened", kBitPlay | kBitPlayThru | kBitInstrument},
        {2, "Prerolling", 0},
        {3, "Prerolled", kBitPlay | kBitPlayThru | kBitInstrument},
        {4, "Playing", kBitPause | kBitStop},
        {5, "Paused", kBitPause | kBitStop},
        {6, "Stopping", 0},
        {7, "Resetting", 0},
        {8, "out of range", 0},
        {-1, "negative", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnableBitsForState(c.state), c.bits) << c.name;
}

TEST(ControlEnableBits, NavigationComesOnlyFromThePlaylist)
{
    for (int state = 0; state < 8; ++state)
        EXPECT_EQ(EnableBitsForState(state) & (kBitNext | kBitPrevious), 0u) << state;
}

TEST(ControlStatusText, StringPerState)
{
    int expected[] = {0, IDS_STOPPED, IDS_SEEKING, IDS_PREROLLED, IDS_PLAYING, IDS_PAUSED, IDS_STOPPING, 0};
    for (int state = 0; state < 8; ++state)
        EXPECT_EQ(StatusTextIdForState(state), expected[state]) << state;
}

TEST(ControlBindings, MasterVolumeFollowsTheInstrumentBit)
{
    bool found = false;
    for (const ControlBinding& b : kControlBindings) {
        if (b.command == CMD_MASTER_VOLUME) {
            EXPECT_EQ(b.bit, static_cast<unsigned>(kBitInstrument));
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace zub
