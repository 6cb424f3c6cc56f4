#include "eseq_convert.h"

#include <cstring>

#include "batch_paths.h"
#include "eseq_format.h"
#include "hostfile.h"
#include "smfbytes.h"

namespace eseq {

namespace {

// ESEQ codes.
constexpr uint8_t kSysex = 0xF0;
constexpr uint8_t kStartMark = 0xF1;
constexpr uint8_t kEndOfSong = 0xF2;
constexpr uint8_t kWaitShort = 0xF3;
constexpr uint8_t kWaitLong = 0xF4;
constexpr uint8_t kEmptyEvent = 0xF6;
constexpr uint8_t kEndOfSysex = 0xF7;
constexpr uint8_t kTimeSignature = 0xF9;
constexpr uint8_t kTempoChange = 0xFB;
constexpr uint8_t kChannelPrefix = 0xFF;

constexpr size_t kHeaderSize = 22;       // MThd chunk and the MTrk chunk header
constexpr size_t kTrackLengthAt = 18;
constexpr uint32_t kMaxDelta = 0x0FFFFFFF;  // four variable-length bytes
constexpr uint32_t kMaxTempo = 0xFFFFFF;
constexpr uint32_t kMicrosPerMinute = 60000000;

const uint8_t kSilencingSysex[] = {0xF0, 0x43, 0x10, 0x4C, 0x08, 0x00, 0x04, 0x7F, 0xF7};

bool TakesOneDataByte(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0;
}

class Converter {
public:
    Converter(const uint8_t* bytes, size_t size, const ConvertOptions& options, std::vector<uint8_t>* out)
        : src_(bytes), size_(size), options_(options), out_(*out)
    {
    }

    ConvertResult Run()
    {
        out_.clear();
        out_.reserve(kHeaderSize + 64 + size_ * 2);
        WriteHeader();
        baseTempo_ = static_cast<uint32_t>(BaseTempo(src_, size_));
        out_.push_back(0x00);
        WriteTempo(kMicrosPerMinute / baseTempo_);
        WriteTrackName();
        const ConvertResult result = ConvertEvents(FirstEvent());
        const uint32_t trackLength = static_cast<uint32_t>(out_.size() - kHeaderSize);
        for (int i = 0; i < 4; ++i)
            out_[kTrackLengthAt + i] = static_cast<uint8_t>(trackLength >> (24 - 8 * i));
        return result;
    }

private:
    enum class Step { Next, EndOfSong, EndOfData, Truncated };

    size_t Left(size_t pos) const { return pos < size_ ? size_ - pos : 0; }

    void Put(std::initializer_list<uint8_t> bytes) { out_.insert(out_.end(), bytes); }

    void PutVlq(uint32_t value) { smf::PutVlq(out_, value); }

    // The accumulated wait as the delta of the next written event.
    void PutWait()
    {
        uint32_t delta = wait_;
        if (delta > kMaxDelta)
            delta = kMaxDelta;
        const uint64_t room = 0xFFFFFFFFull - totalTicks_;
        if (delta > room)
            delta = static_cast<uint32_t>(room);
        totalTicks_ += delta;
        PutVlq(delta);
        wait_ = 0;
    }

    void AddWait(uint32_t ticks)
    {
        wait_ = ticks > kMaxDelta - wait_ ? kMaxDelta : wait_ + ticks;
    }

    void WriteHeader()
    {
        Put({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, kMidiDivision >> 8, kMidiDivision & 0xFF});
        Put({'M', 'T', 'r', 'k', 0, 0, 0, 0});
    }

    // Three bytes always: the reader accepts no other tempo length.
    void WriteTempo(uint32_t micros)
    {
        if (micros < 1)
            micros = 1;
        if (micros > kMaxTempo)
            micros = kMaxTempo;
        Put({0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16), static_cast<uint8_t>(micros >> 8),
             static_cast<uint8_t>(micros)});
    }

    void WriteTrackName()
    {
        size_t length = 0;
        while (length < kTitleSize && kOffTitle + length < size_ && src_[kOffTitle + length] != 0)
            ++length;
        while (length > 0 && src_[kOffTitle + length - 1] == ' ')
            --length;
        Put({0x00, 0xFF, 0x03, static_cast<uint8_t>(length)});
        if (length > 0)
            out_.insert(out_.end(), src_ + kOffTitle, src_ + kOffTitle + length);
    }

    // After the first 0xF1 at or after the title, its parameter byte and a
    // lead-in wait; the end of the data when there is no 0xF1.
    size_t FirstEvent() const
    {
        size_t pos = kOffTitle;
        while (pos < size_ && src_[pos] != kStartMark)
            ++pos;
        if (pos >= size_)
            return size_;
        pos += 2;
        if (pos < size_ && src_[pos] == kWaitShort)
            pos += 2;
        else if (pos < size_ && src_[pos] == kWaitLong)
            pos += 3;
        return pos < size_ ? pos : size_;
    }

    ConvertResult ConvertEvents(size_t pos)
    {
        for (;;) {
            switch (ConvertOne(&pos)) {
            case Step::Next:
                break;
            case Step::EndOfSong:
                return ConvertResult::Ok;
            case Step::EndOfData:
                PutWait();
                Put({0xFF, 0x2F, 0x00});
                return ConvertResult::Ok;
            case Step::Truncated:
                return ConvertResult::Truncated;
            }
        }
    }

    Step ConvertOne(size_t* pos)
    {
        if (*pos >= size_)
            return Step::EndOfData;
        const uint8_t b = src_[*pos];
        const bool explicitStatus = b >= 0x80;
        const uint8_t status = explicitStatus ? b : running_;
        if (status == kWaitShort || status == kWaitLong)
            return ConvertWait(status, pos);
        if (status == 0)
            return Step::Truncated;
        if (status >= 0xF0)
            return ConvertSystem(status, pos);
        return ConvertChannel(status, explicitStatus, pos);
    }

    // A wait writes nothing and keeps running status. Wait codes are
    // status bytes, so they never stand as running status.
    Step ConvertWait(uint8_t status, size_t* pos)
    {
        const size_t at = *pos + 1;
        const size_t params = status == kWaitShort ? 1 : 2;
        if (Left(at) < params)
            return Step::EndOfData;
        uint32_t ticks = src_[at];
        if (params == 2)
            ticks += 128u * src_[at + 1];
        AddWait(ticks);
        *pos = at + params;
        return Step::Next;
    }

    Step ConvertSystem(uint8_t status, size_t* pos)
    {
        const size_t at = *pos;
        switch (status) {
        case kSysex:
            return ConvertSysex(pos);
        case kEndOfSong:
            running_ = 0;
            PutWait();
            Put({0xFF, 0x2F, 0x00});
            return Step::EndOfSong;
        case kTimeSignature:
            if (Left(at) < 3)
                return Step::EndOfData;
            running_ = 0;
            PutWait();
            Put({0xFF, 0x58, 0x04, src_[at + 1], src_[at + 2], 0x18, 0x08});
            *pos = at + 3;
            return Step::Next;
        case kTempoChange: {
            if (Left(at) < 3)
                return Step::EndOfData;
            running_ = 0;
            const uint32_t ratio = src_[at + 1] + 128u * src_[at + 2];
            const uint32_t divisor = ratio * baseTempo_ / 1000;
            PutWait();
            WriteTempo(divisor == 0 ? kMaxTempo : kMicrosPerMinute / divisor);
            *pos = at + 3;
            return Step::Next;
        }
        case kChannelPrefix:
            if (Left(at) < 2)
                return Step::EndOfData;
            running_ = 0;
            PutWait();
            Put({0xFF, 0x20, 0x01, src_[at + 1]});
            *pos = at + 2;
            return Step::Next;
        case kEmptyEvent:
            running_ = 0;
            *pos = at + 1;
            return Step::Next;
        default:
            // An event without meaning here, with its parameter bytes.
            running_ = 0;
            *pos = at + 1;
            while (*pos < size_ && src_[*pos] < 0x80)
                ++*pos;
            return Step::Next;
        }
    }

    Step ConvertSysex(size_t* pos)
    {
        const size_t at = *pos;
        const void* found = std::memchr(src_ + at + 1, kEndOfSysex, size_ - at - 1);
        if (!found)
            return Step::EndOfData;  // unterminated: dropped, the song ends
        const size_t count = static_cast<size_t>(static_cast<const uint8_t*>(found) - (src_ + at));
        *pos = at + count + 1;
        if (options_.diskFixup && count + 1 == sizeof kSilencingSysex &&
            std::memcmp(src_ + at, kSilencingSysex, sizeof kSilencingSysex) == 0)
            return Step::Next;  // dropped; its wait carries over
        running_ = 0;
        PutWait();
        out_.push_back(kSysex);
        PutVlq(static_cast<uint32_t>(count));
        out_.insert(out_.end(), src_ + at + 1, src_ + at + 1 + count);
        return Step::Next;
    }

    Step ConvertChannel(uint8_t status, bool explicitStatus, size_t* pos)
    {
        const size_t data = *pos + (explicitStatus ? 1 : 0);
        const size_t count = TakesOneDataByte(status) ? 1 : 2;
        for (size_t i = 0; i < count; ++i) {
            if (data + i >= size_)
                return Step::EndOfData;
            if (src_[data + i] >= 0x80) {
                *pos = data + i;  // interrupted: the status byte comes next
                return Step::Next;
            }
        }
        const uint8_t d1 = src_[data];
        const uint8_t d2 = count == 2 ? src_[data + 1] : 0;
        *pos = data + count;
        if (options_.diskFixup && status == 0xB0 && d1 == 7 && d2 == 0) {
            PutWait();
            Put({0xC0, 0x00, 0x00, 0xB0, 0x07, 0x7F});
            running_ = 0xB0;
            return Step::Next;
        }
        PutWait();
        if (explicitStatus && status != running_) {
            out_.push_back(status);
            running_ = status;
        }
        out_.push_back(d1);
        if (count == 2)
            out_.push_back(d2);
        return Step::Next;
    }

    const uint8_t* src_;
    size_t size_;
    ConvertOptions options_;
    std::vector<uint8_t>& out_;
    uint32_t baseTempo_ = 120;
    uint8_t running_ = 0;
    uint32_t wait_ = 0;
    uint64_t totalTicks_ = 0;
};

}  // namespace

ConvertResult ConvertImage(const uint8_t* bytes, size_t size, const ConvertOptions& options, std::vector<uint8_t>* out)
{
    return Converter(bytes, size, options, out).Run();
}

FileConvertResult ConvertFile(const char* source, const char* target, const ConvertOptions& options)
{
    std::vector<uint8_t> image;
    if (ReadFileImage(source, &image) != FileResult::Ok)
        return FileConvertResult::ReadFailed;
    std::vector<uint8_t> midi;
    const ConvertResult result = ConvertImage(image.data(), image.size(), options, &midi);
    if (WriteFileImage(target, midi.data(), midi.size()) != FileResult::Ok)
        return FileConvertResult::WriteFailed;
    return result == ConvertResult::Ok ? FileConvertResult::Ok : FileConvertResult::Truncated;
}

std::string ConvertedPathFor(const std::string& source, const std::string& tempFolder)
{
    const std::string path = tempFolder.empty() ? source : JoinPath(tempFolder, FileNameOf(source));
    return WithMidExtension(path);
}

}  // namespace eseq
