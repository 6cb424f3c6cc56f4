// The batch conversion's walk over a source tree, as a step function. The
// caller posts the returned command to itself (the dialog, as WM_COMMAND
// 101 to 104) or simply loops (zubcli), so a long run never blocks the user
// interface and can be cancelled between files. Files and folders are
// reached through BatchFileSystem, songs are converted by a BatchConverter;
// both the dialog and `zubcli batch` share every walking and naming rule here.
#ifndef ZUB_ESEQ_BATCH_WALK_H
#define ZUB_ESEQ_BATCH_WALK_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace eseq {

enum class BatchCommand {
    Finish = 101,
    EnterFolder = 102,
    ConvertEntry = 103,
    NextEntry = 104,
};

constexpr int kBatchMaxDepth = 10;
constexpr int kBatchDefaultNameLength = 64;
// The range the dialog's arrows step the maximum name lengths in; zubcli
// accepts the same. Long enough for any disk or song title, short enough
// that a few nested folders stay within the 260-character path limit.
constexpr int kBatchMinNameLength = 8;
constexpr int kBatchMaxNameLength = 128;

struct BatchOptions {
    std::string source;
    std::string target;
    bool traverse = true;       // "Traverse Sub-directories" (read at Start)
    bool skipDoc = true;        // "Skip DOC files" (read at Start)
    bool createSubdirs = true;  // "Create Sub-directories"
    bool overwrite = true;      // "Overwrite existing files"
    bool indexPrefix = false;   // "Rename files with index prefix to preserve song order"
    bool songNames = false;     // "Rename files using embeded song names"
    bool diskNames = false;     // "Rename target directories using embeded disk names"
    int maxFileLength = kBatchDefaultNameLength;
    int maxDirLength = kBatchDefaultNameLength;
};

class BatchListing {
public:
    virtual ~BatchListing() = default;
    struct Entry {
        std::string name;
        bool isFolder = false;
        bool isFile = false;
    };
    // The next entry; false when there is none.
    virtual bool Next(Entry* entry) = 0;
};

enum class CopyResult { Copied, Exists, Failed };

// BatchFileSystem::Read of the whole file.
constexpr size_t kReadWhole = static_cast<size_t>(-1);

// Program paths (backslash separated) in, the host's files out.
class BatchFileSystem {
public:
    virtual ~BatchFileSystem() = default;
    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;
    // Succeeds only for an empty folder.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // Null when the folder cannot be listed.
    virtual std::unique_ptr<BatchListing> List(const std::string& folder) = 0;
    // At most `maxBytes` from the start of the file (kReadWhole: all of it).
    virtual bool Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) = 0;
    virtual CopyResult Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite) = 0;
    virtual CopyResult Copy(const std::string& from, const std::string& to, bool overwrite) = 0;
    virtual bool Delete(const std::string& path) = 0;
};

// A converted song: its bytes in memory, or a file to copy and delete.
struct ConvertedSong {
    bool inMemory = false;
    std::vector<uint8_t> bytes;
    std::string path;
};

class BatchConverter {
public:
    virtual ~BatchConverter() = default;
    virtual bool Convert(const std::string& source, ConvertedSong* out) = 0;
};

// What the caller does after a step.
struct BatchStep {
    enum Kind {
        Post,      // post `next`
        WaitThen,  // wait 100 ms, then post `next`
        Ended,     // the run is over; nothing to post
    } kind = Ended;
    BatchCommand next = BatchCommand::Finish;
    // Shown first (caption "Error") when not empty.
    std::string error;
};

class BatchWalk {
public:
    BatchWalk(BatchFileSystem& fs, BatchConverter& converter);
    ~BatchWalk();

    // Starts a run; the error text ("No Source Dir specified", ...) when the
    // options cannot start one.
    // Trailing separators of the folders are ignored.
    std::string Start(const BatchOptions& options);
    // One command. Commands arriving after the run ended are ignored.
    BatchStep Step(BatchCommand command);

    // Options read at every step; the dialog refreshes them from its controls.
    BatchOptions& Live() { return options_; }
    // With pacing each file is converted 100 ms after it was found (the
    // dialog); without, at once (zubcli).
    void SetPacing(bool on) { pacing_ = on; }

    bool Running() const { return running_; }
    int Converted() const { return converted_; }
    // The current-file line: the file being converted, or the summary.
    const std::string& Line() const { return line_; }
    // The targets written so far in this run, in order, and those that could
    // not be written (not counted as converted). Every target stands for one
    // song: where renaming would give two songs one file name, or two source
    // folders one target folder, the later one gets a "~2" (or "~3" ...)
    // suffix within the length limits, so nothing is overwritten in a run.
    const std::vector<std::string>& Written() const { return written_; }
    const std::vector<std::string>& Failed() const { return failed_; }

    BatchWalk(const BatchWalk&) = delete;
    BatchWalk& operator=(const BatchWalk&) = delete;

private:
    struct Level {
        std::unique_ptr<BatchListing> listing;
        std::string source;
        std::string target;
        bool created = false;
    };

    BatchStep OnFinish();
    BatchStep OnEnterFolder();
    BatchStep OnNextEntry();
    BatchStep OnConvertEntry();
    BatchStep Examine(bool found, const BatchListing::Entry& entry);
    BatchStep LeaveFolder();
    BatchStep Stop(const std::string& error);
    void ApplyDiskName();
    bool IsTargetFolder(const std::string& path) const;
    std::string TargetName(const std::string& sourceFile, const ConvertedSong& song);
    std::string IndexPrefixed(const std::string& name, const std::string& sourceFile);
    std::string UniqueFolder(const std::string& target, const std::string& source);
    std::string UniqueFile(const std::string& target, const std::string& sourceFile);
    std::vector<uint8_t> ReadCatalog();

    BatchFileSystem& fs_;
    BatchConverter& converter_;
    BatchOptions options_;
    bool running_ = false;
    bool pacing_ = true;
    bool waitFirst_ = true;
    int depth_ = -1;
    std::vector<Level> levels_;
    std::string source_;
    std::string target_;
    std::string base_;
    std::string rootTarget_;
    std::string entry_;
    int converted_ = 0;
    std::string line_;
    std::vector<std::string> written_;
    std::vector<std::string> failed_;
    bool targetInsideSource_ = false;
    // Targets this run has given out (keys in upper case), with the source
    // folder or file each one stands for.
    std::map<std::string, std::string> folderSources_;
    std::map<std::string, std::string> fileSources_;
};

// Runs a whole walk without pacing; each error text goes to `onError`.
// Returns the number of converted files, or -1 when the run cannot start.
int RunBatch(BatchWalk& walk, const BatchOptions& options, const std::function<void(const std::string&)>& onError);

}  // namespace eseq

#endif
