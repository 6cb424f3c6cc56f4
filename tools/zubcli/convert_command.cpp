// zubcli convert [--fixup] [-o OUT] ESEQFILE
#include "eseq_commands.h"

#include "batch_paths.h"
#include "eseq_convert.h"
#include "eseq_format.h"
#include "hostfile.h"

const char kConvertUsage[] = "       zubcli convert [--fixup] [-o OUT.MID] ESEQFILE\n";

namespace {

int Usage(std::ostream& err, const std::string& problem)
{
    return OptionError(err, "convert: " + problem);
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    eseq::ConvertOptions options;
    std::string source, target;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--fixup") {
            options.diskFixup = true;
        } else if (a == "-o") {
            if (i + 1 >= args.size())
                return Usage(err, "-o needs a file");
            target = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(err, "unknown option " + a);
        } else if (source.empty()) {
            source = a;
        } else {
            return Usage(err, "one song only");
        }
    }
    if (source.empty())
        return Usage(err, "no song");
    if (target.empty())
        target = eseq::ConvertedPathFor(source, "");

    if (!eseq::RecogniseFile(source.c_str()).isEseq) {
        err << "zubcli: " << source << ": not an ESEQ song\n";
        return 2;
    }
    if (eseq::EqualsNoCase(HostPath(source.c_str()), HostPath(target.c_str()))) {
        err << "zubcli: " << source << ": the converted song would replace the ESEQ song itself\n";
        return 2;
    }
    switch (eseq::ConvertFile(source.c_str(), target.c_str(), options)) {
    case eseq::FileConvertResult::Ok:
        out << source << ": converted to " << target << "\n";
        return 0;
    case eseq::FileConvertResult::Truncated:
        err << "zubcli: Error in file: " << target
            << " (a data byte without running status; the converted song ends there)\n";
        return 2;
    case eseq::FileConvertResult::ReadFailed:
        err << "zubcli: " << source << ": cannot be read\n";
        return 2;
    case eseq::FileConvertResult::WriteFailed:
        break;
    }
    err << "zubcli: " << target << ": cannot be written\n";
    return 2;
}
