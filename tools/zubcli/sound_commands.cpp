#include "sound_commands.h"

#include "eseq_commands.h"

#ifdef _WIN32
#include <io.h>
#define ZUB_ISATTY _isatty
#else
#include <unistd.h>
#define ZUB_ISATTY isatty
#endif

int OpenPlaySink(const PlayOptions& o, std::ostream& err, std::unique_ptr<MidiSink>* sink)
{
    std::string problem;
    if (!o.port.empty()) {
        *sink = OpenAlsaSink(o.port, &problem);
    } else if (o.synth) {
        const std::string font = ChooseSoundFont(o.soundFont, kSystemSoundFont, &problem);
        std::unique_ptr<SynthSink> synth;
        if (!font.empty())
            synth = OpenSynth(font, &problem);
        if (synth && synth->StartAudio(&problem))
            *sink = std::move(synth);
    } else {
        return 0;
    }
    if (*sink)
        return 0;
    err << "zubcli: " << problem << "\n";
    return 2;
}

int RunPortsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty())
        return OptionError(err, "ports: takes no arguments");
    std::vector<AlsaPort> ports;
    std::string problem;
    if (!ListAlsaPorts(&ports, &problem)) {
        err << "zubcli: " << problem << "\n";
        return 2;
    }
    out << FormatPortList(ports);
    return 0;
}

RenderProgress::RenderProgress(std::ostream& err, const std::string& path, uint64_t totalMs)
    : err_(err), totalMs_(totalMs), terminal_(ZUB_ISATTY(2) != 0)
{
    const size_t slash = path.find_last_of("/\\");
    name_ = slash == std::string::npos ? path : path.substr(slash + 1);
}

void RenderProgress::Update(uint64_t renderedUs)
{
    if (!terminal_)
        return;
    const uint64_t ms = renderedUs / 1000;
    const int percent = totalMs_ == 0 ? 100 : static_cast<int>(std::min<uint64_t>(ms, totalMs_) * 100 / totalMs_);
    if (percent == shown_)
        return;
    shown_ = percent;
    err_ << "\r" << RenderProgressLine(name_, ms, totalMs_) << "\x1b[K" << std::flush;
}

void RenderProgress::End()
{
    if (terminal_ && shown_ >= 0)
        err_ << "\n" << std::flush;
}
