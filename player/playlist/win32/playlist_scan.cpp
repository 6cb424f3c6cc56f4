// The directory walk of "Build Playlist": each step a posted command, a
// pause by timer 0, so the player keeps playing and "Stop" ends it at once.
#include <windows.h>
#include <commctrl.h>

#include "playlist_actions.h"
#include "playlist_actions_state.h"

namespace playlist {

PlaylistActionsState& ActionsOf(PlaylistWindow& w)
{
    if (!w.actions)
        w.actions = std::make_shared<PlaylistActionsState>();
    return *w.actions;
}

PlaylistBuilder& BuilderFor(PlaylistWindow& w)
{
    PlaylistBuilder& builder = w.session->Builder();
    builder.options.usePianodirLengths = w.host.Option(PlayerOption::UsePianodirLengths);
    return builder;
}

std::vector<int> SelectedRows(PlaylistSession& s)
{
    std::vector<int> rows;
    const GridSelection current = s.Grid().CurrentSelection();
    const int first = current.FirstRow(), last = current.LastRow();
    if (first < 0)
        return rows;
    if (current.Count(CountOf::HiddenToo) == last - first + 1) {
        for (int i = first; i <= last; ++i)
            rows.push_back(i);
        return rows;
    }
    for (int i = first; i <= last; ++i) {
        GridSelection row = s.Grid().Row(i);
        if (row.Intersect(current).Count(CountOf::HiddenToo) > 0)
            rows.push_back(i);
    }
    return rows;
}

bool AskOpenFiles(PlaylistWindow& w, const char* filter, DWORD* filterIndex, ActionFolder folder, bool several,
                  std::vector<char>& buffer, DWORD* error)
{
    const std::string initial = Actions().Folder(folder);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = w.dialog;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = *filterIndex;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (several)
        ofn.Flags |= OFN_ALLOWMULTISELECT;
    Actions().UseOpenPosition(ofn);
    const bool chosen = GetOpenFileNameA(&ofn) != FALSE;
    *error = chosen ? 0 : CommDlgExtendedError();
    if (chosen)
        *filterIndex = ofn.nFilterIndex;
    return chosen;
}

void ShowSessionProblems(PlaylistWindow& w)
{
    ShowProblems(w, w.session->TakeProblems());
}

namespace {

// Status part 1 while scanning: the folder, shortened to the part.
void ShowFolder(PlaylistWindow& w, const std::string& folder)
{
    RECT part = {};
    if (!w.status || !SendMessageA(w.status, SB_GETRECT, kPartFolder, reinterpret_cast<LPARAM>(&part))) {
        w.SetStatus(kPartFolder, folder);
        return;
    }
    HDC dc = GetDC(w.status);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(w.status, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    const std::string shown = ShortenToWidth(folder, part.right - part.left - 8, [dc](const std::string& text) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    if (old)
        SelectObject(dc, old);
    ReleaseDC(w.status, dc);
    w.SetStatus(kPartFolder, shown);
}

}  // namespace

bool ScanCommand(PlaylistWindow& w, int command)
{
    PlaylistActionsState& a = ActionsOf(w);
    PlaylistSession& s = *w.session;
    if (!a.walk)
        a.walk = std::make_unique<BuildWalk>(s.Builder(), s.Rows(), s.Files(), a.lister);
    BuildWalk& walk = *a.walk;
    if (command == CMD_PL_SCAN_STOP) {
        walk.Step(BuildCommand::Stop);  // closes the listings still open
        ShowSessionProblems(w);
        return true;
    }
    if (!walk.Running()) {
        if (command != CMD_PL_SCAN_ENTER)
            return false;
        BuildOptions options = PendingBuildOptions();
        options.root = w.path;
        BuilderFor(w);
        walk.Start(options);
    }
    const BuildStep step = walk.Step(static_cast<BuildCommand>(command));
    if (command == CMD_PL_SCAN_ENTER && walk.Running())
        ShowFolder(w, walk.CurrentFolder());
    if (walk.SongsAdded() + walk.DisksAdded() > 0)
        s.flags.playlistModified = true;
    if (!step.error.empty())
        MessageBoxA(w.dialog, step.error.c_str(), "Error", MB_OK);
    switch (step.kind) {
    case BuildStep::Post:
        PostMessageA(w.dialog, WM_COMMAND, static_cast<WPARAM>(step.next), 0);
        break;
    case BuildStep::Wait:
        SetTimer(w.dialog, kScanTimer, step.waitMs, nullptr);
        break;
    case BuildStep::Ended:
        break;
    }
    return true;
}

}  // namespace playlist
