#include "playadjust.h"

#include <cstring>

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

void PlayAdjuster::Reset(uint32_t songTempo)
{
    std::memset(held_, 0, sizeof held_);
    std::memset(volume_, 0, sizeof volume_);
    std::memset(volumeSeen_, 0, sizeof volumeSeen_);
    songTempo_ = songTempo;
    tempoSent_ = 0;
    volumeSent_ = kTrackVolumeFull;
}

uint32_t PlayAdjuster::Scaled(uint32_t songTempo, int tempoPercent)
{
    if (tempoPercent == 0 || songTempo == 0)
        return songTempo;
    const uint64_t scaled = static_cast<uint64_t>(songTempo) * 100 / static_cast<uint64_t>(100 + tempoPercent);
    if (scaled < 1)
        return 1;
    return scaled > kSlowestTempo ? kSlowestTempo : static_cast<uint32_t>(scaled);
}

// A note-on of a held key sounding on `key`: counted with an earlier
// note-on on the same key, or added. With every place taken, it joins the
// newest key, so that each release still finds its note.
uint8_t PlayAdjuster::Strike(HeldKey& held, uint8_t key)
{
    for (int i = 0; i < held.count; ++i) {
        if (held.key[i] == key) {
            if (held.strikes[i] < 0xFF)
                ++held.strikes[i];
            return key;
        }
    }
    if (held.count == kKeysPerHeldKey) {
        uint8_t& newest = held.strikes[held.count - 1];
        if (newest < 0xFF)
            ++newest;
        return held.key[held.count - 1];
    }
    held.key[held.count] = key;
    held.strikes[held.count] = 1;
    ++held.count;
    return key;
}

// A release of a held key: it ends the oldest note-on.
uint8_t PlayAdjuster::Release(HeldKey& held)
{
    const uint8_t key = held.key[0];
    if (--held.strikes[0] == 0) {
        --held.count;
        std::memmove(held.key, held.key + 1, held.count);
        std::memmove(held.strikes, held.strikes + 1, held.count);
    }
    return key;
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
    HeldKey& held = held_[channel][m->data1 & 0x7F];
    const int now = m->data1 + s.transpose;  // where a note-on goes now
    uint8_t key = now >= 0 && now <= 127 ? static_cast<uint8_t>(now) : kLeftOut;
    if (kind == 0x90 && !IsNoteOff(*m)) {
        key = Strike(held, key);
    } else if (held.count > 0) {
        // Releases and key pressure follow the note-on; a release without
        // one goes where a note-on would go now.
        key = IsNoteOff(*m) ? Release(held) : held.key[held.count - 1];
    }
    if (key == kLeftOut)
        return false;
    m->data1 = key;
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
