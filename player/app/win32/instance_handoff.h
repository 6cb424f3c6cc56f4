// Handing a file to the running player: the start-up side (find the running
// player, send it the path) and the receiving side (open it as a drop).
#ifndef ZUB_PLAYER_APP_WIN32_INSTANCE_HANDOFF_H
#define ZUB_PLAYER_APP_WIN32_INSTANCE_HANDOFF_H

#include <windows.h>

#include <string>

namespace zub {

struct PlayerApp;

// Posted by the main window to itself to open a handed path.
constexpr UINT ZM_OPEN_HANDED = WM_USER + 22;

// Held by a start from before it looks for a running player until its own
// main window exists, so that files opened together reach one player.
class StartupLock {
public:
    StartupLock();
    ~StartupLock() { Release(); }
    void Release();

    StartupLock(const StartupLock&) = delete;
    StartupLock& operator=(const StartupLock&) = delete;

private:
    HANDLE mutex_;
};

// Gives the path (made whole) to a player already running; false when none
// runs or it did not take it.
bool HandOffToRunningPlayer(const std::string& path);

// WM_COPYDATA on the main window: TRUE when it was a handoff, which is then
// opened once the message has returned (ZM_OPEN_HANDED).
LRESULT ReceiveHandoff(HWND main, const COPYDATASTRUCT* data);
// ZM_OPEN_HANDED: brings the player forward and opens the path as a drop;
// while a modal dialog holds the window it waits for it.
void OpenHandedPath(PlayerApp& app);

}  // namespace zub

#endif
