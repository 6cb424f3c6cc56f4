// Saving the playlist: the Save dialog when the list has no name yet (or
// Save As), and the questions asked before a modified list goes away.
#include "playlist_dialog.h"

#include <commdlg.h>
#include "song_paths.h"

namespace playlist {

namespace {

const char kSaveFilter[] =
    "Playlist File (*.ZUB)\0*.ZUB\0"
    "M3U Playlist (*.M3U)\0*.M3U\0"
    "M3U8 Playlist, UTF-8 (*.M3U8)\0*.M3U8\0";

// A path the list can be saved to again without asking.
bool SavedBefore(const std::string& path)
{
    const std::string ext = ExtensionOf(path);
    return !path.empty() && path != kUntitledPath &&
           (SameTextNoCase(ext, "ZUB") || SameTextNoCase(ext, "M3U") || SameTextNoCase(ext, "M3U8"));
}

bool AskSaveName(PlaylistWindow& w, std::string* path)
{
    char file[MAX_PATH] = {};
    const std::string initial = w.host.LastOpenDir();
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = w.dialog;
    ofn.lpstrFilter = kSaveFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
    ofn.lpstrDefExt = "ZUB";
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    w.host.UseSavePosition(ofn);
    if (!GetSaveFileNameA(&ofn))
        return false;
    *path = file;
    std::string dir, name;
    SplitSongPath(*path, &dir, &name);
    w.host.SetLastOpenDir(dir);
    return true;
}

}  // namespace

bool SaveWithDialog(PlaylistWindow& w, bool askName)
{
    std::string path = w.path;
    if (askName || !SavedBefore(path)) {
        if (!AskSaveName(w, &path))
            return false;
        w.path = path;
    }
    SetWindowTextA(w.dialog, WindowTitle(LastPathComponent(path)).c_str());
    w.host.AddRecentFile(path);
    std::vector<std::string> problems;
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool saved = w.session->Save(path, &problems);
    SetCursor(old);
    ShowProblems(w, problems);
    if (!saved)
        w.ShowError("The playlist could not be written:\n\n" + path);
    return saved;
}

bool AskToSave(PlaylistWindow& w, const char* text, const char* caption)
{
    const PlaylistFlags& f = w.session->flags;
    if (!f.playlistModified && !f.titlesModified)
        return true;
    switch (MessageBoxA(w.dialog, text, caption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        // A save that did not happen (its dialog cancelled, or the file
        // could not be written) keeps the list.
        return SaveWithDialog(w, false);
    case IDNO:
        return true;
    default:
        return false;
    }
}

void ShowProblems(PlaylistWindow& w, const std::vector<std::string>& given)
{
    // Writes refused inside floppy images say why beside what the caller saw.
    std::vector<std::string> problems = given;
    for (std::string& refused : w.files.TakeProblems())
        problems.push_back(std::move(refused));
    if (problems.empty())
        return;
    std::string text;
    const size_t shown = problems.size() < 12 ? problems.size() : 12;
    for (size_t i = 0; i < shown; ++i)
        text += problems[i] + "\n";
    if (shown < problems.size())
        text += "... and " + std::to_string(problems.size() - shown) + " more.\n";
    MessageBoxA(w.dialog, text.c_str(), "Playlist", MB_OK | MB_ICONWARNING);
}

}  // namespace playlist
