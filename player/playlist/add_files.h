// Adding files the user picked ("&Add..."), dropped on the playlist window
// or pasted from the clipboard, with the playlist's one adding routine.
#ifndef ZUB_PLAYLIST_ADD_FILES_H
#define ZUB_PLAYLIST_ADD_FILES_H

#include <cstddef>
#include <string>
#include <vector>

#include "build_walk.h"
#include "playlist_builder.h"

namespace playlist {

// The "&Add..." dialog's name buffer: 1040 characters.
constexpr size_t kAddBufferChars = 1040;
extern const char kTooManyFiles[];  // "Too many files selected."

// What a multiple-selection open-file dialog returned: one full path, or a
// folder followed by names, each ended by a zero byte, the list by another.
struct SelectedFiles {
    std::string folder;               // LastAddDir becomes this
    std::vector<std::string> names;   // in the order given
};
SelectedFiles SplitSelection(const char* buffer, size_t size);

// Adds the selection as "&Add..." does: one file as it is; several sorted
// by name (plain byte order, a stable sort), each with the folder. Returns
// the number of entries that added rows.
int AddSelectedFiles(PlaylistBuilder& builder, const SelectedFiles& selection);

// Adds dropped or pasted paths in order: a folder is read as one folder
// without walking into it (its "Pianodir.fil", else its "Music.dir", else
// every ".MID", ".RMI" and ".KAR" file and ESEQ song in it, in listing
// order); a file is added as it is. Returns the number of entries that
// added rows.
int AddDroppedPaths(PlaylistBuilder& builder, PlaylistFiles& files, FolderLister& lister,
                    const std::vector<std::string>& paths);

}  // namespace playlist

#endif
