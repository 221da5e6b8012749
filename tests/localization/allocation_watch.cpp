// SPDX-License-Identifier: MIT
// Replaces the global operator new of the test program, so that a test can
// put a limit on the size of single allocations.
#include "allocation_watch.h"

#include <cstdlib>
#include <new>

namespace tessarin::testing {
namespace {
std::size_t limit = 0;  // 0: no limit
std::size_t refused = 0;
}  // namespace

AllocationLimit::AllocationLimit(std::size_t newLimit) {
  limit = newLimit;
  refused = 0;
}
AllocationLimit::~AllocationLimit() { limit = 0; }
std::size_t AllocationLimit::Refused() { return refused; }

}  // namespace tessarin::testing

void* operator new(std::size_t size) {
  using tessarin::testing::limit;
  if (limit != 0 && size > limit) {
    ++tessarin::testing::refused;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
