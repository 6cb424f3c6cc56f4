#include "build_walk.h"

#include <filesystem>
#include <system_error>

#include "batch_host.h"
#include "eseq_format.h"
#include "hostfile.h"
#include "song_paths.h"

namespace playlist {

const char kBuildTooDeep[] = "Maximum Sub-directory depth exceeded.\nPlaylist Build Stopped.";
const char kBuildCannotList[] = "Invalid file handle encountered.\n\nPlaylist build stopped.";

namespace {

BuildStep PostStep(BuildCommand next)
{
    BuildStep step;
    step.kind = BuildStep::Post;
    step.next = next;
    return step;
}

BuildStep StopWith(const std::string& error)
{
    BuildStep step = PostStep(BuildCommand::Stop);
    step.error = error;
    return step;
}

}  // namespace

// ---- kinds ---------------------------------------------------------------------

ScanFileKind ScanKindOf(const std::string& name, const uint8_t* head, size_t size)
{
    const std::string ext = ExtensionOf(name);
    if (SameTextNoCase(ext, "MID") || SameTextNoCase(ext, "RMI"))
        return ScanFileKind::Midi;
    if (SameTextNoCase(ext, "KAR"))
        return ScanFileKind::Karaoke;
    const eseq::EseqKind eseq = eseq::RecogniseImage(head, size);
    if (!eseq.isEseq)
        return ScanFileKind::Other;
    if (eseq.diskOrchestra)
        return ScanFileKind::DiskOrchestra;
    return eseq.kindByteZero ? ScanFileKind::EseqSolo : ScanFileKind::EseqEnsemble;
}

ScanFileKind ScanKindOfFile(PlaylistFiles& files, const std::string& path)
{
    const std::string name = LastPathComponent(path);
    const ScanFileKind byName = ScanKindOf(name, nullptr, 0);
    std::vector<uint8_t> head;
    if (byName != ScanFileKind::Other || files.Read(path, eseq::kRecogniseBytes, &head) != FileResult::Ok)
        return byName;
    return ScanKindOf(name, head.data(), head.size());
}

bool ScanAccepts(const ScanFilter& filter, ScanFileKind kind)
{
    switch (kind) {
    case ScanFileKind::Midi:
        return filter.midiFiles || filter.BlankTitlesOnly();
    case ScanFileKind::Karaoke:
        return filter.karaokeFiles;
    case ScanFileKind::DiskOrchestra:
        return filter.docFiles;
    case ScanFileKind::EseqSolo:
        return filter.eseqSolo;
    case ScanFileKind::EseqEnsemble:
        return filter.eseqEnsemble;
    case ScanFileKind::Other:
        break;
    }
    return false;
}

// ---- the host's folders -----------------------------------------------------------

std::unique_ptr<eseq::BatchListing> HostFolderLister::List(const std::string& folder)
{
    eseq::HostBatchFileSystem fs;
    return fs.List(folder);
}

bool HostFolderLister::IsFolder(const std::string& path)
{
    eseq::HostBatchFileSystem fs;
    return fs.FolderExists(path);
}

std::string HostFolderLister::FolderIdentity(const std::string& folder)
{
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(HostPath(folder.c_str()), ec);
    return ec ? std::string() : real.string();
}

// ---- the walk --------------------------------------------------------------------

BuildWalk::BuildWalk(PlaylistBuilder& builder, PlaylistRowStore& rows, PlaylistFiles& files, FolderLister& lister)
    : builder_(builder), rows_(rows), files_(files), lister_(lister)
{
}

BuildWalk::~BuildWalk()
{
    if (running_)
        OnStop();
}

void BuildWalk::Start(const BuildOptions& options)
{
    if (running_)
        OnStop();
    options_ = options;
    options_.root = TrimFolderPath(options.root);
    levels_.clear();
    levels_.resize(kBuildMaxDepth);
    walked_.clear();
    skipped_.clear();
    folder_ = options_.root;
    depth_ = -1;
    waitFirst_ = false;
    songsAdded_ = 0;
    disksAdded_ = 0;
    running_ = true;
    builder_.options.scan = &options_.filter;
    const std::string identity = lister_.FolderIdentity(folder_);
    if (!identity.empty())
        walked_.insert(identity);
}

BuildStep BuildWalk::Step(BuildCommand command)
{
    if (!running_)
        return BuildStep();
    switch (command) {
    case BuildCommand::Stop:
        return OnStop();
    case BuildCommand::EnterFolder:
        return OnEnterFolder();
    case BuildCommand::ExamineFile:
        return OnExamineFile();
    case BuildCommand::NextEntry:
        return OnNextEntry();
    }
    return BuildStep();
}

// The end of the walk, a failure or the "Stop" button: every listing still
// open is closed.
BuildStep BuildWalk::OnStop()
{
    levels_.clear();
    depth_ = -1;
    running_ = false;
    builder_.options.scan = nullptr;
    return BuildStep();
}

bool BuildWalk::Full() const
{
    return rows_.Count() >= kMaxRows;
}

void BuildWalk::Skip(const std::string& path, const std::string& why)
{
    skipped_.push_back(path + ": " + why);
}

bool BuildWalk::SkippedAsTooLong(const std::string& path)
{
    if (path.size() <= kMaxPathLength)
        return false;
    Skip(path, "skipped, the path is longer than " + std::to_string(kMaxPathLength) + " characters");
    return true;
}

// A catalog makes the folder a disk; true when the folder holds one.
bool BuildWalk::LoadDisk()
{
    const std::string catalog = CatalogInFolder(files_, folder_);
    if (catalog.empty())
        return false;
    const ScanFilter& filter = options_.filter;
    const bool wanted = CatalogKindOf(catalog) == CatalogKind::Pianodir ? filter.eseqSolo || filter.eseqEnsemble
                                                                         : filter.docFiles;
    if (wanted && builder_.LoadCatalogDisk(catalog) != 0)
        ++disksAdded_;
    return true;
}

BuildStep BuildWalk::OnEnterFolder()
{
    if (depth_ == kBuildMaxDepth - 1)
        return StopWith(kBuildTooDeep);
    if (Full())
        return PostStep(BuildCommand::Stop);
    ++depth_;
    Level& level = levels_[depth_];
    level.folder = folder_;
    if (LoadDisk())
        return Full() ? PostStep(BuildCommand::Stop) : LeaveFolder();
    level.listing = lister_.List(folder_);
    if (!level.listing)
        return StopWith(kBuildCannotList);
    return PostStep(BuildCommand::NextEntry);
}

BuildStep BuildWalk::LeaveFolder()
{
    levels_[depth_].listing.reset();
    --depth_;
    if (depth_ < 0)
        return PostStep(BuildCommand::Stop);
    folder_ = levels_[depth_].folder;
    return PostStep(BuildCommand::NextEntry);
}

BuildStep BuildWalk::OnNextEntry()
{
    if (depth_ < 0 || !levels_[depth_].listing)
        return StopWith(kBuildCannotList);
    if (waitFirst_ && options_.pacingMs != 0) {
        waitFirst_ = false;
        BuildStep step = PostStep(BuildCommand::NextEntry);
        step.kind = BuildStep::Wait;
        step.waitMs = options_.pacingMs;
        return step;
    }
    waitFirst_ = true;
    eseq::BatchListing::Entry entry;
    if (!levels_[depth_].listing->Next(&entry))
        return LeaveFolder();
    const std::string path = JoinSongPath(folder_, entry.name);
    if (entry.isFolder) {
        if (entry.name.empty() || entry.name[0] == '.')
            return PostStep(BuildCommand::NextEntry);
        if (SkippedAsTooLong(path))
            return PostStep(BuildCommand::NextEntry);
        const std::string identity = lister_.FolderIdentity(path);
        if (!identity.empty() && !walked_.insert(identity).second) {
            Skip(path, "skipped, it leads to a folder walked already");
            return PostStep(BuildCommand::NextEntry);
        }
        folder_ = path;
        return PostStep(BuildCommand::EnterFolder);
    }
    if (!entry.isFile)
        return PostStep(BuildCommand::NextEntry);
    entry_ = entry.name;
    return PostStep(BuildCommand::ExamineFile);
}

BuildStep BuildWalk::OnExamineFile()
{
    if (Full())
        return PostStep(BuildCommand::Stop);
    const std::string path = JoinSongPath(folder_, entry_);
    if (SkippedAsTooLong(path))
        return PostStep(BuildCommand::NextEntry);
    if (ScanAccepts(options_.filter, ScanKindOfFile(files_, path)) && builder_.AddEntry(folder_, entry_) != 0)
        ++songsAdded_;
    return PostStep(Full() ? BuildCommand::Stop : BuildCommand::NextEntry);
}

void RunBuild(BuildWalk& walk, const BuildOptions& options, const std::function<void(const std::string&)>& onError)
{
    BuildOptions unpaced = options;
    unpaced.pacingMs = 0;
    walk.Start(unpaced);
    BuildCommand command = BuildCommand::EnterFolder;
    for (;;) {
        const BuildStep step = walk.Step(command);
        if (!step.error.empty())
            onError(step.error);
        if (step.kind == BuildStep::Ended)
            break;
        command = step.next;
    }
}

// ---- the status text ----------------------------------------------------------------

std::string ShortenToWidth(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& widthOf)
{
    std::string shown = text;
    const size_t length = text.size();
    for (size_t r = 0; widthOf(shown) > maxWidth && length >= 4 + r; ++r) {
        const size_t n = (length - 4 - r) / 2;
        shown = text.substr(0, n) + "..." + text.substr(length - n);
    }
    return shown;
}

}  // namespace playlist
