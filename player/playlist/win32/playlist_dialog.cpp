// The playlist window: the "PLAYLISTDLG" dialog, its opening and closing,
// its commands, grid notifications and private messages. What it does with
// the rows is PlaylistSession's; this file turns messages into those calls.
#include "playlist_dialog.h"

#include <shellapi.h>

#include <cstdlib>

#include "grid_setup.h"
#include "playlist_window.h"
#include "song_paths.h"

namespace playlist {

const char kUntitledPath[] = "[Untitled]";

namespace {

HWND g_window = nullptr;  // the one playlist window

constexpr UINT kAnimationMs = 500;
constexpr int32_t kSingleSelect = 1;
constexpr int32_t kMultiSelect = 4;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

void SetTitle(PlaylistWindow& w, const std::string& fileName)
{
    SetWindowTextA(w.dialog, WindowTitle(fileName).c_str());
}

// ---------------------------------------------------------------------------
// Creation

bool SetUpGrid(PlaylistWindow& w)
{
    w.grid = GridWindow::Make(GetDlgItem(w.dialog, kIdGrid));
    if (!w.grid)
        return false;
    ShowScrollBar(w.grid->Outer(), SB_BOTH, TRUE);
    HookGridWindows(w);
    SetUpPlaylistGrid(w.grid->Grid());
    return true;
}

// Below the main window when no rectangle was saved and it fits there.
void PlaceWindow(PlaylistWindow& w)
{
    RECT saved;
    if (w.host.LoadPlacement(&saved)) {
        MoveWindow(w.dialog, saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top, FALSE);
        return;
    }
    RECT main, mine, work;
    GetWindowRect(w.host.Main(), &main);
    GetWindowRect(w.dialog, &mine);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int height = mine.bottom - mine.top;
    if (main.bottom + height <= work.bottom)
        SetWindowPos(w.dialog, nullptr, main.left, main.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnSize(PlaylistWindow& w, UINT kind, int width, int height);

BOOL OnInitDialog(HWND dialog, PlaylistWindow* w)
{
    w->dialog = dialog;
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(w));
    HINSTANCE instance = w->host.Instance();
    HANDLE icon = LoadImageA(instance, "IDI_YSMALL", IMAGE_ICON, 16, 16, 0);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendDlgItemMessageA(dialog, kIdUp, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(LoadImageA(instance, "BM_ARROWUP", IMAGE_BITMAP, 0, 0, 0)));
    SendDlgItemMessageA(dialog, kIdDown, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(LoadImageA(instance, "BM_ARROWDOWN", IMAGE_BITMAP, 0, 0, 0)));
    if (!SetUpGrid(*w))
        return TRUE;
    w->probe.reset(new SequencerLengthProbe());
    if (!w->probe->Ready())
        return TRUE;
    w->session.reset(new PlaylistSession(w->grid->Grid(), w->files, w->probe.get(), w->host, *w));
    w->session->SortByFolder(w->host.Option(PlayerOption::SortByDiskDir));

    PlaceWindow(*w);
    if (w->host.Option(PlayerOption::AlwaysOnTop))
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    w->session->flags.playlistModified = false;
    w->session->flags.titlesModified = false;
    DragAcceptFiles(dialog, TRUE);
    w->status = CreatePlaylistStatusBar(*w);
    w->SetStatus(kPartLabel, "\t\tCurrent Disk:");
    w->SetStatus(kPartTotalsLabel, "\t\tTotals:");
    // A saved rectangle of the template's own size sends no WM_SIZE: lay out once here.
    RECT client;
    GetClientRect(dialog, &client);
    OnSize(*w, SIZE_RESTORED, client.right, client.bottom);
    PostMessageA(dialog, kMsgOpen, 0, 0);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Opening what the window was opened on

void StartScan(PlaylistWindow& w)
{
    w.session->flags.buildScanActive = true;
    SetTitle(w, "");
    EnableWindow(GetDlgItem(w.dialog, kIdAdd), FALSE);
    EnableWindow(GetDlgItem(w.dialog, kIdDelete), FALSE);
    SetDlgItemTextA(w.dialog, kIdClose, "Stop");
    w.SetStatus(kPartLabel, "\t\tScanning:");
    PostMessageA(w.dialog, WM_COMMAND, CMD_PL_SCAN_ENTER, 0);
}

void StopScan(PlaylistWindow& w)
{
    w.session->flags.buildScanActive = false;
    KillTimer(w.dialog, kScanTimer);
    EnableWindow(GetDlgItem(w.dialog, kIdAdd), TRUE);
    EnableWindow(GetDlgItem(w.dialog, kIdDelete), TRUE);
    SetDlgItemTextA(w.dialog, kIdClose, "&Close");
    w.SetStatus(kPartLabel, "\t\tCurrent Disk:");
    w.session->RefreshCurrentDisk();
}

void OnOpen(PlaylistWindow& w)
{
    if (w.path == kUntitledPath) {
        SetTitle(w, "");
        return;
    }
    const DWORD attributes = GetFileAttributesA(w.path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        StartScan(w);
        return;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const std::string text = "No such file or directory:\n\n" + w.path;
        MessageBoxA(w.dialog, text.c_str(), "Error", MB_OK | MB_ICONERROR);
        w.path = kUntitledPath;
        SetTitle(w, "");
        return;
    }
    const std::string name = LastPathComponent(w.path);
    SetTitle(w, name);
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (CatalogKindOf(name) != CatalogKind::None || IsImageName(name))
        w.session->LoadCatalog(w.path);
    else
        w.session->LoadPlaylist(w.path);
    SetCursor(old);
    ShowProblems(w, w.session->TakeProblems());
}

// ---------------------------------------------------------------------------
// Closing

void Destroy(PlaylistWindow& w)
{
    HWND dialog = w.dialog;
    PlaylistHost& host = w.host;
    w.probe.reset();
    DestroyWindow(dialog);  // WM_NCDESTROY frees the window's state
    if (g_window == dialog)
        g_window = nullptr;
    host.Command(kCmdRefresh);
}

void CloseWindow(PlaylistWindow& w)
{
    if (AskToSave(w, "Playlist has been modified.\nSave your changes now?", "Confirm Close"))
        Destroy(w);
}

void OnDestroy(PlaylistWindow& w)
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (GetWindowPlacement(w.dialog, &wp)) {
        RECT work = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        RECT r = wp.rcNormalPosition;
        OffsetRect(&r, work.left, work.top);
        w.host.SavePlacement(r);
    }
    KillTimer(w.dialog, kAnimationTimer);
    KillTimer(w.dialog, kScanTimer);
    w.actions.reset();  // the walk adds through the session
    w.session.reset();
    UnhookGridWindows(w);
    w.grid.reset();  // releases the wrapper while the grid window still lives
}

// ---------------------------------------------------------------------------
// Layout

void OnSize(PlaylistWindow& w, UINT kind, int width, int height)
{
    if (kind == SIZE_MINIMIZED)
        return;
    HWND add = GetDlgItem(w.dialog, kIdAdd);
    RECT button;
    GetWindowRect(add, &button);
    if (w.buttonWidth == 0)
        w.buttonWidth = button.right - button.left;
    RECT bar = {0, 0, 0, 0};
    if (w.status)
        GetWindowRect(w.status, &bar);
    const PlaylistLayout l =
        LayOutPlaylist(width, height, w.buttonWidth, button.bottom - button.top, bar.bottom - bar.top);
    const struct {
        int id;
        Box box;
    } places[] = {{kIdGrid, l.grid}, {kIdAdd, l.add},  {kIdDelete, l.remove}, {kIdUp, l.up},
                  {kIdDown, l.down}, {kIdCue, l.cue}, {kIdClose, l.close}};
    for (const auto& p : places)
        MoveWindow(GetDlgItem(w.dialog, p.id), p.box.x, p.box.y, p.box.width, p.box.height, TRUE);
    if (w.status) {
        SendMessageA(w.status, WM_SIZE, 0, 0);
        LayOutStatusParts(w);
    }
}

// ---------------------------------------------------------------------------
// Commands and notifications

void OnGridNotify(PlaylistWindow& w, int code)
{
    PlaylistSession& s = *w.session;
    switch (code) {
    case TSN_SELCHANGE: {
        const int rows = s.Grid().CurrentSelection().Count(CountOf::Rows);
        s.Grid().SetGridNumber(0x333D, rows < 2 ? kSingleSelect : kMultiSelect);
        w.host.Command(kCmdRefresh);
        break;
    }
    case TSN_DBLCLK:
        s.DoubleClick();
        break;
    case TSN_CONTEXTMENU:
        ShowPopupMenu(w, true, POINT{0, 0});
        break;
    case TSN_EDITOPEN:
        if (s.Editing())
            s.Grid().Send(TSM_ENDEDIT, 0, 0);
        break;
    case TSN_EDITREQUEST:
        s.BeginTitleEdit();
        break;
    case TSN_EDITACCEPTED:
    case TSN_EDITCANCELLED:
        s.EndTitleEdit();
        break;
    default:
        break;
    }
}

void SaveTitles(PlaylistWindow& w)
{
    std::vector<std::string> problems;
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    w.session->SaveTitles(&problems);
    SetCursor(old);
    ShowProblems(w, problems);
}

void OnCommand(PlaylistWindow& w, int id, int code)
{
    PlaylistSession& s = *w.session;
    switch (id) {
    case kIdClose:
        if (s.flags.buildScanActive)
            PostMessageA(w.dialog, WM_COMMAND, CMD_PL_SCAN_STOP, 0);
        else
            CloseWindow(w);
        break;
    case CMD_PL_SCAN_STOP:
        ScanCommand(w, id);
        StopScan(w);
        break;
    case CMD_PL_SCAN_ENTER:
    case CMD_PL_SCAN_FILE:
    case CMD_PL_SCAN_NEXT:
        if (s.flags.buildScanActive)
            ScanCommand(w, id);
        break;
    case kIdUp:
        s.Move(-1);
        break;
    case kIdDown:
        s.Move(1);
        break;
    case kIdAdd:
        AddFilesDialog(w);
        break;
    case kIdDelete:
        s.DeleteSelected();
        break;
    case kIdCue:
        s.Cue();
        break;
    case kIdGrid:
        OnGridNotify(w, code);
        break;
    case kCmdAttachMap:
    case kCmdDetachMap:
        VoiceMapCommand(w, id);
        break;
    case kCmdCopyDiskToA:
    case kCmdCopySongToA:
        CopyCommand(w, id);
        break;
    case CMD_PL_COPY_TARGET:
        CopyTargetDialog(w);
        break;
    case kCmdCopyToClipboard:
        ClipboardMessage(w, kMsgCopyFiles);
        break;
    case kCmdPasteFromClipboard:
        ClipboardMessage(w, kMsgPasteFiles);
        break;
    case kCmdHideAllSongs:
    case kCmdShowAllSongs:
        s.ShowAllSongs(id == kCmdShowAllSongs);
        break;
    case kCmdSortByDiskDir:
        s.SortByFolder(!s.flags.sortedByDiskDir);
        break;
    case kCmdSaveSongTitles:
        SaveTitles(w);
        break;
    default:
        // Only the scan's next step listens for this.
        PostMessageA(w.dialog, WM_COMMAND, CMD_PL_SCAN_NEXT, 0);
        break;
    }
}

void OnTimer(PlaylistWindow& w, UINT_PTR id)
{
    if (id == kAnimationTimer) {
        w.session->AnimationTick((std::rand() & 3) + (std::rand() & 1));
    } else if (id == kScanTimer) {
        KillTimer(w.dialog, kScanTimer);
        PostMessageA(w.dialog, WM_COMMAND, CMD_PL_SCAN_NEXT, 0);
    }
}

// A message for the playlist's own numbers; false for any other.
bool OnPrivate(PlaylistWindow& w, UINT message, WPARAM wParam)
{
    PlaylistSession& s = *w.session;
    switch (message) {
    case kMsgStep:
        s.Step(static_cast<int>(static_cast<INT_PTR>(wParam)));
        return true;
    case kMsgState:
        s.FollowState();
        return true;
    case kMsgOpen:
        OnOpen(w);
        return true;
    case kMsgDelete:
        s.DeleteSelected();
        return true;
    case kMsgResort:
        s.SortByFolder(w.host.Option(PlayerOption::SortByDiskDir));
        return true;
    case kMsgCopyFiles:
    case kMsgPasteFiles:
    case kMsgCopyText:
    case kMsgPasteText:
        ClipboardMessage(w, message);
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog(dialog, reinterpret_cast<PlaylistWindow*>(lParam));
    PlaylistWindow* w = WindowOf(dialog);
    if (!w)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete w;
        return FALSE;
    }
    if (message == WM_DESTROY) {
        OnDestroy(*w);
        return FALSE;
    }
    if (!w->session)
        return FALSE;  // set-up failed: the window is about to go
    if (OnPrivate(*w, message, wParam))
        return TRUE;
    switch (message) {
    case WM_COMMAND:
        OnCommand(*w, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        CloseWindow(*w);
        return TRUE;
    case WM_SIZE:
        OnSize(*w, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_TIMER:
        OnTimer(*w, wParam);
        return TRUE;
    case WM_CONTEXTMENU:
        ShowPopupMenu(*w, false, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return TRUE;
    case WM_MOUSEWHEEL:
        OnMouseWheel(*w, wParam);
        return TRUE;
    case WM_DROPFILES:
        DropFiles(*w, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

PlaylistWindow* WindowOf(HWND dialog)
{
    return dialog ? reinterpret_cast<PlaylistWindow*>(GetWindowLongPtrA(dialog, DWLP_USER)) : nullptr;
}

// ---------------------------------------------------------------------------
// PlaylistView

void PlaylistWindow::StartAnimation()
{
    SetTimer(dialog, kAnimationTimer, kAnimationMs, nullptr);
    animating = true;
}

void PlaylistWindow::StopAnimation()
{
    KillTimer(dialog, kAnimationTimer);
    animating = false;
}

void PlaylistWindow::ShowArrows(bool shown)
{
    ShowWindow(GetDlgItem(dialog, kIdUp), shown ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog, kIdDown), shown ? SW_SHOW : SW_HIDE);
}

void PlaylistWindow::ShowError(const std::string& text)
{
    MessageBoxA(dialog, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

// ---------------------------------------------------------------------------
// What the main window calls

HWND PlaylistWindowHandle()
{
    return g_window;
}

bool PreTranslatePlaylistMessage(MSG* msg)
{
    if (!g_window)
        return false;
    PlaylistWindow* w = WindowOf(g_window);
    if (msg->message == WM_KEYDOWN && w && w->session) {
        const bool editor = w->session->Editing();
        HWND focus = GetFocus();
        const bool inGrid = w->grid && (focus == w->grid->Inner() || focus == w->grid->Outer());
        const bool focusInDialog = focus && (GetParent(focus) == g_window || (inGrid && !editor));
        const bool forPlaylist = msg->hwnd == g_window || IsChild(g_window, msg->hwnd);
        const KeyDecision d = DecideKey(static_cast<int>(msg->wParam), GetKeyState(VK_CONTROL) < 0, focusInDialog,
                                        editor, forPlaylist);
        if (d.post)
            PostMessageA(g_window, d.post, 0, 0);
        if (d.consumed)
            return true;
    }
    return IsDialogMessageA(g_window, msg) != FALSE;
}

bool CloseForOpen()
{
    PlaylistWindow* w = WindowOf(g_window);
    if (!w)
        return true;
    if (w->session && !AskToSave(*w, "Current playlist has been modified.\nSave your changes now?", "Confirm Open"))
        return false;
    Destroy(*w);
    return true;
}

void OpenPlaylistWindow(PlaylistHost& host, const char* path)
{
    if (!CloseForOpen())
        return;
    PlaylistWindow* w = new PlaylistWindow(host, path && *path ? path : kUntitledPath);
    HWND dialog = CreateDialogParamA(host.Instance(), "PLAYLISTDLG", host.Main(), DialogProc,
                                     reinterpret_cast<LPARAM>(w));
    if (!dialog) {
        delete w;
        return;
    }
    if (!w->session) {
        DestroyWindow(dialog);  // no grid or no length probe
        return;
    }
    g_window = dialog;
    ShowWindow(dialog, SW_SHOW);
    w->session->flags.totalSeconds = 0;
    w->session->ShowTotalSeconds();
    w->session->RecountTotals();
    w->session->RefreshCurrentDisk();
    host.Command(kCmdRefresh);
}

bool SavePlaylist(bool askName)
{
    PlaylistWindow* w = WindowOf(g_window);
    return w && w->session && SaveWithDialog(*w, askName);
}

void ExportPlaylist(const char* path)
{
    PlaylistWindow* w = WindowOf(g_window);
    if (!w || !w->session || !path)
        return;
    if (!w->session->ExportTo(path))
        w->ShowError(std::string("The playlist could not be written:\n\n") + path);
}

unsigned PlaylistNavigationBits()
{
    PlaylistWindow* w = WindowOf(g_window);
    return w && w->session ? w->session->NavigationBits() : 0;
}

}  // namespace playlist
