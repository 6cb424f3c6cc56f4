#include "eseq_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "eseq_convert.h"
#include "cli_run.h"
#include "eseq_testdata.h"
#include "hostfile.h"
#include "smfreader.h"
#include "temp_tree.h"
#include "zubcli.h"

namespace {

namespace fs = std::filesystem;

// A path as zubcli prints it: with the host's separators.
std::string Shown(std::string path)
{
#ifdef _WIN32
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
#endif
    return path;
}

using eseqtest::TempTree;

std::vector<uint8_t> Song(const std::string& title, bool fixupCase = false)
{
    eseqtest::EseqSongSpec spec;
    spec.line1 = title;
    if (fixupCase)
        spec.events.Control(1, 7, 0);
    spec.events.NoteOn(1, 60, 64).Wait(50).NoteOff(1, 60);
    return eseqtest::BuildEseq(spec);
}

std::vector<uint8_t> Expected(const std::vector<uint8_t>& song, bool fixup = false)
{
    eseq::ConvertOptions options;
    options.diskFixup = fixup;
    std::vector<uint8_t> midi;
    eseq::ConvertImage(song.data(), song.size(), options, &midi);
    return midi;
}

// ---- convert --------------------------------------------------------------

TEST(ZubcliConvert, BesideTheSongOrWhereAsked)
{
    TempTree tree(testing::TempDir() + "zubcli_convert");
    EXPECT_TRUE(tree.Write("SONG.FIL", Song("Song", true)));
    CliRun run = Zubcli({"convert", tree.Path("SONG.FIL")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(tree.Path("SONG.FIL") + ": converted to " + tree.Path("SONG.MID") + "\n", run.out);
    EXPECT_EQ(Expected(Song("Song", true)), tree.Read("SONG.MID"));

    run = Zubcli({"convert", "--fixup", "-o", tree.Path("fixed.mid"), tree.Path("SONG.FIL")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(Expected(Song("Song", true), true), tree.Read("fixed.mid"));
    EXPECT_NE(tree.Read("SONG.MID"), tree.Read("fixed.mid"));
}

TEST(ZubcliConvert, Problems)
{
    TempTree tree(testing::TempDir() + "zubcli_convert_bad");
    EXPECT_TRUE(tree.Write("text.fil", {'n', 'o'}));
    eseqtest::EseqSongSpec bad;
    bad.events.Empty().Raw({0x40, 0x40});
    EXPECT_TRUE(tree.Write("BAD.FIL", eseqtest::BuildEseq(bad)));
    EXPECT_TRUE(tree.Write("SELF.MID", Song("self")));
    const std::vector<uint8_t> midi = Expected(Song("midi"));
    EXPECT_TRUE(tree.Write("plain.mid", midi));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"convert"}, 1, "zubcli: convert: no song\nTry 'zubcli --help' for more information.\n"},
        {{"convert", "--bogus", "x"}, 1, "zubcli: convert: unknown option --bogus"},
        {{"convert", "a", "b"}, 1, "zubcli: convert: one song only"},
        {{"convert", "x", "-o"}, 1, "zubcli: convert: -o needs a file"},
        {{"convert", tree.Path("text.fil")}, 2, "zubcli: " + tree.Path("text.fil") + ": not an ESEQ song\n"},
        {{"convert", tree.Path("missing.fil")}, 2, "zubcli: " + tree.Path("missing.fil") + ": not an ESEQ song\n"},
        {{"convert", tree.Path("BAD.FIL")}, 2, "zubcli: Error in file: " + tree.Path("BAD.MID") + " (a data byte"},
        {{"convert", tree.Path("SELF.MID")}, 2,
         "zubcli: " + tree.Path("SELF.MID") + ": the converted song would replace the ESEQ song itself\n"},
        // Regression: a MIDI file named .MID was said to be replaced by itself.
        {{"convert", tree.Path("plain.mid")}, 2, "zubcli: " + tree.Path("plain.mid") + ": not an ESEQ song\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Zubcli(c.args);
        EXPECT_EQ(c.status, run.status) << c.args.back();
        EXPECT_EQ(0u, run.err.find(c.err)) << run.err;
    }
    EXPECT_TRUE(fs::exists(tree.Path("BAD.MID")));  // the documented truncated file
    EXPECT_EQ(Song("self"), tree.Read("SELF.MID"));
    EXPECT_EQ(midi, tree.Read("plain.mid"));
}

// The player plays ESEQ songs; info, events and play read them as the
// player does: converted in memory, nothing written.
TEST(ZubcliInfo, EseqSongsAreShownAsConverted)
{
    TempTree tree(testing::TempDir() + "zubcli_info_eseq");
    const std::vector<uint8_t> song = Song("Sonata");
    EXPECT_TRUE(tree.Write("SONATA.FIL", song));
    EXPECT_TRUE(tree.Write("sonata.mid", Expected(song)));
    for (const char* command : {"info", "events"}) {
        const CliRun eseqRun = Zubcli({command, tree.Path("SONATA.FIL")});
        const CliRun midiRun = Zubcli({command, tree.Path("sonata.mid")});
        EXPECT_EQ(0, eseqRun.status) << command << ": " << eseqRun.err;
        EXPECT_EQ("", eseqRun.err) << command;
        EXPECT_EQ(midiRun.out, eseqRun.out) << command;
    }
    const CliRun json = Zubcli({"info", "--json", tree.Path("SONATA.FIL")});
    EXPECT_EQ(0u, json.out.find("{\"format\":0,\"tracks\":1,\"division\":384,")) << json.out;
    const CliRun play = Zubcli({"play", "--fast", tree.Path("SONATA.FIL")});
    EXPECT_EQ(0, play.status) << play.err;
    EXPECT_EQ(std::vector<std::string>({"SONATA.FIL", "sonata.mid"}), tree.Files(""));

    eseqtest::EseqSongSpec bad;
    bad.events.Empty().Raw({0x40, 0x40});
    EXPECT_TRUE(tree.Write("BAD.FIL", eseqtest::BuildEseq(bad)));
    const CliRun broken = Zubcli({"info", tree.Path("BAD.FIL")});
    EXPECT_EQ(2, broken.status);
    EXPECT_EQ(0u, broken.err.find("zubcli: " + tree.Path("BAD.FIL") + ": invalid ESEQ song")) << broken.err;
}

// ---- batch ----------------------------------------------------------------

TEST(ZubcliBatch, GeneratedFloppyTree)
{
    TempTree tree(testing::TempDir() + "zubcli_batch");
    ASSERT_EQ(6, eseqtest::WriteFloppyTree(tree.Path("src"), 2, 3, 5));
    const CliRun run = Zubcli({"batch", "--song-names", "--index-prefix", "--disk-names", "--list",
                               tree.Path("src"), tree.Path("out")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_NE(std::string::npos, run.out.find("Batch complete. 6 files converted.\n"));
    EXPECT_NE(std::string::npos, run.out.find(Shown(tree.Path("out") + "/Generated Disk 2/3Piece 2-3.MID\n")));
    // The top folder has no catalog, so "out" keeps its name.
    EXPECT_EQ(std::vector<std::string>({"Generated Disk 1/1Piece 1-1.MID", "Generated Disk 1/2Piece 1-2.MID",
                                        "Generated Disk 1/3Piece 1-3.MID", "Generated Disk 2/1Piece 2-1.MID",
                                        "Generated Disk 2/2Piece 2-2.MID", "Generated Disk 2/3Piece 2-3.MID"}),
              tree.Files("out"));
    EXPECT_EQ(Expected(tree.Read("src/DISK02/SONG01.FIL")), tree.Read("out/Generated Disk 2/1Piece 2-1.MID"));
}

TEST(ZubcliBatch, OptionsReachTheWalk)
{
    TempTree tree(testing::TempDir() + "zubcli_batch_options");
    EXPECT_TRUE(tree.Write("src/TOP.FIL", Song("top", true)));
    EXPECT_TRUE(tree.Write("src/sub/LOW.FIL", Song("low")));
    EXPECT_TRUE(tree.Write("out/TOP.MID", {'o', 'l', 'd'}));
    const CliRun run = Zubcli({"batch", "--no-traverse", "--no-overwrite", "--fixup", tree.Path("src"), tree.Path("out")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("Batch complete. 1 file converted.\n", run.out);
    EXPECT_EQ(std::vector<std::string>({"TOP.MID"}), tree.Files("out"));
    EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), tree.Read("out/TOP.MID"));
    EXPECT_EQ(0, Zubcli({"batch", "--fixup", tree.Path("src"), tree.Path("out")}).status);
    EXPECT_EQ(Expected(Song("top", true), true), tree.Read("out/TOP.MID"));
    EXPECT_EQ(Expected(Song("low")), tree.Read("out/sub/LOW.MID"));
}

TEST(ZubcliBatch, Problems)
{
    TempTree tree(testing::TempDir() + "zubcli_batch_bad");
    EXPECT_TRUE(tree.Write("src/A.FIL", Song("a")));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"batch", "src"}, 1, "zubcli: batch: expected SOURCE and TARGET folders\nTry 'zubcli --help'"},
        {{"batch", "--max-file", "7", "a", "b"}, 1, "zubcli: batch: --max-file expects 8 to 128"},
        {{"batch", "--max-dir", "x", "a", "b"}, 1, "zubcli: batch: --max-dir expects 8 to 128"},
        {{"batch", "--what", "a", "b"}, 1, "zubcli: batch: unknown option --what"},
        {{"batch", tree.Path("src"), tree.Path("no/such/out")}, 2,
         "zubcli: Can't create directory:  " + Shown(tree.Path("no/such/out")) +
             " A parent directory may not exist. Conversion Stopped.\n"},
        // Regression: a missing source said "Invalid File Handle Encountered".
        {{"batch", tree.Path("nothing"), tree.Path("out")}, 2,
         "zubcli: " + Shown(tree.Path("nothing")) + ": no such folder\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Zubcli(c.args);
        EXPECT_EQ(c.status, run.status) << c.args.back();
        EXPECT_EQ(0u, run.err.find(c.err)) << run.err;
    }
    EXPECT_FALSE(fs::exists(tree.Path("out")));  // created for the failed run, then removed
}

}  // namespace
