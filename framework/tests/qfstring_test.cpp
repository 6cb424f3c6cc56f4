#include "qfstring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Block {
    std::vector<unsigned char> bytes;
    QfString* s;
    explicit Block(int sizeClass) : bytes(QfStringClassBytes(sizeClass), 0xCC)
    {
        s = QfStringInitBlock(bytes.data(), sizeClass);
    }
    std::string Text() const { return QfStringText(s); }
};

}  // namespace

TEST(QfStringClasses, RequestBoundariesPickTheirClass)
{
    struct Case {
        uint32_t request;
        int sizeClass;
        int capacity;
    } cases[] = {
        {0, 0, 0},     {1, 1, 9},       {9, 1, 9},       {10, 2, 25},    {25, 2, 25},   {26, 3, 57},
        {57, 3, 57},   {58, 4, 121},    {121, 4, 121},   {122, 5, 249},  {300, 5, 249}, {511, 5, 249},
        {512, 0, 0},   {513, 1, 9},     {0x10000, 0, 0}, {0x1000A, 2, 25},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QfStringClassFor(c.request), c.sizeClass) << c.request;
        EXPECT_EQ(QfStringClassCapacity(c.sizeClass), c.capacity) << c.request;
    }
}

TEST(QfStringClasses, BlockSizesIncludeHeaderAndNul)
{
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(QfStringClassBytes(c), static_cast<uint32_t>(QF_STRING_HEADER + QfStringClassCapacity(c) + 1));
    EXPECT_EQ(QfStringClassBytes(0), 0u);
    EXPECT_EQ(QfStringClassBytes(6), 0u);
    EXPECT_EQ(sizeof(QfString), 8u);  // padding after the 6-byte header is text
}

// Regression: static names built as {QfString, char[]} put their text
// after the header's padding, where QfStringText does not look.
TEST(QfStringStatic, TextSitsRightAfterTheSixByteHeader)
{
    QfStaticString<15> name = {0, 12, 0, "(Null Color)"};
    EXPECT_STREQ(QfStringText(name.AsString()), "(Null Color)");
    EXPECT_EQ(name.AsString()->length, 12);
    QfStaticString<0> empty = {0, 0, 0, ""};
    EXPECT_STREQ(QfStringText(empty.AsString()), "");
}

TEST(QfStringInit, FreshBlockIsEmptyWithNulAtCapacity)
{
    Block b(2);
    EXPECT_EQ(b.s->refs, 0);
    EXPECT_EQ(b.s->length, 0);
    EXPECT_EQ(b.s->sizeClass, 2);
    EXPECT_EQ(b.Text(), "");
    EXPECT_EQ(QfStringText(b.s)[25], '\0');
}

TEST(QfStringOps, CopyAppendInsertCutWithinCapacity)
{
    Block b(1);  // capacity 9
    EXPECT_EQ(QfStringCopy(b.s, "Arial", -1), 5);
    EXPECT_EQ(QfStringAppend(b.s, " Bold", -1), 9);
    EXPECT_EQ(b.Text(), "Arial Bol");
    EXPECT_EQ(QfStringCut(b.s, 5, 100), 5);
    EXPECT_EQ(b.Text(), "Arial");
    EXPECT_EQ(QfStringInsert(b.s, 0, "MS ", -1), 8);
    EXPECT_EQ(b.Text(), "MS Arial");
    EXPECT_EQ(QfStringInsert(b.s, 3, "Big ", -1), 9);
    EXPECT_EQ(b.Text(), "MS Big Ar");  // the tail is cut, not the inserted text
    EXPECT_EQ(QfStringCut(b.s, 2, 4), 5);
    EXPECT_EQ(b.Text(), "MS Ar");
    EXPECT_EQ(QfStringCopy(b.s, "abcdefghijklmnop", 3), 3);
    EXPECT_EQ(b.Text(), "abc");
}

TEST(QfStringOps, OutOfRangeArgumentsAreHarmless)
{
    Block b(1);
    QfStringCopy(b.s, "abc", -1);
    EXPECT_EQ(QfStringCut(b.s, 3, 1), 3);
    EXPECT_EQ(QfStringCut(b.s, -1, 1), 3);
    EXPECT_EQ(QfStringCut(b.s, 0, 0), 3);
    EXPECT_EQ(QfStringInsert(b.s, 99, "d", -1), 4);
    EXPECT_EQ(QfStringInsert(b.s, -5, "", -1), 4);
    EXPECT_EQ(QfStringAppend(b.s, nullptr, 5), 4);
    EXPECT_EQ(b.Text(), "abcd");
    EXPECT_EQ(QfStringText(b.s)[9], '\0');

    unsigned char emptyBytes[8] = {};
    QfString* empty = QfStringInitBlock(emptyBytes, 0);
    EXPECT_EQ(QfStringAppend(empty, "x", -1), 0);
    EXPECT_STREQ(QfStringText(empty), "");
}

TEST(QfStringOps, LargestClassHolds249)
{
    Block b(5);
    std::string big(300, 'z');
    EXPECT_EQ(QfStringCopy(b.s, big.c_str(), -1), 249);
    EXPECT_EQ(b.Text(), std::string(249, 'z'));
}
