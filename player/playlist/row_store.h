// PlaylistRowStore: where the playlist's rows live. The playlist's
// routines (adding entries, loading and saving playlist files, catalogs,
// exports, title write-back) read and change rows only through this
// interface. The playlist window implements it over grid messages; zubcli
// and the tests use VectorRowStore.
//
// Rows are addressed by index (0-based, in display order). Each row also
// has an id, given by the store when the row is inserted, that stays the
// same while rows around it come and go (the grid's row ids, 32768 and up).
//
// What a grid implementation maps each call to:
//   Count       the row count (grid property 0x331B)
//   Read        the row's values (a 7-entry value list), its icon, the name
//               and map cells' hints, the colours of columns 4 and 5,
//               properties 0x1310, 0x1313 and 0x1314, and whether it is hidden
//   Insert      TSM_INSERTROWS of one row at the index (0x7FFF to append),
//               then as Write; returns the new row id, 0 when the grid
//               refused the row (full)
//   Write       the same pieces as Read, set
//   Remove      TSM_DELETEROWS over the rows
//   IndexOf     the row index of a row id, -1 when the row is gone
//   FindText    the find operation (0x413) on one column: the first row at or
//               after `from` whose text equals `text` exactly
//   SetText     one cell's value
//   AddSeconds  property 0x1314 through its add-to form, then ColLength
//   FolderOf    the folder-row-of operation (35)
//   GroupEnd    the song-rows-of operation (13)
#ifndef ZUB_PLAYLIST_ROW_STORE_H
#define ZUB_PLAYLIST_ROW_STORE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "playlist_row.h"

namespace playlist {

// The playlist grid's creation text "MaxRows=8192".
constexpr int kMaxRows = 8192;

class PlaylistRowStore {
public:
    static constexpr int kAppend = -1;

    virtual ~PlaylistRowStore() = default;
    virtual int Count() const = 0;
    // The row at `index`; a default row (id 0) when there is none.
    virtual PlaylistRow Read(int index) const = 0;
    // Inserts `row` before `index` (kAppend or Count() appends). Returns the
    // new row's id, or 0 when no row was inserted. `row.id` is ignored;
    // with `idInSortKey` the id is appended to the row's ColSortKey.
    virtual uint32_t Insert(int index, const PlaylistRow& row, bool idInSortKey = false) = 0;
    // Replaces everything of the row at `index` except its id.
    virtual void Write(int index, const PlaylistRow& row) = 0;
    virtual void Remove(int first, int count) = 0;
    virtual int IndexOf(uint32_t id) const = 0;
    // The first row at or after `from` whose `column` text equals `text`
    // exactly, or -1. The default reads the rows one by one.
    virtual int FindText(int column, const std::string& text, int from = 0) const;
    // One column's text of the row at `index`. The default reads and
    // writes the whole row.
    virtual void SetText(int index, int column, const std::string& text);
    // Adds to the row's seconds and shows the new total as its ColLength;
    // returns the new total (never below 0).
    virtual uint32_t AddSeconds(int index, int64_t seconds);

    // Folder groups: a folder row and the song rows after it.
    // The folder row of the row at `index` (itself for a folder row), or -1.
    virtual int FolderOf(int index) const;
    // The index after the last song row of the folder at `folder`.
    virtual int GroupEnd(int folder) const;
};

inline int FolderOf(const PlaylistRowStore& rows, int index)
{
    return rows.FolderOf(index);
}
inline int GroupEnd(const PlaylistRowStore& rows, int folder)
{
    return rows.GroupEnd(folder);
}

// Rows in a vector. Ids start at 32768, like the grid's, and rows beyond
// `maxRows` are refused as the grid refuses them.
class VectorRowStore : public PlaylistRowStore {
public:
    explicit VectorRowStore(int maxRows = kMaxRows) : maxRows_(maxRows) {}

    int Count() const override { return static_cast<int>(rows_.size()); }
    PlaylistRow Read(int index) const override;
    uint32_t Insert(int index, const PlaylistRow& row, bool idInSortKey = false) override;
    void Write(int index, const PlaylistRow& row) override;
    void Remove(int first, int count) override;
    int IndexOf(uint32_t id) const override;
    int FindText(int column, const std::string& text, int from = 0) const override;

    const std::vector<PlaylistRow>& Rows() const { return rows_; }

private:
    int maxRows_;
    uint32_t nextId_ = 32768;
    std::vector<PlaylistRow> rows_;
};

}  // namespace playlist

#endif
