// Comparison and ordering: numeric text, the key walk, stable re-sorts,
// incremental placing and sorted insertion, over a table of cell texts.
#include "tssort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Line i has the texts cells[i][column] and the data word data[i]; key
// line references are column numbers.
struct Table : TsSortSource {
    std::vector<std::vector<std::string>> cells;
    std::vector<uint32_t> data;
    std::vector<bool> pending;
    int fetches = 0;

    const char* KeyText(uint32_t line, uintptr_t column) override
    {
        ++fetches;
        return cells[line][column].c_str();
    }
    uint32_t LineData(uint32_t line) override { return data.empty() ? 0 : data[line]; }
    bool IsPending(uint32_t line) override { return !pending.empty() && pending[line]; }
};

bool ResolveColumn(uint32_t argument, uintptr_t* line, void*)
{
    *line = argument;
    return argument < 8;
}

TsSortKeys Keys(const char* spec, std::initializer_list<uint32_t> columns)
{
    TsSortKeys keys = TsNoSortKeys();
    EXPECT_EQ(TsSetSortKeys(spec, TS_SORT_ROWS, columns.begin(), static_cast<int>(columns.size()), ResolveColumn,
                            nullptr, &keys),
              TS_SORT_OK)
        << spec;
    return keys;
}

std::vector<uint32_t> Identity(size_t count)
{
    std::vector<uint32_t> lines(count);
    for (size_t i = 0; i < count; ++i)
        lines[i] = static_cast<uint32_t>(i);
    return lines;
}

std::vector<uint32_t> Sorted(Table& table, const TsSortKeys& keys)
{
    std::vector<uint32_t> lines = Identity(table.cells.size());
    TsSortContext context{&keys, &table, nullptr};
    TsResortLines(context, lines.data(), lines.size(), 0);
    return lines;
}

Table OneColumn(std::initializer_list<const char*> texts)
{
    Table table;
    for (const char* t : texts)
        table.cells.push_back({t});
    return table;
}

}  // namespace

TEST(TsNumericText, SignsDigitRunsAndLongNumbers)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"-5", "3", -1},      {"9", "10", -1},        {"10", "9", 1},          {"007", "7", 0},
        {"-10", "-9", -1},    {" - -4", "+4", 0},     {"--4", "-4", 1},        {"1.2", "1.10", -1},
        {"-1.2", "-1.10", 1}, {"abc5", "abc7", -1},   {"a5", "b5", 0},         {"", "0", 0},
        {"x", "", 0},         {"12 apples", "12", 0}, {"3:05", "3:5", 0},      {"1:02:03", "1:02:04", -1},
        {"12", "12 3", -1},   {"-12", "-12 3", 1},    {"abc5", "5", -1},       {"2:00", "1:59:59", 1},
        {"99999999999999999999", "100000000000000000000", -1},  // past 64 bits still in order
        {"18446744073709551616", "1", 1},
        {"-0", "0", -1},      {"2 a 3", "2 b 4", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TsCompareNumericText(c.a, c.b), c.expected) << "'" << c.a << "' vs '" << c.b << "'";
        EXPECT_EQ(TsCompareNumericText(c.b, c.a), -c.expected) << "'" << c.b << "' vs '" << c.a << "'";
    }
    EXPECT_EQ(TsCompareNumericText(nullptr, "0"), 0);
}

TEST(TsSortOrder, PlusASortsByTheKeyColumnAscending)
{
    Table table;
    table.cells = {{"x", "b"}, {"y", "c"}, {"z", "a"}};
    EXPECT_EQ(Sorted(table, Keys("+a", {1})), (std::vector<uint32_t>{2, 0, 1}));
    EXPECT_EQ(Sorted(table, Keys("-a", {1})), (std::vector<uint32_t>{1, 0, 2}));
    EXPECT_EQ(Sorted(table, Keys("-", {0})), (std::vector<uint32_t>{2, 1, 0}));
}

TEST(TsSortOrder, NumericDescendingThenRowDataAscending)
{
    Table table;
    table.cells = {{"9"}, {"10"}, {"9"}, {"-5"}, {"10"}};
    table.data = {7, 3, 1, 0, 9};
    EXPECT_EQ(Sorted(table, Keys("-n,+r", {0})), (std::vector<uint32_t>{1, 4, 2, 0, 3}));
    // The data word first, descending, and compared unsigned.
    table.data = {0x80000000u, 1, 1, 2, 0};
    EXPECT_EQ(Sorted(table, Keys("-r,n", {0})), (std::vector<uint32_t>{0, 3, 2, 1, 4}));
}

TEST(TsSortOrder, TheInjectedSystemComparisonDecidesAlphabeticKeys)
{
    Table table = OneColumn({"b", "A", "a", "B"});
    TsSortKeys keys = Keys("a", {0});
    std::vector<uint32_t> lines = Identity(4);
    TsSortContext ordinal{&keys, &table, nullptr};
    TsResortLines(ordinal, lines.data(), 4, 0);
    EXPECT_EQ(lines, (std::vector<uint32_t>{1, 3, 2, 0}));
    auto caseless = [](const char* a, const char* b) { return strcasecmp(a, b); };
    lines = Identity(4);
    TsSortContext system{&keys, &table, caseless};
    TsResortLines(system, lines.data(), 4, 0);
    EXPECT_EQ(lines, (std::vector<uint32_t>{1, 2, 0, 3}));  // equal letters keep their order
}

TEST(TsSortOrder, TextsTheComparisonFindsEqualShareTheirPlaceInLargeSorts)
{
    // More than eight lines take the ranked path; a caseless comparison
    // makes "a" and "A" one key, kept in their order both ways.
    Table table = OneColumn({"b", "A", "c", "a", "B", "C", "a", "A", "b", "c"});
    auto caseless = [](const char* a, const char* b) { return strcasecmp(a, b); };
    for (const char* spec : {"+a", "-a"}) {
        TsSortKeys keys = Keys(spec, {0});
        std::vector<uint32_t> lines = Identity(10);
        TsSortContext system{&keys, &table, caseless};
        TsResortLines(system, lines.data(), 10, 0);
        std::vector<uint32_t> a = {1, 3, 6, 7}, b = {0, 4, 8}, c = {2, 5, 9}, want;
        for (const auto* group : spec[0] == '+' ? std::vector<const std::vector<uint32_t>*>{&a, &b, &c}
                                                : std::vector<const std::vector<uint32_t>*>{&c, &b, &a})
            want.insert(want.end(), group->begin(), group->end());
        EXPECT_EQ(lines, want) << spec;
    }
}

TEST(TsSortOrder, NoKeysMovesNothing)
{
    Table table = OneColumn({"c", "b", "a"});
    EXPECT_EQ(Sorted(table, TsNoSortKeys()), (std::vector<uint32_t>{0, 1, 2}));
    TsSortKeys keys = TsNoSortKeys();
    TsSortContext context{&keys, &table, nullptr};
    EXPECT_EQ(TsCompareLines(context, 0, 2), 0);
}

TEST(TsSortOrder, EqualRowsKeepTheirOrderInBothDirections)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        Table table;
        const size_t count = 1 + random() % 300;
        for (size_t i = 0; i < count; ++i)
            table.cells.push_back({std::string(1, static_cast<char>('a' + random() % 4)), std::to_string(random() % 5)});
        for (const char* spec : {"+a", "-a", "+n", "-n"}) {
            const uintptr_t column = spec[1] == 'a' ? 0 : 1;
            const std::vector<uint32_t> lines = Sorted(table, Keys(spec, {static_cast<uint32_t>(column)}));
            for (size_t i = 1; i < lines.size(); ++i) {
                const std::string& before = table.cells[lines[i - 1]][column];
                const std::string& after = table.cells[lines[i]][column];
                const int r = spec[1] == 'a' ? before.compare(after) : TsCompareNumericText(before.c_str(), after.c_str());
                if (r == 0)
                    EXPECT_LT(lines[i - 1], lines[i]) << spec << " round " << round;
                else
                    EXPECT_EQ(r < 0, spec[0] == '+') << spec << " round " << round;
            }
        }
    }
}

TEST(TsSortOrder, PlacingAppendedRowsGivesTheSameOrderAsAFullSort)
{
    std::mt19937 random(777);
    for (size_t added : {1u, 3u, 8u, 9u, 50u, 400u}) {
        Table table;
        for (size_t i = 0; i < 500 + added; ++i)
            table.cells.push_back({std::to_string(random() % 40), std::string(1, static_cast<char>('a' + random() % 3))});
        const TsSortKeys keys = Keys("-n,a", {0, 1});
        TsSortContext context{&keys, &table, nullptr};
        // Sort the first 500, then append the rest and place them.
        std::vector<uint32_t> lines = Identity(500);
        TsResortLines(context, lines.data(), lines.size(), 0);
        for (size_t i = 500; i < 500 + added; ++i)
            lines.push_back(static_cast<uint32_t>(i));
        TsResortLines(context, lines.data(), lines.size(), 500);
        EXPECT_EQ(lines, Sorted(table, keys)) << added << " added";
    }
}

TEST(TsSortOrder, PendingRowsMoveAfterTheirEqualsAndTheOthersStay)
{
    Table table = OneColumn({"a", "b", "c", "d", "e"});
    const TsSortKeys keys = Keys("a", {0});
    std::vector<uint32_t> lines = Sorted(table, keys);
    table.cells[0][0] = "d";  // row 0 changed: it now sorts with "d", after it
    table.cells[4][0] = "0";
    table.pending = {true, false, false, false, true};
    TsSortContext context{&keys, &table, nullptr};
    TsResortLines(context, lines.data(), lines.size(), lines.size());
    EXPECT_EQ(lines, (std::vector<uint32_t>{4, 1, 2, 3, 0}));
}

TEST(TsSortOrder, SortedInsertionGoesAfterEqualRows)
{
    Table table = OneColumn({"a", "b", "b", "c", "b"});
    const TsSortKeys keys = Keys("a", {0});
    TsSortContext context{&keys, &table, nullptr};
    std::vector<uint32_t> lines = {0, 1, 2, 3, 0};
    EXPECT_EQ(TsSortedPosition(context, lines.data(), 4, 4), 3u);
    EXPECT_EQ(TsInsertSorted(context, lines.data(), 4, 4), 3u);
    EXPECT_EQ(lines, (std::vector<uint32_t>{0, 1, 2, 4, 3}));
    EXPECT_EQ(TsSortedPosition(context, lines.data(), 0, 4), 0u);
}

TEST(TsSortOrder, AFullSortFetchesEachKeyOnce)
{
    Table table;
    for (int i = 0; i < 1000; ++i)
        table.cells.push_back({std::to_string(i % 37), std::to_string(i % 11)});
    const TsSortKeys keys = Keys("n,-a", {0, 1});
    Sorted(table, keys);
    EXPECT_EQ(table.fetches, 2000);
}

TEST(TsNumericText, ComparisonIsAConsistentOrder)
{
    // Sorting needs a strict weak order: antisymmetric and transitive.
    std::mt19937 random(99);
    const char alphabet[] = "0123456789 -.a+";
    std::vector<std::string> texts;
    for (int i = 0; i < 60; ++i) {
        std::string t;
        for (int n = random() % 7; n > 0; --n)
            t += alphabet[random() % (sizeof alphabet - 1)];
        texts.push_back(t);
    }
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const int ab = TsCompareNumericText(a.c_str(), b.c_str());
            ASSERT_EQ(ab, -TsCompareNumericText(b.c_str(), a.c_str())) << "'" << a << "' '" << b << "'";
            for (const std::string& c : texts) {
                if (ab <= 0 && TsCompareNumericText(b.c_str(), c.c_str()) <= 0) {
                    ASSERT_LE(TsCompareNumericText(a.c_str(), c.c_str()), 0) << "'" << a << "' '" << b << "' '" << c << "'";
                }
            }
        }
    }
}
