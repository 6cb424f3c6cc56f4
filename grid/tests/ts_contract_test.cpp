// The grid's binary contract checked by number, without trusting the
// header's names: message numbers, record layouts of 32-bit Windows, the
// property numbering, and the value-list manager's operations called
// through their slot numbers.
#include "ts_window_harness.h"

#include <stddef.h>

using namespace tswin;

namespace {

void* SlotAddress(const void* object, int slot)
{
    return (*static_cast<void* const* const*>(object))[slot];
}

template <class R, class... A>
R Call(const void* object, int slot, A... args)
{
    typedef R(__stdcall * Fn)(const void*, A...);
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<uintptr_t>(SlotAddress(object, slot)));
    return fn(object, args...);
}

TEST(TsContractMessages, NumbersAndWmUserOffsets)
{
    struct Case {
        unsigned named, number, offset;
    } cases[] = {
        {TSM_INSERTROWS, 1275, 251},    {TSM_INSERTCOLS, 1276, 252},   {TSM_DELETEROWS, 1277, 253},
        {TSM_DELETECOLS, 1278, 254},    {TSM_HIDEROWS, 1279, 255},     {TSM_HIDECOLS, 1280, 256},
        {TSM_DEFINEALIAS, 1281, 257},   {TSM_SCROLLTOSEL, 1282, 258},  {TSM_SETSELRANGE, 1283, 259},
        {TSM_SELECTIONOP, 1284, 260},   {TSM_CLEARCELLS, 1285, 261},   {TSM_SETPROP, 1286, 262},
        {TSM_SETROWATTR, 1289, 265},    {TSM_SETCOLATTR, 1290, 266},   {TSM_SETOPTIONS, 1291, 267},
        {TSM_MOVEROWS, 1292, 268},      {TSM_MOVECOLS, 1293, 269},     {TSM_SETFOCUSSEL, 1294, 270},
        {TSM_SORTROWS, 1296, 272},      {TSM_GETPROP, 1297, 273},      {TSM_GETALIASNAMES, 1298, 274},
        {TSM_SETCOLSEARCH, 1299, 275},  {TSM_POPUPMENU, 1300, 276},    {TSM_SETHILITEMODE, 1301, 277},
        {TSM_GETROWSHEIGHT, 1302, 278}, {TSM_GETCOLSWIDTH, 1303, 279}, {TSM_RESETCELLS, 1304, 280},
        {TSM_SETROWFLAGS, 1305, 281},   {TSM_SETCOLFLAGS, 1306, 282},  {TSM_SETDIMENSIONS, 1307, 283},
        {TSM_SETSTYLE, 1308, 284},      {TSM_FINDALIAS, 1309, 285},    {TSM_SETCOLMARK, 1310, 286},
        {TSM_OUTLINE, 1311, 287},       {TSM_SETSELCELL, 1312, 288},   {TSM_CELLOPERATION, 1313, 289},
        {TSM_CELLCOMMAND, 1315, 291},   {TSM_ENDEDIT, 1316, 292},      {TSM_BEGINEDIT, 1317, 293},
        {TSM_FOCUSQUERY, 1318, 294},    {TSM_MODEOFF, 1319, 295},      {TSM_MODEON, 1320, 296},
        {TSM_SORTCOLS, 1321, 297},      {TSM_TABLECOMMAND, 1322, 298}, {TSM_RANGECOMMAND, 1323, 299},
        {TSM_CLEARPENDING, 1324, 300},  {TSM_CELLTEST, 1326, 302},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.named, c.number);
        EXPECT_EQ(c.named, WM_USER + c.offset);
    }
    EXPECT_EQ(TSM_DEFERRED, 1124);
    EXPECT_EQ(TSM_MENUTRACK, 1224);
    EXPECT_EQ(TSM_COPYSLOT, 1226);
    EXPECT_EQ(TSM_SETBORDERCOLORS, 1227);
    EXPECT_EQ(TSM_QUERYCURSOR, 1228);
}

TEST(TsContractRecords, LayoutsOf32BitWindows)
{
    EXPECT_EQ(sizeof(ParamBlock), 8u);
    EXPECT_EQ(offsetof(ParamBlock, d1), 4u);
    EXPECT_EQ(sizeof(TsSelRect), 16u);
    EXPECT_EQ(offsetof(TsSelRect, top), 4u);
    EXPECT_EQ(offsetof(TsSelRect, bottom), 12u);
    EXPECT_EQ(sizeof(TsAliasDef), 12u);
    EXPECT_EQ(sizeof(TsPopupMenu), 16u);
    EXPECT_EQ(offsetof(TsPopupMenu, submenu), 12u);
    EXPECT_EQ(sizeof(TsCellFilter), 24u);
    EXPECT_EQ(offsetof(TsCellFilter, low), 12u);
    EXPECT_EQ(offsetof(TsCellFilter, alias), 20u);
    EXPECT_EQ(sizeof(GridCreateParams), 8u);
    EXPECT_EQ(sizeof(TsEditRequest), 16u);
    EXPECT_EQ(sizeof(TsSortRequest), 36u);
    EXPECT_EQ(sizeof(VlistRange), 16u);
    EXPECT_EQ(offsetof(VlistRange, filter), 12u);
    EXPECT_EQ(TS_VALUE_HEADER, 6);
    EXPECT_EQ(offsetof(TsValue, typeClass), 5u);
}

TEST(TsContractProperties, PropertyIdentifiersAsThePlayerWritesThem)
{
    EXPECT_EQ(TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWCOUNT), 0x331B);
    EXPECT_EQ(TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_FIRSTROWSEL), 0x5333);
    EXPECT_EQ(TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_LASTCOLSEL), 0x5336);
    EXPECT_EQ(TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_LEVEL), 0x1310);
    EXPECT_EQ(TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_ID), 0x1313);
    EXPECT_EQ(TS_PROP(TS_GROUP_ROWS, TS_PART_ADD, TS_ITEM_USER), 0x1414);
    EXPECT_EQ(TS_PROP(TS_GROUP_FRAME, TS_PART_NUMBER, TS_ITEM_OUTERBORDER), 0x4329);
    EXPECT_EQ(TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_EDITSTATE), 0x3331);
}

TEST(TsContractValueLists, OrdinalFourteenGivesOneManagerWithItsSlotsInOrder)
{
    ITsVListMgr* m = Library::Get().Lists();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(Library::Get().Lists(), m) << "one manager for the library";
    void* list = Call<void*>(m, 0, int32_t(3));                      // create
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Call<int32_t>(m, 10, list), 0);                        // size
    EXPECT_EQ(Call<int32_t>(m, 3, list, int32_t(2)), 1);             // grow
    EXPECT_EQ(Call<int32_t>(m, 10, list), 2);
    TsValue** e0 = Call<TsValue**>(m, 11, list, int32_t(0));         // entry
    EXPECT_EQ(Call<int32_t>(m, 15, e0, int32_t(77)), 1);             // setNumber
    EXPECT_EQ(Call<int32_t>(m, 55, e0), 77);                         // number
    EXPECT_EQ(Call<int32_t>(m, 56, e0), 5);                          // length
    TsValue** e1 = Call<TsValue**>(m, 11, list, int32_t(1));
    EXPECT_EQ(Call<int32_t>(m, 14, e1, "Keys0"), 1);                 // parse one value
    EXPECT_STREQ(Call<const char*>(m, 54, e1), "Keys0");             // text
    EXPECT_EQ(Call<int32_t>(m, 23, list, e1), 1);                    // append value
    EXPECT_EQ(Call<int32_t>(m, 23, list, e1), 0) << "the capacity of 3 is full";
    VlistRange all = {static_cast<Vlist*>(list), 0, -1, nullptr};
    EXPECT_EQ(Call<int32_t>(m, 9, &all), 3);                         // count
    EXPECT_STREQ(Call<const char*>(m, 8, "%TSNamedValues"), "@tv");  // value-set name
    EXPECT_EQ(Call<int32_t>(m, 36, e1), 1);                          // upper-case
    EXPECT_STREQ(Call<const char*>(m, 54, e1), "KEYS0");
    EXPECT_EQ(Call<int32_t>(m, 28, e1, "KEYS"), 4);                  // match
    EXPECT_EQ(Call<int32_t>(m, 26, &all), 3);                        // erase range
    EXPECT_EQ(Call<int32_t>(m, 10, list), 0);
    TsValue* base[2];
    EXPECT_EQ(Call<TsValue**>(m, 7, base, int32_t(0)), base + 1);    // address arithmetic
    EXPECT_EQ(Call<int32_t>(m, 2, list), 1);                         // destroy
}

TEST(TsContractQuery, ProtocolNumbers)
{
    EXPECT_EQ(TSQ_ROWCOUNT, 101);
    EXPECT_EQ(TSQ_CELLTEXT, 103);
    EXPECT_EQ(TSQ_SELECTION, 109);
    EXPECT_EQ(TSQ_CELLSCREENRECT, 116);
    EXPECT_EQ(TSQ_RESULT, 192);
}

}  // namespace
