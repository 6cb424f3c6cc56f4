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

int FolderOf(const PlaylistRowStore& rows, int index)
{
    for (int i = index; i >= 0; --i) {
        if (rows.Read(i).IsFolder())
            return i;
    }
    return -1;
}

int GroupEnd(const PlaylistRowStore& rows, int folder)
{
    const int count = rows.Count();
    int i = folder + 1;
    while (i < count && !rows.Read(i).IsFolder())
        ++i;
    return i;
}

PlaylistRow VectorRowStore::Read(int index) const
{
    if (index < 0 || index >= Count())
        return PlaylistRow();
    return rows_[index];
}

uint32_t VectorRowStore::Insert(int index, const PlaylistRow& row)
{
    if (Count() >= maxRows_)
        return 0;
    if (index < 0 || index > Count())
        index = Count();
    PlaylistRow stored = row;
    stored.id = nextId_++;
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
