// The grid message interface: what a program that places a "Tessaline"
// window needs to drive it. Every client message (1275-1326) is sent with
// wParam 0 and lParam pointing to a ParamBlock the sender owns for the call;
// all go to the inner grid window (the first child of the "Tessaline"
// window) except TSM_POPUPMENU, which goes to the outer one. Numbers and
// record layouts here are a public contract.
#ifndef ZUB_GRID_TS_H
#define ZUB_GRID_TS_H

#include <stdint.h>

#include "tsvlistmgr.h"

#define TS_FRAME_CLASS "Tessaline"
#define TS_GRID_CLASS "TsWndMgr"

// ---------------------------------------------------------------------------
// Messages

enum {
    // Private messages of the grid and its frame.
    TSM_DEFERRED = 1124,        // posted to itself: finish work after the current message
    TSM_INVALIDATEVIEWS = 1125, // invalidate every view of the grid
    TSM_RESETDRAWING = 1126,    // drop cached drawing objects, then invalidate
    TSM_INPUTFIRST = 1127,      // 1127-1131: mouse repeat and capture steps
    TSM_INPUTLAST = 1131,
    TSM_ENDTRACKING = 1132,     // end the current mouse tracking mode
    TSM_SYNCBARS = 1133,        // posted by the grid to itself: move the scroll bars' thumbs
    TSM_MENUTRACK = 1224,       // wParam 1: anchor RECT at lParam; wParam 2: menu closed
    TSM_HILITESTEP = 1225,      // timer step of the highlight
    TSM_COPYSLOT = 1226,        // copy slot hi(wParam) into slot lo(wParam) of the grid object at lParam
    TSM_SETBORDERCOLORS = 1227, // frame: colours from a TsBorderColors at lParam
    TSM_QUERYCURSOR = 1228,     // frame asks the grid to set the cursor

    // Client messages.
    TSM_INSERTROWS = 1275,
    TSM_INSERTCOLS = 1276,
    TSM_DELETEROWS = 1277,
    TSM_DELETECOLS = 1278,
    TSM_HIDEROWS = 1279,
    TSM_HIDECOLS = 1280,
    TSM_DEFINEALIAS = 1281,
    TSM_SCROLLTOSEL = 1282,
    TSM_SETSELRANGE = 1283,
    TSM_SELECTIONOP = 1284,
    TSM_CLEARCELLS = 1285,
    TSM_SETPROP = 1286,
    TSM_SETROWATTR = 1289,
    TSM_SETCOLATTR = 1290,
    TSM_SETOPTIONS = 1291,
    TSM_MOVEROWS = 1292,
    TSM_MOVECOLS = 1293,
    TSM_SETFOCUSSEL = 1294,
    TSM_SORTROWS = 1296,
    TSM_GETPROP = 1297,
    TSM_GETALIASNAMES = 1298,
    TSM_SETCOLSEARCH = 1299,
    TSM_POPUPMENU = 1300,
    TSM_SETHILITEMODE = 1301,
    TSM_GETROWSHEIGHT = 1302,
    TSM_GETCOLSWIDTH = 1303,
    TSM_RESETCELLS = 1304,
    TSM_SETROWFLAGS = 1305,
    TSM_SETCOLFLAGS = 1306,
    TSM_SETDIMENSIONS = 1307,
    TSM_SETSTYLE = 1308,
    TSM_FINDALIAS = 1309,
    TSM_SETCOLMARK = 1310,
    TSM_OUTLINE = 1311,
    TSM_SETSELCELL = 1312,
    TSM_CELLOPERATION = 1313,
    TSM_CELLCOMMAND = 1315,
    TSM_ENDEDIT = 1316,
    TSM_BEGINEDIT = 1317,
    TSM_FOCUSQUERY = 1318,
    TSM_MODEOFF = 1319,
    TSM_MODEON = 1320,
    TSM_SORTCOLS = 1321,
    TSM_TABLECOMMAND = 1322,
    TSM_RANGECOMMAND = 1323,
    TSM_CLEARPENDING = 1324,
    TSM_CELLTEST = 1326,
    TSM_FIRST = 1275,
    TSM_LAST = 1326
};

// ---------------------------------------------------------------------------
// Parameters

// lParam of every client message. d1 is as wide as a pointer: 8 bytes in all
// on 32-bit Windows.
struct ParamBlock {
    uint32_t d0;
    uintptr_t d1;
};

inline uint32_t TsLo(uint32_t d0) { return d0 & 0xFFFFu; }
inline uint32_t TsHi(uint32_t d0) { return d0 >> 16; }
inline uint32_t TsByte(uint32_t d0, int n) { return (d0 >> (8 * n)) & 0xFFu; }

// A selection handle names one of 40 slots; 0 is none. Slots 0-7 belong to
// the grid, so clients hold 8-39. Handles are masked with 127.
typedef uint16_t SelectionHandle;
enum { TS_SELECTION_SLOTS = 40, TS_RESERVED_SLOTS = 8, TS_HANDLE_MASK = 127 };

// Row and column positions 0-32767 are indexes; 32768 and more are stable
// identifiers (32768 + the record number). An insertion at 0x7FFF appends.
enum { TS_ID_BASE = 32768, TS_APPEND = 0x7FFF, TS_EMPTY_GEOMETRY = 32767 };

// PropertyId (hi(d0) of TSM_SETPROP / TSM_GETPROP): group in bits 12-15,
// part in bits 8-11, item in bits 0-7.
typedef uint16_t PropertyId;
inline uint32_t TsPropGroup(PropertyId id) { return (id >> 12) & 0xFu; }
inline uint32_t TsPropPart(PropertyId id) { return (id >> 8) & 0xFu; }
inline uint32_t TsPropItem(PropertyId id) { return id & 0xFFu; }
#define TS_PROP(group, part, item) ((PropertyId)(((group) << 12) | ((part) << 8) | (item)))

enum {
    TS_GROUP_CELLS = 0,
    TS_GROUP_ROWS = 1,
    TS_GROUP_COLS = 2,
    TS_GROUP_GRID = 3,
    TS_GROUP_FRAME = 4,
    TS_GROUP_GEOMETRY = 5
};
enum {
    TS_PART_STRING = 0,  // set: d1 a text parsed into a list (null: empty)
    TS_PART_LIST = 1,    // d1 a Vlist*
    TS_PART_RANGE = 2,   // d1 a VlistRange*
    TS_PART_NUMBER = 3,  // set: d1 the number; get: d1 an int32_t* receiving it
    TS_PART_ADD = 4,     // set: d1 added to each target's number
    TS_PART_VALUE = 5    // d1 a TsValue** holder
};
// Items the data layer answers; the others belong to the property, view and
// edit layers.
enum {
    TS_ITEM_VALUE = 3,       // cells: the value
    TS_ITEM_LEVEL = 16,      // rows: the outline level (0 folder, 1 song for the player)
    TS_ITEM_ID = 19,         // rows, columns: the stable identifier (get)
    TS_ITEM_USER = 20,       // rows, columns: a value of the client's
    TS_ITEM_TEMPLATE = 21,   // rows, columns: size template
    TS_ITEM_ROWTABLE = 23,   // grid: row-table value (at most 32000)
    TS_ITEM_COLTABLE = 24,   // grid: column-table value (at most 250)
    TS_ITEM_ROWCOUNT = 27,
    TS_ITEM_COLCOUNT = 28,
    TS_ITEM_FIRSTROW = 29,   // grid: the view's first visible row (get)
    TS_ITEM_INNERBORDER = 40,  // frame
    TS_ITEM_OUTERBORDER = 41,
    TS_ITEM_MARGIN = 42,
    TS_ITEM_BORDERCOLORS = 43,
    TS_ITEM_USER2 = 44,      // rows: a second value of the client's
    TS_ITEM_WINDOWFLAGS1 = 45,
    TS_ITEM_WINDOWFLAGS2 = 46,
    TS_ITEM_EDITSTATE = 49,  // grid: 1 while an edit is open, 16 after a cancel
    TS_ITEM_CHANGEMASK = 50, // grid: enabled change notifications within 0x1FF8
    TS_ITEM_FIRSTROWSEL = 51,  // geometry: first row, last row, first column, last column
    TS_ITEM_LASTROWSEL = 52,
    TS_ITEM_FIRSTCOLSEL = 53,
    TS_ITEM_LASTCOLSEL = 54
};

// Items of the appearance, answered by the property layer. Colour items
// 7-11 and 59-60 set one half of the cell's (column's) colour pair for a
// state: 7/8 normal background/text, 9/10 selected, 59/60 focus, 11 the
// background of all three; 1, 57 and 58 name a whole pair for those states.
enum {
    TS_ITEM_COLORPAIR = 1,   // cells, columns: colour pair alias name
    TS_ITEM_FONT = 2,        // cells, columns: font alias name or font spec
    TS_ITEM_STYLE = 4,       // cells, columns: style keywords ("TSLeftText TSVCenterIcon")
    TS_ITEM_ICON = 5,        // cells, columns: icon alias name or icon spec
    TS_ITEM_CURSOR = 6,      // cells, columns: cursor alias name or cursor spec
    TS_ITEM_BACK = 7,
    TS_ITEM_TEXTCOLOR = 8,
    TS_ITEM_HILITEBACK = 9,
    TS_ITEM_HILITETEXT = 10,
    TS_ITEM_ALLBACK = 11,
    TS_ITEM_HINT = 12,       // cells, columns: the hint shown over the cell
    TS_ITEM_CELLFLAGS = 13,  // cells: the flag byte (bits 1-2 watched by the focus)
    TS_ITEM_RULECOLOR = 14,  // columns: colour of the rule to the column's right
    TS_ITEM_INDENT = 15,     // columns: outline indent per level, in icon widths
    TS_ITEM_TEXTMARGIN = 17,    // columns: text margin in pixels (default 2)
    TS_ITEM_MAXWIDTH = 18,   // columns: the most a B item grows to, 0 no limit
    TS_ITEM_ROWRULE = 25,    // grid: rule style between rows (TS_RULE_* of the view)
    TS_ITEM_COLRULE = 26,    // grid: rule style between columns
    TS_ITEM_FRAMEOFFSETX = 30,  // grid (get): frame width less grid width
    TS_ITEM_FRAMEOFFSETY = 31,  // grid (get): frame height less grid height
    TS_ITEM_STYLEWORD = 32,  // grid (get): the notification style word
    TS_ITEM_BACKGROUND = 33, // grid (set): colour where no cell is; (get) the hint being shown
    TS_ITEM_VHINT = 34,      // grid: vertical scroll-bar hint template
    TS_ITEM_HHINT = 35,      // grid: horizontal scroll-bar hint template
    TS_ITEM_WHEELLINES = 47, // grid: lines per wheel notch, 0 the system's
    TS_ITEM_PAGEROWS = 48,   // grid (get): rows wholly in view
    TS_ITEM_SIZING = 55,     // cells, columns: font sizing template ("w:text")
    TS_ITEM_HILITEPAIR = 57,
    TS_ITEM_FOCUSPAIR = 58,
    TS_ITEM_FOCUSBACK = 59,
    TS_ITEM_FOCUSTEXT = 60,
    TS_ITEM_DRAWING = 61,    // grid: drawing defaults (bit 0 focus rectangle, bit 1 no ellipsis)
    TS_ITEM_RULEPRESET = 62  // grid: both rule styles from a preset 0-7
};

// TSM_SETSELRANGE: corners in any order; -1 or past the end reaches the last.
struct TsSelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// TSM_DEFINEALIAS d1. The alias numbers of TSM_DEFINEALIAS, TSM_FINDALIAS
// and the cell filter count from 1 ("Default" is 1 of its kind); 0 is a
// failure or no alias.
struct TsAliasDef {
    const char* name;
    const char* spec1;
    const char* spec2;
};
enum { TS_ALIAS_COLORPAIR = 1, TS_ALIAS_FONT = 2, TS_ALIAS_ICON = 3, TS_ALIAS_CURSOR = 4 };

// TSM_POPUPMENU d1.
struct TsPopupMenu {
    const char* menuResource;  // a name, or a resource number below 0x10000
    void* menu;                // a menu handle, or null to load menuResource
    void* owner;               // null: the frame's parent
    int32_t submenu;           // -1 or more: that submenu (-1 means 0); below -1: the menu itself
};

// TSM_SETBORDERCOLORS lParam: two RGB values (0x00BBGGRR).
struct TsBorderColors {
    uint32_t color1;
    uint32_t color2;
};

// Window creation data of the inner grid (style bit 0x0800).
struct GridCreateParams {
    uint32_t maxRows;  // default 1024, at most 65535
    uint32_t maxCols;  // default 32, at most 65535
};
enum {
    TS_WS_PARAMS = 0x0800,      // a GridCreateParams is present
    TS_WS_THREAD_SHARED = 0x1800,
    TS_WS_THREAD_OWN = 0x2800,
    TS_DEFAULT_MAXROWS = 1024,
    TS_DEFAULT_MAXCOLS = 32
};

// TSM_BEGINEDIT d1.
struct TsEditRequest {
    int32_t mode;       // the player passes 1
    int32_t maxLength;  // characters
    int32_t reserved[2];
};

// TSM_SORTROWS / TSM_SORTCOLS d1.
struct TsSortRequest {
    const char* spec;
    int32_t keys[8];
};

// ---------------------------------------------------------------------------
// Selection operations (TSM_SELECTIONOP: byte 0 sel, byte 1 a second
// selection, hi(d0) low byte the operation and high byte its modifier).

enum {
    TS_SEL_NEW = 0x00,
    TS_SEL_DUPLICATE = 0x01,
    TS_SEL_RELEASE = 0x02,
    TS_SEL_ALL = 0x03,
    TS_SEL_CLIP = 0x04,
    TS_SEL_COPY = 0x05,
    TS_SEL_UNION = 0x06,
    TS_SEL_INTERSECT = 0x07,
    TS_SEL_MINUS = 0x08,
    TS_SEL_XOR = 0x09,
    TS_SEL_COMPLEMENT = 0x0A,
    TS_SEL_CURRENT = 0x0B,
    TS_SEL_FOCUS = 0x0C,
    TS_SEL_GROUPBELOW = 0x0D,
    TS_SEL_VIEW = 0x0E,
    TS_SEL_SEARCH = 0x0F,
    TS_SEL_TOPARENT = 0x11,
    TS_SEL_FILTER = 0x12,
    TS_SEL_FILTERROWS = 0x13,
    TS_SEL_FILTERPAINT = 0x14,
    TS_SEL_COUNTCELLS = 0x15,
    TS_SEL_COUNTROWS = 0x16,
    TS_SEL_COUNTCOLS = 0x17,
    TS_SEL_COUNTRECTS = 0x18,
    TS_SEL_COUNTSHOWNROWS = 0x19,
    TS_SEL_COUNTHIDDENROWS = 0x1A,
    TS_SEL_COUNTSHOWNCOLS = 0x1B,
    TS_SEL_COUNTHIDDENCOLS = 0x1C,
    TS_SEL_COUNTFILLED = 0x1D,
    TS_SEL_COUNTEMPTY = 0x1E,
    TS_SEL_COUNTHEADS = 0x1F,
    TS_SEL_COUNTTOPLEVEL = 0x20,
    TS_SEL_COUNTMARKEDCOLS = 0x21,
    TS_SEL_FOCUSROW = 0x22,
    TS_SEL_GROUPABOVE = 0x23,
    TS_SEL_FOCUSCOL = 0x24,
    TS_SEL_VIEWORIGIN = 0x25
};
// Modifier (high byte of the operation word).
enum {
    TS_SELMOD_OTHERGRID = 0x01,  // byte 1 names a slot of the grid whose outer window is d1
    TS_SELMOD_TEXTS = 0x04       // the value fields of a filter record are texts, not lists
};

// Filter record of operations 0x12-0x14 (d1). Criterion k is tested by bit
// 2k, its negation by bit 2k+1; bit 31 set: any tested criterion suffices.
struct TsCellFilter {
    uint32_t criteria;
    uintptr_t values;   // Vlist*, or const char* with TS_SELMOD_TEXTS
    uintptr_t values2;  // the same, for criterion 7
    int32_t low;
    int32_t high;
    uint32_t alias;
};
enum {
    TS_FILTER_HIDDEN = 0,     // its row or column is not shown
    TS_FILTER_COLORPAIR = 1,  // its colour pair reference equals alias
    TS_FILTER_SLOT1 = 2,      // it lies in the grid's selection slot 1
    TS_FILTER_EQUALS = 3,     // its value equals one of values
    TS_FILTER_MATCHES = 4,    // one of values, as a pattern, matches its text
    TS_FILTER_LOWATTR = 5,    // low 4-bit attribute of its row in [low, high)
    TS_FILTER_MARKEDCOL = 6,  // its column carries the mark flag
    TS_FILTER_MATCHES2 = 7,   // as 4 with values2
    TS_FILTER_HIGHATTR = 8,   // high 4-bit attribute of its row in [low, high)
    TS_FILTER_CELLFLAGS = 9,  // its flag bits 1-2
    TS_FILTER_ANY = 31
};
// Counting record of operations 0x15-0x17 (d1; null or a negative first
// word gives a plain count).
struct TsCountRequest {
    int32_t flags;  // TS_COUNT_*
    Vlist* out;     // receives the values with TS_COUNT_TRANSFER
};
enum {
    TS_COUNT_ALL = 0,       // every covered row, column or cell
    TS_COUNT_HIDDENTOO = 1, // the same, said the other way
    TS_COUNT_SHOWN = 2,     // only those shown
    TS_COUNT_TRANSFER = 4   // also append the cells' values (or the identifiers) to out
};

// ---------------------------------------------------------------------------
// Row, column and cell flags

enum {
    TS_ROW_FIXED = 0x01,
    TS_ROW_SHOWN = 0x02,
    TS_ROW_PLACE = 0x08,  // still to be placed by the sort
    TS_COL_SHOWN = 0x01,
    TS_COL_FIXED = 0x02,
    TS_COL_SEARCH = 0x04,
    TS_COL_MARK = 0x10,
    TS_COL_MARKCHANGED = 0x20,
    TS_COL_BITEM = 0x80
};

// Parts of a cell for TSM_CLEARCELLS (all) and TSM_RESETCELLS (all but the value).
enum {
    TS_CELL_TEXT = 0x01,
    TS_CELL_COLORS = 0x02,
    TS_CELL_FONT = 0x04,
    TS_CELL_ICON = 0x08,
    TS_CELL_CURSOR = 0x10,
    TS_CELL_ALIGN = 0x20,
    TS_CELL_HINT = 0x40,
    TS_CELL_SIZING = 0x80,
    TS_CELL_FLAGS = 0x100
};

// Style word: notification code n is sent only while bit n is clear.
enum { TS_STYLE_FRAMEMOUSE = 0x100000 };

// ---------------------------------------------------------------------------
// Notifications: WM_COMMAND to the parent of the "Tessaline" window, wParam
// = control identifier | code << 16, lParam = the "Tessaline" window.

enum {
    TSN_CELLHIT = 4,
    TSN_CELLHIT2 = 6,
    TSN_SELCHANGE = 8,
    TSN_DBLCLK = 9,
    TSN_CONTEXTMENU = 10,
    TSN_EDITOPEN = 12,
    TSN_EDITREQUEST = 14,
    TSN_EDITACCEPTED = 18,
    TSN_EDITCANCELLED = 19
};

// ---------------------------------------------------------------------------
// Text query protocol: WM_SETTEXT to the inner window with
// "command:argument,v1,v2,v3,v4:text" (each separator any one character),
// then WM_GETTEXT answers "%lu:%lu,%lu,%lu,%lu,%lu:%s" (result, argument,
// the four values, text) and returns 192.

enum {
    TSQ_ROWCOUNT = 101,
    TSQ_COLCOUNT = 102,
    TSQ_CELLTEXT = 103,      // v1 row, v2 column
    TSQ_COLORPAIR = 104,
    TSQ_COLORNAME = 105,
    TSQ_FONT = 106,
    TSQ_ICON = 107,
    TSQ_CURSOR = 108,
    TSQ_SELECTION = 109,     // slot 0's bounding rectangle: left, top, right, bottom
    TSQ_FIRSTROW = 110,      // the view's first visible row (and column in v2)
    TSQ_COLTABLE = 111,      // grid item 24
    TSQ_RECTVALID = 112,     // v1-v4 left column, top row, right column, bottom row
    TSQ_CELLRECT = 113,      // the cell's rectangle in the grid window
    TSQ_CELLFRAMERECT = 114, // the same in the "Tessaline" window
    TSQ_SHOWCELL = 115,      // scroll the cell into view; argument bit 4 as far as possible
    TSQ_CELLSCREENRECT = 116,
    TSQ_FIRST = 101,
    TSQ_LAST = 116,
    TSQ_RESULT = 192
};

#endif
