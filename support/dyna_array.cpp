// SPDX-License-Identifier: MIT
// TDynaArray: block growth and shrink in steps of 100 records, the cursor
// positioning, and the memory failure report.
#include "dyna_array.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace tessarin {

namespace {

void WriteToStderr(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

void* ZeroFilled(std::size_t bytes) { return std::calloc(bytes, 1); }

DynaArrayMessageBox messageBox = &WriteToStderr;
DynaArrayAllocator allocator = &ZeroFilled;

// The block size is kept in 32 bits, and record indexes in signed 32 bits.
constexpr std::uint64_t kMaxBlockBytes = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kMaxRecords = std::numeric_limits<std::int32_t>::max();

}  // namespace

DynaArrayMessageBox SetDynaArrayMessageBox(DynaArrayMessageBox handler) {
  const DynaArrayMessageBox previous = messageBox;
  messageBox = handler ? handler : &WriteToStderr;
  return previous;
}

DynaArrayAllocator SetDynaArrayAllocator(DynaArrayAllocator newAllocator) {
  const DynaArrayAllocator previous = allocator;
  allocator = newAllocator ? newAllocator : &ZeroFilled;
  return previous;
}

TDynaArray::TDynaArray(std::uint32_t thesize, void* typpoi, CursorWriter writer)
    : outeraobj_(typpoi), writecursor_(writer), size_(thesize) {}

TDynaArray::~TDynaArray() { std::free(poi_); }

std::uint64_t TDynaArray::BlockBytes(std::uint64_t records) const {
  return ((records - 1) / buffersize_ + 1) * buffersize_ * std::uint64_t{size_};
}

unsigned char* TDynaArray::Record(std::uint32_t index) const {
  return poi_ + std::size_t{index} * size_;
}

void TDynaArray::SetCurrent(std::int32_t index, void* record) {
  aobjnr_ = index;
  aobj_ = record;
  if (writecursor_) writecursor_(outeraobj_, record);
}

void TDynaArray::ReportFailure(std::uint64_t bytes, int failure) {
  messageBox("Error " + std::to_string(failure) + " while trying to allocate " +
             std::to_string(bytes) + " bytes of RAM. Not enough memory.");
}

unsigned char* TDynaArray::NewBlock(std::uint64_t bytes, int failure) {
  // A block beyond 32 bits of size cannot be described; it fails like any other.
  void* block = bytes <= kMaxBlockBytes ? allocator(static_cast<std::size_t>(bytes)) : nullptr;
  if (!block) ReportFailure(bytes, failure);
  return static_cast<unsigned char*>(block);
}

bool TDynaArray::AllocMoreMem() {
  if (count_ == 0) return false;
  const std::uint64_t bytes = BlockBytes(count_);
  // A block that is large enough already (also one whose shrink failed) stays.
  if (poi_ && bytes <= amemsize_) return false;
  const bool first = count_ == 1 || !poi_;
  unsigned char* block = NewBlock(bytes, first ? 1 : 2);
  if (!block) {
    // Keep the old block and take back the record it has no room for.
    --count_;
    return false;
  }
  if (poi_) {
    if (amemsize_ > 0) std::memcpy(block, poi_, amemsize_);
    std::free(poi_);
  }
  poi_ = block;
  amemsize_ = static_cast<std::uint32_t>(bytes);
  return true;
}

void TDynaArray::AllocLessMem() {
  if (count_ == 0) {
    std::free(poi_);
    poi_ = nullptr;
    amemsize_ = 0;
    return;
  }
  const std::uint64_t bytes = BlockBytes(count_);
  if (bytes == amemsize_) return;
  unsigned char* block = NewBlock(bytes, 3);
  // Without a new block the larger one keeps serving; it holds every record.
  if (!block) return;
  if (bytes > 0)
    std::memcpy(block, poi_, static_cast<std::size_t>(std::min<std::uint64_t>(bytes, amemsize_)));
  std::free(poi_);
  poi_ = block;
  amemsize_ = static_cast<std::uint32_t>(bytes);
}

void* TDynaArray::GetObject(std::uint32_t Index) {
  assert(Index < count_);
  void* record = Record(Index);
  SetCurrent(static_cast<std::int32_t>(Index), record);
  return record;
}

void* TDynaArray::Add() {
  if (count_ >= kMaxRecords) {
    // One more record could not be numbered by aobjnr.
    ReportFailure(BlockBytes(std::uint64_t{count_} + 1), 2);
    return nullptr;
  }
  const std::uint32_t before = count_;
  ++count_;
  if (!AllocMoreMem()) {
    if (count_ == before) return nullptr;
    // The old block had room; the place may still hold a deleted record.
    if (size_ > 0) std::memset(Record(count_ - 1), 0, size_);
  }
  return GetObject(count_ - 1);
}

void TDynaArray::Delete(std::int32_t nr) {
  if (nr < 0 || static_cast<std::uint32_t>(nr) >= count_) return;
  const std::uint32_t later = count_ - 1 - static_cast<std::uint32_t>(nr);
  if (later > 0 && size_ > 0) {
    std::memmove(Record(static_cast<std::uint32_t>(nr)), Record(static_cast<std::uint32_t>(nr) + 1),
                 std::size_t{later} * size_);
  }
  --count_;
  AllocLessMem();
  SetCurrent(-1, nullptr);
}

void TDynaArray::Change(std::int32_t nr1, std::int32_t nr2) {
  if (nr1 < 0 || nr2 < 0 || static_cast<std::uint32_t>(nr1) >= count_ ||
      static_cast<std::uint32_t>(nr2) >= count_) {
    return;
  }
  // Swapped in place, byte by byte, so that no buffer has to be allocated.
  unsigned char* a = Record(static_cast<std::uint32_t>(nr1));
  unsigned char* b = Record(static_cast<std::uint32_t>(nr2));
  if (a != b) std::swap_ranges(a, a + size_, b);
  GetObject(static_cast<std::uint32_t>(nr2));
}

void TDynaArray::Clear() {
  count_ = 0;
  std::free(poi_);
  poi_ = nullptr;
  amemsize_ = 0;
  SetCurrent(-1, nullptr);
}

void TDynaArray::First() {
  if (count_ > 0) GetObject(0);
}

bool TDynaArray::WhileNext() {
  if (count_ == 0 || aobjnr_ < 0 || static_cast<std::uint32_t>(aobjnr_) >= count_) return false;
  GetObject(static_cast<std::uint32_t>(aobjnr_));
  ++aobjnr_;
  return true;
}

}  // namespace tessarin
