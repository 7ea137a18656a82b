#include "byte_queue.h"

#include <gtest/gtest.h>

using transport::ByteQueue;

TEST(ByteQueue, CountsPushesAndPopsInOrder) {
    ByteQueue q;
    EXPECT_EQ(q.Count(), 0);
    for (int i = 0; i < 10; ++i) q.Push(static_cast<std::uint8_t>(i));
    EXPECT_EQ(q.Count(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(q.Pop(), i);
    EXPECT_EQ(q.Count(), 0);
}

TEST(ByteQueue, FullQueueKeepsOverwritingTheFreeSlot) {
    ByteQueue q;
    for (int i = 0; i < 4095; ++i) q.Push(static_cast<std::uint8_t>(i & 0xFF));
    EXPECT_EQ(q.Count(), 4095);
    q.Push(0xAA);
    q.Push(0xBB);
    EXPECT_EQ(q.Count(), 4095);
    for (int i = 0; i < 4095; ++i) ASSERT_EQ(q.Pop(), i & 0xFF);
    EXPECT_EQ(q.Count(), 0);
    // The lost bytes sat in the free slot; the next push overwrites it and is kept.
    q.Push(0xCC);
    EXPECT_EQ(q.Count(), 1);
    EXPECT_EQ(q.Pop(), 0xCC);
}

TEST(ByteQueue, CountAcrossTheWrapAdds4096) {
    ByteQueue q;
    for (int i = 0; i < 4000; ++i) q.Push(0);
    for (int i = 0; i < 4000; ++i) q.Pop();
    // Indices now at 4000: the next 200 bytes wrap past 4095 to 0.
    for (int i = 0; i < 200; ++i) q.Push(static_cast<std::uint8_t>(i));
    EXPECT_EQ(q.Count(), 200);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(q.Pop(), i);
    q.Init();
    EXPECT_EQ(q.Count(), 0);
}
