#include <gtest/gtest.h>

#include <filesystem>

#include "build_walk.h"
#include "temp_tree.h"
#include "tree_rig.h"

namespace {

using namespace playlist;
using pltest::TreeRig;

std::vector<uint8_t> Eseq(const std::string& title, bool kindByteZero, bool diskOrchestra = false)
{
    eseqtest::EseqSongSpec spec;
    spec.line1 = title;
    spec.kindByteZero = kindByteZero;
    spec.diskOrchestra = diskOrchestra;
    spec.events.NoteOn(1, 60, 64).Wait(50).NoteOff(1, 60);
    return eseqtest::BuildEseq(spec);
}

std::vector<uint8_t> Pianodir(const std::string& title, bool ensemble)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = title;
    spec.records.push_back({"SONG01", "FIL", 120, 384 * 8, ensemble, "One"});
    return eseqtest::BuildPianodir(spec);
}

std::vector<std::string> Names(const TreeRig& rig)
{
    std::vector<std::string> out;
    for (const PlaylistRow& r : rig.rows.Rows())
        out.push_back(r.IsFolder() ? r.Name() + " [" + r.icon + "]" : r.Name());
    return out;
}

// A chain of `levels` folders below C:\R named by `name`, with a song at the end.
std::string Chain(TreeRig& rig, const std::string& name, int levels)
{
    std::string folder = "C:\\R";
    for (int i = 1; i <= levels; ++i)
        folder += "\\" + name + std::to_string(i);
    rig.Add(folder + "\\" + name + ".mid", pltest::MidiSong(name));
    return folder;
}

// ---- what qualifies ----------------------------------------------------------------

TEST(BuildWalk, TheKindBoxesDecideWhichFilesQualify)
{
    struct Case {
        const char* boxes;
        void (*set)(ScanFilter&);
        std::vector<std::string> listed;
    };
    const std::vector<std::string> everything = {"R [Folder]", "a.mid", "b.RMI", "c.kar",
                                                  "d.fil",      "e.fil", "f.evt"};
    const Case cases[] = {
        {"all", [](ScanFilter&) {}, everything},
        {"no MIDI", [](ScanFilter& f) { f.midiFiles = false; }, {"R [Folder]", "c.kar", "d.fil", "e.fil", "f.evt"}},
        {"no karaoke", [](ScanFilter& f) { f.karaokeFiles = false; }, {"R [Folder]", "a.mid", "b.RMI", "d.fil", "e.fil", "f.evt"}},
        {"no DOC", [](ScanFilter& f) { f.docFiles = false; }, {"R [Folder]", "a.mid", "b.RMI", "c.kar", "d.fil", "e.fil"}},
        {"no solo: byte 73 zero is solo", [](ScanFilter& f) { f.eseqSolo = false; },
         {"R [Folder]", "a.mid", "b.RMI", "c.kar", "e.fil", "f.evt"}},
        {"no ensemble: byte 73 nonzero is L/R", [](ScanFilter& f) { f.eseqEnsemble = false; },
         {"R [Folder]", "a.mid", "b.RMI", "c.kar", "d.fil", "f.evt"}},
        {"no ESEQ box", [](ScanFilter& f) { f.docFiles = f.eseqSolo = f.eseqEnsemble = false; },
         {"R [Folder]", "a.mid", "b.RMI", "c.kar"}},
        {"no kind at all", [](ScanFilter& f) { f.docFiles = f.eseqSolo = f.eseqEnsemble = f.midiFiles = f.karaokeFiles = f.blankTitles = false; },
         {}},
    };
    for (const Case& c : cases) {
        TreeRig rig;
        rig.Add("C:\\R\\a.mid", pltest::MidiSong("A"));
        rig.Add("C:\\R\\b.RMI", pltest::MidiSong("B"));
        rig.Add("C:\\R\\c.kar", pltest::MidiSong("C"));
        rig.Add("C:\\R\\d.fil", Eseq("Solo", true));
        rig.Add("C:\\R\\e.fil", Eseq("Ensemble", false));
        rig.Add("C:\\R\\f.evt", Eseq("Orchestra", true, true));
        rig.Add("C:\\R\\g.txt", pltest::Bytes(std::string(200, 'x')));
        rig.Add("C:\\R\\h.zub", pltest::Bytes("C:\\R\\a.mid\r\n"));
        ScanFilter filter;
        c.set(filter);
        EXPECT_TRUE(rig.Build("C:\\R", filter).empty()) << c.boxes;
        EXPECT_EQ(c.listed, Names(rig)) << c.boxes;
    }
}

TEST(BuildWalk, BlankTitlesOnlyCollectsUntitledMidiFilesAndNothingElse)
{
    TreeRig rig;
    rig.Add("C:\\R\\titled.mid", pltest::MidiSong("Tune"));
    rig.Add("C:\\R\\blank.mid", pltest::MidiSong(""));
    rig.Add("C:\\R\\untitled.rmi", pltest::MidiSong("Untitled"));
    rig.Add("C:\\R\\blank.kar", pltest::MidiSong(""));
    rig.Add("C:\\R\\blank.fil", Eseq("", true));
    ScanFilter filter;
    filter.docFiles = filter.eseqSolo = filter.eseqEnsemble = filter.midiFiles = filter.karaokeFiles = false;
    rig.Build("C:\\R", filter);
    EXPECT_EQ((std::vector<std::string>{"R [Folder]", "blank.mid", "untitled.rmi"}), Names(rig));
}

// Two ESEQ disks of the same title (solo, then L/R) and a Disk Orchestra
// disk, each with a song and more beside it.
void DiskTree(TreeRig& rig)
{
    rig.Add("C:\\R\\Solo\\Pianodir.fil", Pianodir("Same Title", false));
    rig.Add("C:\\R\\Solo\\SONG01.FIL", Eseq("One", true));
    rig.Add("C:\\R\\Solo\\loose.mid", pltest::MidiSong("Loose"));
    rig.Add("C:\\R\\Solo\\Deeper\\deep.mid", pltest::MidiSong("Deep"));
    rig.Add("C:\\R\\Twin\\Pianodir.fil", Pianodir("Same Title", true));
    rig.Add("C:\\R\\Twin\\SONG01.FIL", Eseq("One", false));
    eseqtest::MusicDirSpec music;
    music.diskTitle = "Orchestra";
    music.songs.push_back({"SONG01", "EVT", "Short"});
    rig.Add("C:\\R\\Doc\\Music.dir", eseqtest::BuildMusicDir(music));
    rig.Add("C:\\R\\Doc\\SONG01.EVT", Eseq("Doc", true, true));
    rig.Add("C:\\R\\Doc\\other.mid", pltest::MidiSong("Other"));
}

TEST(BuildWalk, FoldersWithACatalogAreDisksAndAreNeverWalkedInto)
{
    struct Case {
        const char* boxes;
        void (*set)(ScanFilter&);
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"a second disk of the same title is skipped", [](ScanFilter&) {},
         {"Orchestra [PianoDoc]", "SONG01.EVT", "Same Title [Piano]", "SONG01.FIL"}},
        {"Duplicate Disks", [](ScanFilter& f) { f.duplicateDisks = true; },
         {"Orchestra [PianoDoc]", "SONG01.EVT", "Same Title [Piano]", "SONG01.FIL", "Same Title [Piano+]",
          "SONG01.FIL"}},
        {"no solo: the L/R disk", [](ScanFilter& f) { f.eseqSolo = false; },
         {"Orchestra [PianoDoc]", "SONG01.EVT", "Same Title [Piano+]", "SONG01.FIL"}},
        {"no ESEQ and no DOC: nothing, and no disk folder walked",
         [](ScanFilter& f) { f.eseqSolo = f.eseqEnsemble = f.docFiles = false; }, {}},
    };
    for (const Case& c : cases) {
        TreeRig rig;
        DiskTree(rig);
        ScanFilter filter;
        c.set(filter);
        EXPECT_TRUE(rig.Build("C:\\R", filter).empty()) << c.boxes;
        EXPECT_EQ(c.listed, Names(rig)) << c.boxes;
        EXPECT_EQ(1, rig.lister.opened) << c.boxes << ": only the root is listed";
    }
}

TEST(BuildWalk, ARootHoldingPianodirYieldsOneDiskAndEndsAtOnce)
{
    TreeRig rig;
    rig.Add("D:\\Disk\\Pianodir.fil", Pianodir("Floppy", false));
    rig.Add("D:\\Disk\\SONG01.FIL", Eseq("One", true));
    rig.Add("D:\\Disk\\Sub\\more.mid", pltest::MidiSong("More"));
    EXPECT_TRUE(rig.Build("D:\\Disk\\").empty());
    EXPECT_EQ((std::vector<std::string>{"Floppy [Piano]", "SONG01.FIL"}), Names(rig));
    EXPECT_EQ(0, rig.lister.opened);
    EXPECT_EQ(1, rig.walk.DisksAdded());
    EXPECT_EQ(0, rig.walk.SongsAdded());
}

TEST(BuildWalk, DotFoldersAreSkippedAndSubfoldersFollowTheirParentsFiles)
{
    TreeRig rig;
    rig.Add("C:\\R\\.hidden\\h.mid", pltest::MidiSong("Hidden"));
    rig.Add("C:\\R\\B\\b.mid", pltest::MidiSong("B"));
    rig.Add("C:\\R\\a.mid", pltest::MidiSong("A"));
    rig.Add("C:\\R\\c.mid", pltest::MidiSong("C"));
    rig.Build("C:\\R");
    EXPECT_EQ((std::vector<std::string>{"R [Folder]", "a.mid", "c.mid", "B [Folder]", "b.mid"}), Names(rig))
        << "listing order: a.mid, B, c.mid; c.mid joins its folder's group";
    EXPECT_EQ(3, rig.walk.SongsAdded());
}

// ---- how the walk ends --------------------------------------------------------------

TEST(BuildWalk, TwelveLevelsAreWalkedAndTheThirteenthStopsTheWalk)
{
    TreeRig rig;
    Chain(rig, "a", 11);  // the root and 11 levels below it
    Chain(rig, "b", 12);
    Chain(rig, "c", 1);
    const std::vector<std::string> messages = rig.Build("C:\\R");
    EXPECT_EQ(std::vector<std::string>{kBuildTooDeep}, messages);
    EXPECT_EQ((std::vector<std::string>{"a11 [Folder]", "a.mid"}), Names(rig)) << "what was added stays; c is never reached";
    EXPECT_FALSE(rig.walk.Running());
    EXPECT_EQ(-1, rig.walk.Depth());
    EXPECT_EQ(0, rig.lister.open) << "every listing is closed";
    EXPECT_EQ(nullptr, rig.builder.options.scan);
}

TEST(BuildWalk, AFolderThatCannotBeListedStopsTheWalkWithWhatWasAdded)
{
    TreeRig rig;
    rig.Add("C:\\R\\a\\1.mid", pltest::MidiSong("One"));
    rig.Folder("C:\\R\\b");
    rig.lister.Unreadable("C:\\R\\b");
    rig.Add("C:\\R\\c\\2.mid", pltest::MidiSong("Two"));
    EXPECT_EQ(std::vector<std::string>{kBuildCannotList}, rig.Build("C:\\R"));
    EXPECT_EQ((std::vector<std::string>{"a [Folder]", "1.mid"}), Names(rig));
    EXPECT_EQ(0, rig.lister.open);

    TreeRig missing;
    EXPECT_EQ(std::vector<std::string>{kBuildCannotList}, missing.Build("C:\\Nowhere"));
    EXPECT_EQ(0, missing.rows.Count());
}

TEST(BuildWalk, AFullPlaylistEndsTheWalkAfterTheOverflowMessage)
{
    TreeRig rig;
    const std::vector<uint8_t> song = pltest::MidiSong("");
    for (int f = 0; f < 42; ++f) {
        for (int s = 0; s < 200; ++s)
            rig.Add("C:\\R\\F" + std::to_string(100 + f) + "\\s" + std::to_string(100 + s) + ".mid", song);
    }
    EXPECT_TRUE(rig.Build("C:\\R").empty());
    EXPECT_EQ(kMaxRows, rig.rows.Count());
    EXPECT_EQ(std::vector<int>{kMaxRows}, rig.events.overflows) << "shown once, with 8192";
    EXPECT_EQ(rig.walk.SongsAdded(), rig.probe.measured) << "nothing is measured once the list is full";
    EXPECT_EQ(kMaxRows - 41, rig.walk.SongsAdded()) << "41 folder rows";
    EXPECT_FALSE(rig.walk.Running());
    EXPECT_EQ(0, rig.lister.open);
}

TEST(BuildWalk, PathsBeyondTheProgramsLimitAreSkippedAndNoted)
{
    TreeRig rig;
    const std::string fits = "C:\\R\\" + std::string(kMaxPathLength - 5 - 6, 'f');  // "\x.mid" still fits
    const std::string tooLong = "C:\\R\\" + std::string(kMaxPathLength - 4, 'g');
    rig.Add(fits + "\\x.mid", pltest::MidiSong("Fits"));
    rig.Add(fits + "\\xy.mid", pltest::MidiSong("One Too Many"));
    rig.Add(tooLong + "\\z.mid", pltest::MidiSong("Never"));
    EXPECT_TRUE(rig.Build("C:\\R").empty());
    ASSERT_EQ(2, rig.rows.Count());
    EXPECT_EQ(kMaxPathLength, rig.rows.Read(1).Path().size());
    EXPECT_EQ((std::vector<std::string>{fits + "\\xy.mid: skipped, the path is longer than 259 characters",
                                        tooLong + ": skipped, the path is longer than 259 characters"}),
              rig.walk.Skipped());
}

TEST(BuildWalk, FoldersReachedAgainThroughLinksAreWalkedOnce)
{
    namespace fs = std::filesystem;
    eseqtest::TempTree tree(testing::TempDir() + "build_walk_links");
    ASSERT_TRUE(tree.Write("A/song.mid", pltest::MidiSong("Song")));
    std::error_code ec;
    fs::create_directory_symlink("..", tree.Path("A/back"), ec);
    if (ec)
        GTEST_SKIP() << "folder links cannot be made here: " << ec.message();
    fs::create_directory_symlink(tree.Path("A"), tree.Path("B"), ec);
    ASSERT_FALSE(ec) << ec.message();
    fs::create_directory_symlink(tree.Path("A/back/B/back"), tree.Path("C"), ec);  // a link to the root

    HostPlaylistFiles files;
    HostFolderLister lister;
    VectorRowStore rows;
    pltest::CountingProbe probe;
    PlaylistBuilder builder(rows, files, &probe);
    BuildWalk walk(builder, rows, files, lister);
    std::vector<std::string> messages;
    BuildOptions options;
    options.root = tree.Path("");
    RunBuild(walk, options, [&](const std::string& m) { messages.push_back(m); });
    EXPECT_TRUE(messages.empty()) << messages[0];
    ASSERT_EQ(2, rows.Count());
    EXPECT_EQ(tree.Path("A/song.mid"), rows.Read(1).Path());
    const std::vector<std::string> skipped = walk.Skipped();
    ASSERT_EQ(3u, skipped.size());
    for (const std::string& s : skipped)
        EXPECT_NE(std::string::npos, s.find(": skipped, it leads to a folder walked already")) << s;
}

// ---- steps --------------------------------------------------------------------

// Each step as "<command>><next>" or "<command>~<next>" for a pause.
std::vector<std::string> Steps(TreeRig& rig, uint32_t pacingMs)
{
    BuildOptions options;
    options.root = "C:\\R";
    options.pacingMs = pacingMs;
    rig.walk.Start(options);
    std::vector<std::string> trace;
    BuildCommand command = BuildCommand::EnterFolder;
    for (int i = 0; i < 100; ++i) {
        const BuildStep step = rig.walk.Step(command);
        std::string line = std::to_string(static_cast<int>(command));
        if (step.kind == BuildStep::Ended) {
            trace.push_back(line + " end");
            break;
        }
        EXPECT_EQ(step.kind == BuildStep::Wait ? pacingMs : 0u, step.waitMs);
        trace.push_back(line + (step.kind == BuildStep::Wait ? "~" : ">") + std::to_string(static_cast<int>(step.next)));
        command = step.next;
    }
    return trace;
}

TEST(BuildWalk, EachStepDoesOneThingAndPacingPausesBeforeEveryLaterEntry)
{
    TreeRig rig;
    rig.Add("C:\\R\\a.mid", pltest::MidiSong("A"));
    rig.Add("C:\\R\\S\\b.mid", pltest::MidiSong("B"));
    EXPECT_EQ((std::vector<std::string>{"102>104", "104>103", "103>104", "104~104", "104>102", "102>104",
                                        "104~104", "104>103", "103>104", "104~104", "104>104", "104~104",
                                        "104>101", "101 end"}),
              Steps(rig, kBuildPacingMs));

    TreeRig shift;
    shift.Add("C:\\R\\a.mid", pltest::MidiSong("A"));
    shift.Add("C:\\R\\S\\b.mid", pltest::MidiSong("B"));
    EXPECT_EQ((std::vector<std::string>{"102>104", "104>103", "103>104", "104>102", "102>104", "104>103", "103>104",
                                        "104>104", "104>101", "101 end"}),
              Steps(shift, 0))
        << "Shift held down: no pauses";
    EXPECT_EQ(rig.Paths(), shift.Paths());
}

TEST(BuildWalk, StopEndsTheWalkAtOnceEvenDuringAPause)
{
    TreeRig rig;
    Chain(rig, "a", 5);
    rig.Add("C:\\R\\z.mid", pltest::MidiSong("Z"));
    BuildOptions options;
    options.root = "C:\\R";
    rig.walk.Start(options);
    EXPECT_TRUE(rig.walk.Running());
    BuildStep step = rig.walk.Step(BuildCommand::EnterFolder);
    while (!(rig.walk.Depth() == 3 && step.kind == BuildStep::Wait))
        step = rig.walk.Step(step.next);
    EXPECT_EQ("C:\\R\\a1\\a2\\a3", rig.walk.CurrentFolder());
    EXPECT_EQ(4, rig.lister.open);
    EXPECT_EQ(BuildStep::Ended, rig.walk.Step(BuildCommand::Stop).kind);
    EXPECT_FALSE(rig.walk.Running());
    EXPECT_EQ(0, rig.lister.open) << "listings still open when the user stops are closed";
    EXPECT_EQ(BuildStep::Ended, rig.walk.Step(BuildCommand::NextEntry).kind) << "the timer's late step";
    EXPECT_EQ(0, rig.rows.Count());
    EXPECT_EQ(nullptr, rig.builder.options.scan) << "the adding routine no longer filters";
}

// ---- the status text -------------------------------------------------------------

TEST(BuildStatus, LongFoldersAreShortenedAroundThreeDots)
{
    const auto chars = [](const std::string& s) { return static_cast<int>(s.size()); };
    struct Case {
        const char* text;
        int width;
        const char* shown;
    };
    const Case cases[] = {
        {"C:\\Songs", 20, "C:\\Songs"},
        {"C:\\Songs\\Classical\\Bach", 20, "C:\\Songs...cal\\Bach"},  // n = 9, 9, then 8
        {"C:\\Songs\\Classical\\Bach", 3, "..."},
        {"abcdefgh", 0, "..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shown, ShortenToWidth(c.text, c.width, chars)) << c.text << " in " << c.width;
}

}  // namespace
