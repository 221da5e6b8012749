// SPDX-License-Identifier: MIT
// Watches the size of single allocations by operator new while a test asks
// for it: a larger request than allowed is refused with std::bad_alloc.
#pragma once

#include <cstddef>

namespace tessarin::testing {

// Refuses, and counts, every allocation above `limit` bytes until it ends.
class AllocationLimit {
 public:
  explicit AllocationLimit(std::size_t limit);
  ~AllocationLimit();
  AllocationLimit(const AllocationLimit&) = delete;
  AllocationLimit& operator=(const AllocationLimit&) = delete;
  // How many allocations were refused.
  static std::size_t Refused();
};

}  // namespace tessarin::testing
