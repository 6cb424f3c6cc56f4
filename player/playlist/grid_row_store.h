// The playlist's rows in its grid: PlaylistRowStore over a PlaylistGrid.
// Each call is a handful of grid messages on one row selection (see
// row_store.h for the mapping); nothing is kept on this side.
#ifndef ZUB_PLAYLIST_GRID_ROW_STORE_H
#define ZUB_PLAYLIST_GRID_ROW_STORE_H

#include "playlist_grid.h"
#include "row_store.h"

namespace playlist {

class GridRowStore : public PlaylistRowStore {
public:
    explicit GridRowStore(PlaylistGrid& grid) : grid_(grid) {}

    int Count() const override;
    PlaylistRow Read(int index) const override;
    uint32_t Insert(int index, const PlaylistRow& row, bool idInSortKey = false) override;
    void Write(int index, const PlaylistRow& row) override;
    void Remove(int first, int count) override;
    int IndexOf(uint32_t id) const override;
    int FindText(int column, const std::string& text, int from = 0) const override;
    void SetText(int index, int column, const std::string& text) override;
    uint32_t AddSeconds(int index, int64_t seconds) override;
    int FolderOf(int index) const override;
    int GroupEnd(int folder) const override;

    // The name cell's icon ("" when none).
    std::string Icon(int index) const;
    void SetIcon(int index, const std::string& icon);
    RowKind Kind(int index) const;
    uint32_t IdAt(int index) const;

    PlaylistGrid& Grid() const { return grid_; }

private:
    // Everything of `row` but its id, on the row of `sel`; `fresh` skips
    // what a new row has already (no icon, colour, hint; shown).
    void Fill(const GridSelection& sel, const PlaylistRow& row, bool fresh);

    PlaylistGrid& grid_;
};

// Cell item numbers as property ids of the cells group, list part.
PropertyId CellProp(uint32_t item);

}  // namespace playlist

#endif
