#include <gtest/gtest.h>

#include "add_files.h"
#include "tree_rig.h"

namespace {

using namespace playlist;
using pltest::TreeRig;

SelectedFiles Split(const std::string& buffer)
{
    return SplitSelection(buffer.data(), buffer.size());
}

TEST(AddDialog, TheNameBufferHoldsOnePathOrAFolderAndNames)
{
    SelectedFiles one = Split(std::string("C:\\Songs\\a.mid\0\0", 16));
    EXPECT_EQ("C:\\Songs", one.folder);
    EXPECT_EQ(std::vector<std::string>{"a.mid"}, one.names);

    SelectedFiles several = Split(std::string("C:\\Songs\0b.mid\0A.mid\0a.mid\0\0", 29));
    EXPECT_EQ("C:\\Songs", several.folder);
    EXPECT_EQ((std::vector<std::string>{"b.mid", "A.mid", "a.mid"}), several.names);

    SelectedFiles unended = Split("C:\\x.mid");  // no terminator within the size
    EXPECT_EQ("C:", unended.folder);
    EXPECT_EQ(std::vector<std::string>{"x.mid"}, unended.names);

    EXPECT_TRUE(Split(std::string(4, '\0')).names.empty());
}

TEST(AddDialog, SeveralFilesAreAddedInByteOrderAfterTheLastSongOfTheirFolder)
{
    TreeRig rig;
    for (const char* path : {"C:\\Songs\\x.mid", "C:\\Other\\y.mid", "C:\\Songs\\b.mid", "C:\\Songs\\A.mid",
                             "C:\\Songs\\a.mid", "C:\\Songs\\B.mid"})
        rig.Add(path, pltest::MidiSong(""));
    rig.builder.AddEntry("C:\\Songs", "x.mid");
    rig.builder.AddEntry("C:\\Other", "y.mid");
    SelectedFiles picked;
    picked.folder = "C:\\Songs";
    picked.names = {"b.mid", "A.mid", "a.mid", "B.mid", "gone.mid"};
    EXPECT_EQ(5, AddSelectedFiles(rig.builder, picked));
    EXPECT_EQ((std::vector<std::string>{"C:\\Songs", "C:\\Songs\\x.mid", "C:\\Songs\\A.mid", "C:\\Songs\\B.mid",
                                        "C:\\Songs\\a.mid", "C:\\Songs\\b.mid", "C:\\Songs\\gone.mid", "C:\\Other",
                                        "C:\\Other\\y.mid"}),
              rig.Paths());
    EXPECT_EQ(kIconMissing, rig.rows.Read(6).icon);
}

TEST(DroppedFiles, AFolderIsReadAsOneFolderAndAFileAsItIs)
{
    TreeRig rig;
    eseqtest::PianodirSpec disk;
    disk.diskTitle = "Dropped Disk";
    disk.records.push_back({"SONG01", "FIL", 120, 384 * 8, false, "One"});
    rig.Add("E:\\Disk\\Pianodir.fil", eseqtest::BuildPianodir(disk));
    rig.Add("E:\\Disk\\SONG01.FIL", pltest::EseqSong("One"));
    rig.Add("E:\\Disk\\extra.mid", pltest::MidiSong("Extra"));
    rig.Add("C:\\Loose\\z.mid", pltest::MidiSong("Z"));
    rig.Add("C:\\Loose\\m.kar", pltest::MidiSong("M"));
    rig.Add("C:\\Loose\\e.fil", pltest::EseqSong("E"));
    rig.Add("C:\\Loose\\readme.txt", pltest::Bytes(std::string(120, 'r')));
    rig.Add("C:\\Loose\\Sub\\deeper.mid", pltest::MidiSong("Deeper"));
    rig.Add("C:\\Notes\\readme.txt", pltest::Bytes(std::string(120, 'r')));
    rig.Add("C:\\Lists\\list.zub", pltest::Bytes("C:\\Loose\\Sub\\deeper.mid\r\n"));

    EXPECT_EQ(6, AddDroppedPaths(rig.builder, rig.files, rig.lister,
                                 {"E:\\Disk\\", "C:\\Loose", "C:\\Notes\\readme.txt", "C:\\Lists\\list.zub"}));
    EXPECT_EQ((std::vector<std::string>{"E:\\Disk\\Pianodir.fil", "E:\\Disk\\SONG01.FIL", "C:\\Loose",
                                        "C:\\Loose\\e.fil", "C:\\Loose\\m.kar", "C:\\Loose\\z.mid", "C:\\Notes",
                                        "C:\\Notes\\readme.txt", "C:\\Loose\\Sub", "C:\\Loose\\Sub\\deeper.mid"}),
              rig.Paths())
        << "the disk alone; the folder's songs only, not its subfolder; a dropped file whatever it is; a playlist "
           "merged";
}

}  // namespace
