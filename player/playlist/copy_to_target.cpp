// The copy commands to a floppy target, as one sequence of questions.
#include "copy_to_target.h"

#include <cctype>
#include <vector>

#include "image_paths.h"
#include "song_paths.h"

namespace playlist {

const char kCannotListSource[] = "Could not parse source dir";

namespace {

bool IsDriveName(const std::string& name)
{
    return name.size() == 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

// A message with the reason the target gave for being unwritable (a damaged
// image) below it, so the user learns more than that the write failed.
std::string WithProblem(const std::string& text, const floppy::CopyTarget& target)
{
    const std::string problem = target.Problem();
    return problem.empty() ? text : text + "\n" + target.Name() + ": " + problem;
}

// Writes one file, asking again after a full disk or a failure until it is
// written or the user cancels.
bool WriteWithRetry(floppy::CopyTarget& target, CopyPrompter& prompter, const CopyTexts& texts,
                    const std::string& caption, PlaylistFiles& files, const std::string& source,
                    const std::string& name)
{
    for (;;) {
        std::vector<uint8_t> bytes;
        floppy::TargetWrite result = floppy::TargetWrite::Failed;
        if (files.Read(source, kReadWhole, &bytes) == FileResult::Ok)
            result = target.WriteFile(name, bytes);
        if (result == floppy::TargetWrite::Written)
            return true;
        if (!target.Problem().empty()) {
            prompter.Error(WithProblem(texts.writeFailed, target));  // retrying cannot help
            return false;
        }
        if (result == floppy::TargetWrite::DiskFull) {
            if (prompter.Ask(CopyQuestion::DiskFull, caption, texts.diskFull) != CopyAnswer::Ok)
                return false;
            target.ReplaceDisk();
        } else if (prompter.Ask(CopyQuestion::WriteFailed, "Error", texts.writeFailed) != CopyAnswer::Retry) {
            return false;
        }
    }
}

// The wait cursor for as long as the object lives.
struct BusyScope {
    explicit BusyScope(CopyPrompter& p) : prompter(p) { prompter.Busy(true); }
    ~BusyScope() { prompter.Busy(false); }
    CopyPrompter& prompter;
};

void Erase(floppy::CopyTarget& target, CopyPrompter& prompter, const CopyTexts& texts)
{
    bool erased;
    {
        BusyScope busy(prompter);
        erased = target.Erase();
    }
    if (!erased)
        prompter.Error(WithProblem(texts.eraseFailed, target));
}

}  // namespace

CopyTexts CopyTextsFor(const std::string& targetName)
{
    CopyTexts t;
    if (IsDriveName(targetName)) {
        const std::string drive = targetName;                 // "A:"
        const std::string letter = targetName.substr(0, 1);  // "A"
        t.copySongFailed = "Could not copy file to " + drive;
        t.insertDisk = "Please insert a disk in drive " + drive;
        t.notBlank = "The disk in drive " + letter + " is not blank! Erase contents before copying?";
        t.diskFull = "The disk in drive " + drive + " is full. Replace and continue?";
        t.writeFailed = "Could not write to " + drive;
        t.eraseFailed = "Could not erase " + drive;
    } else {
        t.copySongFailed = "Could not copy file to " + targetName;
        t.insertDisk = "Please make " + targetName + " available";
        t.notBlank = targetName + " is not blank! Erase contents before copying?";
        t.diskFull = targetName + " is full. Replace and continue?";
        t.writeFailed = "Could not write to " + targetName;
        t.eraseFailed = "Could not erase " + targetName;
    }
    return t;
}

std::string CopyCaption(const PlaylistRow& folderRow)
{
    return folderRow.icon == kIconFolder ? "Copy Dir" : "Copy Disk";
}

std::string CopySourceFolder(const PlaylistRow& folderRow)
{
    if (folderRow.icon == kIconFolder)
        return folderRow.Path();
    std::string dir, name;
    SplitSongPath(folderRow.Path(), &dir, &name);
    return dir;
}

CopyOutcome CopySongToTarget(const PlaylistRowStore& rows, int index, PlaylistFiles& files,
                             floppy::CopyTarget& target, CopyPrompter& prompter)
{
    if (index < 0 || index >= rows.Count())
        return CopyOutcome::Cancelled;
    const PlaylistRow row = rows.Read(index);
    if (row.IsFolder())
        return CopyOutcome::Cancelled;
    const CopyTexts texts = CopyTextsFor(target.Name());
    // A catalog song's name may be its title; the file keeps its own name.
    std::string name = LastPathComponent(row.Path());
    if (name.empty())
        name = row.Name();
    std::vector<uint8_t> bytes;
    bool copied = false;
    {
        BusyScope busy(prompter);
        copied = files.Read(row.Path(), kReadWhole, &bytes) == FileResult::Ok &&
                 target.WriteFile(name, bytes) == floppy::TargetWrite::Written;
        copied = target.Commit() && copied;
    }
    if (copied)
        return CopyOutcome::Copied;
    prompter.Error(WithProblem(texts.copySongFailed, target));
    return CopyOutcome::Failed;
}

CopyOutcome CopyFolderToTarget(const PlaylistRowStore& rows, int index, PlaylistFiles& files,
                               FolderLister& lister, floppy::CopyTarget& target, CopyPrompter& prompter)
{
    if (index < 0 || index >= rows.Count())
        return CopyOutcome::Cancelled;
    PlaylistRow row = rows.Read(index);
    if (!row.IsFolder()) {
        const int folder = rows.FolderOf(index);
        if (folder < 0)
            return CopyOutcome::Cancelled;
        row = rows.Read(folder);
    }
    const std::string caption = CopyCaption(row);
    const CopyTexts texts = CopyTextsFor(target.Name());

    while (!target.IsPresent()) {
        if (prompter.Ask(CopyQuestion::InsertDisk, caption, texts.insertDisk) != CopyAnswer::Ok)
            return CopyOutcome::Cancelled;
    }
    if (!target.Problem().empty()) {
        prompter.Error(WithProblem(texts.writeFailed, target));
        return CopyOutcome::Failed;
    }
    if (!target.IsBlank()) {
        const CopyAnswer answer = prompter.Ask(CopyQuestion::NotBlank, caption, texts.notBlank);
        if (answer == CopyAnswer::Cancel)
            return CopyOutcome::Cancelled;
        if (answer == CopyAnswer::Yes)
            Erase(target, prompter, texts);
    }

    const std::string folder = CopySourceFolder(row);
    // A disk inside an image is listed through the image; the lister knows
    // only the host's folders.
    std::unique_ptr<eseq::BatchListing> listing;
    if (!floppy::ListThroughImage(folder, &listing))
        listing = lister.List(folder);
    if (!listing) {
        target.Commit();  // an erase stays done
        prompter.Error(kCannotListSource);
        return CopyOutcome::Failed;
    }
    std::vector<std::string> names;
    eseq::BatchListing::Entry entry;
    while (listing->Next(&entry)) {
        if (!entry.isFolder)
            names.push_back(entry.name);
    }
    listing.reset();

    CopyOutcome outcome = CopyOutcome::Copied;
    for (const std::string& name : names) {
        BusyScope busy(prompter);
        if (!WriteWithRetry(target, prompter, texts, caption, files, JoinSongPath(folder, name), name)) {
            outcome = CopyOutcome::Cancelled;
            break;
        }
    }
    // What was copied stays, also after a cancel.
    if (!target.Commit()) {
        prompter.Error(WithProblem(texts.writeFailed, target));
        return CopyOutcome::Failed;
    }
    return outcome;
}

}  // namespace playlist
