#include "qfbank.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <vector>

namespace {

std::vector<void*> g_cleaned;
void Cleanup(void* bank)
{
    g_cleaned.push_back(bank);
}

struct Heap {
    int allocations = 0;
    int limit = 1000;
    static void* Alloc(size_t size, void* context)
    {
        Heap* h = static_cast<Heap*>(context);
        if (h->allocations >= h->limit)
            return nullptr;
        ++h->allocations;
        return malloc(size);
    }
    static void Free(void* block, void* context)
    {
        --static_cast<Heap*>(context)->allocations;
        free(block);
    }
};

}  // namespace

TEST(QfBankAllocation, SizesBecomeUnitsAndOffsets)
{
    QfBankTable table;
    uint32_t four = table.Alloc(4, nullptr);
    uint32_t trace = table.Alloc(260, nullptr);
    EXPECT_EQ(four, 0x00010000u);                  // one unit at offset 0
    EXPECT_EQ(trace, (17u << 16) + 4u);            // 17 units from unit 1
    EXPECT_EQ(table.UsedMap(), (1ull << 18) - 1);  // 18 units in use
    EXPECT_EQ(table.Alloc(0, nullptr), (1u << 16) + 18u * 4);
    EXPECT_EQ(table.Alloc(16, nullptr), (1u << 16) + 19u * 4);
    EXPECT_EQ(table.Alloc(17, nullptr), (2u << 16) + 20u * 4);
}

TEST(QfBankAllocation, FirstFitAndExhaustion)
{
    QfBankTable table;
    EXPECT_EQ(table.Alloc(1024, nullptr), 64u << 16);  // the whole space
    EXPECT_EQ(table.Alloc(1, nullptr), QF_BANK_FAILED);
    EXPECT_EQ(QfBankTable().Alloc(1025, nullptr), QF_BANK_FAILED);

    QfBankTable gaps;
    EXPECT_EQ(gaps.Alloc(60 * 16, nullptr), 60u << 16);
    EXPECT_EQ(gaps.Alloc(5 * 16, nullptr), QF_BANK_FAILED) << "only 4 units remain";
    EXPECT_EQ(gaps.Alloc(4 * 16, nullptr), (4u << 16) + 60u * 4);
    EXPECT_EQ(gaps.Alloc(1, nullptr), QF_BANK_FAILED);
}

TEST(QfBankAllocation, AddressesStayInsideTheBankSpace)
{
    uint8_t space[QF_BANK_BYTES];
    EXPECT_EQ(QfBankTable::Address(space, 0x00010000u), space);
    EXPECT_EQ(QfBankTable::Address(space, (17u << 16) + 4u), space + 16);
    EXPECT_EQ(QfBankTable::Address(space, (1u << 16) + 63u * 4), space + 1008);
    EXPECT_EQ(QfBankTable::Address(space, (2u << 16) + 63u * 4), nullptr);
    EXPECT_EQ(QfBankTable::Address(space, QF_BANK_FAILED), nullptr);
    EXPECT_EQ(QfBankTable::Address(space, (1u << 16) + 2u), nullptr);
    EXPECT_EQ(QfBankTable::Address(nullptr, 0x00010000u), nullptr);
}

TEST(QfBankAllocation, CleanupsRunForEachBankWithOne)
{
    QfBankTable table;
    table.Alloc(4, nullptr);
    uint32_t b = table.Alloc(260, Cleanup);
    uint32_t c = table.Alloc(32, Cleanup);
    uint8_t space[QF_BANK_BYTES];
    g_cleaned.clear();
    table.RunCleanups(space);
    ASSERT_EQ(g_cleaned.size(), 2u);
    EXPECT_EQ(g_cleaned[0], QfBankTable::Address(space, b));
    EXPECT_EQ(g_cleaned[1], QfBankTable::Address(space, c));
}

TEST(QfThreadBlocks, FourBuiltInThenAllocatedThenReused)
{
    Heap heap;
    QfBlockStore store(Heap::Alloc, Heap::Free, &heap);
    std::vector<QfThreadBlock*> blocks;
    for (int i = 0; i < 4; ++i) {
        blocks.push_back(store.Acquire());
        ASSERT_NE(blocks.back(), nullptr);
        EXPECT_TRUE(store.IsBuiltIn(blocks.back()));
    }
    EXPECT_EQ(heap.allocations, 0);
    QfThreadBlock* fifth = store.Acquire();
    ASSERT_NE(fifth, nullptr);
    EXPECT_FALSE(store.IsBuiltIn(fifth));
    EXPECT_EQ(heap.allocations, 1);
    fifth->bank[100] = 7;
    store.Release(fifth);
    QfThreadBlock* again = store.Acquire();
    EXPECT_EQ(again, fifth) << "freed blocks come back from the free list";
    EXPECT_EQ(again->bank[100], 0) << "and are zero-filled";
    EXPECT_EQ(again->inUse, 1u);
    EXPECT_EQ(heap.allocations, 1);

    blocks[2]->bank[0] = 9;
    store.Release(blocks[2]);
    QfThreadBlock* builtIn = store.Acquire();
    EXPECT_EQ(builtIn, blocks[2]);
    EXPECT_EQ(builtIn->bank[0], 0);
    store.Release(again);
}

TEST(QfThreadBlocks, ExhaustionGivesNull)
{
    Heap heap;
    heap.limit = 1;
    QfBlockStore store(Heap::Alloc, Heap::Free, &heap);
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(store.Acquire(), nullptr);
    EXPECT_EQ(store.Acquire(), nullptr);
}
