#include "playadjust.h"

#include <cstring>

#include "smfreader.h"
#include "streamrecords.h"

namespace {

constexpr uint8_t kDrumChannel = 9;  // channel 10
constexpr uint8_t kVolumeController = 7;
constexpr uint32_t kSlowestTempo = 0xFFFFFF;
constexpr uint8_t kLeftOut = 0xFF;  // a note-on beyond the range was left out

bool IsNoteOff(const ShortMessage& m)
{
    const uint8_t kind = m.status & 0xF0;
    return kind == 0x80 || (kind == 0x90 && m.data2 == 0);
}

}  // namespace

void PlayAdjuster::Reset()
{
    std::memset(sounding_, 0, sizeof sounding_);
    std::memset(volume_, 0, sizeof volume_);
    std::memset(volumeSeen_, 0, sizeof volumeSeen_);
    songTempo_ = kDefaultTempo;
    tempoSent_ = 0;
    volumeSent_ = kTrackVolumeFull;
}

uint32_t PlayAdjuster::Scaled(uint32_t songTempo, int tempoPercent)
{
    const uint64_t scaled = static_cast<uint64_t>(songTempo) * 100 / static_cast<uint64_t>(100 + tempoPercent);
    if (scaled < 1)
        return 1;
    return scaled > kSlowestTempo ? kSlowestTempo : static_cast<uint32_t>(scaled);
}

bool PlayAdjuster::Channel(ShortMessage* m, const PlayAdjustSettings& s)
{
    const uint8_t kind = m->status & 0xF0;
    const uint8_t channel = m->status & 0x0F;
    if (kind == 0xB0 && m->data1 == kVolumeController) {
        volume_[channel] = m->data2;
        volumeSeen_[channel] = true;
        m->data2 = static_cast<uint8_t>(m->data2 * s.trackVolume / kTrackVolumeFull);
        return true;
    }
    if ((kind != 0x80 && kind != 0x90 && kind != 0xA0) || channel == kDrumChannel)
        return true;
    uint8_t& key = sounding_[channel][m->data1 & 0x7F];
    int target = m->data1 + s.transpose;
    if (kind != 0x90 || IsNoteOff(*m)) {
        // Releases and key pressure follow the note-on; a release without
        // one goes where a note-on would go now.
        const uint8_t was = key;
        if (IsNoteOff(*m))
            key = 0;
        if (was == kLeftOut)
            return false;
        if (was != 0)
            target = was - 1;
    } else {
        key = target >= 0 && target <= 127 ? static_cast<uint8_t>(target + 1) : kLeftOut;
    }
    if (target < 0 || target > 127)
        return false;
    m->data1 = static_cast<uint8_t>(target);
    return true;
}

uint32_t PlayAdjuster::Tempo(uint32_t songTempo, const PlayAdjustSettings& s)
{
    songTempo_ = songTempo;
    tempoSent_ = s.tempoPercent;
    return Scaled(songTempo, s.tempoPercent);
}

void PlayAdjuster::WriteChanges(MidiBuffer* buffer, const PlayAdjustSettings& s)
{
    if (s.tempoPercent != tempoSent_ && FreeBytes(buffer) >= kMidiRecordSize) {
        PutMidiRecord(buffer, 0, kMidiEventTempo | Scaled(songTempo_, s.tempoPercent));
        tempoSent_ = s.tempoPercent;
    }
    if (s.trackVolume == volumeSent_ || FreeBytes(buffer) < 16 * kMidiRecordSize)
        return;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        if (!volumeSeen_[channel])
            continue;
        const uint8_t value = static_cast<uint8_t>(volume_[channel] * s.trackVolume / kTrackVolumeFull);
        PutMidiRecord(buffer, 0, ShortEventWord(static_cast<uint8_t>(0xB0 | channel), kVolumeController, value));
    }
    volumeSent_ = s.trackVolume;
}
