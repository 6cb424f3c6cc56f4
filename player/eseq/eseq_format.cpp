#include "eseq_format.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "hostfile.h"

namespace eseq {

namespace {

const char kSignature[] = "COM-ESEQ";
constexpr size_t kSignatureSize = 8;
constexpr size_t kPrefixedSignatureAt = 7;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

uint8_t ByteAt(const uint8_t* bytes, size_t size, size_t offset)
{
    return offset < size ? bytes[offset] : 0;
}

// The text of a fixed field, cut at its first zero byte and at the end of
// the bytes present.
std::string Field(const uint8_t* bytes, size_t size, size_t offset, size_t length)
{
    std::string text;
    for (size_t i = offset; i < offset + length && i < size && bytes[i] != 0; ++i)
        text += static_cast<char>(bytes[i]);
    return text;
}


}  // namespace

int SignatureOffset(const uint8_t* bytes, size_t size)
{
    if (size >= kPrefixedSignatureAt + kSignatureSize &&
        std::memcmp(bytes + kPrefixedSignatureAt, kSignature, kSignatureSize) == 0)
        return static_cast<int>(kPrefixedSignatureAt);
    if (size >= kSignatureSize && std::memcmp(bytes, kSignature, kSignatureSize) == 0)
        return 0;
    return -1;
}

EseqKind RecogniseImage(const uint8_t* bytes, size_t size)
{
    EseqKind kind;
    if (size < kRecogniseBytes || SignatureOffset(bytes, size) < 0)
        return kind;
    kind.isEseq = true;
    kind.diskOrchestra = bytes[kOffDocA] != bytes[kOffDocB];
    if (!kind.diskOrchestra)
        kind.kindByteZero = bytes[kOffKind] == 0;
    return kind;
}

std::string TitleFromImage(const uint8_t* bytes, size_t size)
{
    const bool longTitle = ByteAt(bytes, size, kOffTempo40) == ByteAt(bytes, size, kOffTempo);
    const std::string raw = longTitle ? Field(bytes, size, kOffTitle, kTitleSize)
                                      : Field(bytes, size, kOffShortTitle, kShortTitleSize);
    return CleanTitle(raw);
}

int BaseTempo(const uint8_t* bytes, size_t size)
{
    const size_t at = ByteAt(bytes, size, kOffVariant) == 0x40 ? kOffTempo40 : kOffTempo;
    return ByteAt(bytes, size, at) + kTempoBias;
}

bool ReadFilePrefix(const char* path, size_t count, std::vector<uint8_t>* out)
{
    out->clear();
    const std::string host = HostPath(path);
    if (host.empty())
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(host.c_str(), "rb"));
    if (!file)
        return false;
    out->resize(count);
    const size_t got = std::fread(out->data(), 1, count, file.get());
    out->resize(got);
    return !std::ferror(file.get());
}

EseqKind RecogniseFile(const char* path)
{
    std::vector<uint8_t> head;
    if (!ReadFilePrefix(path, kRecogniseBytes, &head))
        return EseqKind();
    return RecogniseImage(head.data(), head.size());
}

bool ReadTitle(const char* path, std::string* title)
{
    std::vector<uint8_t> head;
    if (!ReadFilePrefix(path, kTitleReadBytes, &head))
        return false;
    *title = TitleFromImage(head.data(), head.size());
    return true;
}

}  // namespace eseq
