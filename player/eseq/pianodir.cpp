#include "pianodir.h"

#include "batch_paths.h"

namespace eseq {

namespace {

// A space-padded field, cut at a zero byte, without its trailing spaces.
std::string PaddedField(const std::vector<uint8_t>& bytes, size_t offset, size_t length)
{
    std::string text;
    for (size_t i = offset; i < offset + length && i < bytes.size() && bytes[i] != 0; ++i)
        text += static_cast<char>(bytes[i]);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

}  // namespace

std::string PianodirDiskTitle(const std::vector<uint8_t>& catalog)
{
    std::string text;
    for (size_t i = kPianodirDiskTitle; i < kPianodirDiskTitle + kPianodirDiskTitleSize && i < catalog.size(); ++i) {
        if (catalog[i] == 0)
            break;
        text += static_cast<char>(catalog[i]);
    }
    return text;
}

int PianodirSongCount(const std::vector<uint8_t>& catalog)
{
    if (catalog.size() <= kPianodirCountByte || catalog[kPianodirCountByte] == 0)
        return 0;
    return catalog[kPianodirCountByte] - 1;
}

std::string PianodirRecordFile(const std::vector<uint8_t>& catalog, int k)
{
    const size_t at = kPianodirFirstRecord + kPianodirRecordSize * static_cast<size_t>(k);
    if (k < 0 || at + 11 > catalog.size())
        return std::string();
    const std::string name = PaddedField(catalog, at, 8);
    const std::string ext = PaddedField(catalog, at + 8, 3);
    return ext.empty() ? name : name + "." + ext;
}

int PianodirSongNumber(const std::vector<uint8_t>& catalog, const std::string& fileName)
{
    const int count = PianodirSongCount(catalog);
    for (int k = 0; k < count; ++k) {
        const std::string file = PianodirRecordFile(catalog, k);
        if (file.empty() && kPianodirFirstRecord + kPianodirRecordSize * static_cast<size_t>(k) + 11 > catalog.size())
            break;
        if (EqualsNoCase(file, fileName))
            return k + 1;
    }
    return 0;
}

}  // namespace eseq
