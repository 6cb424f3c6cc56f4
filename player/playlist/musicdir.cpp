#include "musicdir.h"

namespace playlist {

namespace {

std::string Field(const std::vector<uint8_t>& bytes, size_t offset, size_t length)
{
    std::string text;
    for (size_t i = offset; i < offset + length && i < bytes.size() && bytes[i] != 0; ++i)
        text += static_cast<char>(bytes[i]);
    return text;
}

std::string WithoutTrailing(std::string text, const char* characters)
{
    const size_t last = text.find_last_not_of(characters);
    text.resize(last == std::string::npos ? 0 : last + 1);
    return text;
}

}  // namespace

MusicDirCatalog ReadMusicDir(const std::vector<uint8_t>& catalog)
{
    MusicDirCatalog out;
    out.diskTitle = Field(catalog, kMusicDirTitle, kMusicDirHeaderSize - kMusicDirTitle);
    out.count = kMusicDirCountByte < catalog.size() ? catalog[kMusicDirCountByte] : 0;
    for (int k = 0; k < out.count; ++k) {
        const size_t at = kMusicDirHeaderSize + kMusicDirRecordSize * static_cast<size_t>(k);
        if (at >= catalog.size())
            break;
        MusicDirRecord record;
        const std::string name = WithoutTrailing(Field(catalog, at, 8), " ");
        const std::string ext = WithoutTrailing(Field(catalog, at + 8, 3), " ");
        record.file = ext.empty() ? name : name + "." + ext;
        record.shortTitle = Field(catalog, at + kMusicDirShortTitle, 8);
        out.records.push_back(record);
    }
    return out;
}

bool NameMdaTitle(const std::vector<uint8_t>& nameMda, int k, std::string* title)
{
    const size_t at = kNameMdaFirstRecord + kMusicDirRecordSize * static_cast<size_t>(k);
    if (k < 0 || at >= nameMda.size())
        return false;
    std::string text = Field(nameMda, at, kMusicDirRecordSize);
    const size_t mark = text.rfind('@');
    *title = mark != std::string::npos ? text.substr(0, mark) : WithoutTrailing(text, " \t\r\n\v\f");
    return true;
}

}  // namespace playlist
