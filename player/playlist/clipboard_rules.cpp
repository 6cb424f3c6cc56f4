// The clipboard's file list and the title editor's copy and paste.
#include "clipboard_rules.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "batch_paths.h"
#include "hostfile.h"
#include "image_paths.h"
#include "song_paths.h"

namespace playlist {

namespace {

constexpr size_t kHeaderBytes = 20;

uint32_t ReadWord(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The selection as [first, last) of the text, clamped to it.
void SelectionBounds(const EditorText& e, size_t* first, size_t* last)
{
    const long length = static_cast<long>(e.text.size());
    long a = std::clamp<long>(e.caret, 0, length);
    long b = std::clamp<long>(static_cast<long>(e.caret) + e.selection, 0, length);
    if (b < a)
        std::swap(a, b);
    *first = static_cast<size_t>(a);
    *last = static_cast<size_t>(b);
}

// Empties the folder that earlier copies took songs out into.
void ClearTakenOut(const std::string& tempFolder)
{
    std::error_code ec;
    const std::filesystem::path folder(HostPath(tempFolder.c_str()));
    for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
        std::error_code ignored;  // what cannot go (open elsewhere) is written over or left
        std::filesystem::remove_all(it->path(), ignored);
    }
}

}  // namespace

std::vector<std::string> ClipboardFilePaths(const std::vector<std::string>& paths, const std::string& tempFolder)
{
    std::vector<std::string> files;
    std::set<std::string> taken;  // names used in each folder, upper-cased
    bool cleared = false;
    for (const std::string& path : paths) {
        std::string image, inner;
        if (!floppy::SplitImagePath(path, &image, &inner)) {
            files.push_back(path);
            continue;
        }
        if (!cleared && !tempFolder.empty())
            ClearTakenOut(tempFolder);
        cleared = true;
        const std::string name = LastPathComponent(inner);
        std::string folder = tempFolder;
        for (int n = 2; !taken.insert(eseq::UpperAscii(JoinSongPath(folder, name))).second; ++n)
            folder = JoinSongPath(tempFolder, std::to_string(n));
        std::error_code ec;
        std::filesystem::create_directory(std::filesystem::path(HostPath(folder.c_str())), ec);
        const std::string file = floppy::HostFileOf(path, folder);
        if (!file.empty())
            files.push_back(file);
    }
    return files;
}

std::vector<uint8_t> MakeFileList(const std::vector<std::string>& paths)
{
    std::vector<uint8_t> block(kHeaderBytes, 0);
    block[0] = static_cast<uint8_t>(kHeaderBytes);
    for (const std::string& path : paths) {
        block.insert(block.end(), path.begin(), path.end());
        block.push_back(0);
    }
    block.push_back(0);
    return block;
}

std::vector<std::string> ReadFileList(const uint8_t* block, size_t size)
{
    std::vector<std::string> paths;
    if (!block || size < kHeaderBytes)
        return paths;
    const size_t offset = ReadWord(block);
    const bool wide = ReadWord(block + 16) != 0;
    if (offset < kHeaderBytes || offset > size)
        return paths;
    const size_t unit = wide ? 2 : 1;
    std::string path;
    for (size_t i = offset; i + unit <= size; i += unit) {
        unsigned c = block[i];
        if (wide) {
            c |= block[i + 1] << 8;
            if (c > 0x7F)
                c = '?';
        }
        if (c == 0) {
            if (path.empty())
                return paths;  // the list's closing zero
            paths.push_back(path);
            path.clear();
        } else {
            path.push_back(static_cast<char>(c));
        }
    }
    return {};  // no closing zero: not a list
}

std::vector<int> RowsToCopy(const PlaylistRowStore& rows, const std::vector<int>& selected)
{
    std::vector<int> chosen;
    std::vector<int> sorted = selected;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    sorted.erase(std::remove_if(sorted.begin(), sorted.end(), [&](int i) { return i < 0 || i >= rows.Count(); }),
                 sorted.end());
    if (sorted.size() == 1) {
        const int index = sorted[0];
        const PlaylistRow row = rows.Read(index);
        if (row.IsFolder() && row.icon == kIconFolder) {
            const int end = rows.GroupEnd(index);
            for (int i = index + 1; i < end; ++i)
                chosen.push_back(i);
        } else {
            chosen.push_back(index);
        }
        return chosen;
    }
    for (int index : sorted) {
        if (!rows.Read(index).IsFolder())
            chosen.push_back(index);
    }
    return chosen;
}

std::string CopiedEditorText(const EditorText& editor)
{
    size_t first, last;
    SelectionBounds(editor, &first, &last);
    if (first == last)
        return editor.text;
    return editor.text.substr(first, last - first);
}

EditorText PasteEditorText(const EditorText& editor, const std::string& pasted, size_t limit)
{
    size_t first, last;
    SelectionBounds(editor, &first, &last);
    EditorText result;
    result.text = editor.text.substr(0, first) + pasted + editor.text.substr(last);
    if (result.text.size() > limit)
        result.text.resize(limit);
    result.caret = static_cast<int>(std::min(first + pasted.size(), result.text.size()));
    result.selection = 0;
    return result;
}

}  // namespace playlist
