// Writes a 16-bit PCM WAV file while it is rendered: the samples go to a
// file beside the target, which replaces the target only once it is whole,
// with the header's sizes filled in.
#ifndef ZUB_SOUND_WAVFILE_H
#define ZUB_SOUND_WAVFILE_H

#include <cstdint>
#include <cstdio>
#include <string>

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();  // an unfinished file is removed

    bool Open(const std::string& path, uint32_t sampleRate, uint16_t channels);
    // `frames` interleaved frames of `channels` samples each.
    bool Write(const int16_t* samples, uint32_t frames);
    // Fills in the sizes and puts the file in place.
    bool Finish();

    uint64_t Frames() const { return frames_; }
    uint32_t SampleRate() const { return sampleRate_; }

    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

private:
    void Discard();

    std::FILE* file_ = nullptr;
    std::string path_, partPath_;
    uint32_t sampleRate_ = 0;
    uint16_t channels_ = 0;
    uint64_t frames_ = 0;
    bool failed_ = false;
};

// The 44-byte header of a PCM WAV file of 16-bit samples.
void BuildWavHeader(uint32_t sampleRate, uint16_t channels, uint32_t dataBytes, uint8_t out[44]);

#endif
