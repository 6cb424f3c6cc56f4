#include "grid_setup.h"

#include "playlist_row.h"

namespace playlist {

const IconAlias kPlaylistIcons[10] = {
    {"Folder", "IDI_FOLDER(20,20)"},    {"Piano", "IDI_PIANO(20,20)"},     {"Piano+", "IDI_PIANO+(20,20)"},
    {"PianoDoc", "IDI_PIANODOC(20,20)"}, {"Keys0", "IDI_KEYS0(20,20)"},     {"Keys1", "IDI_KEYS1(20,20)"},
    {"Keys2", "IDI_KEYS2(20,20)"},       {"Keys3", "IDI_KEYS3(20,20)"},     {"Keys4", "IDI_KEYS4(20,20)"},
    {"Missing", "IDI_EXCLEM2(20,20)"},
};

namespace {

constexpr PropertyId kColSize = TS_PROP(TS_GROUP_COLS, TS_PART_STRING, 0x15);
constexpr PropertyId kColStyle = TS_PROP(TS_GROUP_COLS, TS_PART_STRING, 0x04);
constexpr PropertyId kColTextColour = TS_PROP(TS_GROUP_COLS, TS_PART_STRING, 0x08);
constexpr PropertyId kColItem11 = 0x2311;
constexpr PropertyId kColItem0F = 0x230F;

void Aliases(PlaylistGrid& grid)
{
    // Colour pairs: background, then text colour.
    grid.DefineAlias(TS_ALIAS_COLORPAIR, "Default", "Bright Gray", "Black");
    grid.DefineAlias(TS_ALIAS_COLORPAIR, "CurrentFocusRow", "Pale Yellow", nullptr);
    grid.DefineAlias(TS_ALIAS_COLORPAIR, "AutoSearch", "Pale Yellow", nullptr);
    grid.DefineAlias(TS_ALIAS_FONT, "Default", "Arial : 10");
    for (const IconAlias& icon : kPlaylistIcons)
        grid.DefineAlias(TS_ALIAS_ICON, icon.name, icon.spec);
}

}  // namespace

void SetUpPlaylistGrid(PlaylistGrid& grid)
{
    Aliases(grid);
    grid.Send(TSM_SETOPTIONS, 0x88300, 0x88300);
    grid.Send(TSM_SETSTYLE, 1, 0xFD400);  // clear: notifications 10, 12 and 14-19 on

    grid.SetGridNumber(0x333D, 1);
    grid.SetGridNumber(0x3319, 1);
    grid.SetGridNumber(0x331A, 0);
    grid.SetGridNumber(0x4329, -2);
    grid.SetGridNumber(0x432A, 0);
    grid.SetGridNumber(0x4328, 0);
    grid.SetGridText(0x3021, "RGB(208,208,208)");

    const GridSelection all = grid.InsertedCols(kColumnCount, TS_APPEND);
    all.SetText(kColSize, "[B]:[1R]");
    all.SetNumber(kColItem11, 4);
    all.SetText(kColStyle, "TSLeftText TSVCenterIcon");
    all.HideCols(false);

    GridSelection hidden = grid.Column(ColPath);
    hidden.Union(grid.Column(ColVoiceMap)).Union(grid.Column(ColSortKey));
    hidden.HideCols(true);

    const GridSelection name = grid.Column(ColName);
    name.SetColMark(true);
    name.SetNumber(kColItem0F, 1);

    const GridSelection title = grid.Column(ColTitle);
    title.SetText(kColTextColour, kColourDarkBlue);
    title.SetColSearch(true);

    grid.Column(ColLength).SetText(kColTextColour, kColourDarkGreen);

    GridSelection sized = grid.Column(ColLength);
    sized.Union(grid.Column(ColMapName));
    sized.SetText(kColSize, "[B]");
}

}  // namespace playlist
