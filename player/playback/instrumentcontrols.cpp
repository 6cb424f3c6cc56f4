#include "instrumentcontrols.h"

namespace {

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

void InstrumentControls::SetVelocityBase(int base)
{
    velocityBase_ = Clamp(base, 50, 127);
}

void InstrumentControls::SetMasterVolume(int volume)
{
    masterVolume_ = volume == 0 ? -128 : Clamp(volume, -128, 128);
}

void InstrumentControls::SetLamps(uint8_t l1, uint8_t l2)
{
    const LampPair pair = {l1 > kLampsAuto ? kLampsDisabled : l1, static_cast<uint8_t>(l2 > 16 ? 0 : l2)};
    lamps_ = pair.Packed();
}

void InstrumentControls::SetAdjustments(const PlayAdjustSettings& adjust)
{
    transpose_ = Clamp(adjust.transpose, -kTransposeLimit, kTransposeLimit);
    tempoPercent_ = Clamp(adjust.tempoPercent, -kTempoPercentLimit, kTempoPercentLimit);
    trackVolume_ = Clamp(adjust.trackVolume, 0, kTrackVolumeFull);
}

InstrumentSettings InstrumentControls::Load() const
{
    InstrumentSettings s;
    s.velocityBase = velocityBase_.load();
    s.masterVolume = masterVolume_.load();
    s.lamps = LampPair::Unpacked(lamps_.load());
    s.adjust.transpose = transpose_.load();
    s.adjust.tempoPercent = tempoPercent_.load();
    s.adjust.trackVolume = trackVolume_.load();
    s.voiceMap = voiceMap_.load();
    return s;
}
