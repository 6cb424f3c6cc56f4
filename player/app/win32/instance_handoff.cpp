#include "instance_handoff.h"

#include "handoff.h"
#include "player_app.h"

namespace zub {

namespace {

constexpr char kStartupMutex[] = "ZubodeckStartup";
constexpr DWORD kStartupWaitMs = 10000;
constexpr UINT kHandoffSendMs = 5000;
constexpr UINT_PTR kRetryTimer = 0x5A42;  // not one of the main window's own timers
constexpr UINT kRetryMs = 300;

// The last path handed over and not yet opened; later ones replace it, as
// opening them one after the other would.
std::string handedPath;

void CALLBACK RetryHandoff(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    PostMessageA(hwnd, ZM_OPEN_HANDED, 0, 0);
}

}  // namespace

StartupLock::StartupLock() : mutex_(CreateMutexA(nullptr, FALSE, kStartupMutex))
{
    // After the wait the start goes on either way: a hung player must not
    // keep every later start from opening its file.
    if (mutex_ && WaitForSingleObject(mutex_, kStartupWaitMs) == WAIT_TIMEOUT) {
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

void StartupLock::Release()
{
    if (!mutex_)
        return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
    mutex_ = nullptr;
}

bool HandOffToRunningPlayer(const std::string& path)
{
    HWND running = FindWindowA(kMainClassName, nullptr);
    if (!running)
        return false;
    // The running player has a current folder of its own.
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    AllowSetForegroundWindow(processId);
    COPYDATASTRUCT data = {kHandoffTag, length, full};
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kHandoffSendMs, &taken) &&
           taken == TRUE;
}

LRESULT ReceiveHandoff(HWND main, const COPYDATASTRUCT* data)
{
    const std::optional<std::string> path = ReadHandoff(static_cast<uint32_t>(data->dwData), data->lpData,
                                                        data->cbData);
    if (!path)
        return FALSE;
    handedPath = *path;
    PostMessageA(main, ZM_OPEN_HANDED, 0, 0);
    return TRUE;
}

void OpenHandedPath(PlayerApp& app)
{
    if (handedPath.empty())
        return;
    if (IsIconic(app.main))
        ShowWindow(app.main, SW_RESTORE);
    SetForegroundWindow(app.main);
    // A modal dialog (Volume, About, a message) has the window disabled:
    // the file opens once it has closed, as a drop could only then.
    if (!IsWindowEnabled(app.main)) {
        SetTimer(app.main, kRetryTimer, kRetryMs, RetryHandoff);
        return;
    }
    std::string path;
    path.swap(handedPath);
    OpenPathAsDropped(app, path.c_str());
}

}  // namespace zub
