// Building a playlist from a directory tree ("Build Playlist from Directory
// Tree"), as a step function. The playlist window posts each returned
// command to itself (WM_COMMAND 101 to 104) and starts its timer 0 for a
// pause, so the player keeps playing and "Stop" ends the walk at once;
// `zubcli build` and the tests simply loop. Songs and disks are added with
// the playlist's one adding routine (PlaylistBuilder), which applies the
// title and duplicate filters while the walk runs.
//
// Which files qualify:
//   ".MID", ".RMI"   "MIDI Files" (also in blank-titles-only mode)
//   ".KAR"           "Karaoke Files"
//   ESEQ songs       by their header: Disk Orchestra songs need "Disk
//                    Orchestra (DOC) files"; the others are told apart by
//                    the header byte at 73, as a catalog tells its songs
//                    apart: zero is a solo song and needs "ESEQ Solo", any
//                    other value an L/R ensemble song and needs "ESEQ L/R,
//                    Ensamble". Each box governs its own kind, as for disks.
//   anything else    never
// A folder holding "Pianodir.fil" or "Music.dir" is a disk: it is added as
// one (when its kind is checked) and never walked into.
//
// Beyond the dialog's own rules: a folder reached again through a link is
// not walked twice; a folder or song whose path would not fit the
// program's 260-character paths is skipped; the walk ends once the
// playlist is full (after the overflow message). Each skip is noted.
#ifndef ZUB_PLAYLIST_BUILD_WALK_H
#define ZUB_PLAYLIST_BUILD_WALK_H

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "batch_walk.h"
#include "playlist_builder.h"

namespace playlist {

// The root and 11 levels below it.
constexpr int kBuildMaxDepth = 12;
// The longest path the program keeps (260 with its terminating zero).
constexpr size_t kMaxPathLength = 259;
// The pause between entries unless Shift was down as OK was pressed.
constexpr uint32_t kBuildPacingMs = 100;

extern const char kBuildTooDeep[];       // "Maximum Sub-directory depth exceeded.\nPlaylist Build Stopped."
extern const char kBuildCannotList[];    // "Invalid file handle encountered.\n\nPlaylist build stopped."

// The folders the walk lists. The window lists with the Windows find
// functions, zubcli and the tests with HostFolderLister or one in memory.
class FolderLister {
public:
    virtual ~FolderLister() = default;
    // Null when the folder cannot be listed.
    virtual std::unique_ptr<eseq::BatchListing> List(const std::string& folder) = 0;
    virtual bool IsFolder(const std::string& path) = 0;
    // The same text for every path that leads to the same folder (links
    // followed); empty when it cannot be told.
    virtual std::string FolderIdentity(const std::string& folder) = 0;
};

// The host's folders, listed in name order (ignoring case) so a run is
// repeatable on every file system.
class HostFolderLister : public FolderLister {
public:
    std::unique_ptr<eseq::BatchListing> List(const std::string& folder) override;
    bool IsFolder(const std::string& path) override;
    std::string FolderIdentity(const std::string& folder) override;
};

enum class BuildCommand {
    Stop = 101,
    EnterFolder = 102,
    ExamineFile = 103,
    NextEntry = 104,
};

struct BuildOptions {
    std::string root;
    ScanFilter filter;
    uint32_t pacingMs = kBuildPacingMs;  // 0: no pause (Shift held down)
};

// What the caller does after a step.
struct BuildStep {
    enum Kind {
        Post,   // post `next`
        Wait,   // start timer 0 with `waitMs`; when it fires, kill it and post `next`
        Ended,  // the walk is over (step 101 ran); nothing to post
    } kind = Ended;
    BuildCommand next = BuildCommand::Stop;
    uint32_t waitMs = 0;
    // Shown first (caption "Error", OK button) when not empty.
    std::string error;
};

// Kinds of files the walk tells apart.
enum class ScanFileKind { Midi, Karaoke, DiskOrchestra, EseqSolo, EseqEnsemble, Other };

// The kind of a file from its name and its first bytes (at least
// eseq::kRecogniseBytes of them for an ESEQ song).
ScanFileKind ScanKindOf(const std::string& name, const uint8_t* head, size_t size);
// The same for a file, whose head is read only when its name does not tell;
// a file that cannot be read is Other.
ScanFileKind ScanKindOfFile(PlaylistFiles& files, const std::string& path);
bool ScanAccepts(const ScanFilter& filter, ScanFileKind kind);

class BuildWalk {
public:
    BuildWalk(PlaylistBuilder& builder, PlaylistRowStore& rows, PlaylistFiles& files, FolderLister& lister);
    ~BuildWalk();

    // Starts a walk; the caller posts EnterFolder. Trailing separators of
    // the root are ignored.
    void Start(const BuildOptions& options);
    // One command. Commands arriving after the walk ended are ignored.
    BuildStep Step(BuildCommand command);

    // `BuildScanActive`.
    bool Running() const { return running_; }
    // -1 when idle; the root is 0.
    int Depth() const { return depth_; }
    // The folder being walked (status part 1 while scanning).
    const std::string& CurrentFolder() const { return folder_; }
    // Added since Start: `PlaylistModified`.
    int SongsAdded() const { return songsAdded_; }
    int DisksAdded() const { return disksAdded_; }
    // Folders and files left out beyond the dialog's filters, with why.
    const std::vector<std::string>& Skipped() const { return skipped_; }

    BuildWalk(const BuildWalk&) = delete;
    BuildWalk& operator=(const BuildWalk&) = delete;

private:
    struct Level {
        std::unique_ptr<eseq::BatchListing> listing;
        std::string folder;
    };

    BuildStep OnStop();
    BuildStep OnEnterFolder();
    BuildStep OnNextEntry();
    BuildStep OnExamineFile();
    BuildStep LeaveFolder();
    bool LoadDisk();
    bool Full() const;
    void Skip(const std::string& path, const std::string& why);
    // Notes a path beyond the program's limit as skipped; true when it is.
    bool SkippedAsTooLong(const std::string& path);

    PlaylistBuilder& builder_;
    PlaylistRowStore& rows_;
    PlaylistFiles& files_;
    FolderLister& lister_;
    BuildOptions options_;
    bool running_ = false;
    bool waitFirst_ = false;
    int depth_ = -1;
    std::vector<Level> levels_;
    std::string folder_;
    std::string entry_;
    std::set<std::string> walked_;  // identities of the folders entered
    int songsAdded_ = 0;
    int disksAdded_ = 0;
    std::vector<std::string> skipped_;
};

// Runs a whole walk without pauses; each message goes to `onError`.
void RunBuild(BuildWalk& walk, const BuildOptions& options, const std::function<void(const std::string&)>& onError);

// Status part 1 while scanning: the folder, shortened while it is wider
// than `maxWidth` to its first and last n characters around "...", n =
// (length - 4 - r) / 2 for r = 0, 1, 2 ...
std::string ShortenToWidth(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& widthOf);

}  // namespace playlist

#endif
