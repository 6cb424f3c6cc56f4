#include "add_files.h"

#include <algorithm>

#include "song_paths.h"

namespace playlist {

const char kTooManyFiles[] = "Too many files selected.";

SelectedFiles SplitSelection(const char* buffer, size_t size)
{
    std::vector<std::string> parts;
    size_t at = 0;
    while (at < size && buffer[at] != '\0') {
        size_t end = at;
        while (end < size && buffer[end] != '\0')
            ++end;
        parts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    SelectedFiles selection;
    if (parts.size() == 1) {
        std::string name;
        SplitSongPath(parts[0], &selection.folder, &name);
        selection.names.push_back(name);
    } else if (parts.size() > 1) {
        selection.folder = parts[0];
        selection.names.assign(parts.begin() + 1, parts.end());
    }
    return selection;
}

int AddSelectedFiles(PlaylistBuilder& builder, const SelectedFiles& selection)
{
    std::vector<std::string> names = selection.names;
    std::stable_sort(names.begin(), names.end());  // std::string compares bytes as unsigned
    int added = 0;
    for (const std::string& name : names)
        added += builder.AddEntry(selection.folder, name) != 0 ? 1 : 0;
    return added;
}

namespace {

int AddFolder(PlaylistBuilder& builder, PlaylistFiles& files, FolderLister& lister, const std::string& folder)
{
    const std::string catalog = CatalogInFolder(files, folder);
    if (!catalog.empty())
        return builder.LoadCatalogDisk(catalog) != 0 ? 1 : 0;
    std::unique_ptr<eseq::BatchListing> listing = lister.List(folder);
    if (!listing)
        return 0;
    int added = 0;
    eseq::BatchListing::Entry entry;
    while (listing->Next(&entry)) {
        if (entry.isFile && ScanKindOfFile(files, JoinSongPath(folder, entry.name)) != ScanFileKind::Other)
            added += builder.AddEntry(folder, entry.name) != 0 ? 1 : 0;
    }
    return added;
}

}  // namespace

int AddDroppedPaths(PlaylistBuilder& builder, PlaylistFiles& files, FolderLister& lister,
                    const std::vector<std::string>& paths)
{
    int added = 0;
    for (const std::string& given : paths) {
        const std::string path = TrimFolderPath(given);
        if (lister.IsFolder(path)) {
            added += AddFolder(builder, files, lister, path);
            continue;
        }
        std::string folder, name;
        SplitSongPath(path, &folder, &name);
        added += builder.AddEntry(folder, name) != 0 ? 1 : 0;
    }
    return added;
}

}  // namespace playlist
