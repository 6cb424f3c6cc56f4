// What the playlist UI tests share: the player, the probe, the playlist
// window, and its grid read through the text query protocol.
#ifndef ZUB_TESTS_UI_PLAYLIST_FIXTURE_H
#define ZUB_TESTS_UI_PLAYLIST_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "player_driver.h"
#include "ui_probe.h"

namespace zubtest {

class PlaylistFixture : public ::testing::Test {
protected:
    // Clean settings, a working probe, and the test's name for its files.
    void SetUp() override
    {
        ClearSettings();
        ASSERT_TRUE(probe_.Ready()) << "the probe library zub_ui_probe.dll must load and hook";
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { ClearSettings(); }

    HWND Grid() { return GetWindow(GetDlgItem(playlist_, 1014), GW_CHILD); }
    std::string Ask(int command, int v1 = 0, int v2 = 0) { return GridAsk(Grid(), command, v1, v2); }
    int Rows() { return GridRows(Grid()); }
    std::string Cell(int row, int col) { return GridCell(Grid(), row, col); }
    void Select(int row, int col = 0) { ASSERT_TRUE(probe_.Grid(playlist_, kProbeSelectRow, row, col)); }
    // Answers the message box of this caption with a button; its text.
    std::string Answer(const char* caption, int button) { return AnswerBox(player_.ProcessId(), caption, button); }

    Probe probe_;
    PlayerProcess player_;
    HWND playlist_ = nullptr;
    std::string name_;
};

}  // namespace zubtest

#endif
