#include "qfpool.h"

#include <gtest/gtest.h>

#include <set>
#include <stdlib.h>
#include <vector>

namespace {

// Segments from the C library, counted so that leaks show.
class CountingSource : public QfSegmentSource {
public:
    int segments = 0;
    int large = 0;
    int failAfter = -1;  // segments left before reservations fail
    void* ReserveSegment() override
    {
        if (failAfter == 0)
            return nullptr;
        if (failAfter > 0)
            --failAfter;
        ++segments;
        return aligned_alloc(QF_SEGMENT_BYTES, QF_SEGMENT_BYTES);
    }
    void ReleaseSegment(void* segment) override
    {
        --segments;
        free(segment);
    }
    void* ReserveLarge(size_t size) override
    {
        ++large;
        return aligned_alloc(QF_SEGMENT_BYTES, (size + QF_SEGMENT_BYTES - 1) / QF_SEGMENT_BYTES * QF_SEGMENT_BYTES);
    }
    void ReleaseLarge(void* block, size_t) override
    {
        --large;
        free(block);
    }
};

}  // namespace

TEST(QfPools, SizeBelow8192IsPoolAndFromThereAReservation)
{
    CountingSource source;
    QfPoolSet pools(source);
    void* small = pools.AllocBlock(8191);
    void* big = pools.AllocBlock(8192);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(source.segments, 1);
    EXPECT_EQ(source.large, 1);
    EXPECT_EQ(pools.FindOwner(small), &pools.Pool(QF_POOL_COUNT - 1));
    EXPECT_EQ(pools.FindOwner(big), pools.LargeOwner());
    EXPECT_EQ(pools.FindOwner(static_cast<char*>(big) + 8191), pools.LargeOwner());

    // The size must be the one the block was made with.
    EXPECT_FALSE(pools.FreeBlock(big, 100));
    EXPECT_FALSE(pools.FreeBlock(small, 8192));
    EXPECT_TRUE(pools.FreeBlock(big, 8192));
    EXPECT_EQ(source.large, 0);
    EXPECT_EQ(pools.FindOwner(big), nullptr);
    EXPECT_TRUE(pools.FreeBlock(small, 8191));
}

TEST(QfPools, PoolIndexCoversEverySmallSize)
{
    struct Case {
        uint32_t size;
        int index;
    } cases[] = {{0, 0}, {1, 0}, {16, 0}, {17, 1}, {32, 1}, {256, 4}, {257, 5}, {4096, 8}, {4097, 9}, {8191, 9}};
    for (const Case& c : cases)
        EXPECT_EQ(QfPoolSet::PoolIndex(c.size), c.index) << c.size;
}

TEST(QfPools, BlocksAreDistinctAcrossSegmentsAndReused)
{
    CountingSource source;
    QfPoolSet pools(source);
    std::vector<void*> blocks;
    std::set<void*> seen;
    // 256-byte blocks: 256 per segment, so this needs three segments.
    for (int i = 0; i < 600; ++i) {
        void* b = pools.AllocBlock(200);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(seen.insert(b).second);
        memset(b, i & 0xFF, 200);
        blocks.push_back(b);
    }
    EXPECT_EQ(source.segments, 3);
    EXPECT_EQ(pools.Pool(4).LiveBlocks(), 600u);
    for (void* b : blocks)
        EXPECT_TRUE(pools.FreePoolBlock(b));
    EXPECT_EQ(pools.Pool(4).LiveBlocks(), 0u);
    void* again = pools.AllocBlock(256);
    EXPECT_TRUE(seen.count(again));
    EXPECT_EQ(source.segments, 3);
}

TEST(QfPools, ForeignAndMisalignedAddressesAreRefused)
{
    CountingSource source;
    QfPoolSet pools(source);
    int local = 0;
    EXPECT_FALSE(pools.FreePoolBlock(&local));
    EXPECT_EQ(pools.FindOwner(&local), nullptr);
    char* block = static_cast<char*>(pools.AllocBlock(64));
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(pools.FreePoolBlock(block + 8));
    EXPECT_EQ(pools.Pool(2).LiveBlocks(), 1u);
    void* big = pools.AllocBlock(20000);
    EXPECT_FALSE(pools.FreePoolBlock(big));
    EXPECT_FALSE(pools.FreeBlock(static_cast<char*>(big) + 16, 20000));
    EXPECT_TRUE(pools.FreeBlock(big, 20000));
}

TEST(QfPools, ExhaustedSourceGivesNullAndDestructorReturnsEverything)
{
    CountingSource source;
    {
        QfPoolSet pools(source);
        source.failAfter = 1;
        for (int i = 0; i < 8; ++i)
            EXPECT_NE(pools.AllocBlock(8000), nullptr);  // 8 per segment
        EXPECT_EQ(pools.AllocBlock(8000), nullptr);
        EXPECT_EQ(pools.AllocBlock(16), nullptr) << "another pool needs a segment of its own";
        EXPECT_EQ(source.segments, 1);
        source.failAfter = -1;
        EXPECT_NE(pools.AllocBlock(16), nullptr);
        EXPECT_NE(pools.AllocBlock(100000), nullptr);
    }
    EXPECT_EQ(source.segments, 0);
}

TEST(QfSegmentMap, RangesSharingAnEntryAndRangesSpanningAllEntries)
{
    QfSegmentMap map;
    int a, b, c;
    // Two segments 256 pieces apart land on the same entry.
    uintptr_t first = 0x00120000u;
    uintptr_t second = first + (static_cast<uintptr_t>(256) << 16);
    ASSERT_TRUE(map.Add(first, QF_SEGMENT_BYTES, &a));
    ASSERT_TRUE(map.Add(second, QF_SEGMENT_BYTES, &b));
    EXPECT_EQ(map.Find(first + 5), &a);
    EXPECT_EQ(map.Find(second + 5), &b);
    EXPECT_EQ(map.Find(first + QF_SEGMENT_BYTES), nullptr);
    // 300 pieces: every entry chains it.
    uintptr_t huge = 0x40000000u;
    ASSERT_TRUE(map.Add(huge, 300u * QF_SEGMENT_BYTES, &c));
    uintptr_t base = 0;
    EXPECT_EQ(map.Find(huge + 299u * QF_SEGMENT_BYTES + 1, &base), &c);
    EXPECT_EQ(base, huge);
    map.Remove(huge);
    EXPECT_EQ(map.Find(huge + 7), nullptr);
    EXPECT_EQ(map.Find(first), &a);
}
