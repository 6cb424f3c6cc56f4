#include "pianodir.h"

#include "batch_paths.h"

namespace eseq {

namespace {

constexpr int kTempoBias = 29;
constexpr uint32_t kTicksPerBeat = 384;

uint8_t ByteAt(const std::vector<uint8_t>& bytes, size_t offset)
{
    return offset < bytes.size() ? bytes[offset] : 0;
}

// A fixed field cut at a zero byte (and at the end of the catalog).
std::string Field(const std::vector<uint8_t>& bytes, size_t offset, size_t length)
{
    std::string text;
    for (size_t i = offset; i < offset + length && i < bytes.size() && bytes[i] != 0; ++i)
        text += static_cast<char>(bytes[i]);
    return text;
}

std::string WithoutTrailingSpaces(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

size_t RecordAt(int k)
{
    return kPianodirFirstRecord + kPianodirRecordSize * static_cast<size_t>(k);
}

}  // namespace

std::string PianodirDiskTitle(const std::vector<uint8_t>& catalog)
{
    return Field(catalog, kPianodirDiskTitle, kPianodirDiskTitleSize);
}

int PianodirSongCount(const std::vector<uint8_t>& catalog)
{
    const uint8_t count = ByteAt(catalog, kPianodirCountByte);
    return count == 0 ? 0 : count - 1;
}

PianodirRecord PianodirRecordAt(const std::vector<uint8_t>& catalog, int k)
{
    PianodirRecord record;
    if (k < 0)
        return record;
    const size_t at = RecordAt(k);
    const std::string name = WithoutTrailingSpaces(Field(catalog, at, 8));
    const std::string ext = WithoutTrailingSpaces(Field(catalog, at + 8, 3));
    record.file = ext.empty() ? name : name + "." + ext;
    record.tempoByte = ByteAt(catalog, at + kPianodirTempo);
    for (int i = 0; i < 4; ++i)
        record.lengthTicks |= static_cast<uint32_t>(ByteAt(catalog, at + kPianodirTicks + i)) << (8 * i);
    record.ensemble = ByteAt(catalog, at + kPianodirEnsemble) != 0;
    record.title = Field(catalog, at + kPianodirTitle, kPianodirTitleSize);
    return record;
}

std::string PianodirRecordFile(const std::vector<uint8_t>& catalog, int k)
{
    if (k < 0 || RecordAt(k) + 11 > catalog.size())
        return std::string();
    return PianodirRecordAt(catalog, k).file;
}

int PianodirSongNumber(const std::vector<uint8_t>& catalog, const std::string& fileName)
{
    const int count = PianodirSongCount(catalog);
    for (int k = 0; k < count && RecordAt(k) + 11 <= catalog.size(); ++k) {
        if (EqualsNoCase(PianodirRecordFile(catalog, k), fileName))
            return k + 1;
    }
    return 0;
}

uint32_t PianodirLengthMs(int tempoByte, uint32_t lengthTicks)
{
    return (60000u / static_cast<uint32_t>(tempoByte + kTempoBias)) * (lengthTicks / kTicksPerBeat);
}

}  // namespace eseq
