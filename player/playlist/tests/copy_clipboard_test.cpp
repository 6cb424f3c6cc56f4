#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>

#include "clipboard_rules.h"
#include "copy_target_choice.h"
#include "copy_to_target.h"
#include "tree_rig.h"
#include "voice_map_rows.h"

namespace {

using namespace playlist;
using pltest::TreeRig;

// A floppy in memory: a capacity, a disk that may be missing a few times,
// files whose writes fail, an erase that may fail.
class FakeFloppy : public floppy::CopyTarget {
public:
    std::string Name() const override { return name; }
    bool IsPresent() override { return missing-- <= 0; }
    bool IsBlank() override { return files.empty() && !hasFolder; }
    bool Erase() override
    {
        ++erases;
        if (eraseFails)
            return false;
        files.clear();
        return true;
    }
    uint64_t FreeBytes() override { return capacity - Used(); }
    floppy::TargetWrite WriteFile(const std::string& file, const std::vector<uint8_t>& bytes) override
    {
        writes.push_back(file);
        if (failing.count(file) && failing[file]-- > 0)
            return floppy::TargetWrite::Failed;
        if (Used() - (files.count(file) ? files[file].size() : 0) + bytes.size() > capacity)
            return floppy::TargetWrite::DiskFull;
        files[file] = bytes;
        return floppy::TargetWrite::Written;
    }
    bool ReplaceDisk() override
    {
        ++replaced;
        files.clear();
        return true;
    }
    bool Commit() override
    {
        ++commits;
        return true;
    }

    size_t Used() const
    {
        size_t n = 0;
        for (const auto& f : files)
            n += f.second.size();
        return n;
    }

    std::string name = "A:";
    int missing = 0;
    bool hasFolder = false;
    bool eraseFails = false;
    size_t capacity = 1 << 20;
    std::map<std::string, int> failing;  // name: how many writes fail
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> writes;
    int erases = 0, replaced = 0, commits = 0;
};

// Answers from a script; every question and message recorded.
class ScriptedPrompter : public CopyPrompter {
public:
    CopyAnswer Ask(CopyQuestion question, const std::string& caption, const std::string& text) override
    {
        asked.push_back(caption + ": " + text);
        questions.push_back(question);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question " << text;
            return CopyAnswer::Cancel;
        }
        const CopyAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Error(const std::string& text) override { errors.push_back(text); }
    void Busy(bool busy) override { busyDepth += busy ? 1 : -1; }

    std::deque<CopyAnswer> answers;
    std::vector<std::string> asked;
    std::vector<CopyQuestion> questions;
    std::vector<std::string> errors;
    int busyDepth = 0;
};

// A catalog disk with two songs, a name file and a subfolder, and a folder
// of MIDI songs.
struct CopyRig : TreeRig {
    CopyRig()
    {
        eseqtest::PianodirSpec disk;
        disk.diskTitle = "Floppy";
        disk.records.push_back({"SONG01", "FIL", 120, 384 * 8, false, "One"});
        disk.records.push_back({"SONG02", "FIL", 120, 384 * 8, false, "Two"});
        Add("C:\\Disk\\Pianodir.fil", eseqtest::BuildPianodir(disk));
        Add("C:\\Disk\\SONG01.FIL", pltest::EseqSong("One"));
        Add("C:\\Disk\\SONG02.FIL", pltest::EseqSong("Two"));
        Add("C:\\Disk\\Name.mda", pltest::Bytes(std::string(200, 'n')));
        Add("C:\\Disk\\Sub\\hidden.mid", pltest::MidiSong("Hidden"));
        Add("C:\\Midi\\a.mid", pltest::MidiSong("A"));
        Add("C:\\Midi\\b.mid", pltest::MidiSong("B"));
        builder.AddEntry("C:\\Disk", "Pianodir.fil");
        builder.AddEntry("C:\\Midi", "a.mid");
        builder.AddEntry("C:\\Midi", "b.mid");
    }
    int Row(const std::string& path) const
    {
        for (int i = 0; i < rows.Count(); ++i)
            if (rows.Read(i).Path() == path)
                return i;
        return -1;
    }
    CopyOutcome CopyFolder(const std::string& path)
    {
        return CopyFolderToTarget(rows, Row(path), files, lister, floppy, prompter);
    }
    FakeFloppy floppy;
    ScriptedPrompter prompter;
};

std::vector<std::string> Names(const FakeFloppy& f)
{
    std::vector<std::string> out;
    for (const auto& file : f.files)
        out.push_back(file.first);
    return out;
}

TEST(CopyToFloppy, TheTextsNameDriveAExactlyAndAnotherTargetByItsName)
{
    const CopyTexts a = CopyTextsFor("A:");
    EXPECT_EQ("Could not copy file to A:", a.copySongFailed);
    EXPECT_EQ("Please insert a disk in drive A:", a.insertDisk);
    EXPECT_EQ("The disk in drive A is not blank! Erase contents before copying?", a.notBlank);
    EXPECT_EQ("The disk in drive A: is full. Replace and continue?", a.diskFull);
    EXPECT_EQ("Could not write to A:", a.writeFailed);
    EXPECT_EQ("Could not erase A:", a.eraseFailed);
    EXPECT_EQ("The disk in drive E is not blank! Erase contents before copying?", CopyTextsFor("E:").notBlank);
    EXPECT_EQ("Could not write to DSKA0000.IMG", CopyTextsFor("DSKA0000.IMG").writeFailed);
}

TEST(CopyToFloppy, ADiskRowCopiesItsCatalogFolderWithCatalogAndNamesButNoSubfolder)
{
    CopyRig rig;
    EXPECT_EQ(CopyOutcome::Copied, rig.CopyFolder("C:\\Disk\\Pianodir.fil"));
    EXPECT_EQ((std::vector<std::string>{"Name.mda", "Pianodir.fil", "SONG01.FIL", "SONG02.FIL"}), Names(rig.floppy));
    EXPECT_EQ(rig.files.Bytes("C:\\Disk\\SONG02.FIL"), rig.floppy.files["SONG02.FIL"]);
    EXPECT_TRUE(rig.prompter.asked.empty()) << "a blank disk in the drive asks nothing";
    EXPECT_EQ(1, rig.floppy.commits);
    EXPECT_EQ(0, rig.prompter.busyDepth);
}

TEST(CopyToFloppy, ASongRowOfADirectoryCopiesItsFolderUnderTheCaptionCopyDir)
{
    CopyRig rig;
    rig.floppy.missing = 2;
    rig.prompter.answers = {CopyAnswer::Ok, CopyAnswer::Ok};
    EXPECT_EQ(CopyOutcome::Copied, rig.CopyFolder("C:\\Midi\\b.mid"));
    EXPECT_EQ((std::vector<std::string>{"Copy Dir: Please insert a disk in drive A:",
                                        "Copy Dir: Please insert a disk in drive A:"}),
              rig.prompter.asked)
        << "OK looks for the disk again";
    EXPECT_EQ((std::vector<std::string>{"a.mid", "b.mid"}), Names(rig.floppy));
}

TEST(CopyToFloppy, CancelOrNoAtTheQuestionsDecideWhetherTheFloppyIsErased)
{
    CopyRig noDisk;
    noDisk.floppy.missing = 5;
    noDisk.prompter.answers = {CopyAnswer::Cancel};
    EXPECT_EQ(CopyOutcome::Cancelled, noDisk.CopyFolder("C:\\Disk\\Pianodir.fil"));
    EXPECT_TRUE(noDisk.floppy.writes.empty());

    for (CopyAnswer answer : {CopyAnswer::Cancel, CopyAnswer::No, CopyAnswer::Yes}) {
        CopyRig rig;
        rig.floppy.files["OLD.MID"] = {1, 2, 3};
        rig.prompter.answers = {answer};
        const CopyOutcome outcome = rig.CopyFolder("C:\\Disk\\Pianodir.fil");
        ASSERT_EQ(std::vector<std::string>{"Copy Disk: The disk in drive A is not blank! Erase contents before copying?"},
                  rig.prompter.asked);
        EXPECT_EQ(rig.prompter.questions[0], CopyQuestion::NotBlank);
        EXPECT_EQ(answer == CopyAnswer::Cancel ? CopyOutcome::Cancelled : CopyOutcome::Copied, outcome);
        EXPECT_EQ(answer == CopyAnswer::Yes ? 1 : 0, rig.floppy.erases);
        EXPECT_EQ(answer != CopyAnswer::Yes, rig.floppy.files.count("OLD.MID") == 1);
        EXPECT_EQ(answer == CopyAnswer::Cancel ? 1u : 5u - (answer == CopyAnswer::Yes), rig.floppy.files.size());
    }
}

TEST(CopyToFloppy, AFloppyWithOnlyAFolderIsNotBlankAndAFailedEraseIsSaidButTheCopyGoesOn)
{
    CopyRig rig;
    rig.floppy.hasFolder = true;
    rig.floppy.eraseFails = true;
    rig.prompter.answers = {CopyAnswer::Yes};
    EXPECT_EQ(CopyOutcome::Copied, rig.CopyFolder("C:\\Midi"));
    EXPECT_EQ(std::vector<std::string>{"Could not erase A:"}, rig.prompter.errors);
    EXPECT_EQ(2u, rig.floppy.files.size());
}

TEST(CopyToFloppy, AFullDiskIsReplacedAndTheSameFileWrittenAgainUntilCancelled)
{
    CopyRig rig;
    const size_t song = rig.files.Bytes("C:\\Midi\\a.mid").size();
    rig.floppy.capacity = song + song / 2;  // one song per disk
    rig.prompter.answers = {CopyAnswer::Ok};
    EXPECT_EQ(CopyOutcome::Copied, rig.CopyFolder("C:\\Midi"));
    EXPECT_EQ(std::vector<std::string>{"Copy Dir: The disk in drive A: is full. Replace and continue?"},
              rig.prompter.asked);
    EXPECT_EQ(1, rig.floppy.replaced);
    EXPECT_EQ((std::vector<std::string>{"a.mid", "b.mid", "b.mid"}), rig.floppy.writes);
    EXPECT_EQ(std::vector<std::string>{"b.mid"}, Names(rig.floppy));

    CopyRig cancelled;
    cancelled.floppy.capacity = song + song / 2;
    cancelled.prompter.answers = {CopyAnswer::Cancel};
    EXPECT_EQ(CopyOutcome::Cancelled, cancelled.CopyFolder("C:\\Midi"));
    EXPECT_EQ(std::vector<std::string>{"a.mid"}, Names(cancelled.floppy)) << "what was copied stays";
    EXPECT_EQ(1, cancelled.floppy.commits);
}

TEST(CopyToFloppy, AFailedWriteIsRetriedOrEndsTheCommand)
{
    CopyRig rig;
    rig.floppy.failing["a.mid"] = 2;
    rig.prompter.answers = {CopyAnswer::Retry, CopyAnswer::Retry};
    EXPECT_EQ(CopyOutcome::Copied, rig.CopyFolder("C:\\Midi"));
    EXPECT_EQ((std::vector<std::string>{"Error: Could not write to A:", "Error: Could not write to A:"}),
              rig.prompter.asked);
    EXPECT_EQ(rig.prompter.questions[0], CopyQuestion::WriteFailed);
    EXPECT_EQ(2u, rig.floppy.files.size());

    CopyRig cancelled;
    cancelled.floppy.failing["a.mid"] = 1;
    cancelled.prompter.answers = {CopyAnswer::Cancel};
    EXPECT_EQ(CopyOutcome::Cancelled, cancelled.CopyFolder("C:\\Midi"));
    EXPECT_TRUE(cancelled.floppy.files.empty()) << "b.mid comes after the cancelled a.mid";
}

TEST(CopyToFloppy, ASourceThatCannotBeListedOrReadIsReported)
{
    CopyRig rig;
    rig.lister.Unreadable("C:\\Midi");
    EXPECT_EQ(CopyOutcome::Failed, rig.CopyFolder("C:\\Midi"));
    EXPECT_EQ(std::vector<std::string>{"Could not parse source dir"}, rig.prompter.errors);

    CopyRig gone;
    gone.lister.AddFile("C:\\Midi\\vanished.mid");  // listed, but no file to read
    gone.prompter.answers = {CopyAnswer::Cancel};
    EXPECT_EQ(CopyOutcome::Cancelled, gone.CopyFolder("C:\\Midi"));
    EXPECT_EQ(std::vector<std::string>{"Error: Could not write to A:"}, gone.prompter.asked);
}

TEST(CopyToFloppy, CopySongWritesTheSongUnderItsFileNameOrSaysItCouldNot)
{
    CopyRig rig;
    const int song = rig.Row("C:\\Disk\\SONG02.FIL");
    ASSERT_GE(song, 0);
    rig.floppy.files["SONG02.FIL"] = {9};
    EXPECT_EQ(CopyOutcome::Copied, CopySongToTarget(rig.rows, song, rig.files, rig.floppy, rig.prompter));
    EXPECT_EQ(rig.files.Bytes("C:\\Disk\\SONG02.FIL"), rig.floppy.files["SONG02.FIL"]) << "replaced";
    EXPECT_TRUE(rig.prompter.asked.empty());

    rig.floppy.failing["a.mid"] = 1;
    EXPECT_EQ(CopyOutcome::Failed, CopySongToTarget(rig.rows, rig.Row("C:\\Midi\\a.mid"), rig.files, rig.floppy,
                                                    rig.prompter));
    EXPECT_EQ(std::vector<std::string>{"Could not copy file to A:"}, rig.prompter.errors);
    EXPECT_EQ(CopyOutcome::Cancelled, CopySongToTarget(rig.rows, rig.Row("C:\\Midi"), rig.files, rig.floppy,
                                                       rig.prompter))
        << "a folder row is not a song";
}

// The setting's real targets: a folder (a mapped drive) and an image.
TEST(CopyToFloppy, TheSettingMakesAFolderOrAnImageTargetAndCopiesLandThere)
{
    using floppy::ChoiceFromStored;
    EXPECT_EQ("A:", ChoiceFromStored("", 0).where);
    EXPECT_EQ("E:", ChoiceFromStored(" e ", 0).where);
    EXPECT_EQ("E:", ChoiceFromStored("e:\\", 0).where);
    EXPECT_EQ(720u, ChoiceFromStored("x.img", 1000).SizeKb());
    EXPECT_EQ(1440u, ChoiceFromStored("x.img", 1440).SizeKb());
    EXPECT_EQ("A:", floppy::MakeCopyTarget(floppy::CopyTargetChoice())->Name());

    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zub_copy_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "drive" / "Keep");
    std::FILE* f = std::fopen((dir / "drive" / "old.txt").string().c_str(), "wb");
    ASSERT_TRUE(f);
    std::fclose(f);

    CopyRig rig;
    for (const char* name : {"a.mid", "b.mid"})
        rig.files.Add((dir / "src" / name).string(), rig.files.Bytes(std::string("C:\\Midi\\") + name));
    fs::create_directories(dir / "src");
    HostPlaylistFiles host;
    for (const char* name : {"a.mid", "b.mid"})
        ASSERT_EQ(FileResult::Ok, host.Write((dir / "src" / name).string(), rig.files.Bytes(std::string("C:\\Midi\\") + name)));
    const uint32_t folderRow = rig.builder.AddEntry((dir / "src").string(), "a.mid");
    ASSERT_NE(0u, folderRow);
    const int row = rig.Row((dir / "src" / "a.mid").string());
    ASSERT_GE(row, 0);
    HostFolderLister lister;

    auto drive = floppy::MakeCopyTarget(ChoiceFromStored((dir / "drive").string(), 720));
    rig.prompter.answers = {CopyAnswer::Yes};
    EXPECT_EQ(CopyOutcome::Copied, CopyFolderToTarget(rig.rows, row, host, lister, *drive, rig.prompter));
    EXPECT_TRUE(fs::is_directory(dir / "drive" / "Keep")) << "erasing leaves folders";
    EXPECT_FALSE(fs::exists(dir / "drive" / "old.txt"));
    EXPECT_TRUE(fs::exists(dir / "drive" / "a.mid"));
    EXPECT_TRUE(fs::exists(dir / "drive" / "b.mid"));

    const floppy::CopyTargetChoice image = ChoiceFromStored((dir / "DSKA0000.IMG").string(), 720);
    auto floppy = floppy::MakeCopyTarget(image);
    EXPECT_EQ("DSKA0000.IMG", floppy->Name());
    EXPECT_EQ(CopyOutcome::Copied, CopyFolderToTarget(rig.rows, row, host, lister, *floppy, rig.prompter));
    EXPECT_EQ(static_cast<uintmax_t>(floppy::kImage720), fs::file_size(dir / "DSKA0000.IMG"));
    EXPECT_FALSE(floppy::MakeCopyTarget(image)->IsBlank()) << "the image on disk holds the songs";
    fs::remove_all(dir);
}

TEST(ClipboardFiles, TheFileListIsAHeaderThePathsAndOneMoreZero)
{
    const std::vector<uint8_t> block = MakeFileList({"C:\\a.mid", "D:\\b"});
    ASSERT_EQ(20u + 8 + 1 + 4 + 1 + 1, block.size());
    EXPECT_EQ(20, block[0]);
    for (size_t i = 1; i < 20; ++i)
        EXPECT_EQ(0, block[i]) << i;
    EXPECT_EQ(std::string("C:\\a.mid\0D:\\b\0\0", 15), std::string(block.begin() + 20, block.end()));
    EXPECT_EQ((std::vector<std::string>{"C:\\a.mid", "D:\\b"}), ReadFileList(block.data(), block.size()));

    // A file manager's wide list reads the same.
    std::vector<uint8_t> wide(20, 0);
    wide[0] = 20;
    wide[16] = 1;
    for (char c : std::string("C:\\x.kar\0\0", 10)) {
        wide.push_back(static_cast<uint8_t>(c));
        wide.push_back(0);
    }
    EXPECT_EQ(std::vector<std::string>{"C:\\x.kar"}, ReadFileList(wide.data(), wide.size()));

    std::vector<uint8_t> unended = block;
    unended.resize(block.size() - 2);
    EXPECT_TRUE(ReadFileList(unended.data(), unended.size()).empty());
    std::vector<uint8_t> badOffset = block;
    badOffset[0] = 200;
    EXPECT_TRUE(ReadFileList(badOffset.data(), badOffset.size()).empty());
    EXPECT_TRUE(ReadFileList(block.data(), 10).empty());
}

TEST(ClipboardFiles, OneFolderStandsForItsSongsADiskForItselfAndSeveralRowsForTheirSongs)
{
    CopyRig rig;
    const int disk = rig.Row("C:\\Disk\\Pianodir.fil");
    const int midi = rig.Row("C:\\Midi");
    const int a = rig.Row("C:\\Midi\\a.mid"), b = rig.Row("C:\\Midi\\b.mid");
    const int song1 = rig.Row("C:\\Disk\\SONG01.FIL");
    EXPECT_EQ((std::vector<int>{a, b}), RowsToCopy(rig.rows, {midi}));
    EXPECT_EQ(std::vector<int>{disk}, RowsToCopy(rig.rows, {disk}));
    EXPECT_EQ(std::vector<int>{b}, RowsToCopy(rig.rows, {b}));
    EXPECT_EQ((std::vector<int>{song1, b}), RowsToCopy(rig.rows, {b, midi, disk, song1}));
    EXPECT_TRUE(RowsToCopy(rig.rows, {}).empty());
    EXPECT_TRUE(RowsToCopy(rig.rows, {midi, disk}).empty());
}

TEST(ClipboardText, CopyTakesTheSelectionOrTheWholeTextEitherWayOfTheCaret)
{
    EXPECT_EQ("Moon", CopiedEditorText({"Blue Moon", 5, 4}));
    EXPECT_EQ("Moon", CopiedEditorText({"Blue Moon", 9, -4}));
    EXPECT_EQ("Blue Moon", CopiedEditorText({"Blue Moon", 3, 0}));
    EXPECT_EQ("Moon", CopiedEditorText({"Blue Moon", 5, 400})) << "a selection past the end stops there";
}

TEST(ClipboardText, PasteReplacesTheSelectionAndCutsAtTheTitleLimit)
{
    EditorText pasted = PasteEditorText({"Blue Moon", 9, -4}, "Sky", 127);
    EXPECT_EQ("Blue Sky", pasted.text);
    EXPECT_EQ(8, pasted.caret);
    EXPECT_EQ(0, pasted.selection);

    pasted = PasteEditorText({"AB", 1, 0}, "xyz", 127);
    EXPECT_EQ("AxyzB", pasted.text);
    EXPECT_EQ(4, pasted.caret);

    const std::string eseqTitle(30, 't');
    pasted = PasteEditorText({eseqTitle, 10, 0}, "0123456789", 32);
    EXPECT_EQ(32u, pasted.text.size());
    EXPECT_EQ(eseqTitle.substr(0, 10) + "0123456789" + eseqTitle.substr(10, 12), pasted.text);
    EXPECT_EQ(20, pasted.caret);

    pasted = PasteEditorText({"", 0, 0}, std::string(40, 'p'), 32);
    EXPECT_EQ(std::string(32, 'p'), pasted.text);
    EXPECT_EQ(32, pasted.caret) << "the caret stays within the cut text";
}

TEST(VoiceMapAttach, ASongOfADirectoryMarksTheFolderAndItsSongsADiskOrItsSongOnlyItself)
{
    CopyRig rig;
    const int disk = rig.Row("C:\\Disk\\Pianodir.fil"), song1 = rig.Row("C:\\Disk\\SONG01.FIL");
    const int midi = rig.Row("C:\\Midi"), a = rig.Row("C:\\Midi\\a.mid"), b = rig.Row("C:\\Midi\\b.mid");
    EXPECT_EQ((std::vector<int>{midi, a, b}), VoiceMapRows(rig.rows, a));
    EXPECT_EQ((std::vector<int>{midi, a, b}), VoiceMapRows(rig.rows, midi));
    EXPECT_EQ(std::vector<int>{disk}, VoiceMapRows(rig.rows, disk));
    EXPECT_EQ(std::vector<int>{song1}, VoiceMapRows(rig.rows, song1));
    EXPECT_TRUE(VoiceMapRows(rig.rows, -1).empty());

    EXPECT_EQ(3, AttachVoiceMapToSelection(rig.builder, rig.rows, b, "C:\\Maps\\grand.piano.map"));
    for (int row : {midi, a, b}) {
        EXPECT_EQ("C:\\Maps\\grand.piano.map", rig.rows.Read(row).text[ColVoiceMap]);
        EXPECT_EQ("grand.piano", rig.rows.Read(row).text[ColMapName]) << "the file title without its extension";
        EXPECT_EQ("C:\\Maps\\grand.piano.map", rig.rows.Read(row).mapHint);
    }
    EXPECT_TRUE(rig.rows.Read(disk).text[ColVoiceMap].empty());
}

}  // namespace
