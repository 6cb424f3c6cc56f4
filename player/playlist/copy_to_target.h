// "Copy Song to A:" and "Copy Disk/Dir to A:": every question and message,
// the erase, the retry after a full disk or a failed write. The target is a
// floppy::CopyTarget (a drive, a folder, or a floppy image: the setting
// chooses), the questions go to CopyPrompter (message boxes on Windows, a
// script in tests).
//
// The texts name the target: "A:" gives the texts exactly as users know
// them ("Please insert a disk in drive A:"); another drive letter takes its
// place ("drive E:"); an image or folder is named by its name.
#ifndef ZUB_PLAYLIST_COPY_TO_TARGET_H
#define ZUB_PLAYLIST_COPY_TO_TARGET_H

#include <string>

#include "build_walk.h"
#include "copy_target.h"
#include "playlist_files.h"
#include "row_store.h"

namespace playlist {

enum class CopyAnswer { Ok, Cancel, Yes, No, Retry };

// The questions, each with the buttons and icon a message box shows.
enum class CopyQuestion {
    InsertDisk,   // the command's caption, information icon, OK/Cancel
    NotBlank,     // the command's caption, Yes/No/Cancel
    DiskFull,     // the command's caption, OK/Cancel
    WriteFailed,  // "Error", error icon, Retry/Cancel
};

class CopyPrompter {
public:
    virtual ~CopyPrompter() = default;
    virtual CopyAnswer Ask(CopyQuestion question, const std::string& caption, const std::string& text) = 0;
    // "Error" caption, error icon, OK.
    virtual void Error(const std::string& text) = 0;
    // The wait cursor while files are erased or copied.
    virtual void Busy(bool busy) { (void)busy; }
};

// The texts for a target's name.
struct CopyTexts {
    std::string copySongFailed;  // "Could not copy file to A:"
    std::string insertDisk;      // "Please insert a disk in drive A:"
    std::string notBlank;        // "The disk in drive A is not blank! Erase contents before copying?"
    std::string diskFull;        // "The disk in drive A: is full. Replace and continue?"
    std::string writeFailed;     // "Could not write to A:"
    std::string eraseFailed;     // "Could not erase A:"
};
CopyTexts CopyTextsFor(const std::string& targetName);

extern const char kCannotListSource[];  // "Could not parse source dir"

// How a copy ended.
enum class CopyOutcome { Copied, Cancelled, Failed };

// Copies the song of row `index` (its ColPath, under its ColName).
CopyOutcome CopySongToTarget(const PlaylistRowStore& rows, int index, PlaylistFiles& files,
                             floppy::CopyTarget& target, CopyPrompter& prompter);

// Copies every file of the folder or disk of row `index` (a song row stands
// for its folder row): a disk's catalog folder with the catalog, or a
// directory folder's files; sub-folders are not copied. A folder inside a
// floppy image is listed through the image, any other by `lister`. A
// target that reports a Problem() (a damaged image) is not written, and the
// messages carry that reason.
CopyOutcome CopyFolderToTarget(const PlaylistRowStore& rows, int index, PlaylistFiles& files,
                               FolderLister& lister, floppy::CopyTarget& target, CopyPrompter& prompter);

// "Copy Disk" for a catalog disk row, "Copy Dir" for a directory folder.
std::string CopyCaption(const PlaylistRow& folderRow);
// The folder whose files "Copy Disk/Dir" copies.
std::string CopySourceFolder(const PlaylistRow& folderRow);

}  // namespace playlist

#endif
