// Drives the real Zubodeck.exe for UI tests: starts it, finds its windows,
// reads menus, toolbar and status bar, and reads and writes its settings.
#ifndef ZUB_TESTS_UI_PLAYER_DRIVER_H
#define ZUB_TESTS_UI_PLAYER_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "command_ids.h"
#include "ui_probe.h"

namespace zubtest {

// Polls until the condition holds or the time runs out (a limit against
// hanging, not a speed check). Returns the final value of the condition.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 60000);

// Installs the probe's global hooks and shares its memory with it.
class Probe {
public:
    Probe();
    ~Probe();
    bool Ready() const { return shared_ && callHook_ && msgHook_; }

    // Reads the main window's menus and status bar inside the player.
    bool Query(HWND main);
    // Where a slider of the player draws its thumb, and its channel (client
    // coordinates of the slider); false when the probe did not answer.
    bool SliderGeometry(HWND main, HWND slider, RECT* thumb, RECT* channel);
    // The item with this command after the last query, or null.
    const ProbeMenuItem* Item(UINT id) const;
    // The popup items of one menu-bar position, in order.
    std::vector<ProbeMenuItem> Popup(int menuBarPos) const;
    std::string Status(int part) const;
    // The toolbar's tooltip texts by command, and how many tools its
    // tooltip control holds.
    std::vector<std::pair<int, std::string>> Tips() const;
    int ToolCount() const { return shared_->toolCount; }
    std::vector<int> Commands() const;
    // Asks the playlist window's grid for something inside the player
    // (ProbeGridOp); the answer text, or false when the probe did not answer.
    bool Grid(HWND playlist, int op, int row = 0, int arg = 0, const std::string& text = std::string(),
              std::string* answer = nullptr);
    // The children of `window` (the main window or one of its dialogs) as
    // the player sees them, texts measured in their own fonts.
    struct WindowLayout {
        bool answered = false;
        int dpi = 0;
        SIZE client = {0, 0};
        std::vector<ProbeControl> controls;
    };
    WindowLayout Layout(HWND main, HWND window);
    // A picture of `window` as it prints itself (not what the screen shows
    // there), written inside the player as a 24-bit BMP file.
    bool Picture(HWND main, HWND window, const std::string& path);

    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

private:
    HANDLE mapping_ = nullptr;
    ProbeShared* shared_ = nullptr;
    HMODULE library_ = nullptr;
    HHOOK callHook_ = nullptr;
    HHOOK msgHook_ = nullptr;
};

class PlayerProcess {
public:
    ~PlayerProcess();
    // Starts "Zubodeck.exe args" in the current folder and waits until its
    // main window is shown and its start-up (opening a file given on the
    // command line) is over.
    bool Start(const std::string& args);
    HWND Main() const { return main_; }
    HWND Toolbar() const { return GetDlgItem(main_, IDC_TOOLBAR); }
    HWND StatusBar() const { return GetDlgItem(main_, IDC_STATUSBAR); }
    DWORD ProcessId() const { return info_.dwProcessId; }
    bool Running() const;
    // Sends a command as a menu item or toolbar button would.
    void Command(int id);
    // Asks the window to close and waits for the process; its exit code, or -1.
    int Close();

private:
    PROCESS_INFORMATION info_ = {};
    HWND main_ = nullptr;
};

std::string WindowTextOf(HWND hwnd);

// Runs a command line to its end (at most `timeoutMs`); its exit code, or -1.
int RunToEnd(const std::string& commandLine, int timeoutMs = 30000);
// The main windows of every running player.
std::vector<HWND> RunningPlayers();
// The toolbar's state flags for a button (TBSTATE_*), or -1 when absent.
int ToolbarState(HWND toolbar, int command);

// A shown top-level "#32770" dialog of the process with this title (so its
// controls are set up), or null.
HWND FindDialog(DWORD processId, const char* title);
// The longest static text of a dialog (a message box's message).
std::string DialogMessage(HWND dialog);
// Waits for the process's message box of this caption, presses `button`
// and waits until the box has gone: its message, or "<no box>".
std::string AnswerBox(DWORD processId, const char* caption, int button);

// The grid's text query protocol across processes: sends a question
// "command:0,v1,v2,v3,v4:" and returns the whole answer.
std::string GridAsk(HWND grid, const std::string& question);
std::string GridAsk(HWND grid, int command, int v1 = 0, int v2 = 0);
// The text an answer carries (after its second colon: texts may hold colons).
std::string GridAnswerText(const std::string& answer);
int GridRows(HWND grid);
std::string GridCell(HWND grid, int row, int col);

// Settings under the player's key of HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
void ClearSettings();
void WriteSetting(HKEY root, const char* name, const std::string& value);
void WriteSettingNumber(HKEY root, const char* name, DWORD value);
bool ReadSetting(HKEY root, const char* name, std::string& value);
bool ReadSettingNumber(HKEY root, const char* name, DWORD& value);

// "C:\\...\\name" for a file in the current folder.
std::string FullPath(const std::string& name);
// "Player1280x1024" for the current screen.
std::string PosValueName(const char* window);

}  // namespace zubtest

#endif
