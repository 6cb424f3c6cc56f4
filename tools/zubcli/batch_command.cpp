// zubcli batch [options] SOURCE TARGET: the Batch Convert dialog's walk with
// the internal converter.
#include "eseq_commands.h"

#include <cstdlib>

#include "batch_host.h"
#include "batch_walk.h"
#include "hostfile.h"
#include "image_paths.h"

const char kBatchUsage[] =
    "       zubcli batch [--no-traverse] [--no-subdirs] [--keep-doc] [--no-overwrite]\n"
    "                    [--index-prefix] [--song-names] [--disk-names] [--max-file N]\n"
    "                    [--max-dir N] [--fixup] [--list] SOURCE TARGET  (SOURCE: a folder or an image)\n";

namespace {

int Usage(std::ostream& err, const std::string& problem)
{
    return OptionError(err, "batch: " + problem);
}

// Slashes become backslashes, so the walk's path rules apply as on Windows.
std::string ProgramPath(std::string path)
{
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

bool ParseLength(const std::string& text, int* value)
{
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || v < eseq::kBatchMinNameLength || v > eseq::kBatchMaxNameLength)
        return false;
    *value = static_cast<int>(v);
    return true;
}

// One line per message (the dialog's span several), with host paths.
std::string OneLine(std::string text)
{
    text = HostPath(text.c_str());
    for (size_t at; (at = text.find('\n')) != std::string::npos;)
        text.replace(at, 1, at + 1 < text.size() && text[at + 1] == '\n' ? "" : " ");
    return text;
}

struct BatchArgs {
    eseq::BatchOptions options;
    eseq::ConvertOptions convert;
    bool list = false;
};

int Parse(const std::vector<std::string>& args, std::ostream& err, BatchArgs* b)
{
    std::vector<std::string> paths;
    eseq::BatchOptions& o = b->options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--max-file" || a == "--max-dir") {
            if (i + 1 >= args.size() || !ParseLength(args[i + 1], a == "--max-file" ? &o.maxFileLength : &o.maxDirLength))
                return Usage(err, a + " expects " + std::to_string(eseq::kBatchMinNameLength) + " to " +
                                      std::to_string(eseq::kBatchMaxNameLength));
            ++i;
        } else if (a == "--no-traverse") {
            o.traverse = false;
        } else if (a == "--no-subdirs") {
            o.createSubdirs = false;
        } else if (a == "--keep-doc") {
            o.skipDoc = false;
        } else if (a == "--no-overwrite") {
            o.overwrite = false;
        } else if (a == "--index-prefix") {
            o.indexPrefix = true;
        } else if (a == "--song-names") {
            o.songNames = true;
        } else if (a == "--disk-names") {
            o.diskNames = true;
        } else if (a == "--fixup") {
            b->convert.diskFixup = true;
        } else if (a == "--list") {
            b->list = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(err, "unknown option " + a);
        } else {
            paths.push_back(a);
        }
    }
    if (paths.size() != 2)
        return Usage(err, "expected SOURCE and TARGET folders");
    o.source = ProgramPath(paths[0]);
    o.target = ProgramPath(paths[1]);
    return 0;
}

}  // namespace

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    BatchArgs b;
    if (int status = Parse(args, err, &b))
        return status;
    // SOURCE may be a floppy image, read as the disk's folder.
    eseq::HostBatchFileSystem host;
    floppy::ImageAwareFileSystem fs(host);
    // Said plainly here; the walk itself would only find it cannot list it.
    if (!fs.FolderExists(b.options.source)) {
        err << "zubcli: " << HostPath(b.options.source.c_str()) << ": no such folder\n";
        return 2;
    }
    int truncated = 0;
    eseq::InternalBatchConverter converter(fs, b.convert, "", [&err, &truncated](const std::string& path) {
        err << "zubcli: Error in file: " << HostPath(path.c_str()) << " (the converted song ends early)\n";
        ++truncated;
    });
    eseq::BatchWalk walk(fs, converter);
    bool stopped = false;
    const int converted = eseq::RunBatch(walk, b.options, [&err, &stopped](const std::string& text) {
        err << "zubcli: " << OneLine(text) << "\n";
        stopped = true;
    });
    for (const std::string& problem : fs.Problems()) {
        err << "zubcli: " << HostPath(problem.c_str()) << "\n";
        stopped = true;
    }
    if (converted < 0)
        return 2;
    for (const std::string& failed : walk.Failed())
        err << "zubcli: " << HostPath(failed.c_str()) << ": cannot be written\n";
    if (b.list) {
        for (const std::string& written : walk.Written())
            out << HostPath(written.c_str()) << "\n";
    }
    out << walk.Line() << "\n";
    return stopped || truncated > 0 || !walk.Failed().empty() ? 2 : 0;
}
