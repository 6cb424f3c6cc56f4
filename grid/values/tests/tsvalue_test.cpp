// Values: the number encoding, markers, copy on write, the number reader
// and the value syntax.
#include <gtest/gtest.h>

#include <string.h>

#include "../../tests/tstesthost.h"
#include "tsnumber.h"
#include "tsvalue.h"
#include "tsvalueparse.h"

namespace {

class TsValueTest : public ::testing::Test {
protected:
    void SetUp() override { live_ = TsNativeLiveStrings(); }
    void TearDown() override { EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released"; }
    TsTestHost host_;
    int live_ = 0;
};

TEST_F(TsValueTest, NumbersAreFiveBytesStartingWithNul)
{
    TsValue* v = TsMakeNumber(-123456);
    ASSERT_TRUE(TsValueIsNumber(v));
    EXPECT_EQ(v->length, 5);
    EXPECT_EQ(TsValueText(v)[0], '\0');
    int32_t raw;
    memcpy(&raw, TsValueText(v) + 1, 4);
    EXPECT_EQ(raw, -123456) << "little-endian, unaligned after the NUL";
    EXPECT_EQ(TsValueNumber(v), -123456);
    char buf[16];
    EXPECT_STREQ(TsValueString(v, buf, sizeof buf), "-123456");
    TsValueRelease(v);

    TsValue* five = TsMakeText("12345");
    EXPECT_FALSE(TsValueIsNumber(five)) << "five characters are not a number unless the first is NUL";
    EXPECT_EQ(TsValueNumber(five), 12345) << "a text reads through the number reader";
    TsValueRelease(five);
}

TEST_F(TsValueTest, CopyOnWriteLeavesTheOtherHolderAlone)
{
    TsValue* a = TsMakeText("shared");
    TsValue* b = TsValueRef(a);
    TsValue* w = TsMakeWritable(&b, 20, true);
    ASSERT_NE(w, nullptr);
    EXPECT_NE(w, a);
    strcpy(TsValueChars(w) + 6, "!");
    TsSetLength(w, 7);
    EXPECT_STREQ(TsValueText(a), "shared");
    EXPECT_STREQ(TsValueText(b), "shared!");
    // A sole holder of the right size writes in place.
    TsValue* again = TsMakeWritable(&b, 20, true);
    EXPECT_EQ(again, w);
    TsValueRelease(a);
    TsValueRelease(b);
}

TEST_F(TsValueTest, MarkersKeepTheirTypeThroughCopyOnWrite)
{
    TsValue* m = TsMakeMarker(TS_VALUE_NOOP);
    EXPECT_EQ(TsValueType(m), TS_VALUE_NOOP);
    TsValue* other = TsValueRef(m);
    TsValue* w = TsMakeWritable(&other, 30, true);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(TsValueType(w), TS_VALUE_NOOP);
    EXPECT_EQ(w->typeClass & 0x0F, 3) << "the low nibble stays the size class";
    TsValueRelease(m);
    TsValueRelease(other);
}

TEST_F(TsValueTest, LongTextsAreCutAtTheLargestClass)
{
    std::string text(300, 'x');
    TsValue* v = TsMakeText(text.c_str());
    EXPECT_EQ(v->length, TS_VALUE_MAX);
    TsValueRelease(v);
}

TEST_F(TsValueTest, EmptyHoldersReadAsTheEmptyValue)
{
    TsValue* holder = nullptr;
    EXPECT_STREQ(TsValueText(TsHeld(&holder)), "");
    EXPECT_STREQ(TsValueText(TsHeld(nullptr)), "");
    TsHolderSet(&holder, nullptr);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->length, 0);
    TsHolderRelease(&holder);
    EXPECT_EQ(holder, nullptr);
}

TEST(TsNumberReader, ReadsSignsHexAndStopsAtTheFirstNonDigit)
{
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"8192", 8192}, {"  42", 42}, {"-5", -5}, {"--5", 5}, {"---5", -5}, {"0x1F", 31}, {"0X1f", 31},
        {"12abc", 12}, {"", 0}, {"abc", 0}, {"0x", 0}, {"- 3", 0}, {"4294967295", -1}, {"\t7", 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TsReadNumber(c.text), c.value) << '"' << c.text << '"';
    const char* end = nullptr;
    TsReadNumber(" 0x10 rest", &end);
    EXPECT_STREQ(end, " rest");
    EXPECT_EQ(TsReadNumber(nullptr), 0);
}

TEST_F(TsValueTest, ValueSyntaxGivesMarkersAndQuotes)
{
    struct Case {
        const char* text;
        int type;
        const char* content;
    } cases[] = {
        {"plain", TS_VALUE_TEXT, "plain"},       {"%TSNoOp", TS_VALUE_NOOP, ""},
        {"%tsnoop", TS_VALUE_NOOP, ""},          {"%TSReset", TS_VALUE_RESET, ""},
        {"\\%TSNoOp", TS_VALUE_TEXT, "%TSNoOp"}, {"\\\\x", TS_VALUE_TEXT, "\\x"},
        {"%TSNoOpx", TS_VALUE_TEXT, "%TSNoOpx"},
    };
    for (const Case& c : cases) {
        TsValue* v = TsParseValue(c.text, static_cast<int>(strlen(c.text)));
        EXPECT_EQ(TsValueType(v), c.type) << c.text;
        EXPECT_STREQ(TsValueText(v), c.content) << c.text;
        TsValueRelease(v);
    }
}

TEST_F(TsValueTest, TextsSplitIntoOneValuePerLine)
{
    std::vector<std::string> got;
    auto collect = [&got](TsValue* v) {
        got.push_back(TsValueText(v));
        TsValueRelease(v);
        return true;
    };
    EXPECT_EQ(TsParseValues("a\nb\r\n\nc", collect), 4);
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "", "c"}));
    got.clear();
    EXPECT_EQ(TsParseValues("one\n", collect), 1) << "a final line break ends the last value";
    got.clear();
    EXPECT_EQ(TsParseValues("", collect), 1);
    EXPECT_EQ(TsParseValues(nullptr, collect), 1);
    EXPECT_EQ(got, (std::vector<std::string>{"", ""})) << "an empty or missing text is one empty value";
}

}  // namespace
