#include "row_store.h"

#include <algorithm>

namespace playlist {

int PlaylistRowStore::FindText(int column, const std::string& text, int from) const
{
    const int count = Count();
    for (int i = from < 0 ? 0 : from; i < count; ++i) {
        if (Read(i).text[column] == text)
            return i;
    }
    return -1;
}

void PlaylistRowStore::SetText(int index, int column, const std::string& text)
{
    PlaylistRow row = Read(index);
    if (row.id == 0)
        return;
    row.text[column] = text;
    Write(index, row);
}

uint32_t PlaylistRowStore::AddSeconds(int index, int64_t seconds)
{
    PlaylistRow row = Read(index);
    if (row.id == 0)
        return 0;
    const int64_t total = static_cast<int64_t>(row.seconds) + seconds;
    row.seconds = total < 0 ? 0 : total > 0x7FFFFFFF ? 0x7FFFFFFFu : static_cast<uint32_t>(total);
    row.text[ColLength] = FormatLength(row.seconds);
    Write(index, row);
    return row.seconds;
}

int PlaylistRowStore::FolderOf(int index) const
{
    for (int i = index; i >= 0; --i) {
        if (Read(i).IsFolder())
            return i;
    }
    return -1;
}

int PlaylistRowStore::GroupEnd(int folder) const
{
    const int count = Count();
    int i = folder + 1;
    while (i < count && !Read(i).IsFolder())
        ++i;
    return i;
}

PlaylistRow VectorRowStore::Read(int index) const
{
    if (index < 0 || index >= Count())
        return PlaylistRow();
    return rows_[index];
}

uint32_t VectorRowStore::Insert(int index, const PlaylistRow& row, bool idInSortKey)
{
    if (Count() >= maxRows_)
        return 0;
    if (index < 0 || index > Count())
        index = Count();
    PlaylistRow stored = row;
    stored.id = nextId_++;
    if (idInSortKey)
        stored.text[ColSortKey] += std::to_string(stored.id);
    rows_.insert(rows_.begin() + index, stored);
    return stored.id;
}

void VectorRowStore::Write(int index, const PlaylistRow& row)
{
    if (index < 0 || index >= Count())
        return;
    const uint32_t id = rows_[index].id;
    rows_[index] = row;
    rows_[index].id = id;
}

void VectorRowStore::Remove(int first, int count)
{
    if (first < 0 || count <= 0 || first >= Count())
        return;
    const int last = std::min(Count(), first + count);
    rows_.erase(rows_.begin() + first, rows_.begin() + last);
}

int VectorRowStore::IndexOf(uint32_t id) const
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

int VectorRowStore::FindText(int column, const std::string& text, int from) const
{
    for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < rows_.size(); ++i) {
        if (rows_[i].text[column] == text)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace playlist
