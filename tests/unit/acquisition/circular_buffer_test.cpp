// Byte rings: the write, take, peek and overwrite rules, the edge cases at
// the capacity, and one writer against one reader on a locking ring.

#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

#include "acquisition/circular_buffer.h"

namespace {

std::vector<uint8_t> Bytes(uint8_t first, size_t n) {
  std::vector<uint8_t> v(n);
  std::iota(v.begin(), v.end(), first);
  return v;
}

std::vector<uint8_t> TakeAll(CCircularBuffer& ring) {
  std::vector<uint8_t> out(ring.Size());
  if (!out.empty()) {
    EXPECT_TRUE(ring.Take(out.data(), static_cast<uint32_t>(out.size())));
  }
  return out;
}

TEST(CircularBuffer, AllocateGivesAnEmptyRingOfThatCapacity) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(100));
  EXPECT_EQ(ring.Capacity(), 100u);
  EXPECT_EQ(ring.Size(), 0u);
  uint8_t b = 0;
  EXPECT_FALSE(ring.Take(&b, 1));
  EXPECT_FALSE(ring.Read(&b, 1));
}

TEST(CircularBuffer, WriteOfTheWholeCapacityFails) {
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(13));
  const auto frame = Bytes(1, 13);
  EXPECT_FALSE(ring.Write(frame.data(), 13));
  EXPECT_EQ(ring.Size(), 0u);
  EXPECT_TRUE(ring.Write(frame.data(), 12));
  EXPECT_EQ(ring.Size(), 12u);
}

TEST(CircularBuffer, TakeReturnsBytesInOrderAcrossTheWrap) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 7);
  ASSERT_TRUE(ring.Write(a.data(), 7));
  uint8_t out[7];
  ASSERT_TRUE(ring.Take(out, 5));
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[4], 4);
  const auto b = Bytes(50, 6);  // wraps: positions 7, 8, 9, 0, 1, 2
  ASSERT_TRUE(ring.Write(b.data(), 6));
  EXPECT_EQ(ring.Size(), 8u);
  EXPECT_EQ(TakeAll(ring), (std::vector<uint8_t>{5, 6, 50, 51, 52, 53, 54, 55}));
  EXPECT_EQ(ring.Size(), 0u);
}

TEST(CircularBuffer, TakeOfMoreThanIsWaitingFailsAndKeepsTheBytes) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 3);
  ASSERT_TRUE(ring.Write(a.data(), 3));
  uint8_t out[4];
  EXPECT_FALSE(ring.Take(out, 4));
  EXPECT_EQ(ring.Size(), 3u);
}

TEST(CircularBuffer, WithoutOverwriteAWriteThatDoesNotFitFails) {
  CCircularBuffer ring(false, false);
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 8);
  ASSERT_TRUE(ring.Write(a.data(), 8));
  EXPECT_FALSE(ring.Write(a.data(), 3));
  EXPECT_TRUE(ring.Write(a.data(), 2));  // exactly full
  EXPECT_EQ(ring.Size(), 10u);
  uint8_t b = 0;
  EXPECT_FALSE(ring.Write(&b, 1));
}

TEST(CircularBuffer, LockingRingNeverOverwrites) {
  CCircularBuffer ring(true, true);
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 8);
  ASSERT_TRUE(ring.Write(a.data(), 8));
  EXPECT_FALSE(ring.Write(a.data(), 3));
  EXPECT_EQ(ring.Size(), 8u);
}

TEST(CircularBuffer, OverwriteKeepsTheNewestFrames) {
  // A recording ring of 4 frames that receives 7.
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(4 * 13));
  for (uint8_t f = 0; f < 7; ++f) {
    std::vector<uint8_t> frame(13, f);
    ASSERT_TRUE(ring.Write(frame.data(), 13));
  }
  EXPECT_EQ(ring.Size(), 52u);
  const auto all = TakeAll(ring);
  ASSERT_EQ(all.size(), 52u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(all[i * 13], 3 + i) << "frame " << i;
}

TEST(CircularBuffer, OverwriteMovesAPeekInsideTheDiscardedSpan) {
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 9);
  ASSERT_TRUE(ring.Write(a.data(), 9));
  ASSERT_TRUE(ring.SetPeekOffset(2));  // peek at byte 2
  const auto b = Bytes(100, 5);        // discards bytes 0-3
  ASSERT_TRUE(ring.Write(b.data(), 5));
  uint8_t got = 0;
  ASSERT_TRUE(ring.Read(&got, 1));
  EXPECT_EQ(got, 4);  // the new oldest byte
}

TEST(CircularBuffer, OverwriteLeavesAPeekBeyondTheDiscardedSpan) {
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 9);
  ASSERT_TRUE(ring.Write(a.data(), 9));
  ASSERT_TRUE(ring.SetPeekOffset(6));
  const auto b = Bytes(100, 5);  // discards bytes 0-3
  ASSERT_TRUE(ring.Write(b.data(), 5));
  uint8_t got = 0;
  ASSERT_TRUE(ring.Read(&got, 1));
  EXPECT_EQ(got, 6);
}

TEST(CircularBuffer, ReadMovesOnlyThePeekCursor) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(20));
  const auto a = Bytes(10, 6);
  ASSERT_TRUE(ring.Write(a.data(), 6));
  uint8_t out[6];
  ASSERT_TRUE(ring.Read(out, 4));
  EXPECT_EQ(out[3], 13);
  EXPECT_EQ(ring.Size(), 6u);
  EXPECT_FALSE(ring.Read(out, 3));  // only 2 ahead of the peek
  ASSERT_TRUE(ring.Read(out, 2));
  EXPECT_FALSE(ring.Read(out, 1));  // peek caught up: none
  // New bytes give the peek a position again, at their start.
  const auto b = Bytes(40, 2);
  ASSERT_TRUE(ring.Write(b.data(), 2));
  ASSERT_TRUE(ring.Read(out, 1));
  EXPECT_EQ(out[0], 40);
  ring.ResetRead();
  ASSERT_TRUE(ring.Read(out, 1));
  EXPECT_EQ(out[0], 10);
}

TEST(CircularBuffer, TakePullsAPeekInsideTheConsumedSpanAlong) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(20));
  const auto a = Bytes(0, 8);
  ASSERT_TRUE(ring.Write(a.data(), 8));
  ASSERT_TRUE(ring.SetPeekOffset(1));
  uint8_t out[8];
  ASSERT_TRUE(ring.Take(out, 3));
  ASSERT_TRUE(ring.Read(out, 1));
  EXPECT_EQ(out[0], 3);
}

TEST(CircularBuffer, SetPeekOffsetNeedsLessThanTheUnreadCount) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(20));
  EXPECT_TRUE(ring.SetPeekOffset(5));  // empty: success, no peek
  const auto a = Bytes(0, 5);
  ASSERT_TRUE(ring.Write(a.data(), 5));
  EXPECT_FALSE(ring.SetPeekOffset(5));
  EXPECT_TRUE(ring.SetPeekOffset(4));
  uint8_t got = 0;
  ASSERT_TRUE(ring.Read(&got, 1));
  EXPECT_EQ(got, 4);
}

TEST(CircularBuffer, FullRingReadsFromAPeekAtTheReadPosition) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(6));
  const auto a = Bytes(0, 5);
  ASSERT_TRUE(ring.Write(a.data(), 5));
  const auto b = Bytes(5, 1);
  ASSERT_TRUE(ring.Write(b.data(), 1));  // full: write == read
  ASSERT_EQ(ring.Size(), 6u);
  ring.ResetRead();
  uint8_t out[6];
  ASSERT_TRUE(ring.Read(out, 6));
  EXPECT_EQ(out[5], 5);
  EXPECT_EQ(ring.Size(), 6u);
}

TEST(CircularBuffer, SetUtiliseLimitsTheCapacityAndEmpties) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(100));
  const auto a = Bytes(0, 5);
  ASSERT_TRUE(ring.Write(a.data(), 5));
  EXPECT_FALSE(ring.SetUtilise(101));
  EXPECT_EQ(ring.Size(), 5u);
  ASSERT_TRUE(ring.SetUtilise(26));
  EXPECT_EQ(ring.Capacity(), 26u);
  EXPECT_EQ(ring.AllocatedCapacity(), 100u);
  EXPECT_EQ(ring.Size(), 0u);
  const auto b = Bytes(0, 26);
  EXPECT_FALSE(ring.Write(b.data(), 26));
}

TEST(CircularBuffer, FlushAllEmptiesAndDeallocateReleases) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(10));
  const auto a = Bytes(0, 5);
  ASSERT_TRUE(ring.Write(a.data(), 5));
  ring.FlushAll();
  EXPECT_EQ(ring.Size(), 0u);
  ASSERT_TRUE(ring.Write(a.data(), 5));
  EXPECT_EQ(TakeAll(ring), a);
  ring.Deallocate();
  EXPECT_EQ(ring.Capacity(), 0u);
  EXPECT_FALSE(ring.Write(a.data(), 1));
}

TEST(CircularBuffer, AllocationThatCannotBeMetLeavesAnEmptyRing) {
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(10));
  // 4 GB minus one cannot be had in a test process under the usual limits;
  // when it can, the ring must still report the capacity it got.
  if (ring.Allocate(UINT32_MAX)) {
    EXPECT_EQ(ring.AllocatedCapacity(), UINT32_MAX);
    ring.Deallocate();
  } else {
    EXPECT_EQ(ring.AllocatedCapacity(), 0u);
    EXPECT_EQ(ring.Capacity(), 0u);
  }
}

TEST(CircularBuffer, OneWriterAndOneReaderOnALockingRingLoseNothing) {
  CCircularBuffer ring(true, false);
  ASSERT_TRUE(ring.Allocate(257));
  constexpr uint32_t kTotal = 200000;
  std::thread writer([&] {
    uint32_t sent = 0;
    uint8_t chunk[37];
    while (sent < kTotal) {
      const uint32_t n = std::min<uint32_t>(1 + sent % 37, kTotal - sent);
      for (uint32_t i = 0; i < n; ++i) chunk[i] = static_cast<uint8_t>((sent + i) * 7);
      if (ring.Write(chunk, n)) sent += n;
      else std::this_thread::yield();
    }
  });
  uint32_t got = 0;
  bool in_order = true;
  uint8_t buf[13];
  while (got < kTotal) {
    const uint32_t want = std::min<uint32_t>(1 + got % 13, kTotal - got);
    if (!ring.Take(buf, want)) {
      std::this_thread::yield();
      continue;
    }
    for (uint32_t i = 0; i < want; ++i) in_order &= buf[i] == static_cast<uint8_t>((got + i) * 7);
    got += want;
  }
  writer.join();
  EXPECT_TRUE(in_order);
  EXPECT_EQ(ring.Size(), 0u);
}

}  // namespace
