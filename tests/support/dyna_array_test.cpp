// SPDX-License-Identifier: MIT
// TDynaArray: growth and shrink in steps of 100 records, the caller's cursor
// variable, the iteration idiom and the report of failed allocations.
#include "dyna_array.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace tessarin {
namespace {

struct Rec {
  std::uint32_t a;
  std::uint32_t b;
};

Rec* const kUntouched = reinterpret_cast<Rec*>(std::uintptr_t{0x1234});

// Fills `n` records with a = index + 1, b = ~index.
void AddNumbered(TDynaArray& array, std::uint32_t n) {
  for (std::uint32_t i = 0; i < n; ++i) {
    auto* rec = static_cast<Rec*>(array.Add());
    ASSERT_NE(rec, nullptr);
    rec->a = array.count();
    rec->b = ~(array.count() - 1);
  }
}

void ExpectNumbered(TDynaArray& array, std::uint32_t n) {
  for (std::uint32_t i = 0; i < n; ++i) {
    const auto* rec = static_cast<const Rec*>(array.GetObject(i));
    ASSERT_EQ(rec->a, i + 1) << "record " << i;
    ASSERT_EQ(rec->b, ~i) << "record " << i;
  }
}

bool IsZero(const void* record, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(record);
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

TEST(TDynaArray, StartsEmptyWithoutWritingTheCursor) {
  Rec* cursor = kUntouched;
  TDynaArray array(sizeof(Rec), &cursor);
  EXPECT_EQ(array.count(), 0u);
  EXPECT_EQ(array.aobjnr(), -1);
  EXPECT_EQ(array.aobj(), nullptr);
  EXPECT_EQ(array.poi(), nullptr);
  EXPECT_EQ(array.amemsize(), 0u);
  EXPECT_EQ(array.buffersize(), 100u);
  EXPECT_EQ(array.size(), sizeof(Rec));
  EXPECT_EQ(cursor, kUntouched);
}

TEST(TDynaArray, GrowsInStepsOfHundredRecordsKeepingTheBytes) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  // Given a full block of 100 records.
  AddNumbered(array, 100);
  EXPECT_EQ(array.amemsize(), 100 * sizeof(Rec));
  const void* oldBlock = array.poi();
  // When the 101st is added.
  auto* added = static_cast<Rec*>(array.Add());
  // Then the block has room for 200, the old records kept their bytes and the
  // new one is zero and current.
  EXPECT_EQ(array.amemsize(), 200 * sizeof(Rec));
  EXPECT_NE(array.poi(), oldBlock);
  EXPECT_EQ(array.count(), 101u);
  EXPECT_EQ(added, cursor);
  EXPECT_EQ(array.aobjnr(), 100);
  EXPECT_EQ(static_cast<const void*>(cursor),
            static_cast<const unsigned char*>(array.poi()) + 100 * sizeof(Rec));
  EXPECT_TRUE(IsZero(added, sizeof(Rec)));
  ExpectNumbered(array, 100);
  // Records 101 to 200 fit without another block.
  for (int i = 0; i < 99; ++i) ASSERT_NE(array.Add(), nullptr);
  EXPECT_EQ(array.amemsize(), 200 * sizeof(Rec));
  ASSERT_NE(array.Add(), nullptr);
  EXPECT_EQ(array.amemsize(), 300 * sizeof(Rec));
}

TEST(TDynaArray, ShrinksAndReleasesTheBlock) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 101);
  // Deleting the 101st record shrinks back to room for 100.
  array.Delete(100);
  EXPECT_EQ(array.count(), 100u);
  EXPECT_EQ(array.amemsize(), 100 * sizeof(Rec));
  ExpectNumbered(array, 100);
  // Deleting all releases the block.
  while (array.count() > 0) array.Delete(0);
  EXPECT_EQ(array.poi(), nullptr);
  EXPECT_EQ(array.amemsize(), 0u);
  // The next Add allocates a fresh, zero-filled block.
  auto* rec = static_cast<Rec*>(array.Add());
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(array.amemsize(), 100 * sizeof(Rec));
  EXPECT_TRUE(IsZero(rec, sizeof(Rec)));
}

TEST(TDynaArray, AddZeroFillsThePlaceOfADeletedRecord) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 3);
  array.Delete(2);
  const auto* rec = static_cast<const Rec*>(array.Add());
  EXPECT_EQ(array.aobjnr(), 2);
  EXPECT_TRUE(IsZero(rec, sizeof(Rec)));
}

TEST(TDynaArray, DeleteMovesLaterRecordsDownAndClearsTheCursor) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 5);
  array.Delete(1);
  EXPECT_EQ(array.count(), 4u);
  EXPECT_EQ(cursor, nullptr);
  EXPECT_EQ(array.aobj(), nullptr);
  EXPECT_EQ(array.aobjnr(), -1);
  const std::uint32_t expected[] = {1, 3, 4, 5};
  for (std::uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(static_cast<Rec*>(array.GetObject(i))->a, expected[i]);
  }
}

TEST(TDynaArray, OutOfRangeDeleteAndChangeDoNothing) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 5);
  Rec* const second = static_cast<Rec*>(array.GetObject(1));
  const struct {
    const char* name;
    void (*call)(TDynaArray&);
  } rows[] = {
      {"Delete(-1)", [](TDynaArray& a) { a.Delete(-1); }},
      {"Delete(count)", [](TDynaArray& a) { a.Delete(5); }},
      {"Change(-1, 2)", [](TDynaArray& a) { a.Change(-1, 2); }},
      {"Change(2, count)", [](TDynaArray& a) { a.Change(2, 5); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    row.call(array);
    EXPECT_EQ(array.count(), 5u);
    EXPECT_EQ(array.aobjnr(), 1);
    EXPECT_EQ(cursor, second);
    EXPECT_EQ(array.aobj(), second);
  }
  ExpectNumbered(array, 5);
}

TEST(TDynaArray, ChangeSwapsBytesAndLeavesTheSecondCurrent) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 5);
  array.Change(3, 3);
  EXPECT_EQ(array.aobjnr(), 3);
  EXPECT_EQ(cursor, array.GetObject(3));
  ExpectNumbered(array, 5);

  array.Change(1, 4);
  EXPECT_EQ(array.aobjnr(), 4);
  EXPECT_EQ(cursor->a, 2u);
  EXPECT_EQ(cursor->b, ~1u);
  EXPECT_EQ(static_cast<Rec*>(array.GetObject(1))->a, 5u);
  EXPECT_EQ(static_cast<Rec*>(array.GetObject(1))->b, ~4u);
}

TEST(TDynaArray, ClearReleasesEverythingAndNullsTheCursor) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 150);
  array.Clear();
  EXPECT_EQ(array.count(), 0u);
  EXPECT_EQ(array.poi(), nullptr);
  EXPECT_EQ(array.amemsize(), 0u);
  EXPECT_EQ(array.aobjnr(), -1);
  EXPECT_EQ(cursor, nullptr);
  // Usable again afterwards.
  AddNumbered(array, 2);
  ExpectNumbered(array, 2);
}

TEST(TDynaArray, IterationRunsOneAhead) {
  Rec* cursor = kUntouched;
  TDynaArray array(sizeof(Rec), &cursor);
  int visits = 0;
  array.First();
  while (array.WhileNext()) ++visits;
  EXPECT_EQ(visits, 0);
  EXPECT_EQ(cursor, kUntouched);

  AddNumbered(array, 3);
  std::vector<std::int32_t> numbers;
  std::vector<std::uint32_t> seen;
  array.First();
  while (array.WhileNext()) {
    numbers.push_back(array.aobjnr());
    seen.push_back(cursor->a);
  }
  EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 2, 3}));
  // After the loop the last record stays in hand.
  EXPECT_EQ(array.aobjnr(), 3);
  EXPECT_EQ(cursor, array.aobj());
  EXPECT_EQ(cursor->a, 3u);
  EXPECT_FALSE(array.WhileNext());
}

TEST(TDynaArray, SharedCursorIsOverwrittenByEveryArray) {
  Rec* cursor = nullptr;
  TDynaArray one(sizeof(Rec), &cursor);
  TDynaArray two(sizeof(Rec), &cursor);
  AddNumbered(one, 2);
  AddNumbered(two, 2);
  one.GetObject(1);
  EXPECT_EQ(cursor, one.aobj());
  two.First();
  EXPECT_EQ(cursor, two.aobj());
  EXPECT_NE(cursor, one.aobj());
  // One array's record stays current in that array.
  EXPECT_EQ(one.aobjnr(), 1);
}

TEST(TDynaArray, DestroyLeavesTheCursorAlone) {
  Rec* cursor = nullptr;
  Rec* last = nullptr;
  {
    TDynaArray array(sizeof(Rec), &cursor);
    AddNumbered(array, 2);
    last = cursor;
  }
  EXPECT_EQ(cursor, last);
}

TEST(TDynaArray, WorksWithoutACursorVariable) {
  TDynaArray array(sizeof(Rec), nullptr);
  AddNumbered(array, 3);
  array.Delete(0);
  array.First();
  ASSERT_TRUE(array.WhileNext());
  EXPECT_EQ(static_cast<Rec*>(array.aobj())->a, 2u);
}

// Allocation failures: an allocator that fails on request and a message box
// that records what it was shown.
std::vector<std::string> shown;
bool failAllocations = false;
int allocations = 0;

void RecordBox(const std::string& text) { shown.push_back(text); }
void* FailingAllocator(std::size_t bytes) {
  ++allocations;
  return failAllocations ? nullptr : std::calloc(bytes, 1);
}

class TDynaArrayFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    failAllocations = false;
    allocations = 0;
    previousBox_ = SetDynaArrayMessageBox(&RecordBox);
    previousAllocator_ = SetDynaArrayAllocator(&FailingAllocator);
  }
  void TearDown() override {
    SetDynaArrayMessageBox(previousBox_);
    SetDynaArrayAllocator(previousAllocator_);
  }

 private:
  DynaArrayMessageBox previousBox_ = nullptr;
  DynaArrayAllocator previousAllocator_ = nullptr;
};

TEST_F(TDynaArrayFailure, FirstBlockFailureAddsNothing) {
  Rec* cursor = kUntouched;
  TDynaArray array(sizeof(Rec), &cursor);
  failAllocations = true;
  EXPECT_EQ(array.Add(), nullptr);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Error 1 while trying to allocate 800 bytes of RAM. Not enough memory.");
  EXPECT_EQ(array.count(), 0u);
  EXPECT_EQ(array.poi(), nullptr);
  EXPECT_EQ(cursor, kUntouched);
  // Once memory is there again the array works.
  failAllocations = false;
  AddNumbered(array, 1);
  ExpectNumbered(array, 1);
}

TEST_F(TDynaArrayFailure, GrowthFailureKeepsTheRecords) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 100);
  failAllocations = true;
  EXPECT_EQ(array.Add(), nullptr);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Error 2 while trying to allocate 1600 bytes of RAM. Not enough memory.");
  EXPECT_EQ(array.count(), 100u);
  EXPECT_EQ(array.amemsize(), 800u);
  ExpectNumbered(array, 100);
}

TEST_F(TDynaArrayFailure, ShrinkFailureKeepsTheLargerBlock) {
  Rec* cursor = nullptr;
  TDynaArray array(sizeof(Rec), &cursor);
  AddNumbered(array, 101);
  failAllocations = true;
  array.Delete(100);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Error 3 while trying to allocate 800 bytes of RAM. Not enough memory.");
  EXPECT_EQ(array.count(), 100u);
  EXPECT_EQ(array.amemsize(), 1600u);
  ExpectNumbered(array, 100);
  // A second failed shrink, now one step below the block.
  array.Delete(99);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(array.amemsize(), 1600u);
  // The larger block serves further records without a new allocation.
  const int before = allocations;
  for (int i = 0; i < 2; ++i) {
    auto* rec = static_cast<Rec*>(array.Add());
    ASSERT_NE(rec, nullptr);
    EXPECT_TRUE(IsZero(rec, sizeof(Rec)));
  }
  EXPECT_EQ(allocations, before);
  EXPECT_EQ(array.count(), 101u);
  ExpectNumbered(array, 99);
  // Growing beyond it copies the whole larger block.
  failAllocations = false;
  array.Delete(100);
  AddNumbered(array, 150);
  EXPECT_EQ(array.count(), 250u);
  EXPECT_EQ(array.amemsize(), 300 * sizeof(Rec));
  ExpectNumbered(array, 99);
  EXPECT_EQ(shown.size(), 2u);
}

TEST_F(TDynaArrayFailure, BlockBeyondThirtyTwoBitsFailsWithoutAllocating) {
  // 100 records of 50,000,000 bytes do not fit a 32-bit block size.
  TDynaArray array(50'000'000);
  EXPECT_EQ(array.Add(), nullptr);
  EXPECT_EQ(allocations, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0],
            "Error 1 while trying to allocate 5000000000 bytes of RAM. Not enough memory.");
  EXPECT_EQ(array.count(), 0u);
}

TEST(TDynaArrayMessage, DefaultWritesToStderr) {
  const DynaArrayAllocator previous =
      SetDynaArrayAllocator([](std::size_t) -> void* { return nullptr; });
  TDynaArray array(4);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(array.Add(), nullptr);
  const std::string err = ::testing::internal::GetCapturedStderr();
  SetDynaArrayAllocator(previous);
  EXPECT_EQ(err, "Error 1 while trying to allocate 400 bytes of RAM. Not enough memory.\n");
}

}  // namespace
}  // namespace tessarin
