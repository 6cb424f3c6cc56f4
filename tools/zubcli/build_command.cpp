// zubcli build: what "Build Playlist from Directory Tree" would add, with
// the same walk and filters; the options mirror the dialog's check boxes.
#include "build_walk.h"
#include "eseq_commands.h"
#include "length_probe.h"
#include "playlist_commands.h"

using namespace playlist;

const char kBuildUsage[] =
    "       zubcli build [--json] [--no-doc] [--no-solo] [--no-ensemble] [--no-midi] [--no-karaoke]\n"
    "                    [--no-blank] [--blank-only] [--no-duplicates] [--duplicate-disks]\n"
    "                    [--catalog-lengths] FOLDER\n";

namespace {

struct BuildFlag {
    const char* name;
    bool ScanFilter::*field;
    bool value;
};

// The dialog's check boxes, by the option that changes each from its
// initial state.
const BuildFlag kFlags[] = {
    {"--no-doc", &ScanFilter::docFiles, false},          // "Disk Orchestra (DOC) files"
    {"--no-solo", &ScanFilter::eseqSolo, false},         // "ESEQ Solo (i.e. PianoSoft)"
    {"--no-ensemble", &ScanFilter::eseqEnsemble, false}, // "ESEQ L/R, Ensamble (i.e. PianoSoft Plus)"
    {"--no-midi", &ScanFilter::midiFiles, false},        // "MIDI Files (*.MID, *.RMI)"
    {"--no-karaoke", &ScanFilter::karaokeFiles, false},  // "Karaoke Files (*.KAR)"
    {"--no-blank", &ScanFilter::blankTitles, false},     // "Blank or Empty Titles"
    {"--no-duplicates", &ScanFilter::duplicateSongs, false},  // "Duplicate Songs"
    {"--duplicate-disks", &ScanFilter::duplicateDisks, true}, // "Duplicate Disks"
};

int Usage(std::ostream& err, const std::string& problem)
{
    return OptionError(err, "build: " + problem);
}

std::string JsonList(const std::vector<std::string>& items)
{
    std::string json = "[";
    for (size_t i = 0; i < items.size(); ++i)
        json += (i ? "," : "") + JsonString(items[i]);
    return json + "]";
}

}  // namespace

int RunBuildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false, catalogLengths = false;
    BuildOptions options;
    for (const std::string& a : args) {
        const BuildFlag* flag = nullptr;
        for (const BuildFlag& f : kFlags)
            flag = a == f.name ? &f : flag;
        if (flag) {
            options.filter.*(flag->field) = flag->value;
        } else if (a == "--blank-only") {
            // "Blank or Empty Titles" alone: only songs without a title.
            ScanFilter& f = options.filter;
            f.docFiles = f.eseqSolo = f.eseqEnsemble = f.midiFiles = f.karaokeFiles = false;
            f.blankTitles = true;
        } else if (a == "--json") {
            json = true;
        } else if (a == "--catalog-lengths") {
            catalogLengths = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(err, "unknown option " + a);
        } else if (options.root.empty()) {
            options.root = a;
        } else {
            return Usage(err, "one folder only");
        }
    }
    if (options.root.empty())
        return Usage(err, "no folder");

    HostPlaylistFiles files;
    HostFolderLister lister;
    VectorRowStore rows;
    SequencerLengthProbe probe;
    ReportingEvents events(err);
    PlaylistBuilder builder(rows, files, &probe, &events);
    builder.options.usePianodirLengths = catalogLengths;
    BuildWalk walk(builder, rows, files, lister);
    std::vector<std::string> messages;
    RunBuild(walk, options, [&](const std::string& message) { messages.push_back(message); });

    for (const std::string& skipped : walk.Skipped())
        err << "zubcli: " << skipped << "\n";
    std::string stopped;
    for (const std::string& message : messages) {
        stopped += (stopped.empty() ? "" : "\n") + message;
        std::string line = message;
        for (char& c : line)
            c = c == '\n' ? ' ' : c;
        err << "zubcli: " << line << "\n";
    }
    if (json) {
        out << PlaylistRowsJson("root", options.root, rows,
                                ",\"stopped\":" + (stopped.empty() ? std::string("null") : JsonString(stopped)) +
                                    ",\"skipped\":" + JsonList(walk.Skipped()));
    } else {
        out << PlaylistRowsTable(rows);
    }
    return messages.empty() ? 0 : 2;
}
