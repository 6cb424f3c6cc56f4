// The real zubcli program started without its sound libraries: FluidSynth
// and ALSA are opened only by the commands that need them, which then name
// the missing library in one line; every other command works as before.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hostfile.h"
#include "outside_tools.h"
#include "songbuilder.h"

namespace {

// Runs zubcli with `environment` ("NAME=value ..."), its standard output
// thrown away: the status, and in `out` what it wrote on standard error.
floppytest::Ran RunProgram(const std::string& environment, const std::vector<std::string>& args)
{
    std::string command = "{ env " + environment + " '" ZUBCLI_PATH "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    return floppytest::RunTool(command + " 2>&1 >/dev/null; }");
}

const char kMissingLibraries[] =
    "ZUBCLI_LIBFLUIDSYNTH=libzub-missing-fluidsynth.so.3 ZUBCLI_LIBASOUND=libzub-missing-asound.so.2";

class MissingSound : public testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<uint8_t> song =
            BuildSong(0, 480, {Track().Program(0, 1, 0).NoteOn(0, 1, 60, 100).NoteOff(480, 1, 60).End()});
        ASSERT_EQ(FileResult::Ok, WriteFileImage(song_.c_str(), song.data(), song.size()));
    }
    void TearDown() override
    {
        for (const std::string& path : {song_, wav_, image_})
            std::remove(path.c_str());
    }

    // Files of each test's own: ctest runs the tests side by side.
    const std::string stem_ =
        testing::TempDir() + "missing_sound_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string song_ = stem_ + ".mid";
    const std::string wav_ = stem_ + ".wav";
    const std::string image_ = stem_ + ".img";
};

TEST_F(MissingSound, EverySoundCommandNamesTheMissingLibraryInOneLineWithStatus2)
{
    const std::string fluid = "zubcli: libzub-missing-fluidsynth.so.3 could not be loaded (";
    const std::string fluidEnd = "): the FluidSynth synthesizer needs it (Debian package libfluidsynth3)\n";
    const std::string alsa = "zubcli: libzub-missing-asound.so.2 could not be loaded (";
    const std::string alsaEnd = "): the ALSA sequencer needs it (Debian package libasound2)\n";
    struct Case {
        std::vector<std::string> args;
        const std::string& start;
        const std::string& end;
    } cases[] = {
        // Any existing file stands for the font: the library is missing first.
        {{"render", "--soundfont", song_, "-o", wav_, song_}, fluid, fluidEnd},
        {{"play", "--synth", "--soundfont", song_, song_}, fluid, fluidEnd},
        {{"ports"}, alsa, alsaEnd},
        {{"play", "--port", "128:0", song_}, alsa, alsaEnd},
    };
    for (const Case& c : cases) {
        const floppytest::Ran run = RunProgram(kMissingLibraries, c.args);
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
        if (run.out.find("this zubcli was built without") != std::string::npos)
            continue;  // built on a machine without the library's headers
        EXPECT_EQ(2, run.status);
        EXPECT_EQ(0u, run.out.find(c.start)) << run.out;
        ASSERT_GE(run.out.size(), c.end.size());
        EXPECT_EQ(c.end, run.out.substr(run.out.size() - c.end.size())) << run.out;
        EXPECT_EQ(run.out.size() - 1, run.out.find('\n')) << "one line: " << run.out;
    }
}

TEST_F(MissingSound, OtherCommandsWorkWithoutTheSoundLibraries)
{
    const std::vector<std::vector<std::string>> commands = {
        {"--version"},
        {"info", song_},
        {"image", "create", image_},
        {"image", "put", image_, song_},
        {"image", "list", image_},
        {"play", "--fast", song_},
    };
    for (const std::vector<std::string>& args : commands) {
        const floppytest::Ran run = RunProgram(kMissingLibraries, args);
        EXPECT_EQ(0, run.status) << args[0] << ": " << run.out;
        EXPECT_EQ("", run.out) << args[0];
    }
}

// The dynamic loader's own account of what it opens: the C library and
// nothing of the sound libraries, for a command that plays nothing.
TEST_F(MissingSound, AnImageCommandDoesNotEvenLoadTheSoundLibrariesWhenTheyAreInstalled)
{
    ASSERT_EQ(0, RunProgram("", {"image", "create", image_}).status);
    const floppytest::Ran run = RunProgram("LD_DEBUG=files", {"image", "list", image_});
    EXPECT_EQ(0, run.status);
    ASSERT_NE(std::string::npos, run.out.find("libc.so")) << "the loader said nothing:\n" << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("libfluidsynth")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("libasound")) << run.out;
}

}  // namespace
