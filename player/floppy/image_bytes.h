// The bytes of a floppy image, read from its file only as far as they are
// looked at: listing a disk or taking one song out reads the FATs, the
// folders and that song's clusters, not the whole image. Memory that was
// never read is never touched, so it costs nothing either. Anything that
// changes the image, copies it or saves it reads the rest first and closes
// the file (so the file can then be replaced, on Windows too).
#ifndef ZUB_FLOPPY_IMAGE_BYTES_H
#define ZUB_FLOPPY_IMAGE_BYTES_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace floppy {

class ImageBytes {
public:
    ImageBytes() = default;
    ImageBytes(const ImageBytes& other);
    ImageBytes& operator=(const ImageBytes& other);
    ImageBytes(ImageBytes&& other) noexcept;
    ImageBytes& operator=(ImageBytes&& other) noexcept;
    ~ImageBytes();

    // Bytes held in memory.
    void Assign(const std::vector<uint8_t>& bytes);
    // `size` bytes of an open file, read when needed; takes the file.
    void AssignFile(std::FILE* file, size_t size);

    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    // The range read in and readable (the caller keeps within Size()).
    const uint8_t* Read(size_t offset, size_t length) const;
    // Copies [offset, offset + length) to `to`. What is not read in yet
    // goes from the file straight to `to` and is not kept: a song taken
    // out is read once, without filling (and touching) memory for it.
    void CopyOut(size_t offset, size_t length, uint8_t* to) const;
    // Everything read in, the file closed; the start of the bytes.
    uint8_t* Mutable();
    const uint8_t* All() const;
    std::vector<uint8_t> Copy() const;
    // A read of the file failed (those bytes read as zeros).
    bool ReadFailed() const { return readFailed_; }

private:
    static constexpr size_t kChunk = 4096;
    void Release();
    void Load(size_t firstChunk, size_t lastChunk) const;
    bool ReadFromFile(size_t offset, size_t length, uint8_t* to) const;

    std::unique_ptr<uint8_t[]> data_;  // not initialised: untouched until read
    size_t size_ = 0;
    mutable std::vector<uint8_t> loaded_;  // per chunk
    mutable std::FILE* file_ = nullptr;
    mutable bool readFailed_ = false;
};

}  // namespace floppy

#endif
