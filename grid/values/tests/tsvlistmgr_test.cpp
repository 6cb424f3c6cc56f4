// The value-list manager through its interface, as a client uses it: index
// rules, filters, the bounds handler, the dump format, list and text
// operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../tests/tstesthost.h"
#include "tsvlistmgr_impl.h"

#include "tsstringlist.h"
#include "tsvalue.h"

namespace {

class TsVListTest : public ::testing::Test {
protected:
    void SetUp() override { live_ = TsNativeLiveStrings(); }
    void TearDown() override
    {
        for (Vlist* l : lists_)
            m->Destroy(l);
        EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released";
    }
    Vlist* List(int capacity, std::vector<const char*> texts = {})
    {
        Vlist* l = m->Create(capacity);
        lists_.push_back(l);
        for (const char* t : texts) {
            TsValue* v = nullptr;
            m->ParseValue(&v, t);
            m->AppendValue(l, &v);
            TsHolderRelease(&v);
        }
        return l;
    }
    std::vector<std::string> Texts(Vlist* l)
    {
        std::vector<std::string> out;
        for (int i = 0; i < m->Size(l); ++i)
            out.push_back(m->Text(m->Entry(l, i)));
        return out;
    }
    std::vector<int> Covered(Vlist* l, int first, int last, const char* filter = nullptr)
    {
        std::vector<int> out;
        VlistRange r = {l, first, last, filter};
        TsWalkRange(&r, [&out](int32_t i, TsValue**) {
            out.push_back(i);
            return true;
        });
        return out;
    }

    TsTestHost host_;
    ITsVListMgr* m = TsVListManager();
    std::vector<Vlist*> lists_;
    int live_ = 0;
};

TEST_F(TsVListTest, RangesFollowTheIndexRules)
{
    Vlist* l = List(5, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(Covered(l, -2, -1), (std::vector<int>{3, 4}));
    EXPECT_EQ(Covered(l, 4, 1), (std::vector<int>{1, 2, 3, 4})) << "always walked forwards";
    EXPECT_EQ(Covered(l, 2, 99), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Covered(l, -9, 0), (std::vector<int>{0}));
    EXPECT_TRUE(Covered(List(3), 0, -1).empty()) << "an empty list gives an empty range";
    VlistRange r = {l, 0, -1, nullptr};
    EXPECT_EQ(m->Count(&r), 5);
    EXPECT_EQ(m->Count(nullptr), 0);
}

TEST_F(TsVListTest, FiltersChooseMarkersOrdinaryValuesAndPatterns)
{
    Vlist* l = List(6, {"apple", "%TSNoOp", "banana", "%TSReset", "avocado", "12"});
    EXPECT_EQ(Covered(l, 0, -1, "@t0"), (std::vector<int>{1}));
    EXPECT_EQ(Covered(l, 0, -1, "@t1"), (std::vector<int>{3}));
    EXPECT_EQ(Covered(l, 0, -1, "@tv"), (std::vector<int>{0, 2, 4, 5}));
    EXPECT_EQ(Covered(l, 0, -1, "a"), (std::vector<int>{0, 4})) << "a pattern matched at the start";
    EXPECT_EQ(Covered(l, 0, -1, "#"), (std::vector<int>{5}));
    EXPECT_EQ(Covered(l, 0, -1, "(a"), (std::vector<int>{})) << "a malformed pattern passes nothing";
    EXPECT_EQ(Covered(l, 0, -1, m->SetFilter("%TSNamedValues")), (std::vector<int>{0, 2, 4, 5}));
    EXPECT_EQ(Covered(l, 0, -1, m->SetFilter("%tsnoopvalues")), (std::vector<int>{1}));
    EXPECT_EQ(Covered(l, 0, -1, m->SetFilter("%TSNormalValues")).size(), 6u);
    EXPECT_STREQ(m->SetFilter("b*?"), "b*?") << "other names are patterns";

    // A number passes a pattern in its decimal form.
    Vlist* n = List(2);
    TsValue* v = nullptr;
    m->SetNumber(&v, 345);
    m->AppendValue(n, &v);
    TsHolderRelease(&v);
    EXPECT_EQ(Covered(n, 0, -1, "34"), (std::vector<int>{0}));
}

TEST_F(TsVListTest, GrowNeverShrinksAndCapacityIsFixed)
{
    Vlist* l = List(5, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(m->Grow(l, 3), 1);
    EXPECT_EQ(m->Size(l), 5);
    Vlist* two = List(2, {"x", "y"});
    TsValue* v = nullptr;
    m->ParseValue(&v, "z");
    EXPECT_EQ(m->AppendValue(two, &v), 0) << "a list created with capacity 2 rejects a third append";
    TsHolderRelease(&v);
    EXPECT_EQ(Texts(two), (std::vector<std::string>{"x", "y"}));
    Vlist* g = List(4);
    EXPECT_EQ(m->Grow(g, 3), 1);
    EXPECT_EQ(Texts(g), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(m->Grow(g, 5), 0);
    EXPECT_EQ(m->Size(g), 3);
    EXPECT_EQ(m->Create(-1), nullptr);
}

TEST_F(TsVListTest, OutOfBoundsEntryGivesTheErrorTextAndADiagnostic)
{
    Vlist* l = List(3, {"a", "b", "c"});
    TsValue** e = m->Entry(l, 10);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(m->Text(e), "StringList bounds exceeded.\n");
    EXPECT_EQ(TsTestHost::Diagnostics(), (std::vector<std::string>{"TS: (QfStringList) Out of bounds StringList access."}));
    EXPECT_STREQ(m->Text(m->Entry(l, -1)), "c") << "negative indexes count from the end";
    EXPECT_STREQ(m->Text(m->Entry(l, -4)), "StringList bounds exceeded.\n");
    EXPECT_EQ(m->Size(l), 3) << "the list itself is unchanged";
}

TEST_F(TsVListTest, DumpWritesNumbersAndTextsDifferently)
{
    Vlist* l = List(3, {"7", "%TSNoOp"});
    TsValue* v = nullptr;
    m->SetNumber(&v, 7);
    m->AppendValue(l, &v);
    TsHolderRelease(&v);
    TsTestHost::Traces().clear();
    EXPECT_EQ(m->Dump(l, 0, -1, nullptr), 3);
    EXPECT_EQ(TsTestHost::Traces(), (std::vector<std::string>{
                                        "Qf:  I - Dumping Vlist(0, -1)\n",
                                        "       [0] '7'\n",
                                        "       [1] ''\n",
                                        "       [2] 0x00000007 (7)\n",
                                        "Qf:  I - Valuelist dump complete.\n",
                                    }));
    TsTestHost::Traces().clear();
    m->Dump(l, 0, -1, "@tv");
    EXPECT_EQ(TsTestHost::Traces().front(), "Qf:  I - Dumping Vlist(0, -1, '@tv')\n");
    EXPECT_EQ(TsTestHost::Traces().size(), 4u) << "the marker is filtered out";
    TsTestHost::Traces().clear();
    std::string longFilter(100, 'x');
    m->Dump(l, 1, 2, longFilter.c_str());
    EXPECT_EQ(TsTestHost::Traces().front(), "Qf:  I - Dumping Vlist(1, 2, '" + std::string(64, 'x') + "')\n");
}

TEST_F(TsVListTest, AssignAndAppendShareValuesAndSurviveAliasing)
{
    Vlist* a = List(6, {"one", "two", "three"});
    VlistRange tail = {a, 1, -1, nullptr};
    EXPECT_EQ(m->AssignRange(a, &tail), 2) << "the list becomes its own tail";
    EXPECT_EQ(Texts(a), (std::vector<std::string>{"two", "three"}));
    EXPECT_EQ(m->AppendList(a, a), 2);
    EXPECT_EQ(Texts(a), (std::vector<std::string>{"two", "three", "two", "three"}));
    EXPECT_EQ(m->Entry(a, 0)[0], m->Entry(a, 2)[0]) << "values are shared, not copied";
    Vlist* copy = m->Copy(a, 1);
    lists_.push_back(copy);
    EXPECT_EQ(Texts(copy), Texts(a));
    Vlist* bare = m->Copy(a, 0);
    lists_.push_back(bare);
    EXPECT_EQ(m->Size(bare), 0);
    TsValue* v = nullptr;
    m->ParseValue(&v, "x");
    for (int i = 0; i < 6; ++i)
        m->AppendValue(bare, &v);
    EXPECT_EQ(m->AppendValue(bare, &v), 0) << "the copy has the same capacity";
    TsHolderRelease(&v);
}

TEST_F(TsVListTest, CopyRangeAndFillWorkEntryByEntry)
{
    Vlist* to = List(5, {"a", "b", "c", "d", "e"});
    Vlist* from = List(2, {"X", "Y"});
    VlistRange dst = {to, 1, -1, nullptr};
    VlistRange src = {from, 0, -1, nullptr};
    EXPECT_EQ(m->CopyRange(&dst, &src), 2) << "as far as both reach";
    EXPECT_EQ(Texts(to), (std::vector<std::string>{"a", "X", "Y", "d", "e"}));
    VlistRange mid = {to, 2, 3, nullptr};
    EXPECT_EQ(m->Fill(&mid, m->Entry(to, 0)), 2);
    EXPECT_EQ(Texts(to), (std::vector<std::string>{"a", "X", "a", "a", "e"}));
    VlistRange self = {to, 0, -1, nullptr};
    EXPECT_EQ(m->Fill(&self, m->Entry(to, 4)), 5) << "filling from one of its own entries";
    EXPECT_EQ(Texts(to), (std::vector<std::string>(5, "e")));
}

TEST_F(TsVListTest, EraseClosesTheGapInOnePass)
{
    Vlist* l = List(6, {"keep", "%TSNoOp", "keep2", "%TSNoOp", "keep3"});
    VlistRange markers = {l, 0, -1, "@t0"};
    EXPECT_EQ(m->Erase(&markers), 2);
    EXPECT_EQ(Texts(l), (std::vector<std::string>{"keep", "keep2", "keep3"}));
    EXPECT_EQ(m->EraseEntry(l, -1), 1);
    EXPECT_EQ(m->EraseEntry(l, 7), 0);
    EXPECT_EQ(Texts(l), (std::vector<std::string>{"keep", "keep2"}));
    TsValue* first = nullptr;
    VlistRange all = {l, 0, -1, "keep2"};
    EXPECT_EQ(m->First(&first, &all), 1);
    EXPECT_STREQ(m->Text(&first), "keep2");
    TsHolderRelease(&first);
}

TEST_F(TsVListTest, ChangingASharedValueCopiesItFirst)
{
    Vlist* a = List(2, {"Mixed Case"});
    Vlist* b = List(2);
    m->AppendList(b, a);
    EXPECT_EQ(m->UpperValue(m->Entry(b, 0)), 1);
    EXPECT_STREQ(m->Text(m->Entry(b, 0)), "MIXED CASE");
    EXPECT_STREQ(m->Text(m->Entry(a, 0)), "Mixed Case");
    VlistRange r = {a, 0, -1, nullptr};
    EXPECT_EQ(m->LowerRange(&r), 1);
    EXPECT_STREQ(m->Text(m->Entry(a, 0)), "mixed case");
    EXPECT_EQ(m->LowerRange(&r), 0) << "nothing to change";
}

TEST_F(TsVListTest, TrimsAndCutsTakeTheirEnds)
{
    Vlist* l = List(4, {" \t padded \t ", "song.mid.mid", "abcdef"});
    EXPECT_EQ(m->TrimLeft(m->Entry(l, 0)), 1);
    EXPECT_EQ(m->TrimRight(m->Entry(l, 0)), 1);
    EXPECT_STREQ(m->Text(m->Entry(l, 0)), "padded");
    EXPECT_EQ(m->CutSuffix(m->Entry(l, 1), ".mid"), 1);
    EXPECT_STREQ(m->Text(m->Entry(l, 1)), "song.mid") << "the first place where the rest equals the suffix";
    EXPECT_EQ(m->CutSuffix(m->Entry(l, 1), ".kar"), 0);
    EXPECT_EQ(m->CutLeft(m->Entry(l, 2), 2), 1);
    EXPECT_EQ(m->CutRight(m->Entry(l, 2), 100), 1);
    EXPECT_STREQ(m->Text(m->Entry(l, 2)), "");
    EXPECT_EQ(m->CutMatch(m->Entry(l, 1), "+[a-z]"), 1);
    EXPECT_STREQ(m->Text(m->Entry(l, 1)), ".mid");
    VlistRange r = {l, 0, -1, nullptr};
    EXPECT_EQ(m->CutLeftRange(&r, 1), 2) << "the empty entry has nothing to cut";
    EXPECT_EQ(Texts(l), (std::vector<std::string>{"added", "mid", ""}));
}

TEST_F(TsVListTest, AppendAndPrependStopAtTheLargestValue)
{
    Vlist* l = List(2, {"12"});
    TsValue* n = nullptr;
    m->SetNumber(&n, 5);
    m->AppendValue(l, &n);
    TsHolderRelease(&n);
    VlistRange r = {l, 0, -1, nullptr};
    EXPECT_EQ(m->AppendText(&r, "x"), 2);
    EXPECT_EQ(Texts(l), (std::vector<std::string>{"12x", "5x"})) << "a number is appended to in decimal";
    EXPECT_EQ(m->PrependText(&r, "<"), 2);
    EXPECT_STREQ(m->Text(m->Entry(l, 1)), "<5x");
    std::string big(300, 'b');
    m->AppendText(&r, big.c_str());
    EXPECT_EQ(m->Length(m->Entry(l, 0)), TS_VALUE_MAX);
}

TEST_F(TsVListTest, PatternsMatchSearchExtractSplitAndReplace)
{
    Vlist* l = List(8, {"Arial : 10", "IDI_KEYS0(20,20)", "a,b,,c"});
    EXPECT_EQ(m->Match(m->Entry(l, 0), "+[A-Za-z]"), 5);
    EXPECT_EQ(m->Match(m->Entry(l, 0), "#"), -1);
    EXPECT_EQ(m->Match(m->Entry(l, 0), "(ab"), -1) << "malformed patterns never match";
    EXPECT_EQ(m->Search(m->Entry(l, 0), "+#"), 8);
    EXPECT_EQ(m->MatchWhole(m->Entry(l, 0), "+?"), 1);
    EXPECT_EQ(m->MatchWhole(m->Entry(l, 0), "Arial"), 0);

    TsValue* out = nullptr;
    EXPECT_EQ(m->Extract(&out, m->Entry(l, 1), "{a+[A-Z_0-9]}\\("), 10);
    EXPECT_STREQ(m->Text(&out), "IDI_KEYS0");
    EXPECT_EQ(m->Extract(&out, m->Entry(l, 0), "+[A-Za-z]"), 5);
    EXPECT_STREQ(m->Text(&out), "Arial") << "without capture a, the whole match";
    // A reference could run captured text as a pattern: with a "$" no letters are bound.
    EXPECT_EQ(m->Extract(&out, m->Entry(l, 0), "{a?}$a"), -1);
    TsHolderRelease(&out);

    Vlist* pieces = List(8);
    EXPECT_EQ(m->Split(pieces, m->Entry(l, 2), "\\,"), 4) << "a plain comma separates alternatives";
    EXPECT_EQ(Texts(pieces), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(m->Replace(m->Entry(l, 1), "+[A-Z_]", "ICON"), 1);
    EXPECT_STREQ(m->Text(m->Entry(l, 1)), "ICON0(20,20)");

    VlistRange r = {l, 0, -1, nullptr};
    EXPECT_EQ(m->MatchRange(&r, "?"), 3);
    EXPECT_EQ(m->SearchRange(&r, "\\("), 1);
    EXPECT_EQ(m->SearchRange(&r, "zzz"), -1);
    Vlist* caps = List(4);
    EXPECT_EQ(m->ExtractRange(caps, &r, "{a+[A-Za-z]}"), 3);
    EXPECT_EQ(Texts(caps), (std::vector<std::string>{"Arial", "ICON", "a"}));
}

TEST_F(TsVListTest, ReadingValuesAndTexts)
{
    Vlist* l = List(4, {"Pale Yellow", "pale yellow"});
    TsValue* n = nullptr;
    m->SetNumber(&n, 0x12345678);
    EXPECT_EQ(m->Number(&n), 0x12345678);
    EXPECT_EQ(m->Length(&n), 5);
    EXPECT_STREQ(m->Text(&n), "");
    EXPECT_EQ(m->Number(m->Entry(l, 0)), 0) << "a text is not a number";
    EXPECT_EQ(m->CompareText(m->Text(m->Entry(l, 0)), m->Text(m->Entry(l, 1)), 1), 0);
    EXPECT_LT(m->CompareText(m->Text(m->Entry(l, 0)), m->Text(m->Entry(l, 1)), 0), 0);
    m->AppendValue(l, &n);
    TsHolderRelease(&n);
    TsValue* joined = nullptr;
    EXPECT_EQ(m->JoinList(&joined, l, ", "), 1);
    EXPECT_STREQ(m->Text(&joined), "Pale Yellow, pale yellow, 305419896");
    TsHolderRelease(&joined);
    TsValue* base[4] = {};
    EXPECT_EQ(m->EntryAddress(base, 2), base + 3);
    EXPECT_EQ(m->ParseList(l, "a\nb"), 1) << "stops at the capacity";
}

}  // namespace
