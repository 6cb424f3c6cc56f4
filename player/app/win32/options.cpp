// The 13 option switches and the time mode live in the check marks of their
// menu items: that is what the user sees and what is saved on exit, so no
// second copy can drift away from it.
#include "player_app.h"
#include "zub_assert.h"

namespace zub {

bool OptionOn(const PlayerApp& app, OptionIndex option)
{
    ZUB_ASSERT(option >= 0 && option < kOptionCount);
    const UINT state = GetMenuState(GetMenu(app.main), kOptionSwitches[option].command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void SetOptionCheck(PlayerApp& app, int command, bool on)
{
    ZUB_ASSERT(OptionIndexOfCommand(command) >= 0);
    HMENU menu = GetMenu(app.main);
    const UINT flags = MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, command, flags);
    // The View menu's bar items mirror the Options items.
    if (command == CMD_TOOLBAR)
        CheckMenuItem(menu, CMD_VIEW_TOOLBAR, flags);
    if (command == CMD_STATUSBAR)
        CheckMenuItem(menu, CMD_VIEW_STATUSBAR, flags);
}

int TimeMode(const PlayerApp& app)
{
    return OptionOn(app, kOptRemaining) ? CMD_REMAINING : CMD_ELAPSED;
}

}  // namespace zub
