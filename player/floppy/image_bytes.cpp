#include "image_bytes.h"

#include <cstring>
#include <utility>

namespace floppy {

ImageBytes::ImageBytes(const ImageBytes& other)
{
    *this = other;
}

ImageBytes& ImageBytes::operator=(const ImageBytes& other)
{
    if (this == &other)
        return *this;
    Release();
    if (other.size_ != 0) {
        const uint8_t* all = other.All();
        data_.reset(new uint8_t[other.size_]);
        std::memcpy(data_.get(), all, other.size_);
        size_ = other.size_;
        loaded_.assign((size_ + kChunk - 1) / kChunk, 1);
        readFailed_ = other.readFailed_;
    }
    return *this;
}

ImageBytes::ImageBytes(ImageBytes&& other) noexcept
{
    *this = std::move(other);
}

ImageBytes& ImageBytes::operator=(ImageBytes&& other) noexcept
{
    if (this != &other) {
        Release();
        data_ = std::move(other.data_);
        size_ = std::exchange(other.size_, 0);
        loaded_ = std::move(other.loaded_);
        file_ = std::exchange(other.file_, nullptr);
        readFailed_ = other.readFailed_;
    }
    return *this;
}

ImageBytes::~ImageBytes()
{
    Release();
}

void ImageBytes::Release()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    data_.reset();
    size_ = 0;
    loaded_.clear();
    readFailed_ = false;
}

void ImageBytes::Assign(const std::vector<uint8_t>& bytes)
{
    Release();
    size_ = bytes.size();
    data_.reset(new uint8_t[size_ ? size_ : 1]);
    if (size_)
        std::memcpy(data_.get(), bytes.data(), size_);
    loaded_.assign((size_ + kChunk - 1) / kChunk, 1);
}

void ImageBytes::AssignFile(std::FILE* file, size_t size)
{
    Release();
    size_ = size;
    data_.reset(new uint8_t[size_ ? size_ : 1]);
    loaded_.assign((size_ + kChunk - 1) / kChunk, 0);
    file_ = file;
    // Every read is a whole run after a seek: a buffer would only split it.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

// Reads chunks [first, last] that are not in yet, in runs.
void ImageBytes::Load(size_t first, size_t last) const
{
    for (size_t c = first; c <= last && c < loaded_.size(); ++c) {
        if (loaded_[c])
            continue;
        size_t end = c;
        while (end + 1 <= last && end + 1 < loaded_.size() && !loaded_[end + 1])
            ++end;
        const size_t from = c * kChunk;
        const size_t length = std::min(size_, (end + 1) * kChunk) - from;
        ReadFromFile(from, length, data_.get() + from);
        for (size_t k = c; k <= end; ++k)
            loaded_[k] = 1;
        c = end;
    }
}

// A failed read gives zeros and is remembered.
bool ImageBytes::ReadFromFile(size_t offset, size_t length, uint8_t* to) const
{
    const bool ok = file_ && std::fseek(file_, long(offset), SEEK_SET) == 0 &&
                    std::fread(to, 1, length, file_) == length;
    if (!ok) {
        std::memset(to, 0, length);
        readFailed_ = true;
    }
    return ok;
}

void ImageBytes::CopyOut(size_t offset, size_t length, uint8_t* to) const
{
    // Chunks already in (a folder, a FAT, a changed image) come from memory,
    // the others from the file.
    size_t done = 0;
    while (done < length) {
        const size_t at = offset + done;
        const size_t chunk = at / kChunk;
        const bool in = !file_ || loaded_[chunk];
        size_t end = std::min(offset + length, (chunk + 1) * kChunk);
        while (end < offset + length && (!file_ || loaded_[end / kChunk]) == in)
            end = std::min(offset + length, end + kChunk);
        if (in)
            std::memcpy(to + done, data_.get() + at, end - at);
        else
            ReadFromFile(at, end - at, to + done);
        done = end - offset;
    }
}

const uint8_t* ImageBytes::Read(size_t offset, size_t length) const
{
    if (length != 0 && file_)
        Load(offset / kChunk, (offset + length - 1) / kChunk);
    return data_.get() + offset;
}

const uint8_t* ImageBytes::All() const
{
    if (file_) {
        Load(0, loaded_.size());
        std::fclose(file_);
        file_ = nullptr;
    }
    return data_.get();
}

uint8_t* ImageBytes::Mutable()
{
    All();
    return data_.get();
}

std::vector<uint8_t> ImageBytes::Copy() const
{
    const uint8_t* all = All();
    return std::vector<uint8_t>(all, all + size_);
}

}  // namespace floppy
