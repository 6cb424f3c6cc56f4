#include "instrument_logic.h"

#include <cstdlib>

namespace zub {

namespace {

bool IsChannel(int value)
{
    return value >= 1 && value <= 16;
}

}  // namespace

LampChoice ChooseLamp(uint8_t l1, uint8_t l2, int a)
{
    LampChoice c;
    c.l1 = l1;
    c.l2 = l2;
    if (a < kLampValueDisabled || a > kLampValueAuto)
        return c;
    const uint8_t chosen = static_cast<uint8_t>(a);
    if (!IsChannel(l1)) {
        c.uncheck.push_back(l1);
        c.l1 = chosen;
    } else if (!IsChannel(a)) {
        c.uncheck.push_back(l1);
        if (l2)
            c.uncheck.push_back(l2);
        c.l2 = 0;
        c.l1 = chosen;
    } else if (a == l1) {
        c.uncheck.push_back(l1);
        c.l1 = l2;
        c.l2 = 0;
        if (!IsChannel(c.l1))
            c.check.push_back(kLampValueDisabled);
        return c;
    } else if (a == l2) {
        c.uncheck.push_back(l2);
        c.l2 = 0;
        return c;
    } else if (IsChannel(l2)) {
        // A third channel: it replaces L2, and the pair is put in order.
        c.uncheck.push_back(l2);
        c.check.push_back(a);
        c.l1 = l1 < chosen ? l1 : chosen;
        c.l2 = l1 < chosen ? chosen : l1;
        return c;
    } else {
        c.l2 = chosen;
        if (c.l2 < c.l1) {
            c.l2 = c.l1;
            c.l1 = chosen;
        }
    }
    c.check.push_back(a);
    return c;
}

int VolumeSliderPosition(int32_t volume)
{
    int magnitude = std::abs(volume);
    magnitude = magnitude < 1 ? 1 : (magnitude > 128 ? 128 : magnitude);
    return 129 - magnitude;
}

int32_t VolumeForSliderPosition(int position)
{
    position = position < 1 ? 1 : (position > 128 ? 128 : position);
    return 129 - position;
}

int EffectiveVelocityBase(const PlaybackControls& c)
{
    return c.velocityBaseOn ? c.velocityBase : 127;
}

PlayAdjustSettings EffectiveAdjustments(const PlaybackControls& c)
{
    PlayAdjustSettings s;
    if (c.transposeOn)
        s.transpose = c.transpose;
    if (c.tempoOn)
        s.tempoPercent = c.tempo;
    if (c.trackVolumeOn)
        s.trackVolume = c.trackVolume;
    return s;
}

}  // namespace zub
