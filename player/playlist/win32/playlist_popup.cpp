// The playlist's popup menu "IDM_POPUP": its items enabled and checked by
// the rules of PopupItemStates, shown at the cursor or, from inside the
// grid, by the grid's frame.
#include "playlist_dialog.h"

namespace playlist {

bool ClipboardHasFileList()
{
    return IsClipboardFormatAvailable(CF_HDROP) != FALSE;
}

void ShowPopupMenu(PlaylistWindow& w, bool fromGrid, POINT at)
{
    HMENU menu = LoadMenuA(w.host.Instance(), "IDM_POPUP");
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    PlaylistSession& s = *w.session;
    PopupFacts facts;
    facts.clipboardHasFiles = ClipboardHasFileList();
    const int row = s.SelectedRow();
    facts.hasSelection = row >= 0;
    if (row >= 0) {
        const PlaylistRow selected = s.Rows().Read(row);
        facts.selectionIsSong = !selected.IsFolder();
        facts.selectionHasVoiceMap = !selected.text[ColVoiceMap].empty();
    }
    facts.titlesModified = s.flags.titlesModified;
    facts.sortedByDiskDir = s.flags.sortedByDiskDir;
    for (const MenuItemState& item : PopupItemStates(facts)) {
        EnableMenuItem(popup, item.id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, item.id, MF_BYCOMMAND | (item.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    if (fromGrid) {
        // The frame places the menu by the focus cell and posts the choice.
        TsPopupMenu request = {nullptr, menu, w.dialog, 0};
        s.Grid().SendFrame(TSM_POPUPMENU, 0, reinterpret_cast<uintptr_t>(&request));
    } else {
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, w.dialog, nullptr);
    }
    DestroyMenu(menu);
}

}  // namespace playlist
