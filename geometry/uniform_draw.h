// SPDX-License-Identifier: MIT
// The pseudo-random draws of the fit-point search: a 64-bit Mersenne Twister,
// seeded from the clock unless a seed is given, and exactly uniform integers.
#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace tessarin {

class UniformDraw {
 public:
  // Seeded with `seed`, or from the system clock (nanoseconds) when unset.
  explicit UniformDraw(std::optional<uint64_t> seed);

  // R(r): an integer from 0 to r - 1, every one equally likely; 0 when r is 0.
  // Each call takes at least one value of the generator.
  uint64_t Draw(uint64_t r) {
    return UniformBelow(r, [this] { return static_cast<uint64_t>(engine_()); });
  }

  // Maps 64-bit values from `next` to [0, r) without bias: of the 2^64
  // values, the lowest 2^64 mod r are drawn again, so every remainder is
  // reached by exactly floor(2^64 / r) accepted values.
  template <typename Next>
  static uint64_t UniformBelow(uint64_t r, Next next) {
    const uint64_t value = next();
    if (r == 0) return 0;
    const uint64_t rejected = (0 - r) % r;  // 2^64 mod r
    uint64_t x = value;
    while (x < rejected) x = next();
    return x % r;
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace tessarin
