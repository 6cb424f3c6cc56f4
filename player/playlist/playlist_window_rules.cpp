#include "playlist_window_rules.h"

#include <algorithm>

namespace playlist {

std::vector<MenuItemState> PopupItemStates(const PopupFacts& f)
{
    const bool any = f.hasSelection;
    return {
        {kCmdPasteFromClipboard, f.clipboardHasFiles, false},
        {kCmdCopySongToA, any && f.selectionIsSong, false},
        {kCmdDetachMap, any && f.selectionHasVoiceMap, false},
        {kCmdAttachMap, any, false},
        {kCmdCopyDiskToA, any, false},
        {kCmdCopyToClipboard, any, false},
        {kCmdSaveSongTitles, f.titlesModified, false},
        {kCmdSortByDiskDir, true, f.sortedByDiskDir},
        {kCmdHideAllSongs, true, false},
        {kCmdShowAllSongs, true, false},
    };
}

KeyDecision DecideKey(int virtualKey, bool controlDown, bool focusInDialog, bool editorOpen, bool forPlaylist)
{
    constexpr int kKeyC = 67, kKeyV = 86, kKeyDelete = 46;
    KeyDecision d;
    if (controlDown && (virtualKey == kKeyC || virtualKey == kKeyV)) {
        const bool copy = virtualKey == kKeyC;
        if (focusInDialog) {
            d.consumed = true;
            d.post = copy ? kMsgCopyFiles : kMsgPasteFiles;
        } else if (editorOpen) {
            d.consumed = true;
            d.post = copy ? kMsgCopyText : kMsgPasteText;
        }
        return d;
    }
    // Only a key meant for the playlist window deletes a row: Delete
    // pressed in another window is that window's.
    if (virtualKey == kKeyDelete && !controlDown && !editorOpen && forPlaylist) {
        d.consumed = true;
        d.post = kMsgDelete;
    }
    return d;
}

std::array<int, 7> StatusPartEdges(int W, const StatusSampleWidths& w)
{
    std::array<int, 7> e{};
    e[6] = W - 18;
    e[5] = W - w.total - 26;
    e[4] = e[5] - w.files - 8;
    e[3] = e[5] - w.files - w.folders - 16;
    e[2] = e[3] - w.totals - 8;
    e[1] = e[3] - w.totals - w.time - 16;
    e[0] = w.currentDisk + 3;
    return e;
}

PlaylistLayout LayOutPlaylist(int cw, int ch, int designed, int bh, int statusBarHeight)
{
    PlaylistLayout l;
    const int w = cw < 440 ? designed - (440 - cw) / 5 : designed;
    const int y = ch - bh - std::max(24, statusBarHeight + 4);
    l.grid = {2, 2, std::max(cw - 4, 0), std::max(y - 6, 0)};
    l.add = {6, y, w, bh};
    l.remove = {w + 12, y, w, bh};
    l.up = {2 * w + 18, y, 15, bh};
    l.down = {2 * w + 38, y, 15, bh};
    l.cue = {std::max(cw / 2 - w, 2 * w + 58), y, w, bh};
    l.close = {cw - w - 6, y, w, bh};
    return l;
}

}  // namespace playlist
