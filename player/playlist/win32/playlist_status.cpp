// The playlist window's status bar: seven parts sized by sample texts in
// the bar's own font, the labels drawn without borders.
#include "playlist_dialog.h"

#include <commctrl.h>

namespace playlist {

namespace {

int TextWidth(HDC dc, const char* text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size.cx;
}

StatusSampleWidths MeasureSamples(HWND bar)
{
    StatusSampleWidths w;
    HDC dc = GetDC(bar);
    if (!dc)
        return w;
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    w.currentDisk = TextWidth(dc, "Current Disk:");
    w.time = TextWidth(dc, "44:44:44");
    w.totals = TextWidth(dc, "Totals:");
    w.folders = TextWidth(dc, "44 Disk/Dirs");
    w.files = TextWidth(dc, "1444 Files");
    w.total = TextWidth(dc, "144:44:44");
    if (old)
        SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return w;
}

}  // namespace

HWND CreatePlaylistStatusBar(PlaylistWindow& w)
{
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, w.dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdStatusBar)), w.host.Instance(), nullptr);
    w.status = bar;
    LayOutStatusParts(w);
    return bar;
}

void LayOutStatusParts(PlaylistWindow& w)
{
    if (!w.status)
        return;
    RECT client;
    GetClientRect(w.dialog, &client);
    const std::array<int, 7> edges = StatusPartEdges(client.right, MeasureSamples(w.status));
    int parts[7];
    for (int i = 0; i < 7; ++i)
        parts[i] = edges[static_cast<size_t>(i)];
    SendMessageA(w.status, SB_SETPARTS, 7, reinterpret_cast<LPARAM>(parts));
    for (int i = 0; i < 7; ++i)
        w.SetStatus(i, w.statusTexts[i]);
}

void PlaylistWindow::SetStatus(int part, const std::string& text)
{
    if (part < 0 || part > 6)
        return;
    statusTexts[part] = text;
    if (!status)
        return;
    const WPARAM style = (part == kPartLabel || part == kPartTotalsLabel) ? SBT_NOBORDERS : 0;
    SendMessageA(status, SB_SETTEXTA, static_cast<WPARAM>(part) | style, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace playlist
