// Block arrays: fixed capacity, and pages committed and released as the
// used size moves, for buffers of 8192 bytes and more.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <map>

#include "../../tests/tstesthost.h"
#include "tsblockarray.h"

namespace {

// Memory that records what is committed, and can refuse commits.
class RecordingMemory final : public TsMemory {
public:
    void* Reserve(uint32_t bytes) override
    {
        reserved = bytes;
        return calloc(1, bytes + TS_PAGE);
    }
    bool Commit(void* at, uint32_t bytes) override
    {
        if (refuse)
            return false;
        committed += bytes;
        ++commits;
        (void)at;
        return true;
    }
    void Decommit(void*, uint32_t bytes) override { committed -= bytes; }
    void Release(void* block, uint32_t) override
    {
        released = true;
        free(block);
    }
    uint32_t reserved = 0, committed = 0;
    int commits = 0;
    bool refuse = false, released = false;
};

class TsBlockArrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_ = *TsGetHost();
        host_.memory = &memory_;
        previous_ = TsSetHost(&host_);
    }
    void TearDown() override { TsSetHost(previous_); }
    RecordingMemory memory_;
    TsHost host_;
    TsHost* previous_ = nullptr;
};

TEST_F(TsBlockArrayTest, SmallBuffersAreWhollyUsableAtOnce)
{
    TsBlockArray a;
    ASSERT_TRUE(a.Create(8175, this));
    EXPECT_FALSE(a.IsLarge()) << "8175 + 16 stays below 8192";
    EXPECT_EQ(memory_.reserved, 8191u);
    EXPECT_EQ(memory_.commits, 0);
    EXPECT_TRUE(a.Resize(8175));
    EXPECT_FALSE(a.Resize(8176)) << "beyond the capacity";
    EXPECT_EQ(a.Used(), 8175u);
    void* owner;
    memcpy(&owner, a.Data() - TS_BLOCK_HEADER, sizeof owner);
    EXPECT_EQ(owner, this) << "the header's first word refers back to the owner";
}

TEST_F(TsBlockArrayTest, LargeBuffersCommitPagesAsTheyFill)
{
    TsBlockArray a;
    ASSERT_TRUE(a.Create(8176, nullptr));
    EXPECT_TRUE(a.IsLarge());
    EXPECT_EQ(memory_.committed, TS_PAGE) << "the header's page";
    ASSERT_TRUE(a.Resize(4080));
    EXPECT_EQ(memory_.committed, TS_PAGE) << "4080 + 16 still fits the first page";
    ASSERT_TRUE(a.Resize(4081));
    EXPECT_EQ(memory_.committed, 2 * TS_PAGE);
    ASSERT_TRUE(a.Resize(8176));
    EXPECT_EQ(memory_.committed, 2 * TS_PAGE) << "8176 + 16 fills two pages exactly";
    ASSERT_TRUE(a.Resize(10));
    EXPECT_EQ(memory_.committed, TS_PAGE) << "shrinking gives pages back";
    a.Destroy();
    EXPECT_EQ(memory_.committed, 0u);
    EXPECT_TRUE(memory_.released);
}

TEST_F(TsBlockArrayTest, AFailedCommitLeavesTheArrayAsItWas)
{
    TsBlockArray a;
    ASSERT_TRUE(a.Create(100000, nullptr));
    ASSERT_TRUE(a.Resize(5000));
    memory_.refuse = true;
    EXPECT_FALSE(a.Resize(50000));
    EXPECT_EQ(a.Used(), 5000u);
    EXPECT_EQ(a.Committed(), 2 * TS_PAGE);
    EXPECT_TRUE(a.Resize(100)) << "shrinking needs no commit";
}

TEST(TsBlockArrayNative, CommittedPagesAreWritableToTheirEnd)
{
    TsTestHost host;
    TsBlockArray a;
    ASSERT_TRUE(a.Create(1 << 20, nullptr));
    ASSERT_TRUE(a.Resize(3 * TS_PAGE));
    memset(a.Data(), 0x5A, 3 * TS_PAGE);
    ASSERT_TRUE(a.Resize(0));
    ASSERT_TRUE(a.Resize(2 * TS_PAGE));
    EXPECT_EQ(a.Data()[TS_PAGE + 100], 0) << "released pages come back zeroed";
    EXPECT_EQ(a.Data()[100], 0x5A) << "the header's page stays";
}

}  // namespace
