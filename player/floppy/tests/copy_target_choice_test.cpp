#include "copy_target_choice.h"

#include <gtest/gtest.h>

#include "floppy_testing.h"
#include "image_paths.h"
#include "settings_store.h"
#include "temp_tree.h"

namespace {

using floppy::CopyTargetChoice;
using floppy::TargetKind;

TEST(CopyTargetChoice, TypedTextIsTidiedAndDrivesAreWrittenAlike)
{
    std::string where;
    for (const char* typed : {"a", "a:", " A:\\ ", "\"a:/\""}) {
        ASSERT_TRUE(floppy::ParseTargetText(typed, &where)) << typed;
        EXPECT_EQ("A:", where) << typed;
    }
    ASSERT_TRUE(floppy::ParseTargetText("  \"D:\\Gotek\\DSKA0000.IMG\" ", &where));
    EXPECT_EQ("D:\\Gotek\\DSKA0000.IMG", where);
    EXPECT_FALSE(floppy::ParseTargetText(" \"\" ", &where));
    EXPECT_FALSE(floppy::ParseTargetText("", &where));
}

TEST(CopyTargetChoice, StoredValuesGiveTheKindAndSizeAndBadOnesTheDefault)
{
    CopyTargetChoice choice = floppy::ChoiceFromStored("b:", 1440);
    EXPECT_EQ("B:", choice.where);
    EXPECT_EQ(TargetKind::Drive, choice.Kind());
    EXPECT_EQ(floppy::kImage1440, choice.blankSize);
    EXPECT_EQ(1440u, choice.SizeKb());

    choice = floppy::ChoiceFromStored("E:\\usb\\dska0003.ima", 360);
    EXPECT_EQ(TargetKind::Image, choice.Kind());
    EXPECT_EQ(floppy::kImage720, choice.blankSize) << "a size that is no floppy size gives 720 KB";
    EXPECT_EQ(720u, choice.SizeKb());
    EXPECT_EQ(TargetKind::Folder, floppy::ChoiceFromStored("E:\\Songs for the piano", 720).Kind());
    EXPECT_EQ(TargetKind::Folder, floppy::ChoiceFromStored("AB:", 720).Kind());

    choice = floppy::ChoiceFromStored("   ", 0);
    EXPECT_EQ("A:", choice.where);
    EXPECT_EQ(TargetKind::Drive, choice.Kind());
}

TEST(CopyTargetChoice, TheChoiceIsKeptInTheSettingsAndADrive720IsTheDefault)
{
    zub::MemoryStore store;
    CopyTargetChoice choice = floppy::LoadCopyTargetChoice(store);
    EXPECT_EQ("A:", choice.where);
    EXPECT_EQ(floppy::kImage720, choice.blankSize);

    choice.where = "D:\\Gotek\\DSKA0000.IMG";
    choice.blankSize = floppy::kImage1440;
    ASSERT_TRUE(floppy::SaveCopyTargetChoice(store, choice));
    std::string text;
    uint32_t size = 0;
    ASSERT_TRUE(store.ReadString("CopyTarget", text));
    ASSERT_TRUE(store.ReadNumber("CopyImageSize", size));
    EXPECT_EQ("D:\\Gotek\\DSKA0000.IMG", text);
    EXPECT_EQ(1440u, size);
    const CopyTargetChoice back = floppy::LoadCopyTargetChoice(store);
    EXPECT_EQ(choice.where, back.where);
    EXPECT_EQ(choice.blankSize, back.blankSize);

    store.SetReadOnly(true);
    EXPECT_FALSE(floppy::SaveCopyTargetChoice(store, CopyTargetChoice())) << "a refused write is told";
}

TEST(CopyTargetChoice, EachKindMakesItsTarget)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_choice");
    EXPECT_EQ("A:", floppy::MakeCopyTarget(floppy::ChoiceFromStored("a", 720))->Name());

    auto image = floppy::MakeCopyTarget(floppy::ChoiceFromStored(tree.Path("NEW.IMG"), 1440));
    EXPECT_EQ("NEW.IMG", image->Name());
    ASSERT_TRUE(image->IsPresent());
    EXPECT_EQ(floppy::kImage1440, tree.Read("NEW.IMG").size()) << "a missing image is made at the chosen size";
    const std::vector<uint8_t> song = floppytest::Content(2000, 3);
    EXPECT_EQ(floppy::TargetWrite::Written, image->WriteFile("SONG01.FIL", song));
    EXPECT_TRUE(image->Commit());

    ASSERT_TRUE(tree.Write("folder/keep.txt", {1}));
    auto folder = floppy::MakeCopyTarget(floppy::ChoiceFromStored(tree.Path("folder"), 720));
    EXPECT_TRUE(folder->IsPresent());
    EXPECT_FALSE(folder->IsBlank());
    EXPECT_EQ(floppy::TargetWrite::Written, folder->WriteFile("SONG01.FIL", song));
    EXPECT_EQ(song, tree.Read("folder/SONG01.FIL"));
}

TEST(ImagePaths, SongsAreTakenOutOfImagesIntoHostFiles)
{
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    eseqtest::TempTree tree(testing::TempDir() + "image_paths_out", separator);
    floppy::FloppyImage disk = floppy::FloppyImage::Blank(floppy::kImage720, 2);
    const std::vector<uint8_t> song = floppytest::Content(5000, 9);
    ASSERT_EQ(floppy::ImageError::Ok, disk.MakeFolder("SUB"));
    ASSERT_EQ(floppy::ImageError::Ok, disk.WriteFile("SUB\\SONG.MID", song.data(), song.size()));
    ASSERT_TRUE(tree.Write("D.IMG", disk.Bytes()));
    ASSERT_TRUE(tree.Write(std::string("tmp") + separator + "x", {}));

    EXPECT_TRUE(floppy::CopyOutOfImage(tree.Path("D.IMG") + "\\sub\\song.mid", tree.Path("out.tmp")));
    EXPECT_EQ(song, tree.Read("out.tmp"));
    EXPECT_FALSE(floppy::CopyOutOfImage(tree.Path("D.IMG") + "\\NONE.MID", tree.Path("none.tmp")));
    EXPECT_TRUE(tree.Read("none.tmp").empty());
    EXPECT_FALSE(floppy::CopyOutOfImage(tree.Path("out.tmp"), tree.Path("again.tmp"))) << "not inside an image";

    const std::string host = floppy::HostFileOf(tree.Path("D.IMG") + "\\SUB\\SONG.MID", tree.Path("tmp"));
    EXPECT_EQ(tree.Path("tmp") + separator + "SONG.MID", host);
    EXPECT_EQ(song, tree.Read(std::string("tmp") + separator + "SONG.MID"));
    EXPECT_EQ(tree.Path("out.tmp"), floppy::HostFileOf(tree.Path("out.tmp"), tree.Path("tmp")));
    EXPECT_EQ("", floppy::HostFileOf(tree.Path("D.IMG") + "\\GONE.MID", tree.Path("tmp")));

    std::unique_ptr<eseq::BatchListing> listing;
    EXPECT_FALSE(floppy::ListThroughImage(tree.Path("tmp"), &listing)) << "a host folder is the host's to list";
    ASSERT_TRUE(floppy::ListThroughImage(tree.Path("D.IMG"), &listing));
    ASSERT_TRUE(listing);
    eseq::BatchListing::Entry entry;
    ASSERT_TRUE(listing->Next(&entry));
    EXPECT_EQ("SUB", entry.name);
    EXPECT_TRUE(entry.isFolder);
    EXPECT_FALSE(listing->Next(&entry));
    ASSERT_TRUE(floppy::ListThroughImage(tree.Path("D.IMG") + "\\SUB", &listing));
    ASSERT_TRUE(listing && listing->Next(&entry));
    EXPECT_EQ("SONG.MID", entry.name);
    EXPECT_TRUE(floppy::ListThroughImage(tree.Path("D.IMG") + "\\NONE", &listing));
    EXPECT_FALSE(listing) << "a folder the image does not have cannot be listed";
}

}  // namespace
