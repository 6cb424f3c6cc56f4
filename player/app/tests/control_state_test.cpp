#include "control_state.h"

#include <gtest/gtest.h>

#include "command_ids.h"
#include "sequencer.h"

namespace zub {
namespace {

TEST(ControlEnableBits, ByState)
{
    struct Case {
        SequencerState state;
        const char* name;
        unsigned bits;
    } cases[] = {
        {SequencerState::NoFile, "NoFile", kBitPlayThru | kBitInstrument},
        {SequencerState::Opened, "Opened", kBitPlay | kBitPlayThru | kBitInstrument},
        {SequencerState::Prerolling, "Prerolling", 0},
        {SequencerState::Prerolled, "Prerolled", kBitPlay | kBitPlayThru | kBitInstrument},
        {SequencerState::Playing, "Playing", kBitPause | kBitStop},
        {SequencerState::Paused, "Paused", kBitPause | kBitStop},
        {SequencerState::Stopping, "Stopping", 0},
        {SequencerState::Resetting, "Resetting", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnableBitsForState(c.state), c.bits) << c.name;
}

TEST(ControlEnableBits, NavigationComesOnlyFromThePlaylist)
{
    for (int state = 0; state < 8; ++state)
        EXPECT_EQ(EnableBitsForState(static_cast<SequencerState>(state)) & (kBitNext | kBitPrevious), 0u) << state;
}

TEST(ControlStatusText, StringPerState)
{
    int expected[] = {0, IDS_STOPPED, IDS_SEEKING, IDS_PREROLLED, IDS_PLAYING, IDS_PAUSED, IDS_STOPPING, 0};
    for (int state = 0; state < 8; ++state)
        EXPECT_EQ(StatusTextIdForState(static_cast<SequencerState>(state)), expected[state]) << state;
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
