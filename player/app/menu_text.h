// A command's name as a tooltip or message shows it, from its menu text.
#ifndef ZUB_PLAYER_APP_MENU_TEXT_H
#define ZUB_PLAYER_APP_MENU_TEXT_H

#include <string>
#include <string_view>

namespace zub {

// "&Override Master Volume ..." is "Override Master Volume": the mnemonic
// marks go ("&&" stands for one "&"), and so do an accelerator after a tab
// and a trailing ellipsis with the blanks before it.
std::string CommandNameOfMenuText(std::string_view menuText);

}  // namespace zub

#endif
