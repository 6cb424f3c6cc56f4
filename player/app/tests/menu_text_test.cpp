#include "menu_text.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(CommandNameOfMenuText, DropsMnemonicsAcceleratorsAndEllipses)
{
    struct Case {
        const char* menu;
        const char* name;
    } cases[] = {
        {"&Midi Reset", "Midi Reset"},
        {"P&rev track", "Prev track"},
        {"&Override Master Volume ...", "Override Master Volume"},
        {"&Batch Convert...", "Batch Convert"},
        {"Save &As\tCtrl+S", "Save As"},
        {"Rock && Roll", "Rock & Roll"},
        {"Trailing &", "Trailing"},
        {"...", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.name, CommandNameOfMenuText(c.menu)) << c.menu;
}

}  // namespace
}  // namespace zub
