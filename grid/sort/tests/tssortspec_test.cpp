// Sort specifications: the syntax, the keys they make with the client's key
// lines, and every error with its line.
#include "tssortspec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Lines 0-9 exist; a line's reference is 100 + its number.
bool Resolve(uint32_t argument, uintptr_t* line, void*)
{
    if (argument > 9)
        return false;
    *line = 100 + argument;
    return true;
}

TsSortStatus Set(const char* text, std::initializer_list<uint32_t> arguments, TsSortKeys* keys,
                 TsSortAxis axis = TS_SORT_ROWS)
{
    return TsSetSortKeys(text, axis, arguments.begin(), static_cast<int>(arguments.size()), Resolve, nullptr, keys);
}

}  // namespace

TEST(TsSortSpecs, KeysAreReadWithTheirCompletedFlags)
{
    struct Case {
        const char* text;
        int count;
        uint8_t flags[3];
        bool data[3];
    } cases[] = {
        {"+a", 1, {0x05}, {false}},
        {"-n,+r", 2, {0x0A, 0x01}, {false, true}},
        {"", 1, {0x05}, {false}},
        {"-", 1, {0x06}, {false}},
        {"N", 1, {0x09}, {false}},
        {" - Numeric , + ALPHA ", 2, {0x0A, 0x05}, {false, false}},
        {"alpha,NUMERIC,rowdata", 3, {0x05, 0x09, 0x01}, {false, false, true}},
        {"-R", 1, {0x02}, {true}},
        {",,", 3, {0x05, 0x05, 0x05}, {false, false, false}},
    };
    for (const Case& c : cases) {
        TsSortSpec spec;
        ASSERT_TRUE(TsParseSortSpec(c.text, TS_SORT_ROWS, &spec)) << c.text;
        ASSERT_EQ(spec.count, c.count) << c.text;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(spec.keys[i].flags, c.flags[i]) << c.text << " key " << i;
            EXPECT_EQ(spec.keys[i].data, c.data[i]) << c.text << " key " << i;
        }
    }
}

TEST(TsSortSpecs, SyntaxErrors)
{
    const char* bad[] = {"a,a,a,a,a,a,a,a,a", "+x", "+Al", "AlPHA", "++a", "a b", "c", "r;n", "Rowdat"};
    for (const char* text : bad) {
        TsSortSpec spec;
        EXPECT_FALSE(TsParseSortSpec(text, TS_SORT_ROWS, &spec)) << text;
    }
    TsSortSpec spec;
    EXPECT_TRUE(TsParseSortSpec("a,a,a,a,a,a,a,a", TS_SORT_ROWS, &spec));
    // The data word belongs to the axis.
    EXPECT_FALSE(TsParseSortSpec("r", TS_SORT_COLUMNS, &spec));
    ASSERT_TRUE(TsParseSortSpec("-Coldata", TS_SORT_COLUMNS, &spec));
    EXPECT_TRUE(spec.keys[0].data);
    EXPECT_FALSE(TsParseSortSpec("c", TS_SORT_ROWS, &spec));
}

TEST(TsSortSpecs, KeyLinesAreBoundInOrderAndTheDataKeyTakesTheNextPlace)
{
    TsSortKeys keys = TsNoSortKeys();
    ASSERT_EQ(Set("-n,+r", {0}, &keys), TS_SORT_OK);
    EXPECT_EQ(keys.count, 1);
    EXPECT_EQ(keys.lines[0], 100u);
    EXPECT_EQ(keys.flags[0], TS_SORT_DESCENDING | TS_SORT_NUMERIC);
    EXPECT_EQ(keys.dataKey, 2);

    ASSERT_EQ(Set("-r,a,n", {3, 4}, &keys), TS_SORT_OK);
    EXPECT_EQ(keys.dataKey, 1 | TS_SORT_DATA_DESCENDING);
    EXPECT_EQ(keys.count, 2);
    EXPECT_EQ(keys.lines[1], 104u);

    // The player's call: one key, eight key columns; only the first is used.
    ASSERT_EQ(Set("+a", {2, 1, 2, 3, 4, 5, 6, 7}, &keys), TS_SORT_OK);
    EXPECT_EQ(keys.count, 1);
    EXPECT_EQ(keys.lines[0], 102u);

    // Lines that do not exist, and keys without a line, are skipped.
    ASSERT_EQ(Set("a,n,a", {42, 5}, &keys), TS_SORT_OK);
    EXPECT_EQ(keys.count, 1);
    EXPECT_EQ(keys.lines[0], 105u);
    EXPECT_EQ(keys.flags[0], TS_SORT_ASCENDING | TS_SORT_NUMERIC);
    ASSERT_EQ(TsSetSortKeys("a", TS_SORT_ROWS, nullptr, 0, Resolve, nullptr, &keys), TS_SORT_OK);
    EXPECT_FALSE(keys.Active());
}

TEST(TsSortSpecs, ErrorsWriteTheirLinesAndSyntaxErrorsKeepTheKeys)
{
    TsSortKeys keys = TsNoSortKeys();
    ASSERT_EQ(Set("+a", {2}, &keys), TS_SORT_OK);

    EXPECT_EQ(Set("a,a,a,a,a,a,a,a,a", {0}, &keys), TS_SORT_SYNTAX);
    EXPECT_EQ(keys.count, 1) << "the sort in force stays";
    EXPECT_STREQ(TsSortStatusMessage(TS_SORT_SYNTAX, TS_SORT_ROWS), "TS: (TsWndMgr) Sort spec invalid.");
    EXPECT_STREQ(TsSortStatusMessage(TS_SORT_SYNTAX, TS_SORT_COLUMNS), "TS: (TsWndMgr) Sort spec invalid.");

    EXPECT_EQ(Set("r,r", {0}, &keys), TS_SORT_DATA_TWICE);
    EXPECT_FALSE(keys.Active()) << "sorting disabled";
    EXPECT_STREQ(TsSortStatusMessage(TS_SORT_DATA_TWICE, TS_SORT_ROWS),
                 "TS: (TsWndMgr) Sort spec invalid; Row data specified twice, sorting disabled.");
    EXPECT_STREQ(TsSortStatusMessage(TS_SORT_DATA_TWICE, TS_SORT_COLUMNS),
                 "TS: (TsWndMgr) Sort spec invalid; Col data specified twice, sorting disabled.");

    ASSERT_EQ(Set("+a", {2}, &keys), TS_SORT_OK);
    EXPECT_EQ(Set("a,n", {3, 3}, &keys), TS_SORT_LINE_TWICE);
    EXPECT_FALSE(keys.Active());
    EXPECT_NE(TsSortStatusMessage(TS_SORT_LINE_TWICE, TS_SORT_ROWS), nullptr);
    EXPECT_EQ(TsSortStatusMessage(TS_SORT_OK, TS_SORT_ROWS), nullptr);
}

TEST(TsSortSpecs, RemovingAKeyLineKeepsTheDataKeyInPlace)
{
    TsSortKeys keys = TsNoSortKeys();
    ASSERT_EQ(Set("a,n,-r,a", {1, 2, 3}, &keys), TS_SORT_OK);
    EXPECT_EQ(keys.dataKey, 3 | TS_SORT_DATA_DESCENDING);
    TsRemoveSortLine(&keys, 101);
    EXPECT_EQ(keys.count, 2);
    EXPECT_EQ(keys.lines[0], 102u);
    EXPECT_EQ(keys.dataKey, 2 | TS_SORT_DATA_DESCENDING);
    TsRemoveSortLine(&keys, 103);
    EXPECT_EQ(keys.dataKey, 2 | TS_SORT_DATA_DESCENDING);
    TsRemoveSortLine(&keys, 999);
    EXPECT_EQ(keys.count, 1);
    TsRemoveSortLine(&keys, 102);
    EXPECT_EQ(keys.dataKey, 1 | TS_SORT_DATA_DESCENDING);
    EXPECT_TRUE(keys.Active());
}
