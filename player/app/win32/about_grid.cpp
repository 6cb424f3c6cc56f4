// The About dialog's grid (control 1018): two lines of text in pale yellow,
// the first with the playing row's keyboard icon, animated by the dialog's
// timer 1 like a playing song's row; the grid is disabled (it only shows).
#include <stdio.h>
#include <stdlib.h>

#include <memory>

#include "command_ids.h"
#include "grid_window.h"
#include "seams.h"

namespace zub {

namespace {

const UINT_PTR kAnimationTimer = 1;
const PropertyId kColumnMode = TS_PROP(TS_GROUP_COLS, TS_PART_NUMBER, 0x11);
const PropertyId kColumnSize = TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE);
const PropertyId kColumnStyle = TS_PROP(TS_GROUP_COLS, TS_PART_STRING, 4);
const PropertyId kRowSize = TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE);
const PropertyId kCellText = TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE);
const PropertyId kCellIcon = TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, 5);

// One About dialog at a time: it is modal.
std::unique_ptr<playlist::GridWindow> g_grid;

void SetIcon(int frame)
{
    char name[16];
    snprintf(name, sizeof name, "Keys%d", frame);
    g_grid->Grid().Row(0).SetText(kCellIcon, name);
}

}  // namespace

namespace about_grid_seam {

void Attach(HWND dialog)
{
    g_grid = playlist::GridWindow::Make(GetDlgItem(dialog, IDC_ABOUT_GRID));
    if (!g_grid)
        return;
    playlist::PlaylistGrid& g = g_grid->Grid();
    g.DefineAlias(TS_ALIAS_FONT, "Default", "MS Shell Dlg : 8");
    for (int i = 0; i < 5; ++i) {
        char name[16], spec[32];
        snprintf(name, sizeof name, "Keys%d", i);
        snprintf(spec, sizeof spec, "IDI_KEYS%d(20,20)", i);
        g.DefineAlias(TS_ALIAS_ICON, name, spec);
    }
    g.DefineAlias(TS_ALIAS_COLORPAIR, "Default", "Pale Yellow", "Black");
    const playlist::GridSelection column = g.InsertedCols(1, TS_APPEND);
    column.SetNumber(kColumnMode, 4);
    column.SetText(kColumnSize, "[1R]");
    column.SetText(kColumnStyle, "TSLeftText TSVCenterText TSVCenterIcon");
    g.Inserted(2, TS_APPEND);
    g.Row(0).SetText(kCellText, "'Beta' users are requested to provide feedback");
    g.Row(1).SetText(kCellText, "and sample test data in exchange for this privilege.");
    g.Row(0).SetText(kRowSize, "[20]");
    SetIcon(0);
    SetTimer(dialog, kAnimationTimer, 200, nullptr);
    EnableWindow(g_grid->Outer(), FALSE);
}

void Timer(HWND)
{
    if (g_grid)
        SetIcon((rand() & 3) + (rand() & 1));  // 0 to 4
}

void Release(HWND dialog)
{
    KillTimer(dialog, kAnimationTimer);
    g_grid.reset();
}

}  // namespace about_grid_seam

}  // namespace zub
