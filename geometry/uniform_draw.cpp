// SPDX-License-Identifier: MIT
// Seeding of the fit-point search's generator.
#include "uniform_draw.h"

#include <chrono>

namespace tessarin {

namespace {

uint64_t ClockSeed() {
  return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace

UniformDraw::UniformDraw(std::optional<uint64_t> seed) : engine_(seed ? *seed : ClockSeed()) {}

}  // namespace tessarin
