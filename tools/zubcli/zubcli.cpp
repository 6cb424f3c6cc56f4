// zubcli command line: argument parsing, info, events and play.
#include "zubcli.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "eseq_commands.h"
#include "eseq_convert.h"
#include "eseq_format.h"
#include "hostfile.h"
#include "image_commands.h"
#include "midisink.h"
#include "playlist_commands.h"
#include "practice_commands.h"
#include "sequencer.h"
#include "smfreader.h"
#include "softmidistream.h"
#include "sound_commands.h"
#include "streamclock.h"
#include "voice_map.h"
#include "zub_version.h"

namespace {

const char kUsage[] =
    "usage: zubcli info [--json] FILE\n"
    "       zubcli events FILE\n"
    "       zubcli play [--port CLIENT:PORT | --synth [--soundfont SF2] | --fast]\n"
    "                   [--capture OUT.MID] [CONTROLS] [PRACTICE] [--device N] FILE\n"
    "       zubcli render [--soundfont SF2] -o OUT.WAV [--capture OUT.MID] [CONTROLS] [PRACTICE] FILE\n"
    "       zubcli lyrics FILE\n"
    "       zubcli ports\n"
    "CONTROLS: [--velocity-base N] [--volume V] [--lamps L1[,L2]|auto]\n"
    "          [--transpose SEMITONES] [--tempo PERCENT] [--track-volume N] [--map FILE.MAP]\n";
const char kUsageEnd[] =
    "       zubcli --help | --version\n"
    "FILE may be a Standard MIDI File or an ESEQ song (converted in memory).\n";

void PrintUsage(std::ostream& to)
{
    to << kUsage << kPracticeUsage << kConvertUsage << kBatchUsage << kPlaylistUsage << kImageUsage << kBuildUsage << kUsageEnd;
}

class Cli {
public:
    Cli(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    int Usage(const std::string& problem) { return OptionError(err_, problem); }

    // A sound output that is missing or refuses: its message and status 2.
    int Problem(const std::string& text)
    {
        err_ << "zubcli: " << text << "\n";
        return 2;
    }

    int FileError(const std::string& path, const std::string& text)
    {
        err_ << "zubcli: " << path << ": " << text << "\n";
        return 2;
    }

    std::ostream& out_;
    std::ostream& err_;
};

bool ParseNumber(const char* text, long low, long high, long* value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high)
        return false;
    *value = v;
    return true;
}

// "auto", "3" or "3,7".
bool ParseLamps(const char* text, uint8_t* l1, uint8_t* l2)
{
    if (std::strcmp(text, "auto") == 0) {
        *l1 = kLampsAuto;
        *l2 = 0;
        return true;
    }
    std::string first = text, second;
    const size_t comma = first.find(',');
    if (comma != std::string::npos) {
        second = first.substr(comma + 1);
        first.resize(comma);
    }
    long a = 0, b = 0;
    if (!ParseNumber(first.c_str(), 1, 16, &a) || (!second.empty() && !ParseNumber(second.c_str(), 1, 16, &b)) ||
        (comma != std::string::npos && second.empty()))
        return false;
    if (b != 0 && b < a)
        std::swap(a, b);
    if (b == a)
        b = 0;
    *l1 = static_cast<uint8_t>(a);
    *l2 = static_cast<uint8_t>(b);
    return true;
}

// A song as the player opens it: a Standard MIDI File, or an ESEQ song
// converted in memory (without the disk fixup). A file that is neither keeps
// the reader's own complaint.
struct Song {
    std::vector<uint8_t> converted;  // empty for a Standard MIDI File
};

int OpenSong(Cli& cli, const std::string& path, std::unique_ptr<SmfReader>* reader, Song* song = nullptr)
{
    SmfResult result = SmfReader::Open(path.c_str(), reader);
    if (result == SmfResult::InvalidFile && eseq::RecogniseFile(path.c_str()).isEseq) {
        std::vector<uint8_t> image, midi;
        if (ReadFileImage(path.c_str(), &image) != FileResult::Ok)
            return cli.FileError(path, "open failed");
        if (eseq::ConvertImage(image.data(), image.size(), eseq::ConvertOptions(), &midi) !=
            eseq::ConvertResult::Ok)
            return cli.FileError(path, "invalid ESEQ song (a data byte without running status)");
        result = SmfReader::OpenImage(midi.data(), midi.size(), reader);
        if (song)
            song->converted = std::move(midi);
    }
    if (result != SmfResult::Ok)
        return cli.FileError(path, SmfResultText(result));
    return 0;
}

int RunInfo(Cli& cli, const std::vector<std::string>& args)
{
    bool json = false;
    std::string path;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (a.size() > 1 && a[0] == '-')
            return cli.Usage("info: unknown option " + a);
        else if (path.empty())
            path = a;
        else
            return cli.Usage("info: one file only");
    }
    if (path.empty())
        return cli.Usage("info: no file");
    std::unique_ptr<SmfReader> reader;
    if (int status = OpenSong(cli, path, &reader))
        return status;
    cli.out_ << (json ? SongInfoJson(*reader) : SongInfoTable(*reader));
    return 0;
}

// A command of one song and no options: the song opened, or the status.
int OpenOnlySong(Cli& cli, const std::vector<std::string>& args, const char* command,
                 std::unique_ptr<SmfReader>* reader)
{
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-'))
        return cli.Usage(std::string(command) + ": expected one file");
    return OpenSong(cli, args[0], reader);
}

int RunLyrics(Cli& cli, const std::vector<std::string>& args)
{
    std::unique_ptr<SmfReader> reader;
    if (int status = OpenOnlySong(cli, args, "lyrics", &reader))
        return status;
    const SmfResult result = PrintLyrics(*reader, cli.out_);
    if (result != SmfResult::Ok)
        return cli.FileError(args[0], SmfResultText(result));
    return 0;
}

int RunEvents(Cli& cli, const std::vector<std::string>& args)
{
    std::unique_ptr<SmfReader> reader;
    if (int status = OpenOnlySong(cli, args, "events", &reader))
        return status;
    SmfEvent event;
    SmfResult result;
    std::string block;
    while ((result = reader->NextEvent(kSmfNoLimit, true, &event)) == SmfResult::Ok) {
        block += EventLine(event);
        if (block.size() > 65536) {
            cli.out_ << block;
            block.clear();
        }
    }
    cli.out_ << block;
    if (result != SmfResult::EndOfFile)
        return cli.FileError(args[0], SmfResultText(result));
    return 0;
}

// Waits for the Sequencer's "playback done", honouring the end-of-song delay
// unless the clock runs fast.
class DoneWaiter : public SequencerNotify {
public:
    explicit DoneWaiter(bool fast) : fast_(fast) {}
    void ScheduleDone(uint32_t delayMs) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        done_ = true;
        delayMs_ = delayMs;
        changed_.notify_all();
    }
    void Wait()
    {
        std::unique_lock<std::mutex> lk(lock_);
        changed_.wait(lk, [this] { return done_; });
        if (!fast_)
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs_));
    }

private:
    bool fast_;
    std::mutex lock_;
    std::condition_variable changed_;
    bool done_ = false;
    uint32_t delayMs_ = 0;
};

// `play` and `render` take the same instrument controls; each has its own
// outputs.
enum class PlayCommand { Play, Render };

bool TakesValue(const std::string& a)
{
    static const char* const kValued[] = {"--capture", "--map", "--velocity-base", "--volume", "--lamps", "--device",
                                          "--port", "--soundfont", "-o", "--output", "--transpose", "--tempo",
                                          "--track-volume", "--start", "--loop", "--repeat"};
    for (const char* v : kValued)
        if (a == v)
            return true;
    return false;
}

// Options that belong to one command only.
bool OptionFits(const std::string& a, PlayCommand command)
{
    if (command == PlayCommand::Play)
        return a != "-o" && a != "--output";
    return a != "--port" && a != "--synth" && a != "--fast" && a != "--device";
}

int ParsePlay(Cli& cli, const std::vector<std::string>& args, PlayCommand command, PlayOptions* o)
{
    const std::string name = command == PlayCommand::Play ? "play: " : "render: ";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = TakesValue(a);
        if (!OptionFits(a, command))
            return cli.Usage(name + "unknown option " + a);
        if (takesValue && i + 1 >= args.size())
            return cli.Usage(name + a + " needs a value");
        const char* value = takesValue ? args[++i].c_str() : nullptr;
        long n = 0;
        std::string problem;
        if (IsPracticeOption(a)) {
            if (!ParsePracticeOption(a, value, &o->practice, &problem))
                return cli.Usage(name + problem);
        } else if (a == "--port") {
            o->port = value;
        } else if (a == "--synth") {
            o->synth = true;
        } else if (a == "--soundfont") {
            o->soundFont = value;
        } else if (a == "-o" || a == "--output") {
            o->output = value;
        } else if (a == "--transpose") {
            if (!ParseNumber(value, -kTransposeLimit, kTransposeLimit, &n))
                return cli.Usage(name + "--transpose expects -24 to 24 semitones");
            o->adjust.transpose = static_cast<int>(n);
        } else if (a == "--tempo") {
            if (!ParseNumber(value, 100 - kTempoPercentLimit, 100 + kTempoPercentLimit, &n))
                return cli.Usage(name + "--tempo expects 50 to 150 (percent of the song's speed)");
            o->adjust.tempoPercent = static_cast<int>(n) - 100;
        } else if (a == "--track-volume") {
            if (!ParseNumber(value, 0, kTrackVolumeFull, &n))
                return cli.Usage(name + "--track-volume expects 0 to 127");
            o->adjust.trackVolume = static_cast<int>(n);
        } else if (a == "--capture") {
            o->capture = value;
        } else if (a == "--map") {
            o->map = value;
        } else if (a == "--velocity-base") {
            if (!ParseNumber(value, 50, 127, &n))
                return cli.Usage(name + "--velocity-base expects 50 to 127");
            o->velocityBase = static_cast<int>(n);
        } else if (a == "--volume") {
            if (!ParseNumber(value, 1, 128, &n))
                return cli.Usage(name + "--volume expects 1 to 128");
            o->volume = static_cast<int>(n);
        } else if (a == "--lamps") {
            if (!ParseLamps(value, &o->lamp1, &o->lamp2))
                return cli.Usage(name + "--lamps expects auto, or one or two channels 1 to 16");
        } else if (a == "--device") {
            if (!ParseNumber(value, -1, 255, &n))
                return cli.Usage(name + "--device expects -1 (MIDI Mapper) or a device number");
            o->device = static_cast<int>(n);
            o->deviceGiven = true;
        } else if (a == "--fast") {
            o->fast = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return cli.Usage(name + "unknown option " + a);
        } else if (o->path.empty()) {
            o->path = a;
        } else {
            return cli.Usage(name + "one file only");
        }
    }
    if (o->path.empty())
        return cli.Usage(name + "no file");
    if (!o->port.empty() + o->synth + o->fast > 1)
        return cli.Usage(name + "--port, --synth and --fast exclude each other");
    if (!o->soundFont.empty() && command == PlayCommand::Play && !o->synth)
        return cli.Usage(name + "--soundfont goes with --synth");
    if (command == PlayCommand::Render && o->output.empty())
        return cli.Usage(name + "no output file (-o OUT.WAV)");
    // Without a listener to stop it, an endless loop would never end.
    const bool endless = command == PlayCommand::Render || o->fast || !o->capture.empty();
    std::string problem;
    if (!CheckPracticeOptions(o->practice, endless, &problem))
        return cli.Usage(name + problem);
    return 0;
}

// What play and render start from: the options, the song, and the voice
// map of --map as the player loads it (a malformed line is reported and the
// lines before it are used).
struct PlayJob {
    PlayOptions o;
    std::unique_ptr<SmfReader> check;
    Song song;
    playlist::VoiceMap map;
    bool malformedMap = false;

    VoiceMapHook* Map() { return o.map.empty() ? nullptr : &map; }
    // The exit status once played: a malformed map still says so.
    int Status() const { return malformedMap ? 2 : 0; }
};

// 0, or the exit status after a message.
int PreparePlay(Cli& cli, const std::vector<std::string>& args, PlayCommand command, PlayJob* job)
{
    if (int status = ParsePlay(cli, args, command, &job->o))
        return status;
    if (int status = OpenSong(cli, job->o.path, &job->check, &job->song))
        return status;
    if (job->o.map.empty())
        return 0;
    const playlist::VoiceMapLoad load = job->map.Load(job->o.map);
    if (!load.opened)
        return cli.FileError(job->o.map, "cannot be opened");
    if (!load.Ok()) {
        cli.err_ << "zubcli: " << load.problem << "; the lines before it are used\n";
        job->malformedMap = true;
    }
    return 0;
}

// Plays the song through `port` to its end with the options' instrument
// controls and voice map (none when null). 0, or the exit status after a
// message; `*length` in ticks and `*ms` get what was played.
int PlayThrough(Cli& cli, const PlayOptions& o, const Song& song, MidiStreamPort* port, bool fast, VoiceMapHook* map,
                uint32_t* length, uint32_t* ms)
{
    DoneWaiter done(fast);
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(port, &done);
    if (!sequencer)
        return cli.FileError(o.path, "no memory");
    sequencer->SetDevice(o.device);
    sequencer->SetVelocityBase(o.velocityBase);
    sequencer->SetMasterVolume(o.volume);
    sequencer->SetLampSelection(o.lamp1, o.lamp2);
    sequencer->SetAdjustments(o.adjust);
    sequencer->SetVoiceMap(map);
    uint32_t result = song.converted.empty() ? sequencer->Open(o.path.c_str())
                                             : sequencer->OpenImage(song.converted.data(), song.converted.size());
    uint32_t startTick = 0;
    std::string problem;
    if (result == kSeqOk && (result = ApplyPractice(o.practice, *sequencer, &startTick, &problem)) != kSeqOk)
        return cli.FileError(o.path, problem);
    if (result == kSeqOk)
        result = sequencer->Preroll(startTick, sequencer->Length());
    if (result == kSeqOk)
        result = sequencer->Start();
    if (result != kSeqOk)
        return cli.FileError(o.path, SequencerErrorText(result));
    done.Wait();
    sequencer->EndPlayback();
    PlayedSpan(*sequencer, startTick, length, ms);
    return 0;
}

int SaveCapture(Cli& cli, const PlayOptions& o, const CaptureSink& capture)
{
    if (o.capture.empty())
        return 0;
    const FileResult saved = capture.Save(o.capture.c_str());
    if (saved != FileResult::Ok)
        return cli.FileError(o.capture, saved == FileResult::OpenFailed ? "open failed" : "write failed");
    return 0;
}

int RunPlay(Cli& cli, const std::vector<std::string>& args, DevicePortFactory devices)
{
    PlayJob job;
    if (int status = PreparePlay(cli, args, PlayCommand::Play, &job))
        return status;
    const PlayOptions& o = job.o;

    // The ALSA port or the synthesizer, when asked for.
    std::unique_ptr<MidiSink> output;
    if (int status = OpenPlaySink(o, cli.err_, &output))
        return status;
    CaptureSink capture;
    TeeSink sinks;
    if (output)
        sinks.Add(output.get());
    if (!o.capture.empty())
        sinks.Add(&capture);
    // A platform device only for real-time play without capture.
    std::unique_ptr<MidiStreamPort> port;
    if (!output && devices && !o.fast && o.capture.empty())
        port = devices(o.device);
    FastStreamClock fastClock;
    if (!port)
        port.reset(new SoftMidiStream(o.fast ? &fastClock : nullptr, &sinks));

    uint32_t length = 0, ms = 0;
    if (int status = PlayThrough(cli, o, job.song, port.get(), o.fast, job.Map(), &length, &ms))
        return status;
    port.reset();
    if (int status = SaveCapture(cli, o, capture))
        return status;
    cli.out_ << o.path << ": played " << length << " ticks, " << ms << " ms\n";
    return job.Status();
}

// The song through the synthesizer into a WAV file, as fast as it renders.
int RunRender(Cli& cli, const std::vector<std::string>& args)
{
    PlayJob job;
    if (int status = PreparePlay(cli, args, PlayCommand::Render, &job))
        return status;
    const PlayOptions& o = job.o;
    std::string problem;
    const std::string font = ChooseSoundFont(o.soundFont, kSystemSoundFont, &problem);
    std::unique_ptr<SynthSink> synth;
    if (!font.empty())
        synth = OpenSynth(font, &problem);
    if (!synth)
        return cli.Problem(problem);

    RenderProgress progress(cli.err_, o.path, job.check->TicksToMs(job.check->Length()));
    if (!synth->StartRender(o.output, [&progress](uint64_t us) { progress.Update(us); }, &problem))
        return cli.Problem(problem);
    CaptureSink capture;
    TeeSink sinks;
    sinks.Add(synth.get());
    if (!o.capture.empty())
        sinks.Add(&capture);
    FastStreamClock clock;
    uint32_t length = 0, ms = 0;
    {
        SoftMidiStream stream(&clock, &sinks);
        if (int status = PlayThrough(cli, o, job.song, &stream, true, job.Map(), &length, &ms))
            return status;
    }
    progress.End();
    if (!synth->FinishRender(&problem))
        return cli.Problem(problem);
    if (int status = SaveCapture(cli, o, capture))
        return status;
    cli.out_ << o.path << ": rendered " << ms << " ms to " << o.output << "\n";
    return job.Status();
}

}  // namespace

int OptionError(std::ostream& err, const std::string& problem)
{
    err << "zubcli: " << problem << "\n"
        << "Try 'zubcli --help' for more information.\n";
    return 1;
}

int RunZubcli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, DevicePortFactory devices)
{
    Cli cli(out, err);
    if (argc < 2) {
        PrintUsage(err);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "info")
        return RunInfo(cli, args);
    if (command == "events")
        return RunEvents(cli, args);
    if (command == "play")
        return RunPlay(cli, args, devices);
    if (command == "render")
        return RunRender(cli, args);
    if (command == "lyrics")
        return RunLyrics(cli, args);
    if (command == "ports")
        return RunPortsCommand(args, out, err);
    if (command == "convert")
        return RunConvertCommand(args, out, err);
    if (command == "batch")
        return RunBatchCommand(args, out, err);
    if (command == "title")
        return RunTitleCommand(args, out, err);
    if (command == "catalog")
        return RunCatalogCommand(args, out, err);
    if (command == "playlist")
        return RunPlaylistCommand(args, out, err);
    if (command == "build")
        return RunBuildCommand(args, out, err);
    if (command == "image")
        return RunImageCommand(args, out, err);
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(out);
        return 0;
    }
    if (command == "--version") {
        out << "zubcli " << ZUB_VERSION_TEXT << "\n";
        return 0;
    }
    return cli.Usage("unknown command " + command);
}
