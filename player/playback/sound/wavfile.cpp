#include "wavfile.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

void Put16(uint8_t* at, uint32_t v)
{
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* at, uint32_t v)
{
    Put16(at, v);
    Put16(at + 2, v >> 16);
}

// A RIFF file's sizes are 32-bit: the data chunk stops short of 4 GiB.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - 36;

}  // namespace

void BuildWavHeader(uint32_t sampleRate, uint16_t channels, uint32_t dataBytes, uint8_t out[44])
{
    const uint32_t blockAlign = channels * 2u;
    std::memcpy(out, "RIFF", 4);
    Put32(out + 4, 36 + dataBytes);
    std::memcpy(out + 8, "WAVEfmt ", 8);
    Put32(out + 16, 16);  // size of the format chunk
    Put16(out + 20, 1);   // PCM
    Put16(out + 22, channels);
    Put32(out + 24, sampleRate);
    Put32(out + 28, sampleRate * blockAlign);
    Put16(out + 32, blockAlign);
    Put16(out + 34, 16);
    std::memcpy(out + 36, "data", 4);
    Put32(out + 40, dataBytes);
}

WavWriter::~WavWriter()
{
    Discard();
}

void WavWriter::Discard()
{
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(partPath_.c_str());
}

bool WavWriter::Open(const std::string& path, uint32_t sampleRate, uint16_t channels)
{
    Discard();
    path_ = path;
    partPath_ = path + ".part";
    sampleRate_ = sampleRate;
    channels_ = channels;
    frames_ = 0;
    failed_ = false;
    file_ = std::fopen(partPath_.c_str(), "wb");
    if (!file_)
        return false;
    uint8_t header[44];
    BuildWavHeader(sampleRate, channels, 0, header);
    failed_ = std::fwrite(header, 1, sizeof header, file_) != sizeof header;
    return !failed_;
}

bool WavWriter::Write(const int16_t* samples, uint32_t frames)
{
    if (!file_ || failed_)
        return false;
    const size_t count = static_cast<size_t>(frames) * channels_;
    if ((frames_ + frames) * channels_ * 2 > kMaxDataBytes) {
        failed_ = true;
        return false;
    }
    // Samples are little-endian in the file.
    uint8_t bytes[8192];
    size_t done = 0;
    while (done < count) {
        const size_t n = std::min(count - done, sizeof bytes / 2);
        for (size_t i = 0; i < n; ++i)
            Put16(bytes + 2 * i, static_cast<uint16_t>(samples[done + i]));
        if (std::fwrite(bytes, 2, n, file_) != n) {
            failed_ = true;
            return false;
        }
        done += n;
    }
    frames_ += frames;
    return true;
}

bool WavWriter::Finish()
{
    if (!file_)
        return false;
    uint8_t header[44];
    BuildWavHeader(sampleRate_, channels_, static_cast<uint32_t>(frames_ * channels_ * 2), header);
    bool ok = !failed_ && std::fseek(file_, 0, SEEK_SET) == 0 &&
              std::fwrite(header, 1, sizeof header, file_) == sizeof header;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok)
        ok = std::rename(partPath_.c_str(), path_.c_str()) == 0;
    if (!ok)
        std::remove(partPath_.c_str());
    return ok;
}
