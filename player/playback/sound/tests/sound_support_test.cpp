#include "sound_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "hostfile.h"
#include "wavfile.h"

namespace {

std::string TempPath(const char* name)
{
    return testing::TempDir() + name;
}

TEST(SoundFontChoice, AGivenFontIsTakenAsItIs)
{
    const std::string font = TempPath("sound_support_given.sf2");
    const uint8_t byte = 0;
    ASSERT_EQ(FileResult::Ok, WriteFileImage(font.c_str(), &byte, 1));
    std::string problem;
    EXPECT_EQ(font, ChooseSoundFont(font, "/nowhere/default-GM.sf2", &problem));
    EXPECT_EQ("", problem);
    std::remove(font.c_str());
}

TEST(SoundFontChoice, WithoutAFontTheSystemFontIsTaken)
{
    const std::string font = TempPath("sound_support_system.sf2");
    const uint8_t byte = 0;
    ASSERT_EQ(FileResult::Ok, WriteFileImage(font.c_str(), &byte, 1));
    std::string problem;
    EXPECT_EQ(font, ChooseSoundFont("", font, &problem));
    std::remove(font.c_str());
}

TEST(SoundFontChoice, AMissingSystemFontNamesThePackagesToInstall)
{
    std::string problem;
    EXPECT_EQ("", ChooseSoundFont("", "/nowhere/default-GM.sf2", &problem));
    EXPECT_EQ("no General MIDI sound font at /nowhere/default-GM.sf2: install the Debian package "
              "fluid-soundfont-gm (or the smaller timgm6mb-soundfont), or name a font with --soundfont",
              problem);
}

TEST(SoundFontChoice, AMissingGivenFontOrAFolderIsAnOpenFailure)
{
    std::string problem;
    EXPECT_EQ("", ChooseSoundFont("/nowhere/piano.sf2", kSystemSoundFont, &problem));
    EXPECT_EQ("/nowhere/piano.sf2: open failed", problem);
    EXPECT_EQ("", ChooseSoundFont(testing::TempDir(), kSystemSoundFont, &problem));
}

TEST(PortList, ColumnsLineUpUnderTheHeading)
{
    const std::string text =
        FormatPortList({{14, 0, "Midi Through", "Midi Through Port-0"},
                        {128, 12, "A client name that is far too long to fit", "Synth input"}});
    EXPECT_EQ(" Port    Client name                      Port name\n"
              " 14:0    Midi Through                     Midi Through Port-0\n"
              "128:12   A client name that is far too lo Synth input\n",
              text);
}

TEST(RenderProgress, ShowsPercentAndMinutes)
{
    EXPECT_EQ("Rendering song.mid: 0% (0:00 of 3:05)", RenderProgressLine("song.mid", 0, 185000));
    EXPECT_EQ("Rendering song.mid: 41% (1:16 of 3:05)", RenderProgressLine("song.mid", 76500, 185000));
    // The release tail runs past the song: the line stays at its end.
    EXPECT_EQ("Rendering song.mid: 100% (3:05 of 3:05)", RenderProgressLine("song.mid", 186000, 185000));
    EXPECT_EQ("Rendering empty.mid: 100% (0:00 of 0:00)", RenderProgressLine("empty.mid", 0, 0));
}

TEST(MasterVolume, TheUniversalMessageGivesItsLevel)
{
    double level = -1;
    const uint8_t full[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x7F, 0xF7};
    ASSERT_TRUE(MasterVolumeLevel(full, sizeof full, &level));
    EXPECT_DOUBLE_EQ(1.0, level);
    // What the player sends for V = 100: least significant byte 0, mm = 99.
    const uint8_t player[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x63, 0xF7};
    ASSERT_TRUE(MasterVolumeLevel(player, sizeof player, &level));
    EXPECT_NEAR(99.0 / 128, level, 0.01);
}

TEST(MasterVolume, OtherMessagesAreNotVolume)
{
    double level = 0;
    const uint8_t reset[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    const uint8_t lamp[] = {0xF0, 0x43, 0x73, 0x01, 0x11, 0x00, 0x47, 0x02, 0xF7};
    const uint8_t balance[] = {0xF0, 0x7F, 0x7F, 0x04, 0x02, 0x00, 0x40, 0xF7};
    const uint8_t cut[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x63};
    EXPECT_FALSE(MasterVolumeLevel(reset, sizeof reset, &level));
    EXPECT_FALSE(MasterVolumeLevel(lamp, sizeof lamp, &level));
    EXPECT_FALSE(MasterVolumeLevel(balance, sizeof balance, &level));
    EXPECT_FALSE(MasterVolumeLevel(cut, sizeof cut, &level));
}

TEST(WavFile, HeaderCarriesFormatAndSizes)
{
    uint8_t header[44];
    BuildWavHeader(44100, 2, 4000, header);
    const std::vector<uint8_t> got(header, header + 44);
    const std::vector<uint8_t> want = {'R', 'I', 'F', 'F', 0xC4, 0x0F, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                       16, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0,
                                       4, 0, 16, 0, 'd', 'a', 't', 'a', 0xA0, 0x0F, 0, 0};
    EXPECT_EQ(want, got);
}

TEST(WavFile, AFinishedFileHoldsEverySampleLittleEndian)
{
    const std::string path = TempPath("sound_support_out.wav");
    {
        WavWriter wav;
        ASSERT_TRUE(wav.Open(path, 22050, 2));
        const int16_t samples[] = {1, -1, 0x1234, -32768};
        ASSERT_TRUE(wav.Write(samples, 2));
        ASSERT_TRUE(wav.Write(samples, 1));
        EXPECT_EQ(3u, wav.Frames());
        ASSERT_TRUE(wav.Finish());
    }
    std::vector<uint8_t> file;
    ASSERT_EQ(FileResult::Ok, ReadFileImage(path.c_str(), &file));
    ASSERT_EQ(44u + 12u, file.size());
    uint8_t header[44];
    BuildWavHeader(22050, 2, 12, header);
    EXPECT_EQ(std::vector<uint8_t>(header, header + 44), std::vector<uint8_t>(file.begin(), file.begin() + 44));
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80, 1, 0, 0xFF, 0xFF}),
              std::vector<uint8_t>(file.begin() + 44, file.end()));
    std::remove(path.c_str());
}

TEST(WavFile, AnUnfinishedRenderLeavesTheOldFileAlone)
{
    const std::string path = TempPath("sound_support_keep.wav");
    const uint8_t old[] = {'o', 'l', 'd'};
    ASSERT_EQ(FileResult::Ok, WriteFileImage(path.c_str(), old, sizeof old));
    {
        WavWriter wav;
        ASSERT_TRUE(wav.Open(path, 44100, 2));
        const int16_t samples[4] = {};
        ASSERT_TRUE(wav.Write(samples, 2));
    }  // never finished: a failed render
    std::vector<uint8_t> file;
    ASSERT_EQ(FileResult::Ok, ReadFileImage(path.c_str(), &file));
    EXPECT_EQ(std::vector<uint8_t>(old, old + 3), file);
    std::vector<uint8_t> part;
    EXPECT_EQ(FileResult::OpenFailed, ReadFileImage((path + ".part").c_str(), &part));
    std::remove(path.c_str());
}

TEST(WavFile, AFolderThatCannotBeWrittenFailsAtOpen)
{
    WavWriter wav;
    EXPECT_FALSE(wav.Open("/nowhere/at/all/out.wav", 44100, 2));
}

}  // namespace
