#include "zubcli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "hostfile.h"
#include "smfreader.h"
#include "cli_run.h"
#include "songbuilder.h"
#include "zub_version.h"

namespace {

// A song written to a temporary file, removed afterwards.
class SongFile {
public:
    explicit SongFile(const std::vector<uint8_t>& bytes, const char* name = "zubcli_test_song.mid")
        : path_(testing::TempDir() + name)
    {
        EXPECT_EQ(FileResult::Ok, WriteFileImage(path_.c_str(), bytes.data(), bytes.size()));
    }
    ~SongFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::vector<uint8_t> TwoTrackSong()
{
    return BuildSong(1, 480, {Track().Tempo(480, 250000).Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).End(480),
                              Track().Program(0, 3, 0).Program(0, 1, 0).NoteOn(960, 1, 60, 100).Ev(0, {62, 90})
                                  .NoteOff(0, 1, 60).End()});
}

TEST(ZubcliInfo, JsonHasEveryKey)
{
    SongFile song(TwoTrackSong());
    const CliRun run = Zubcli({"info", "--json", song.path()});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("{\"format\":1,\"tracks\":2,\"division\":480,\"length_ticks\":960,\"length_ms\":750,"
              "\"tempo_map\":[[0,0,500000],[480,500,250000]],\"highest_velocity\":100,\"lowest_program\":0,"
              "\"lamp_channels\":[1,3],\"leading_sysex\":1}\n",
              run.out);
    EXPECT_EQ("", run.err);
}

TEST(ZubcliInfo, TableNamesTheSameFacts)
{
    SongFile song(TwoTrackSong());
    const CliRun run = Zubcli({"info", song.path()});
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.out.find("length_ms         750\n"));
    EXPECT_NE(std::string::npos, run.out.find("tempo_map         tick 0 at 0 ms: 500000 us per quarter\n"
                                              "                  tick 480 at 500 ms: 250000 us per quarter\n"));
    EXPECT_NE(std::string::npos, run.out.find("lamp_channels     1, 3\n"));
}

TEST(ZubcliEvents, OneLinePerMergedEvent)
{
    SongFile song(TwoTrackSong());
    const CliRun run = Zubcli({"events", song.path()});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("0 0 1 c2 00\n"
              "0 0 1 c0 00\n"
              "480 480 0 ff 51 03 d0 90\n"
              "480 0 0 f0 7e 7f 09 01 f7\n"
              "960 480 0 ff 2f\n"
              "960 0 1 90 3c 64\n"
              "960 0 1 90 3e 5a\n"
              "960 0 1 80 3c 40\n"
              "960 0 1 ff 2f\n",
              run.out);
}

TEST(ZubcliErrors, BadFilesGiveStatus2AndTheirPath)
{
    SongFile bad(BuildSong(0, 96, {Track().NoteOn(0, 1, 60, 1)}), "zubcli_test_bad.mid");
    const std::string missing = testing::TempDir() + "zubcli_no_such_file.mid";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"info", bad.path()}, "zubcli: " + bad.path() + ": invalid file\n"},
        {{"info", "--json", bad.path()}, "zubcli: " + bad.path() + ": invalid file\n"},
        {{"events", bad.path()}, "zubcli: " + bad.path() + ": invalid file\n"},
        {{"play", "--fast", bad.path()}, "zubcli: " + bad.path() + ": invalid file\n"},
        {{"info", missing}, "zubcli: " + missing + ": open failed\n"},
        {{"play", missing}, "zubcli: " + missing + ": open failed\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Zubcli(c.args);
        EXPECT_EQ(2, run.status) << c.args[0];
        EXPECT_EQ(c.err, run.err);
        EXPECT_EQ("", run.out);
    }
}

TEST(ZubcliErrors, OptionErrorsGiveOneLineAndTheHintWithStatus1)
{
    struct Case {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"info"}, "zubcli: info: no file"},
        {{"frobnicate"}, "zubcli: unknown command frobnicate"},
        {{"play", "--volume", "0", "song.mid"}, "zubcli: play: --volume expects 1 to 128"},
        {{"play", "--velocity-base", "49", "song.mid"}, "zubcli: play: --velocity-base expects 50 to 127"},
        {{"play", "--lamps", "17", "song.mid"}, "zubcli: play: --lamps expects auto, or one or two channels 1 to 16"},
        {{"play", "--lamps", "1,", "song.mid"}, "zubcli: play: --lamps expects auto, or one or two channels 1 to 16"},
        {{"events", "--json", "song.mid"}, "zubcli: events: expected one file"},
        {{"convert", "--bogus", "x"}, "zubcli: convert: unknown option --bogus"},
        {{"batch", "--what", "a", "b"}, "zubcli: batch: unknown option --what"},
    };
    for (const Case& c : cases) {
        const CliRun run = Zubcli(c.args);
        EXPECT_EQ(1, run.status) << c.line;
        EXPECT_EQ(c.line + "\nTry 'zubcli --help' for more information.\n", run.err);
        EXPECT_EQ("", run.out);
    }
}

TEST(ZubcliUsage, NoArgumentsHelpAndVersion)
{
    const CliRun none = Zubcli({});
    EXPECT_EQ(2, none.status);
    EXPECT_EQ(0u, none.err.find("usage: zubcli info")) << none.err;
    EXPECT_EQ("", none.out);

    for (const char* help : {"--help", "-h", "help"}) {
        const CliRun run = Zubcli({help});
        EXPECT_EQ(0, run.status) << help;
        EXPECT_EQ(none.err, run.out) << help;
        EXPECT_EQ("", run.err) << help;
    }
    for (const char* command : {"info [--json] FILE", "events FILE", "play [", "convert [", "batch [", "--version"})
        EXPECT_NE(std::string::npos, none.err.find(command)) << command;

    const CliRun version = Zubcli({"--version"});
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(std::string("zubcli ") + ZUB_VERSION_TEXT + "\n", version.out);
    EXPECT_EQ("", version.err);
}

TEST(ZubcliPlay, CaptureHoldsWhatWasSentWithTheControlsApplied)
{
    SongFile song(TwoTrackSong());
    const std::string capture = testing::TempDir() + "zubcli_test_capture.mid";
    const CliRun run = Zubcli({"play", "--fast", "--velocity-base", "80", "--volume", "100", "--lamps", "auto",
                            "--capture", capture, song.path()});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(song.path() + ": played 960 ticks, 750 ms\n", run.out);
    const CliRun events = Zubcli({"events", capture});
    std::remove(capture.c_str());
    EXPECT_EQ("0 0 0 c2 00\n"
              "0 0 0 c0 00\n"
              "480 480 0 ff 51 03 d0 90\n"
              "480 0 0 f0 7e 7f 09 01 f7\n"
              "480 0 0 f0 7f 7f 04 01 00 63 f7\n"
              "480 0 0 f0 43 73 01 11 00 47 02 f7\n"
              "480 0 0 f0 43 73 01 11 02 47 02 f7\n"
              "960 480 0 90 3c 50\n"
              "960 0 0 90 3e 46\n"
              "960 0 0 80 3c 40\n"
              "960 0 0 ff 2f\n",
              events.out);
}

}  // namespace
