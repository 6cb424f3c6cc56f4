// The installer under Wine: a silent install with chosen associations puts
// the files, the Start-menu entry, the uninstaller and the associations in
// place; the installed player opens a song given on its command line and,
// through the association, a song opened as the file manager opens it,
// handing a second one to the running player; a silent uninstall removes
// everything it added and gives back what was there before.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "player_driver.h"
#include "test_songs.h"
#include "zub_version.h"

namespace zubtest {
namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zubodeck";
const char kClasses[] = "Software\\Classes\\";
const char* const kExtensions[] = {".mid", ".kar", ".rmi", ".zub", ".m3u8", ".img", ".ima"};
const char* const kProgIds[] = {"Zubodeck.MidiSong", "Zubodeck.KaraokeSong", "Zubodeck.RmiSong", "Zubodeck.Playlist",
                                "Zubodeck.M3u8Playlist", "Zubodeck.FloppyImage"};

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Folder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool KeyExists(const std::string& key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

// A value of HKEY_LOCAL_MACHINE as text ("<missing>" when absent).
std::string Value(const std::string& key, const char* name)
{
    char data[1024] = {};
    DWORD size = sizeof(data) - 1, type = 0;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return "<missing>";
    const LONG r = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS)
        return "<missing>";
    if (type == REG_DWORD)
        return std::to_string(*reinterpret_cast<DWORD*>(data));
    return data;
}

// Every value below a key, "subkey\\name=data", for before-and-after checks.
void Dump(HKEY root, const std::string& key, std::map<std::string, std::string>* out)
{
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return;
    (*out)[key] = "<key>";
    char name[512], data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name), dataSize = sizeof(data) - 1, type = 0;
        if (RegEnumValueA(h, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        data[dataSize] = 0;
        (*out)[key + "\\" + name] = std::string(data, dataSize);
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(h, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(h);
    for (const std::string& s : subkeys)
        Dump(root, key + "\\" + s, out);
}

std::map<std::string, std::string> Associations()
{
    std::map<std::string, std::string> all;
    for (const char* ext : kExtensions)
        Dump(HKEY_LOCAL_MACHINE, std::string(kClasses) + ext, &all);
    for (const char* id : kProgIds)
        Dump(HKEY_LOCAL_MACHINE, std::string(kClasses) + id, &all);
    return all;
}

void SetValue(const std::string& key, const char* name, const std::string& data)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                                             nullptr));
    RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(h);
}

// Opens a file as the file manager does: through its association.
bool OpenAsFileManager(const std::string& path)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&info) != FALSE;
}

void CloseRunningPlayers()
{
    for (HWND main : RunningPlayers())
        PostMessageA(main, WM_CLOSE, 0, 0);
    WaitUntil([] { return RunningPlayers().empty(); });
}

// The version resource's file version text and fixed version of a file.
std::string FileVersionOf(const std::string& path, DWORD* major, DWORD* minor)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size ? size : 1);
    if (!size || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return "<none>";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        *major = fixed->dwFileVersionMS;
        *minor = fixed->dwFileVersionLS;
    }
    char* text = nullptr;
    if (!VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\FileVersion", reinterpret_cast<void**>(&text),
                        &length) || !text)
        return "<no text>";
    return text;
}

// The application manifest of a program, as text.
std::string ManifestOf(const std::string& path)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "";
    std::string text;
    if (HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL data = LoadResource(module, res);
        text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, res));
    }
    FreeLibrary(module);
    return text;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        CloseRunningPlayers();
        // Left over from an interrupted run: take it away first.
        const std::string old = Value(kUninstallKey, "QuietUninstallString");
        if (old != "<missing>") {
            RunToEnd(old, 120000);
            WaitUntil([] { return !KeyExists(kUninstallKey); }, 60000);
        }
        installer_ = FullPath("..\\package\\" ZUB_INSTALLER_NAME);
        installDir_ = Folder(CSIDL_PROGRAM_FILES) + "\\Zubodeck";
        shortcut_ = Folder(CSIDL_COMMON_PROGRAMS) + "\\Zubodeck.lnk";
    }
    void TearDown() override
    {
        CloseRunningPlayers();
        ClearSettings();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kClasses) + ".kar").c_str());
    }

    std::string installer_, installDir_, shortcut_;
};

TEST_F(Installer, SilentInstallAndUninstallPutInPlaceAndTakeAwayExactlyWhatTheyAdd)
{
    ASSERT_TRUE(Exists(installer_)) << installer_;
    // Karaoke songs open with another program before the install.
    SetValue(std::string(kClasses) + ".kar", "", "OtherPlayer.Karaoke");
    SetValue(std::string(kClasses) + ".kar", "Content Type", "audio/midi");
    const std::map<std::string, std::string> before = Associations();
    const std::vector<std::string> files = {installDir_ + "\\Zubodeck.exe", installDir_ + "\\Ts.dll",
                                            installDir_ + "\\Tsf.dll", installDir_ + "\\Uninstall.exe"};

    ASSERT_EQ(0, RunToEnd("\"" + installer_ + "\" /S /ASSOCIATE=mid,kar,zub", 120000));

    for (const std::string& f : files)
        EXPECT_TRUE(Exists(f)) << f;
    EXPECT_TRUE(Exists(shortcut_)) << shortcut_;
    EXPECT_EQ("Zubodeck", Value(kUninstallKey, "DisplayName"));
    EXPECT_EQ(ZUB_VERSION_TEXT, Value(kUninstallKey, "DisplayVersion"));
    EXPECT_EQ("\"" + installDir_ + "\\Uninstall.exe\"", Value(kUninstallKey, "UninstallString"));
    EXPECT_EQ(installDir_, Value(kUninstallKey, "InstallLocation"));
    EXPECT_EQ("1", Value(kUninstallKey, "NoModify"));

    // The chosen associations, and only those.
    const std::string classes = kClasses;
    EXPECT_EQ("Zubodeck.MidiSong", Value(classes + ".mid", ""));
    EXPECT_EQ("Zubodeck.KaraokeSong", Value(classes + ".kar", ""));
    EXPECT_EQ("audio/midi", Value(classes + ".kar", "Content Type"));
    EXPECT_EQ("Zubodeck.Playlist", Value(classes + ".zub", ""));
    EXPECT_NE("Zubodeck.RmiSong", Value(classes + ".rmi", ""));
    EXPECT_FALSE(KeyExists(classes + "Zubodeck.M3u8Playlist"));
    EXPECT_FALSE(KeyExists(classes + "Zubodeck.FloppyImage"));
    EXPECT_EQ("\"" + installDir_ + "\\Zubodeck.exe\" \"%1\"",
              Value(classes + "Zubodeck.MidiSong\\shell\\open\\command", ""));

    // One version in every shipped file, and the player's manifest.
    for (const char* name : {"Zubodeck.exe", "Ts.dll", "Tsf.dll"}) {
        DWORD major = 0, minor = 0;
        EXPECT_EQ(ZUB_VERSION_TEXT, FileVersionOf(installDir_ + "\\" + name, &major, &minor)) << name;
        EXPECT_EQ(DWORD((ZUB_VERSION_MAJOR << 16) | ZUB_VERSION_MINOR), major) << name;
        EXPECT_EQ(DWORD(ZUB_VERSION_PATCH << 16), minor) << name;
    }
    const std::string manifest = ManifestOf(installDir_ + "\\Zubodeck.exe");
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls")) << manifest;
    EXPECT_NE(std::string::npos, manifest.find("version=\"6.0.0.0\"")) << manifest;
    EXPECT_NE(std::string::npos, manifest.find(">true</dpiAware>")) << manifest;

    // The installed player opens a song given on its command line. Auto-Play
    // stays off: this machine may have no MIDI output to play to.
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");
    const std::string first = FullPath("installed first.mid"), second = FullPath("installed second.mid");
    ASSERT_TRUE(WriteBytes(first, MakeSong(2)));
    ASSERT_TRUE(WriteBytes(second, MakeSong(2)));
    {
        std::string line = "\"" + installDir_ + "\\Zubodeck.exe\" \"" + first + "\"";
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    ASSERT_TRUE(WaitUntil([] { return RunningPlayers().size() == 1; }));
    HWND main = RunningPlayers()[0];
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(main) == "Zub Player - [installed first.mid]"; }))
        << WindowTextOf(main);

    // Opened as the file manager opens it, through the association: the
    // running player takes the song, no second player starts.
    ASSERT_TRUE(OpenAsFileManager(second));
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(main) == "Zub Player - [installed second.mid]"; }))
        << WindowTextOf(main);
    EXPECT_EQ(1u, RunningPlayers().size());
    CloseRunningPlayers();
    ASSERT_TRUE(RunningPlayers().empty());

    // The uninstaller copies itself away and returns at once: its last step
    // takes its own registry key away.
    EXPECT_EQ(0, RunToEnd(Value(kUninstallKey, "QuietUninstallString"), 120000));
    ASSERT_TRUE(WaitUntil([] { return !KeyExists(kUninstallKey); }, 60000));
    for (const std::string& f : files)
        EXPECT_FALSE(Exists(f)) << f;
    EXPECT_FALSE(Exists(installDir_));
    EXPECT_FALSE(Exists(shortcut_));
    EXPECT_EQ(before, Associations()) << "the associations are as before the install";

    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
    DeleteFileA(FullPath("installed.cap.mid").c_str());
}

}  // namespace
}  // namespace zubtest
