// What the playlist puts on the clipboard and takes from it: the file list
// of "Copy to Clipboard" (the format a file manager uses for copied files)
// and the title editor's text, cut at the edit's limit when pasted.
#ifndef ZUB_PLAYLIST_CLIPBOARD_RULES_H
#define ZUB_PLAYLIST_CLIPBOARD_RULES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "row_store.h"

namespace playlist {

// The file-list block: a 20-byte header (offset of the list 20, no drop
// point, 8-bit names), each path ended by a zero byte, one more zero byte.
std::vector<uint8_t> MakeFileList(const std::vector<std::string>& paths);
// The paths of such a block, 8-bit or wide (wide characters outside ASCII
// become "?"); empty for a block that is not one.
std::vector<std::string> ReadFileList(const uint8_t* block, size_t size);

// The paths a file list names, made real files for the programs that paste
// them: a song inside a floppy image is taken out into `tempFolder` (which
// must exist) under its own name, a second song of the same name into a
// numbered folder below it; songs that cannot be taken out are left out.
// What earlier copies took out is removed first, since the clipboard no
// longer names it. Host paths stay as they are.
std::vector<std::string> ClipboardFilePaths(const std::vector<std::string>& paths, const std::string& tempFolder);

// The rows whose paths "Copy to Clipboard" puts on the clipboard, in grid
// order: one selected directory folder row stands for its songs; any other
// single row for itself; of two or more rows only the songs.
std::vector<int> RowsToCopy(const PlaylistRowStore& rows, const std::vector<int>& selected);

// The title editor as the grid reports it: its text, the caret, and the
// signed selection length (negative when the selection lies left of the
// caret).
struct EditorText {
    std::string text;
    int caret = 0;
    int selection = 0;
};

// The selected part; the whole text with an empty selection.
std::string CopiedEditorText(const EditorText& editor);
// The text with the selection replaced by `pasted` (at the caret when
// nothing is selected), cut at `limit` characters; the caret after the
// pasted text, no selection.
EditorText PasteEditorText(const EditorText& editor, const std::string& pasted, size_t limit);

}  // namespace playlist

#endif
