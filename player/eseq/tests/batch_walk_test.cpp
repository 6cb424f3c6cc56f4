#include "batch_walk.h"

#include <gtest/gtest.h>

#include "batch_host.h"
#include "eseq_convert.h"
#include "eseq_testdata.h"
#include "memory_fs.h"

namespace {

using eseq::BatchCommand;
using eseq::BatchOptions;
using eseq::BatchStep;
using eseqtest::BuildEseq;
using eseqtest::EseqSongSpec;
using Files = std::vector<std::string>;

std::vector<uint8_t> Song(const std::string& title, bool diskOrchestra = false)
{
    EseqSongSpec spec;
    spec.line1 = title.substr(0, 16);
    spec.line2 = title.size() > 16 ? title.substr(16) : "";
    spec.diskOrchestra = diskOrchestra;
    spec.events.NoteOn(1, 60, 64).Wait(10).NoteOff(1, 60);
    return BuildEseq(spec);
}

std::vector<uint8_t> Converted(const std::vector<uint8_t>& song)
{
    std::vector<uint8_t> midi;
    eseq::ConvertImage(song.data(), song.size(), eseq::ConvertOptions(), &midi);
    return midi;
}

std::vector<uint8_t> Catalog(const std::string& disk, const Files& names)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = disk;
    for (const std::string& file : names) {
        const size_t dot = file.find('.');
        eseqtest::PianodirRecord record;
        record.name = file.substr(0, dot);
        record.ext = dot == std::string::npos ? "" : file.substr(dot + 1);
        spec.records.push_back(record);
    }
    return eseqtest::BuildPianodir(spec);
}

struct WalkResult {
    int converted = 0;
    std::vector<std::string> errors;
    std::string line;
};

// A whole walk with the internal converter over the memory file system.
struct Rig {
    MemoryFs fs;
    std::vector<std::string> truncated;
    eseq::InternalBatchConverter converter{fs, eseq::ConvertOptions(), "C:\\Temp",
                                           [this](const std::string& path) { truncated.push_back(path); }};
    eseq::BatchWalk walk{fs, converter};

    BatchOptions Options(const std::string& source = "C:\\S", const std::string& target = "C:\\T")
    {
        BatchOptions o;
        o.source = source;
        o.target = target;
        return o;
    }

    WalkResult Walk(const BatchOptions& options)
    {
        WalkResult run;
        run.converted =
            eseq::RunBatch(walk, options, [&run](const std::string& error) { run.errors.push_back(error); });
        run.line = walk.Line();
        return run;
    }
};

// ---- Walking the tree -----------------------------------------------------

TEST(BatchWalkTree, ConvertsEverySongOfTheFolder)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\SONG01.FIL", Song("One"));
    rig.fs.AddFile("C:\\S\\SONG02.FIL", Song("Two"));
    rig.fs.AddFile("C:\\S\\README.TXT", {'h', 'i'});
    rig.fs.AddFile("C:\\S\\Pianodir.fil", Catalog("Disk", {"SONG01.FIL", "SONG02.FIL"}));
    const WalkResult run = rig.Walk(rig.Options());
    EXPECT_TRUE(run.errors.empty());
    EXPECT_EQ(2, run.converted);
    EXPECT_EQ("Batch complete. 2 files converted.", run.line);
    EXPECT_EQ(Files({"SONG01.MID", "SONG02.MID"}), rig.fs.FilesBelow("C:\\T"));
    EXPECT_EQ(Converted(Song("One")), rig.fs.FileBytes("C:\\T\\SONG01.MID"));
    EXPECT_TRUE(rig.fs.HasFile("C:\\S\\SONG01.FIL"));  // the source stays
}

TEST(BatchWalkTree, SubFoldersWithCreateSubDirectories)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\a\\A1.FIL", Song("a1"));
    rig.fs.AddFile("C:\\S\\a\\b\\B1.FIL", Song("b1"));
    rig.fs.AddFile("C:\\S\\Z.FIL", Song("z"));
    EXPECT_EQ(3, rig.Walk(rig.Options()).converted);
    EXPECT_EQ(Files({"a\\A1.MID", "a\\b\\B1.MID", "Z.MID"}), rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkTree, SubFoldersWithoutCreateSubDirectories)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\a\\a1.FIL", Song("a1"));
    rig.fs.AddFile("C:\\S\\a\\b\\b1.FIL", Song("b1"));
    rig.fs.AddFile("C:\\S\\a\\c1.FIL", Song("c1"));  // found after b
    rig.fs.AddFile("C:\\S\\z.FIL", Song("z"));       // found after a
    BatchOptions o = rig.Options();
    o.createSubdirs = false;
    EXPECT_EQ(4, rig.Walk(o).converted);
    EXPECT_EQ(Files({"a\\a1.MID", "a\\c1.MID", "b\\b1.MID", "z.MID"}), rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkTree, TrailingSeparatorsAreIgnored)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\a\\A1.FIL", Song("a1"));
    rig.fs.AddFile("C:\\S\\Pianodir.fil", Catalog("Disk", {}));
    rig.fs.AddFolder("C:\\Music");
    BatchOptions o = rig.Options("C:\\S\\", "C:\\Music\\Out\\");
    o.diskNames = true;
    EXPECT_EQ(1, rig.Walk(o).converted);
    EXPECT_TRUE(rig.fs.HasFile("C:\\Music\\Disk\\a\\A1.MID"));
}

TEST(BatchWalkTree, TraverseOffStaysInTheSourceFolder)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\a\\A1.FIL", Song("a1"));
    rig.fs.AddFile("C:\\S\\TOP.FIL", Song("top"));
    BatchOptions o = rig.Options();
    o.traverse = false;
    EXPECT_EQ(1, rig.Walk(o).converted);
    EXPECT_EQ(Files({"TOP.MID"}), rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkTree, DriveRootSourceKeepsItsPlaceAfterSubFolders)
{
    Rig rig;
    rig.fs.AddFile("C:\\A.FIL", Song("first"));
    rig.fs.AddFile("C:\\m\\M1.FIL", Song("m1"));
    rig.fs.AddFile("C:\\Z.FIL", Song("last"));
    EXPECT_EQ(3, rig.Walk(rig.Options("C:\\", "C:\\T")).converted);
    EXPECT_EQ(Files({"A.MID", "m\\M1.MID", "Z.MID"}), rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkTree, EmptyTargetFoldersAreRemoved)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\empty\\NOTES.TXT", {'x'});
    rig.fs.AddFile("C:\\S\\full\\F.FIL", Song("f"));
    rig.fs.AddFolder("C:\\T\\empty");  // there before the run: stays
    rig.fs.AddFolder("C:\\T2");
    EXPECT_EQ(1, rig.Walk(rig.Options()).converted);
    EXPECT_TRUE(rig.fs.HasFolder("C:\\T\\empty"));
    EXPECT_TRUE(rig.fs.HasFolder("C:\\T\\full"));
    EXPECT_EQ(0, rig.Walk(rig.Options("C:\\S\\empty", "C:\\T2\\new")).converted);
    EXPECT_FALSE(rig.fs.HasFolder("C:\\T2\\new"));
}

TEST(BatchWalkTree, TargetInsideTheSourceIsNeverWalked)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\ONE.FIL", Song("one"));
    rig.fs.AddFile("C:\\S\\a\\TWO.FIL", Song("two"));
    WalkResult run = rig.Walk(rig.Options("C:\\S", "C:\\S\\out"));
    EXPECT_TRUE(run.errors.empty());
    EXPECT_EQ(2, run.converted);
    EXPECT_EQ(Files({"a\\TWO.MID", "ONE.MID"}), rig.fs.FilesBelow("C:\\S\\out"));
    // A target deeper in the tree does not nest copies of itself.
    Rig deep;
    deep.fs.AddFile("C:\\S\\a\\TWO.FIL", Song("two"));
    run = deep.Walk(deep.Options("C:\\S", "C:\\S\\a\\out"));
    EXPECT_TRUE(run.errors.empty());
    EXPECT_EQ(Files({"a\\TWO.MID"}), deep.fs.FilesBelow("C:\\S\\a\\out"));
}

TEST(BatchWalkTree, SourceInsideTheTargetIsWalkedWhole)
{
    Rig rig;
    rig.fs.AddFile("C:\\T\\S\\a\\ONE.FIL", Song("one"));
    EXPECT_EQ(1, rig.Walk(rig.Options("C:\\T\\S", "C:\\T")).converted);
    EXPECT_TRUE(rig.fs.HasFile("C:\\T\\a\\ONE.MID"));
}

TEST(BatchWalkTree, ElevenLevelsStopAtTheDepthLimit)
{
    Rig rig;
    std::string folder = "C:\\S";
    for (int level = 1; level <= 11; ++level) {
        rig.fs.AddFile(folder + "\\A" + std::to_string(level) + ".FIL", Song("x"));  // listed before "d"
        folder += "\\d";
    }
    const WalkResult run = rig.Walk(rig.Options());
    ASSERT_EQ(1u, run.errors.size());
    EXPECT_EQ("Maximum Sub-directory depth (10) exceeded.\nConversion Stopped.", run.errors[0]);
    EXPECT_EQ(10, run.converted);
    EXPECT_EQ("Batch complete. 10 files converted.", run.line);

    Rig ten;
    folder = "C:\\S";
    for (int level = 1; level <= 10; ++level) {
        ten.fs.AddFile(folder + "\\L.FIL", Song("x"));
        folder += "\\d";
    }
    EXPECT_TRUE(ten.Walk(ten.Options()).errors.empty());
}

// ---- Choosing songs and writing them ----------------------------------------

TEST(BatchWalkFiles, DiskOrchestraSongsFollowSkipDoc)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\DOC.EVT", Song("doc", true));
    rig.fs.AddFile("C:\\S\\PIANO.FIL", Song("piano"));
    EXPECT_EQ(1, rig.Walk(rig.Options()).converted);
    BatchOptions o = rig.Options();
    o.skipDoc = false;
    EXPECT_EQ(2, rig.Walk(o).converted);
    EXPECT_TRUE(rig.fs.HasFile("C:\\T\\DOC.MID"));
}

TEST(BatchWalkFiles, OverwriteOffRefusesButCounts)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\SONG.FIL", Song("new"));
    rig.fs.AddFile("C:\\T\\SONG.MID", {'o', 'l', 'd'});
    BatchOptions o = rig.Options();
    o.overwrite = false;
    EXPECT_EQ(1, rig.Walk(o).converted);
    EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), rig.fs.FileBytes("C:\\T\\SONG.MID"));
    o.overwrite = true;
    rig.Walk(o);
    EXPECT_EQ(Converted(Song("new")), rig.fs.FileBytes("C:\\T\\SONG.MID"));
}

TEST(BatchWalkFiles, AFailedWriteIsNotCounted)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\A.FIL", Song("a"));
    rig.fs.AddFile("C:\\S\\B.FIL", Song("b"));
    rig.fs.AddFolder("C:\\T");
    rig.fs.Unwritable("C:\\T\\A.MID");
    const WalkResult run = rig.Walk(rig.Options());
    EXPECT_EQ(1, run.converted);
    EXPECT_EQ(Files({"C:\\T\\A.MID"}), rig.walk.Failed());
}

TEST(BatchWalkFiles, AnEseqSongIsNeverReplacedByItsConversion)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\SONG.MID", Song("eseq named like a MIDI file"));
    const WalkResult run = rig.Walk(rig.Options("C:\\S", "C:\\S"));
    EXPECT_EQ(0, run.converted);
    EXPECT_EQ(Song("eseq named like a MIDI file"), rig.fs.FileBytes("C:\\S\\SONG.MID"));
    EXPECT_EQ(Files({"C:\\S\\SONG.MID"}), rig.walk.Failed());
}

TEST(BatchWalkFiles, TruncatedSongsAreReportedAndStillWritten)
{
    Rig rig;
    EseqSongSpec bad;
    bad.events.Empty().Raw({0x40, 0x40});
    rig.fs.AddFile("C:\\S\\BAD.FIL", BuildEseq(bad));
    EXPECT_EQ(1, rig.Walk(rig.Options()).converted);
    EXPECT_EQ(Files({"C:\\Temp\\BAD.MID"}), rig.truncated);
    EXPECT_TRUE(rig.fs.HasFile("C:\\T\\BAD.MID"));
}

// A converter that leaves its result in a file, as the outside program does.
class FileConverter : public eseq::BatchConverter {
public:
    explicit FileConverter(MemoryFs& fs) : fs_(fs) {}
    bool Convert(const std::string& source, eseq::ConvertedSong* out) override
    {
        if (source.find("FAIL") != std::string::npos)
            return false;
        out->inMemory = false;
        out->path = source.substr(0, source.rfind('.')) + ".MID";
        fs_.AddFile(out->path, Converted(fs_.FileBytes(source)));
        return true;
    }

private:
    MemoryFs& fs_;
};

TEST(BatchWalkFiles, ConvertedFilesAreCopiedAndDeleted)
{
    MemoryFs fs;
    fs.AddFile("C:\\S\\ONE.FIL", Song("one"));
    fs.AddFile("C:\\S\\FAIL.FIL", Song("fail"));
    FileConverter converter(fs);
    eseq::BatchWalk walk(fs, converter);
    BatchOptions o;
    o.source = "C:\\S";
    o.target = "C:\\T";
    EXPECT_EQ(1, eseq::RunBatch(walk, o, [](const std::string&) {}));
    EXPECT_EQ(Converted(Song("one")), fs.FileBytes("C:\\T\\ONE.MID"));
    EXPECT_FALSE(fs.HasFile("C:\\S\\ONE.MID"));
}

// ---- Names ---------------------------------------------------------------

TEST(BatchWalkNames, EmbeddedSongNames)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\A.FIL", Song("Op. 27: No. 2"));
    rig.fs.AddFile("C:\\S\\B.FIL", Song(""));  // no title: the file's own name
    rig.fs.AddFile("C:\\S\\C.FIL", Song("A Rather Long Title Of A Piece"));
    BatchOptions o = rig.Options();
    o.songNames = true;
    o.maxFileLength = 9;
    EXPECT_EQ(3, rig.Walk(o).converted);
    // Cut to 9 characters, then ".MID"; a cut that ends in a space loses it.
    EXPECT_EQ(Files({"A Rather.MID", "B.MID", "Op 27 No.MID"}), rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkNames, IndexPrefixKeepsTheDiskOrder)
{
    struct Case {
        int songs;
        const char* expected;
    };
    for (const Case& c : {Case{12, "03 1ST.MID"}, Case{9, "3 1ST.MID"}}) {
        Rig rig;
        Files names;
        for (int i = 1; i <= c.songs; ++i)
            names.push_back(i == 3 ? "1ST.FIL" : "S" + std::to_string(i) + ".FIL");
        rig.fs.AddFile("C:\\S\\Pianodir.fil", Catalog("Disk", names));
        rig.fs.AddFile("C:\\S\\1st.fil", Song("x"));  // names compare without case
        rig.fs.AddFile("C:\\S\\OTHER.FIL", Song("y"));  // not in the catalog
        BatchOptions o = rig.Options();
        o.indexPrefix = true;
        rig.Walk(o);
        EXPECT_TRUE(rig.fs.HasFile(std::string("C:\\T\\") + c.expected)) << c.songs;
        EXPECT_TRUE(rig.fs.HasFile("C:\\T\\OTHER.MID")) << c.songs;
    }
}

TEST(BatchWalkNames, IndexPrefixWithSongNamesAndWithoutCatalog)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\Pianodir.fil", Catalog("Disk", {"A.FIL", "B.FIL"}));
    rig.fs.AddFile("C:\\S\\B.FIL", Song("Minuet"));
    rig.fs.AddFile("C:\\S\\x\\C.FIL", Song("Gavotte"));
    BatchOptions o = rig.Options();
    o.indexPrefix = true;
    o.songNames = true;
    rig.Walk(o);
    EXPECT_EQ(Files({"2Minuet.MID", "x\\Gavotte.MID"}), rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkNames, DiskNamesRenameTargetFolders)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\Pianodir.fil", Catalog("  Top: Disk  ", {"A.FIL"}));
    rig.fs.AddFile("C:\\S\\A.FIL", Song("a"));
    rig.fs.AddFile("C:\\S\\d1\\Pianodir.fil", Catalog("Classics Volume One", {"B.FIL"}));
    rig.fs.AddFile("C:\\S\\d1\\B.FIL", Song("b"));
    rig.fs.AddFile("C:\\S\\plain\\C.FIL", Song("c"));
    rig.fs.AddFolder("C:\\Music");
    BatchOptions o = rig.Options("C:\\S", "C:\\Music\\Out");
    o.diskNames = true;
    o.maxDirLength = 16;
    EXPECT_EQ(3, rig.Walk(o).converted);
    // The base target takes the disk's name; sub-folders too, cut to 16
    // characters without a trailing space.
    EXPECT_EQ(Files({"A.MID", "Classics Volume\\B.MID", "plain\\C.MID"}), rig.fs.FilesBelow("C:\\Music\\Top Disk"));
    EXPECT_FALSE(rig.fs.HasFolder("C:\\Music\\Out"));
}

TEST(BatchWalkNames, DiskNameBelowADriveRootGoesInside)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\Pianodir.fil", Catalog("Disk", {"A.FIL"}));
    rig.fs.AddFile("C:\\S\\A.FIL", Song("a"));
    rig.fs.AddFolder("C:\\Out");
    BatchOptions o = rig.Options("C:\\S", "C:\\Out");
    o.diskNames = true;
    rig.Walk(o);
    EXPECT_TRUE(rig.fs.HasFile("C:\\Out\\Disk\\A.MID"));
}

// Regression: three disks titled "Generated Disk 1" to "3", cut to 8
// characters, all went into "Generate"; each disk's songs overwrote the
// last one's, and the run still counted all 12.
TEST(BatchWalkNames, DisksWhoseCutNamesCollideGetFoldersOfTheirOwn)
{
    Rig rig;
    for (int disk = 1; disk <= 3; ++disk) {
        const std::string folder = "C:\\S\\DISK0" + std::to_string(disk);
        Files names;
        for (int song = 1; song <= 4; ++song) {
            names.push_back("SONG0" + std::to_string(song) + ".FIL");
            rig.fs.AddFile(folder + "\\" + names.back(), Song("Disk " + std::to_string(disk) + " song " + std::to_string(song)));
        }
        rig.fs.AddFile(folder + "\\Pianodir.fil", Catalog("Generated Disk " + std::to_string(disk), names));
    }
    BatchOptions o = rig.Options();
    o.diskNames = true;
    o.maxDirLength = 8;
    const WalkResult run = rig.Walk(o);
    EXPECT_TRUE(run.errors.empty());
    EXPECT_EQ("Batch complete. 12 files converted.", run.line);
    const Files files = rig.fs.FilesBelow("C:\\T");
    ASSERT_EQ(12u, files.size());
    EXPECT_EQ("Generate\\SONG01.MID", files[0]);
    EXPECT_EQ("Genera~2\\SONG01.MID", files[4]);
    EXPECT_EQ("Genera~3\\SONG01.MID", files[8]);
    EXPECT_EQ(Converted(Song("Disk 2 song 3")), rig.fs.FileBytes("C:\\T\\Genera~2\\SONG03.MID"));
    EXPECT_EQ(Converted(Song("Disk 3 song 4")), rig.fs.FileBytes("C:\\T\\Genera~3\\SONG04.MID"));

    // Run again into the same target: the same folders, overwritten in place.
    EXPECT_EQ(12, rig.Walk(o).converted);
    EXPECT_EQ(files, rig.fs.FilesBelow("C:\\T"));
}

TEST(BatchWalkNames, DisksOfOneTitleAreNotMerged)
{
    Rig rig;
    for (const char* disk : {"C:\\S\\a", "C:\\S\\b"}) {
        rig.fs.AddFile(std::string(disk) + "\\Pianodir.fil", Catalog("Chopin", {"A.FIL"}));
        rig.fs.AddFile(std::string(disk) + "\\A.FIL", Song(disk));
    }
    BatchOptions o = rig.Options();
    o.diskNames = true;
    EXPECT_EQ(2, rig.Walk(o).converted);
    EXPECT_EQ(Files({"Chopin\\A.MID", "Chopin~2\\A.MID"}), rig.fs.FilesBelow("C:\\T"));
}

// Songs of one title in one folder, or ESEQ files that differ only in their
// extension, would have overwritten each other.
TEST(BatchWalkNames, SongsThatWouldShareAFileNameGetNamesOfTheirOwn)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\A.FIL", Song("Minuet in G"));
    rig.fs.AddFile("C:\\S\\B.FIL", Song("Minuet in G"));
    rig.fs.AddFile("C:\\S\\C.FIL", Song("Minuet in G"));
    BatchOptions o = rig.Options();
    o.songNames = true;
    o.maxFileLength = 9;
    EXPECT_EQ(3, rig.Walk(o).converted);
    EXPECT_EQ(Files({"Minuet in.MID", "Minuet~2.MID", "Minuet~3.MID"}), rig.fs.FilesBelow("C:\\T"));
    EXPECT_EQ(Converted(Song("Minuet in G")), rig.fs.FileBytes("C:\\T\\Minuet~3.MID"));

    Rig plain;
    plain.fs.AddFile("C:\\S\\SONG01.FIL", Song("one"));
    plain.fs.AddFile("C:\\S\\SONG01.EVT", Song("two"));
    EXPECT_EQ(2, plain.Walk(plain.Options()).converted);
    EXPECT_EQ(Files({"SONG01.MID", "SONG01~2.MID"}), plain.fs.FilesBelow("C:\\T"));
    EXPECT_EQ(Converted(Song("one")), plain.fs.FileBytes("C:\\T\\SONG01~2.MID"));
}

// ---- Errors, cancelling and pacing --------------------------------------------

TEST(BatchWalkErrors, MessagesThatStopTheRun)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\A.FIL", Song("a"));
    WalkResult run = rig.Walk(rig.Options("", "C:\\T"));
    EXPECT_EQ(Files({"No Source Dir specified"}), run.errors);
    run = rig.Walk(rig.Options("C:\\S", ""));
    EXPECT_EQ(Files({"No Target Dir specified"}), run.errors);
    run = rig.Walk(rig.Options("C:\\S", "C:\\missing\\T"));
    EXPECT_EQ(Files({"Can't create directory:\n C:\\missing\\T\nA parent directory may not exist.\n"
                     "Conversion Stopped."}),
              run.errors);
    EXPECT_EQ("Batch complete. 0 files converted.", run.line);
    rig.fs.Unlistable("C:\\S");
    run = rig.Walk(rig.Options());
    EXPECT_EQ(Files({"Invalid File Handle Encountered.\n\nConversion Stopped."}), run.errors);
    EXPECT_FALSE(rig.fs.HasFolder("C:\\T"));  // created by the run and left empty
}

TEST(BatchWalkErrors, CancelEndsTheRunAndLaterStepsAreIgnored)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\A.FIL", Song("a"));
    rig.fs.AddFile("C:\\S\\B.FIL", Song("b"));
    ASSERT_EQ("", rig.walk.Start(rig.Options()));
    rig.walk.SetPacing(false);
    BatchStep step = rig.walk.Step(BatchCommand::EnterFolder);
    ASSERT_EQ(BatchCommand::ConvertEntry, step.next);
    step = rig.walk.Step(step.next);
    EXPECT_EQ(1, rig.walk.Converted());
    EXPECT_EQ("C:\\S\\A.FIL", rig.walk.Line());
    step = rig.walk.Step(BatchCommand::Finish);  // button 2 during the run
    EXPECT_EQ(BatchStep::Ended, step.kind);
    EXPECT_EQ("Batch complete. 1 file converted.", rig.walk.Line());
    EXPECT_FALSE(rig.walk.Running());
    EXPECT_EQ(BatchStep::Ended, rig.walk.Step(BatchCommand::NextEntry).kind);  // was already posted
    EXPECT_EQ(1, rig.walk.Converted());
}

TEST(BatchWalkErrors, PacingWaitsBeforeEachFile)
{
    Rig rig;
    rig.fs.AddFile("C:\\S\\A.FIL", Song("a"));
    ASSERT_EQ("", rig.walk.Start(rig.Options()));
    BatchStep step = rig.walk.Step(BatchCommand::EnterFolder);
    step = rig.walk.Step(step.next);
    EXPECT_EQ(BatchStep::WaitThen, step.kind);
    EXPECT_EQ(BatchCommand::ConvertEntry, step.next);
    EXPECT_EQ(0, rig.walk.Converted());
    step = rig.walk.Step(step.next);
    EXPECT_EQ(BatchStep::Post, step.kind);
    EXPECT_EQ(1, rig.walk.Converted());
}

}  // namespace
