// zubcli render, play --synth/--port and ports, measured from outside:
// the rendered files with sox, as a listener's tools would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#ifdef ZUB_TEST_ALSA
#include <alsa/asoundlib.h>
#endif

#include "cli_run.h"
#include "hostfile.h"
#include "songbuilder.h"
#include "sound_support.h"

namespace {

// Division 480 at the default tempo: 960 ticks a second.
constexpr uint32_t kSecond = 960;

class TempFile {
public:
    explicit TempFile(const std::string& name) : path_(testing::TempDir() + name) {}
    TempFile(const std::string& name, const std::vector<uint8_t>& bytes) : TempFile(name)
    {
        EXPECT_EQ(FileResult::Ok, WriteFileImage(path_.c_str(), bytes.data(), bytes.size()));
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A piano melody of quarter notes for `seconds`, the last released at the end.
std::vector<uint8_t> Melody(int seconds)
{
    Track t;
    t.Program(0, 1, 0);
    const int notes[] = {60, 64, 67, 72, 67, 64};
    for (int i = 0; i < seconds * 2; ++i)
        t.NoteOn(0, 1, notes[i % 6], 100).NoteOff(kSecond / 2, 1, notes[i % 6]);
    return BuildSong(0, 480, {t.End()});
}

// One held note: a flute, whose tone is nearly a pure sine.
std::vector<uint8_t> HeldNote(int note)
{
    return BuildSong(0, 480, {Track().Program(0, 1, 73).NoteOn(0, 1, note, 100).NoteOff(2 * kSecond, 1, note).End()});
}

std::string RunText(const std::string& command)
{
    std::string text;
    if (std::FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

bool HaveSox()
{
    return RunText("command -v sox").find("sox") != std::string::npos;
}

// What sox says about a WAV file: its length and amplitude statistics.
struct Measure {
    double seconds = -1;
    double maxAmplitude = -1;
    double rmsAmplitude = -1;
    double peakFrequency = -1;  // the strongest in the spectrum of the held part
};

double StatValue(const std::string& stat, const std::string& label)
{
    const size_t at = stat.find(label);
    if (at == std::string::npos)
        return -1;
    const size_t colon = stat.find(':', at);
    return std::strtod(stat.c_str() + colon + 1, nullptr);
}

Measure MeasureWav(const std::string& path)
{
    Measure m;
    m.seconds = std::strtod(RunText("sox --i -D '" + path + "'").c_str(), nullptr);
    const std::string stat = RunText("sox '" + path + "' -n stat");
    m.maxAmplitude = StatValue(stat, "Maximum amplitude");
    m.rmsAmplitude = StatValue(stat, "RMS     amplitude");
    // The spectrum ("frequency power" lines) of a second after the attack.
    const std::string spectrum = RunText("sox '" + path + "' -n trim 0.3 1 remix 1 stat -freq");
    double strongest = -1;
    for (size_t at = 0; at < spectrum.size();) {
        const size_t end = std::min(spectrum.find('\n', at), spectrum.size());
        double frequency = 0, power = 0;
        char extra = 0;
        if (std::sscanf(spectrum.substr(at, end - at).c_str(), "%lf %lf %c", &frequency, &power, &extra) == 2 &&
            power > strongest) {
            strongest = power;
            m.peakFrequency = frequency;
        }
        at = end + 1;
    }
    return m;
}

class Render : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(HaveSox()) << "sox is missing (scripts/setup.sh installs it)";
        std::string problem;
        ASSERT_NE("", ChooseSoundFont("", kSystemSoundFont, &problem)) << problem << " (scripts/setup.sh installs it)";
    }

    // Renders `song` with the extra options; the measures of the result.
    Measure RenderSong(const std::vector<uint8_t>& song, std::vector<std::string> options = {})
    {
        // CTest runs the cases side by side: each its own files.
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        TempFile in("render_" + name + ".mid", song);
        TempFile out("render_" + name + ".wav");
        std::vector<std::string> args = {"render", "-o", out.path()};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(in.path());
        const CliRun run = Zubcli(args);
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ("", run.err);  // no progress line when standard error is no terminal
        return MeasureWav(out.path());
    }
};

TEST_F(Render, AShortSongLastsItsLengthPlusTheReleaseAndIsNotSilent)
{
    const Measure m = RenderSong(Melody(3));
    EXPECT_GE(m.seconds, 3.0);
    EXPECT_LE(m.seconds, 3.0 + SynthSink::kTailLimitMs / 1000.0);
    EXPECT_GT(m.maxAmplitude, 0.01);
    EXPECT_GT(m.rmsAmplitude, 0.001);
}

TEST_F(Render, ASongWithoutNotesRendersSilence)
{
    const Measure m = RenderSong(BuildSong(0, 480, {Track().Program(0, 1, 0).Tempo(0, 500000).End(2 * kSecond)}));
    EXPECT_NEAR(2.0, m.seconds, 0.01);
    EXPECT_EQ(0.0, m.maxAmplitude);
}

TEST_F(Render, TempoOneHundredFiftyPercentTakesTwoThirdsOfTheTime)
{
    const Measure normal = RenderSong(Melody(6));
    const Measure faster = RenderSong(Melody(6), {"--tempo", "150"});
    const double tail = SynthSink::kTailLimitMs / 1000.0;
    EXPECT_GE(normal.seconds, 6.0);
    EXPECT_LE(normal.seconds, 6.0 + tail);
    EXPECT_GE(faster.seconds, 4.0);
    EXPECT_LE(faster.seconds, 4.0 + tail);
    EXPECT_GT(faster.maxAmplitude, 0.01);
}

TEST_F(Render, TransposingAnOctaveUpDoublesThePitch)
{
    const Measure a4 = RenderSong(HeldNote(69));
    const Measure up = RenderSong(HeldNote(69), {"--transpose", "12"});
    const Measure a5 = RenderSong(HeldNote(81));
    EXPECT_NEAR(440, a4.peakFrequency, 10);
    EXPECT_NEAR(880, up.peakFrequency, 20);
    EXPECT_NEAR(a5.peakFrequency, up.peakFrequency, 1);
}

TEST_F(Render, TheMasterVolumeOverrideMakesItQuieter)
{
    const Measure full = RenderSong(Melody(2));
    const Measure quiet = RenderSong(Melody(2), {"--volume", "32"});
    EXPECT_LT(quiet.rmsAmplitude, full.rmsAmplitude * 0.5);
    EXPECT_GT(quiet.rmsAmplitude, 0.0);
}

TEST_F(Render, BadInputsGiveAMessageAndStatus2AndNoFile)
{
    TempFile song("render_test_bad.mid", Melody(1));
    TempFile notFont("render_test_not_a_font.sf2", {'n', 'o', 'p', 'e'});
    TempFile out("render_test_never.wav");
    CliRun run = Zubcli({"render", "--soundfont", notFont.path(), "-o", out.path(), song.path()});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ(0u, run.err.find("zubcli: " + notFont.path() + ": not a usable sound font")) << run.err;

    run = Zubcli({"render", "--soundfont", "/nowhere/piano.sf2", "-o", out.path(), song.path()});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: /nowhere/piano.sf2: open failed\n", run.err);

    run = Zubcli({"render", "-o", "/nowhere/at/all/out.wav", song.path()});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: /nowhere/at/all/out.wav: open failed\n", run.err);

    run = Zubcli({"play", "--synth", "--soundfont", notFont.path(), song.path()});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ(0u, run.err.find("zubcli: " + notFont.path() + ": not a usable sound font")) << run.err;
    EXPECT_EQ("", run.out) << "nothing played";

    TempFile broken("render_test_broken.mid", {'M', 'T', 'h', 'd', 0, 0});
    run = Zubcli({"render", "-o", out.path(), broken.path()});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: " + broken.path() + ": invalid file\n", run.err);

    struct stat info;
    EXPECT_NE(0, stat(out.path().c_str(), &info));
}

TEST(RenderOptions, UsageErrorsGiveStatus1)
{
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"render", "song.mid"}, "render: no output file (-o OUT.WAV)"},
        {{"render", "-o", "x.wav", "--synth", "song.mid"}, "render: unknown option --synth"},
        {{"render", "-o", "x.wav", "--port", "14:0", "song.mid"}, "render: unknown option --port"},
        {{"render", "-o", "x.wav", "--tempo", "151", "song.mid"}, "render: --tempo expects 50 to 150"},
        {{"render", "-o", "x.wav", "--transpose", "-25", "song.mid"}, "render: --transpose expects -24 to 24"},
        {{"play", "--port", "14:0", "--synth", "song.mid"}, "play: --port, --synth and --fast exclude each other"},
        {{"play", "--synth", "--fast", "song.mid"}, "play: --port, --synth and --fast exclude each other"},
        {{"play", "--soundfont", "a.sf2", "song.mid"}, "play: --soundfont goes with --synth"},
        {{"play", "-o", "x.wav", "song.mid"}, "play: unknown option -o"},
        {{"ports", "extra"}, "ports: takes no arguments"},
    };
    for (const auto& c : cases) {
        const CliRun run = Zubcli(c.args);
        EXPECT_EQ(1, run.status) << c.message;
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
}

// The ALSA sequencer exists on desktops, not in containers and on servers.
bool HaveSequencer()
{
    struct stat info;
    return stat("/dev/snd/seq", &info) == 0;
}

TEST(AlsaOutput, AMissingPortOrSequencerGivesAMessageAndStatus2)
{
    TempFile song("alsa_test_song.mid", Melody(1));
    const CliRun run = Zubcli({"play", "--port", "250:77", song.path()});
    EXPECT_EQ(2, run.status);
    if (HaveSequencer())
        EXPECT_EQ(0u, run.err.find("zubcli: port 250:77: ")) << run.err;
    else
        EXPECT_EQ("zubcli: no ALSA sequencer: this machine has no /dev/snd/seq\n", run.err);
    EXPECT_EQ("", run.out);
}

TEST(AlsaOutput, PortsListsTheSequencersMidiPorts)
{
    if (!HaveSequencer())
        GTEST_SKIP() << "no ALSA sequencer on this machine (/dev/snd/seq): the ALSA output is not tested here";
    const CliRun run = Zubcli({"ports"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, run.out.find(" Port    Client name                      Port name\n")) << run.out;
}

#ifdef ZUB_TEST_ALSA
// A sequencer client of the test's own that takes MIDI, as a piano would.
class Receiver {
public:
    Receiver()
    {
        if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) {
            seq_ = nullptr;
            return;
        }
        snd_seq_set_client_name(seq_, "zubcli test receiver");
        port_ = snd_seq_create_simple_port(seq_, "receiver", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    }
    ~Receiver()
    {
        if (seq_)
            snd_seq_close(seq_);
    }
    bool ok() const { return seq_ && port_ >= 0; }
    std::string Address() const { return std::to_string(snd_seq_client_id(seq_)) + ":" + std::to_string(port_); }

    // "on 60 100", "off 60" ... for the notes waiting in the input.
    std::vector<std::string> Notes()
    {
        std::vector<std::string> notes;
        snd_seq_event_t* ev = nullptr;
        while (snd_seq_event_input(seq_, &ev) >= 0 && ev) {
            if (ev->type == SND_SEQ_EVENT_NOTEON && ev->data.note.velocity > 0)
                notes.push_back("on " + std::to_string(ev->data.note.note) + " " +
                                std::to_string(ev->data.note.velocity));
            else if (ev->type == SND_SEQ_EVENT_NOTEOFF || ev->type == SND_SEQ_EVENT_NOTEON)
                notes.push_back("off " + std::to_string(ev->data.note.note));
        }
        return notes;
    }

private:
    snd_seq_t* seq_ = nullptr;
    int port_ = -1;
};

TEST(AlsaOutput, PlayingToAPortDeliversTheSongWithTheControlsApplied)
{
    if (!HaveSequencer())
        GTEST_SKIP() << "no ALSA sequencer on this machine (/dev/snd/seq): the ALSA output is not tested here";
    Receiver receiver;
    ASSERT_TRUE(receiver.ok());
    const CliRun list = Zubcli({"ports"});
    EXPECT_NE(std::string::npos, list.out.find("zubcli test receiver")) << list.out;

    TempFile song("alsa_test_notes.mid", BuildSong(0, 480, {Track().NoteOn(0, 1, 60, 100).NoteOff(240, 1, 60)
                                                                .NoteOn(0, 1, 64, 80).NoteOff(240, 1, 64).End()}));
    const CliRun run = Zubcli({"play", "--port", receiver.Address(), "--transpose", "2", song.path()});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ((std::vector<std::string>{"on 62 100", "off 62", "on 66 80", "off 66"}), receiver.Notes());
}
#endif

}  // namespace
