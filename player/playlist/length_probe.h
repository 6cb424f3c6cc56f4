// LengthProbe: measures songs. The playlist owns one Sequencer that only
// opens songs to learn their total duration; it never plays. ESEQ songs are
// converted with the internal converter first (in memory).
#ifndef ZUB_PLAYLIST_LENGTH_PROBE_H
#define ZUB_PLAYLIST_LENGTH_PROBE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class Sequencer;

namespace playlist {

class PlaylistFiles;

class LengthProbe {
public:
    virtual ~LengthProbe() = default;
    // The duration in milliseconds of a song file's bytes, 0 on any failure.
    virtual uint32_t MeasureImage(const uint8_t* bytes, size_t size) = 0;
};

// The probe over a Sequencer of its own (4 buffers of 1024 bytes, no port).
class SequencerLengthProbe : public LengthProbe {
public:
    SequencerLengthProbe();
    ~SequencerLengthProbe() override;
    // False when the Sequencer could not be made (then every song measures 0).
    bool Ready() const { return sequencer_ != nullptr; }
    uint32_t MeasureImage(const uint8_t* bytes, size_t size) override;

private:
    std::unique_ptr<Sequencer> sequencer_;
};

// Measure song: the file read through `files` and measured; 0 with no probe
// or when the file cannot be read.
uint32_t MeasureSong(LengthProbe* probe, PlaylistFiles& files, const std::string& path);

}  // namespace playlist

#endif
