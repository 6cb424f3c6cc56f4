// The clipboard: file lists of the selected rows, pasted file lists added
// as a drop, and the title editor's text with the edit's limit.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "clipboard_rules.h"
#include "playlist_actions_state.h"

namespace playlist {

namespace {

// Puts a movable block on the clipboard (which must be open and emptied);
// the clipboard owns it afterwards.
bool PutBlock(UINT format, const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return false;
    void* p = GlobalLock(block);
    if (!p) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(p, bytes, size);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

// Where songs inside floppy images are taken out for the clipboard, so
// that pasting them elsewhere gives real files.
std::string ClipboardTempFolder()
{
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    const std::string folder = std::string(temp) + "Zubodeck clipboard";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void CopyFiles(PlaylistWindow& w)
{
    PlaylistSession& s = *w.session;
    const std::vector<int> selected = SelectedRows(s);
    if (selected.empty())
        return;
    std::vector<std::string> paths;
    for (int row : RowsToCopy(s.Rows(), selected))
        paths.push_back(s.Rows().Read(row).Path());
    paths = ClipboardFilePaths(paths, ClipboardTempFolder());
    if (paths.empty() || !OpenClipboard(w.dialog))
        return;
    EmptyClipboard();
    const std::vector<uint8_t> list = MakeFileList(paths);
    PutBlock(CF_HDROP, list.data(), list.size());
    CloseClipboard();
}

void PasteFiles(PlaylistWindow& w)
{
    if (w.session->flags.buildScanActive || !IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboard(w.dialog))
        return;
    std::vector<std::string> paths;
    if (HANDLE data = GetClipboardData(CF_HDROP))
        paths = DroppedPaths(static_cast<HDROP>(data));
    CloseClipboard();
    if (!paths.empty())
        AddPaths(w, paths);
}

EditorText ReadEditor(PlaylistGrid& grid)
{
    EditorText e;
    ValueList text(grid.Lists(), 1);
    grid.Send(TSM_GETPROP, static_cast<uint32_t>(prop::kEditText) << 16, text.get());
    e.text = text.Text(0);
    e.caret = grid.GridNumber(prop::kEditCaret);
    e.selection = grid.GridNumber(prop::kEditSelLength);
    return e;
}

void CopyText(PlaylistWindow& w)
{
    if (!w.session->Editing() || !OpenClipboard(w.dialog))
        return;
    const std::string text = CopiedEditorText(ReadEditor(w.session->Grid()));
    EmptyClipboard();
    PutBlock(CF_TEXT, text.c_str(), text.size() + 1);
    CloseClipboard();
}

void PasteText(PlaylistWindow& w)
{
    PlaylistSession& s = *w.session;
    if (!s.Editing() || !IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(w.dialog))
        return;
    std::string pasted;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const size_t size = GlobalSize(data);
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            pasted.assign(p, strnlen(p, size));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    PlaylistGrid& grid = s.Grid();
    const EditorText edited = PasteEditorText(ReadEditor(grid), pasted, s.Edit().limit);
    ValueList text(grid.Lists(), 1);
    text.Set(0, edited.text);
    grid.Send(TSM_SETPROP, static_cast<uint32_t>(prop::kEditText) << 16, text.get());
    grid.SetGridNumber(prop::kEditSelLength, 0);
    grid.SetGridNumber(prop::kEditCaret, edited.caret);
}

}  // namespace

void ClipboardMessage(PlaylistWindow& w, UINT message)
{
    switch (message) {
    case kMsgCopyFiles:
        CopyFiles(w);
        break;
    case kMsgPasteFiles:
        PasteFiles(w);
        break;
    case kMsgCopyText:
        CopyText(w);
        break;
    case kMsgPasteText:
        PasteText(w);
        break;
    default:
        break;
    }
}

}  // namespace playlist
