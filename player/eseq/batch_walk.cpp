#include "batch_walk.h"

#include <cctype>
#include <cstdio>
#include <utility>

#include "batch_paths.h"
#include "eseq_format.h"
#include "midi_title.h"
#include "pianodir.h"

namespace eseq {

namespace {

const char kNoSource[] = "No Source Dir specified";
const char kNoTarget[] = "No Target Dir specified";
const char kTooDeep[] = "Maximum Sub-directory depth (10) exceeded.\nConversion Stopped.";
const char kCannotCreate[] = "Can't create directory:\n %s\nA parent directory may not exist.\nConversion Stopped.";
const char kCannotList[] = "Invalid File Handle Encountered.\n\nConversion Stopped.";

constexpr size_t kCatalogReadLimit = 32768;  // 254 records and the disk title fit
constexpr size_t kSongReadLimit = 1 << 20;    // a converted song read for its title

BatchStep PostStep(BatchCommand next)
{
    BatchStep step;
    step.kind = BatchStep::Post;
    step.next = next;
    return step;
}

}  // namespace

BatchWalk::BatchWalk(BatchFileSystem& fs, BatchConverter& converter) : fs_(fs), converter_(converter) {}

BatchWalk::~BatchWalk() = default;

namespace {

// "C:\\T\\Disk" is "C:\\T\\" and "Disk".
std::pair<std::string, std::string> SplitLast(const std::string& path)
{
    std::string name = LastComponent(path);
    return {path.substr(0, path.size() - name.size()), name};
}

// "C:\Songs\" is "C:\Songs"; a drive root or "\" keeps its separator.
std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && IsSeparator(path.back()) && !(path.size() == 3 && path[1] == ':'))
        path.pop_back();
    return path;
}

}  // namespace

std::string BatchWalk::Start(const BatchOptions& given)
{
    if (given.source.empty())
        return kNoSource;
    if (given.target.empty())
        return kNoTarget;
    BatchOptions options = given;
    options.source = WithoutTrailingSeparator(given.source);
    options.target = WithoutTrailingSeparator(given.target);
    options_ = options;
    levels_.clear();
    levels_.resize(kBatchMaxDepth);
    source_ = options.source;
    target_ = options.target;
    base_ = options.target;
    rootTarget_.clear();
    targetInsideSource_ = IsSameOrInside(base_, source_) && !EqualsNoCase(base_, source_);
    depth_ = -1;
    converted_ = 0;
    written_.clear();
    failed_.clear();
    folderSources_.clear();
    fileSources_.clear();
    running_ = true;
    return std::string();
}

BatchStep BatchWalk::Step(BatchCommand command)
{
    if (!running_)
        return BatchStep();
    switch (command) {
    case BatchCommand::Finish:
        return OnFinish();
    case BatchCommand::EnterFolder:
        return OnEnterFolder();
    case BatchCommand::ConvertEntry:
        return OnConvertEntry();
    case BatchCommand::NextEntry:
        return OnNextEntry();
    }
    return BatchStep();
}

BatchStep BatchWalk::Stop(const std::string& error)
{
    BatchStep step = PostStep(BatchCommand::Finish);
    step.error = error;
    return step;
}

BatchStep BatchWalk::OnFinish()
{
    // Target folders this run created and left empty go, also when the run
    // was cancelled or stopped by an error.
    for (int d = depth_ < kBatchMaxDepth ? depth_ : kBatchMaxDepth - 1; d >= 0; --d) {
        levels_[d].listing.reset();
        if (levels_[d].created)
            fs_.RemoveFolder(levels_[d].target);
    }
    levels_.clear();
    running_ = false;
    line_ = SummaryText(converted_);
    return BatchStep();
}

std::vector<uint8_t> BatchWalk::ReadCatalog()
{
    std::vector<uint8_t> catalog;
    if (!fs_.Read(JoinPath(source_, kPianodirName), kCatalogReadLimit, &catalog))
        catalog.clear();
    return catalog;
}

void BatchWalk::ApplyDiskName()
{
    const std::string disk = CleanTitle(PianodirDiskTitle(ReadCatalog()));
    if (!disk.empty())
        target_ = JoinPath(RemoveLastComponent(target_), disk);
    target_ = UniqueFolder(LimitLastComponent(target_, options_.maxDirLength), source_);
}

// Disks of one title, or titles alike in their first characters, would
// share a folder and overwrite each other's songs: a folder already given
// to another source folder in this run is not given again.
std::string BatchWalk::UniqueFolder(const std::string& target, const std::string& source)
{
    const auto [parent, name] = SplitLast(target);
    std::string candidate = target;
    for (int n = 2;; ++n) {
        const auto claimed = folderSources_.find(UpperAscii(candidate));
        if (claimed == folderSources_.end() || EqualsNoCase(claimed->second, source))
            return candidate;
        candidate = parent + WithNumberSuffix(name, n, options_.maxDirLength);
    }
}

// Songs of one title (or one name before the extension) in one folder get
// distinct names; the suffix goes before ".MID".
std::string BatchWalk::UniqueFile(const std::string& target, const std::string& sourceFile)
{
    const auto [folder, file] = SplitLast(target);
    const size_t dot = file.rfind('.');
    const std::string stem = dot == std::string::npos ? file : file.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : file.substr(dot);
    const int limit = options_.songNames ? options_.maxFileLength : 0;
    std::string candidate = target;
    for (int n = 2; fileSources_.count(UpperAscii(candidate)) != 0; ++n)
        candidate = folder + WithNumberSuffix(stem, n, limit) + extension;
    fileSources_[UpperAscii(candidate)] = sourceFile;
    return candidate;
}

BatchStep BatchWalk::OnEnterFolder()
{
    ++depth_;
    if (depth_ >= kBatchMaxDepth)
        return Stop(kTooDeep);
    if (options_.diskNames)
        ApplyDiskName();
    folderSources_[UpperAscii(target_)] = source_;
    Level& level = levels_[depth_];
    level.source = source_;
    level.target = target_;
    level.created = false;
    if (!fs_.FolderExists(target_)) {
        if (!fs_.CreateFolder(target_)) {
            std::vector<char> text(sizeof kCannotCreate + target_.size());
            std::snprintf(text.data(), text.size(), kCannotCreate, target_.c_str());
            return Stop(text.data());
        }
        level.created = true;
    }
    if (depth_ == 0)
        rootTarget_ = target_;
    level.listing = fs_.List(source_);
    if (!level.listing)
        return Stop(kCannotList);
    BatchListing::Entry entry;
    const bool found = level.listing->Next(&entry);
    return Examine(found, entry);
}

BatchStep BatchWalk::OnNextEntry()
{
    if (depth_ < 0 || depth_ >= kBatchMaxDepth || !levels_[depth_].listing)
        return Stop(kCannotList);
    BatchListing::Entry entry;
    const bool found = levels_[depth_].listing->Next(&entry);
    return Examine(found, entry);
}

// Folders where this run writes are never walked: the current target (so
// the target is never converted into itself) and, when the target lies
// inside the source tree, everything below the target.
bool BatchWalk::IsTargetFolder(const std::string& path) const
{
    if (EqualsNoCase(path, target_))
        return true;
    if (!targetInsideSource_)
        return false;
    return IsSameOrInside(path, base_) || (!rootTarget_.empty() && IsSameOrInside(path, rootTarget_));
}

BatchStep BatchWalk::Examine(bool found, const BatchListing::Entry& entry)
{
    if (!found)
        return LeaveFolder();
    if (entry.isFile) {
        entry_ = entry.name;
        return PostStep(BatchCommand::ConvertEntry);
    }
    if (entry.isFolder && !entry.name.empty() && entry.name[0] != '.' && options_.traverse) {
        const std::string source = JoinPath(source_, entry.name);
        if (IsTargetFolder(source))
            return PostStep(BatchCommand::NextEntry);
        source_ = source;
        target_ = JoinPath(options_.createSubdirs ? target_ : base_, entry.name);
        return PostStep(BatchCommand::EnterFolder);
    }
    return PostStep(BatchCommand::NextEntry);
}

// Back to the parent folder, restoring its exact source and target paths.
BatchStep BatchWalk::LeaveFolder()
{
    Level& level = levels_[depth_];
    level.listing.reset();
    if (level.created)
        fs_.RemoveFolder(level.target);  // only an empty folder goes
    level.created = false;
    --depth_;
    if (depth_ < 0)
        return PostStep(BatchCommand::Finish);
    source_ = levels_[depth_].source;
    target_ = levels_[depth_].target;
    return PostStep(BatchCommand::NextEntry);
}

std::string BatchWalk::IndexPrefixed(const std::string& name, const std::string& sourceFile)
{
    const std::vector<uint8_t> catalog = ReadCatalog();
    const int number = PianodirSongNumber(catalog, sourceFile);
    if (number == 0)
        return name;
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, PianodirSongCount(catalog) > 9 ? "%02d" : "%d", number);
    const bool digit = !name.empty() && std::isdigit(static_cast<unsigned char>(name[0]));
    return prefix + std::string(digit ? " " : "") + name;
}

std::string BatchWalk::TargetName(const std::string& sourceFile, const ConvertedSong& song)
{
    std::string name = sourceFile;
    if (options_.songNames) {
        std::vector<uint8_t> image;
        if (!song.inMemory && !fs_.Read(song.path, kSongReadLimit, &image))
            image.clear();
        const std::vector<uint8_t>& bytes = song.inMemory ? song.bytes : image;
        std::string title;
        if (smf::MidiTitleFromImage(bytes.data(), bytes.size(), &title))
            title = CleanTitle(title, true);
        if (!title.empty())
            name = title;
    }
    if (options_.indexPrefix)
        name = IndexPrefixed(name, sourceFile);
    if (options_.songNames && options_.maxFileLength > 0 && name.size() > static_cast<size_t>(options_.maxFileLength)) {
        name.resize(static_cast<size_t>(options_.maxFileLength));
        while (name.size() > 1 && name.back() == ' ')
            name.pop_back();
    }
    return name;
}

BatchStep BatchWalk::OnConvertEntry()
{
    if (pacing_ && waitFirst_) {
        waitFirst_ = false;
        BatchStep step = PostStep(BatchCommand::ConvertEntry);
        step.kind = BatchStep::WaitThen;
        return step;
    }
    waitFirst_ = true;
    const std::string sourceFile = JoinPath(source_, entry_);
    line_ = ShortenForLine(sourceFile);

    std::vector<uint8_t> head;
    if (!fs_.Read(sourceFile, kRecogniseBytes, &head))
        return PostStep(BatchCommand::NextEntry);
    const EseqKind kind = RecogniseImage(head.data(), head.size());
    if (!kind.isEseq || (kind.diskOrchestra && options_.skipDoc))
        return PostStep(BatchCommand::NextEntry);

    ConvertedSong song;
    if (!converter_.Convert(sourceFile, &song))
        return PostStep(BatchCommand::NextEntry);
    const std::string target = UniqueFile(WithMidExtension(JoinPath(target_, TargetName(entry_, song))), sourceFile);
    if (EqualsNoCase(target, sourceFile)) {
        // An ESEQ song named ".MID" converted into its own folder: the song
        // itself is never replaced.
        if (!song.inMemory)
            fs_.Delete(song.path);
        failed_.push_back(target);
        return PostStep(BatchCommand::NextEntry);
    }
    const CopyResult copied = song.inMemory ? fs_.Write(target, song.bytes, options_.overwrite)
                                            : fs_.Copy(song.path, target, options_.overwrite);
    if (!song.inMemory)
        fs_.Delete(song.path);
    if (copied == CopyResult::Failed) {
        failed_.push_back(target);
    } else {
        ++converted_;  // a refused copy counts too: the song was converted
        if (copied == CopyResult::Copied)
            written_.push_back(target);
    }
    return PostStep(BatchCommand::NextEntry);
}

int RunBatch(BatchWalk& walk, const BatchOptions& options, const std::function<void(const std::string&)>& onError)
{
    const std::string problem = walk.Start(options);
    if (!problem.empty()) {
        onError(problem);
        return -1;
    }
    walk.SetPacing(false);
    BatchCommand command = BatchCommand::EnterFolder;
    for (;;) {
        const BatchStep step = walk.Step(command);
        if (!step.error.empty())
            onError(step.error);
        if (step.kind == BatchStep::Ended)
            break;
        command = step.next;
    }
    return walk.Converted();
}

}  // namespace eseq
