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
#include "sequencer.h"
#include "smfreader.h"
#include "softmidistream.h"
#include "streamclock.h"
#include "zub_version.h"

namespace {

const char kUsage[] =
    "usage: zubcli info [--json] FILE\n"
    "       zubcli events FILE\n"
    "       zubcli play [--capture OUT.MID] [--velocity-base N] [--volume V]\n"
    "                   [--lamps L1[,L2]|auto] [--fast] [--device N] FILE\n";
const char kUsageEnd[] =
    "       zubcli --help | --version\n"
    "FILE may be a Standard MIDI File or an ESEQ song (converted in memory).\n";

void PrintUsage(std::ostream& to)
{
    to << kUsage << kConvertUsage << kBatchUsage << kPlaylistUsage << kImageUsage << kUsageEnd;
}

class Cli {
public:
    Cli(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    int Usage(const std::string& problem) { return OptionError(err_, problem); }

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

int RunEvents(Cli& cli, const std::vector<std::string>& args)
{
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-'))
        return cli.Usage("events: expected one file");
    std::unique_ptr<SmfReader> reader;
    if (int status = OpenSong(cli, args[0], &reader))
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

struct PlayOptions {
    std::string path, capture;
    int velocityBase = 127;
    int volume = -128;
    uint8_t lamp1 = kLampsDisabled, lamp2 = 0;
    bool fast = false;
    bool deviceGiven = false;
    int device = kMidiMapper;
};

int ParsePlay(Cli& cli, const std::vector<std::string>& args, PlayOptions* o)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--capture" || a == "--velocity-base" || a == "--volume" || a == "--lamps" ||
                                a == "--device";
        if (takesValue && i + 1 >= args.size())
            return cli.Usage("play: " + a + " needs a value");
        const char* value = takesValue ? args[++i].c_str() : nullptr;
        long n = 0;
        if (a == "--capture") {
            o->capture = value;
        } else if (a == "--velocity-base") {
            if (!ParseNumber(value, 50, 127, &n))
                return cli.Usage("play: --velocity-base expects 50 to 127");
            o->velocityBase = static_cast<int>(n);
        } else if (a == "--volume") {
            if (!ParseNumber(value, 1, 128, &n))
                return cli.Usage("play: --volume expects 1 to 128");
            o->volume = static_cast<int>(n);
        } else if (a == "--lamps") {
            if (!ParseLamps(value, &o->lamp1, &o->lamp2))
                return cli.Usage("play: --lamps expects auto, or one or two channels 1 to 16");
        } else if (a == "--device") {
            if (!ParseNumber(value, -1, 255, &n))
                return cli.Usage("play: --device expects -1 (MIDI Mapper) or a device number");
            o->device = static_cast<int>(n);
            o->deviceGiven = true;
        } else if (a == "--fast") {
            o->fast = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return cli.Usage("play: unknown option " + a);
        } else if (o->path.empty()) {
            o->path = a;
        } else {
            return cli.Usage("play: one file only");
        }
    }
    if (o->path.empty())
        return cli.Usage("play: no file");
    return 0;
}

int RunPlay(Cli& cli, const std::vector<std::string>& args, DevicePortFactory devices)
{
    PlayOptions o;
    if (int status = ParsePlay(cli, args, &o))
        return status;
    std::unique_ptr<SmfReader> check;
    Song song;
    if (int status = OpenSong(cli, o.path, &check, &song))
        return status;

    // A real device only for real-time play without capture.
    std::unique_ptr<MidiStreamPort> port;
    if (devices && !o.fast && o.capture.empty())
        port = devices(o.device);
    FastStreamClock fastClock;
    CaptureSink capture;
    if (!port)
        port.reset(new SoftMidiStream(o.fast ? &fastClock : nullptr, o.capture.empty() ? nullptr : &capture));

    DoneWaiter done(o.fast);
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(port.get(), &done);
    if (!sequencer)
        return cli.FileError(o.path, "no memory");
    sequencer->SetDevice(o.device);
    sequencer->SetVelocityBase(o.velocityBase);
    sequencer->SetMasterVolume(o.volume);
    sequencer->SetLampSelection(o.lamp1, o.lamp2);
    uint32_t result = song.converted.empty() ? sequencer->Open(o.path.c_str())
                                             : sequencer->OpenImage(song.converted.data(), song.converted.size());
    if (result == kSeqOk)
        result = sequencer->Preroll(0, sequencer->Length());
    if (result == kSeqOk)
        result = sequencer->Start();
    if (result != kSeqOk)
        return cli.FileError(o.path, SequencerErrorText(result));
    done.Wait();
    sequencer->EndPlayback();
    const uint32_t length = sequencer->Length();
    const uint32_t ms = sequencer->TicksToMs(length);
    sequencer.reset();

    if (!o.capture.empty()) {
        const FileResult saved = capture.Save(o.capture.c_str());
        if (saved != FileResult::Ok)
            return cli.FileError(o.capture, saved == FileResult::OpenFailed ? "open failed" : "write failed");
    }
    cli.out_ << o.path << ": played " << length << " ticks, " << ms << " ms\n";
    return 0;
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
