// zubcli build (the walk of "Build Playlist from Directory Tree") and
// zubcli play --map (a capture of what the instrument receives).
#include <gtest/gtest.h>

#include "cli_run.h"
#include "eseq_testdata.h"
#include "playlist_commands.h"
#include "songbuilder.h"
#include "temp_tree.h"

namespace {

using eseqtest::TempTree;

std::vector<uint8_t> Text(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Midi(const std::string& title)
{
    Track track;
    if (!title.empty())
        track.Meta(0, 0x03, Text(title));
    return BuildSong(0, 384, {track.NoteOn(0, 1, 60, 90).NoteOff(384, 1, 60).End()});
}

std::vector<uint8_t> Eseq(const std::string& title, bool ensemble)
{
    eseqtest::EseqSongSpec spec;
    spec.line1 = title;
    spec.kindByteZero = !ensemble;
    spec.events.NoteOn(1, 60, 64).Wait(384).NoteOff(1, 60);
    return eseqtest::BuildEseq(spec);
}

// ---- build ---------------------------------------------------------------------

void SongTree(TempTree& tree)
{
    eseqtest::PianodirSpec disk;
    disk.diskTitle = "Floppy One";
    disk.records.push_back({"SONG01", "FIL", 120, 384 * 8, false, "Disk Song"});
    ASSERT_TRUE(tree.Write("Disks/One/Pianodir.fil", eseqtest::BuildPianodir(disk)));
    ASSERT_TRUE(tree.Write("Disks/One/SONG01.FIL", Eseq("Disk Song", false)));
    ASSERT_TRUE(tree.Write("Midi/tune.mid", Midi("Tune")));
    ASSERT_TRUE(tree.Write("Midi/blank.mid", Midi("")));
    ASSERT_TRUE(tree.Write("Midi/sing.kar", Midi("Sing")));
    ASSERT_TRUE(tree.Write("Eseq/lr.fil", Eseq("Left Right", true)));
    ASSERT_TRUE(tree.Write("Eseq/notes.txt", Text("not a song")));
}

TEST(ZubcliBuild, ListsWhatTheDialogWouldAddWithTheSameFilters)
{
    TempTree tree(testing::TempDir() + "zubcli_build");
    SongTree(tree);
    CliRun run = Zubcli({"build", tree.Path("")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("Floppy One [Piano]")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("    lr.fil                    Left Right")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("5 songs in 3 folders, ")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("notes.txt")) << run.out;

    run = Zubcli({"build", "--json", "--no-karaoke", "--no-ensemble", "--no-blank", tree.Path("Midi")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, run.out.find("{\"root\":" + JsonString(tree.Path("Midi")) +
                               ",\"folders\":1,\"songs\":1,\"total_seconds\":1,\"stopped\":null,\"skipped\":[],"
                               "\"rows\":[{\"kind\":\"folder\",\"icon\":\"Folder\",\"name\":\"Midi\""))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"name\":\"tune.mid\",\"title\":\"Tune\"")) << run.out;

    run = Zubcli({"build", "--blank-only", tree.Path("")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("    blank.mid")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("1 song in 1 folder, ")) << run.out;
}

TEST(ZubcliBuild, AMessageThatStopsTheWalkGivesStatus2AndTheRowsSoFar)
{
    TempTree tree(testing::TempDir() + "zubcli_build_deep");
    std::string deep = "z";
    for (int i = 0; i < 12; ++i)
        deep += "/d";
    ASSERT_TRUE(tree.Write("a/first.mid", Midi("First")));
    ASSERT_TRUE(tree.Write(deep + "/deep.mid", Midi("Deep")));
    CliRun run = Zubcli({"build", "--json", tree.Path("")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("zubcli: Maximum Sub-directory depth exceeded. Playlist Build Stopped.\n"))
        << run.err;
    EXPECT_NE(std::string::npos,
              run.out.find("\"stopped\":\"Maximum Sub-directory depth exceeded.\\u000aPlaylist Build Stopped.\""))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"name\":\"first.mid\"")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("deep.mid")) << run.out;

    run = Zubcli({"build", tree.Path("nowhere")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("Invalid file handle encountered.")) << run.err;
    EXPECT_EQ(1, Zubcli({"build", "--no-such-box", tree.Path("")}).status);
    EXPECT_EQ(1, Zubcli({"build"}).status);
}

// ---- play --map --------------------------------------------------------------------

// Every hook: a program change that needs both bank bytes, one that needs
// the MSB, one the LSB, one in the same bank, one found through the any-bank
// entry, a drum channel moved with its own and its channel's note sections.
const char kMap[] =
    "0-0-1 256-1-11\r\n"
    "0-0-2 256-0-12\r\n"
    "0-0-3 0-1-13\r\n"
    "0-0-4 0-0-14\r\n"
    "0-255-5 0-0-15\r\n"
    "0-0-10 255-255-16\r\n"
    "0-0-25 255-255-255\r\n"
    "36 38\r\n"
    "255 255\r\n"
    "0-255-10 255-255-255\r\n"
    "40 41\r\n"
    "255 255\r\n";

std::vector<uint8_t> MappedSong()
{
    Track t;
    t.Ev(0, {0xB0, 0, 0}).Ev(0, {0xB0, 32, 0}).Program(0, 1, 1);
    t.Program(0, 2, 2).Program(0, 3, 3).Program(0, 4, 4);
    t.Ev(0, {0xB4, 0, 3}).Program(0, 5, 5);
    t.Program(0, 10, 25);
    t.NoteOn(96, 10, 36, 100).NoteOn(0, 10, 40, 100).NoteOn(0, 1, 36, 90);
    t.Ev(96, {0xE9, 0, 0x50});
    t.NoteOff(96, 10, 36).NoteOff(0, 10, 40).NoteOff(0, 1, 36);
    return BuildSong(0, 96, {t.End()});
}

TEST(ZubcliPlayMap, TheCaptureHoldsExactlyWhatTheMapMakesOfTheSong)
{
    TempTree tree(testing::TempDir() + "zubcli_play_map");
    ASSERT_TRUE(tree.Write("song.mid", MappedSong()));
    ASSERT_TRUE(tree.Write("drums.map", Text(kMap)));
    CliRun run = Zubcli({"play", "--fast", "--map", tree.Path("drums.map"), "--capture", tree.Path("out.mid"),
                         tree.Path("song.mid")});
    ASSERT_EQ(0, run.status) << run.err;
    const CliRun events = Zubcli({"events", tree.Path("out.mid")});
    EXPECT_EQ("0 0 0 b0 00 00\n"
              "0 0 0 b0 20 00\n"
              "0 0 0 b0 00 01\n"  // program 1 -> 11 of bank 1/1, then the channel's bank back
              "0 0 0 b0 20 01\n"
              "0 0 0 c0 0b\n"
              "0 0 0 b0 00 00\n"
              "0 0 0 b0 20 00\n"
              "0 0 0 b1 00 01\n"  // program 2 -> 12 of bank 1/0
              "0 0 0 c1 0c\n"
              "0 0 0 b1 00 00\n"
              "0 0 0 b2 20 01\n"  // program 3 -> 13 of bank 0/1
              "0 0 0 c2 0d\n"
              "0 0 0 b2 20 00\n"
              "0 0 0 c3 0e\n"     // program 4 -> 14, the same bank
              "0 0 0 b4 00 03\n"
              "0 0 0 b4 00 00\n"  // program 5 of bank 3/0 -> 15 of bank 0/0
              "0 0 0 c4 0f\n"
              "0 0 0 b4 00 03\n"
              "0 0 0 cf 19\n"     // channel 10 plays on channel 16
              "96 96 0 9f 26 64\n"  // the kit's own section: 36 -> 38
              "96 0 0 9f 29 64\n"   // the channel's section: 40 -> 41
              "96 0 0 90 24 5a\n"
              "192 96 0 ef 00 50\n"
              "288 96 0 8f 26 40\n"
              "288 0 0 8f 29 40\n"
              "288 0 0 80 24 40\n"
              "288 0 0 ff 2f\n",
              events.out);
}

TEST(ZubcliPlayMap, AMalformedMapNamesTheLineAndPlaysOnlyTheLinesBeforeIt)
{
    TempTree tree(testing::TempDir() + "zubcli_play_badmap");
    ASSERT_TRUE(tree.Write("song.mid",
                           BuildSong(0, 96, {Track().Program(0, 1, 4).Program(0, 2, 1).NoteOn(0, 1, 60, 90).End(96)})));
    ASSERT_TRUE(tree.Write("bad.map", Text("0-0-4 0-0-14\n0-0-1 0-0-\n0-0-60 0-0-61\n")));
    CliRun run = Zubcli({"play", "--fast", "--map", tree.Path("bad.map"), "--capture", tree.Path("out.mid"),
                         tree.Path("song.mid")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("bad.map: line 2: expected a source and a target voice")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("the lines before it are used")) << run.err;
    EXPECT_EQ("0 0 0 c0 0e\n0 0 0 c1 01\n0 0 0 90 3c 5a\n96 96 0 ff 2f\n", Zubcli({"events", tree.Path("out.mid")}).out);

    run = Zubcli({"play", "--fast", "--map", tree.Path("none.map"), tree.Path("song.mid")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("none.map: cannot be opened")) << run.err;
    EXPECT_EQ("", run.out) << "nothing is played with a map that is not there";
}

}  // namespace
