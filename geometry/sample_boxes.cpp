// SPDX-License-Identifier: MIT
// Box building and the pruned nearest-sample scan.
#include "sample_boxes.h"

#include <algorithm>
#include <limits>

namespace tessarin {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

void SampleBoxes::Build(const double* x, const double* y, size_t count) {
  x_ = x;
  y_ = y;
  count_ = count;
  const size_t chunks = (count + kChunk - 1) / kChunk;
  const size_t groups = (chunks + kGroup - 1) / kGroup;
  chunks_.resize(chunks);
  groups_.resize(groups);
  for (size_t c = 0; c < chunks; ++c) {
    // An empty box (no finite sample) has min +inf and max -inf: its bound
    // is +inf and it is never scanned.
    Box box{kInf, -kInf, kInf, -kInf};
    const size_t end = std::min(count, (c + 1) * kChunk);
    for (size_t i = c * kChunk; i < end; ++i) {
      // NaN compares false and stays out of the box; it never counts as
      // nearest either, since d < best is false for a NaN d.
      if (x[i] < box.minX) box.minX = x[i];
      if (x[i] > box.maxX) box.maxX = x[i];
      if (y[i] < box.minY) box.minY = y[i];
      if (y[i] > box.maxY) box.maxY = y[i];
    }
    chunks_[c] = box;
  }
  for (size_t g = 0; g < groups; ++g) {
    Box box{kInf, -kInf, kInf, -kInf};
    const size_t end = std::min(chunks, (g + 1) * kGroup);
    for (size_t c = g * kGroup; c < end; ++c) {
      box.minX = std::min(box.minX, chunks_[c].minX);
      box.maxX = std::max(box.maxX, chunks_[c].maxX);
      box.minY = std::min(box.minY, chunks_[c].minY);
      box.maxY = std::max(box.maxY, chunks_[c].maxY);
    }
    groups_[g] = box;
  }
}

SampleBoxes::Box SampleBoxes::Extent() const {
  Box box{kInf, -kInf, kInf, -kInf};
  for (const Box& group : groups_) {
    box.minX = std::min(box.minX, group.minX);
    box.maxX = std::max(box.maxX, group.maxX);
    box.minY = std::min(box.minY, group.minY);
    box.maxY = std::max(box.maxY, group.maxY);
  }
  return box;
}

double SampleBoxes::LowerBound(const Box& box, double px, double py) {
  const double dx = px < box.minX ? box.minX - px : (px > box.maxX ? px - box.maxX : 0.0);
  const double dy = py < box.minY ? box.minY - py : (py > box.maxY ? py - box.maxY : 0.0);
  return dx * dx + dy * dy;
}

double SampleBoxes::ScanChunk(size_t chunk, double px, double py, double best) const {
  const size_t begin = chunk * kChunk;
  const size_t end = std::min(count_, begin + kChunk);
  if (end - begin == kChunk) {
    // Four running minima, merged at the end: a minimum does not depend on
    // the order it is taken in (all values are >= +0, NaN never wins).
    double m[4] = {best, best, best, best};
    for (size_t i = begin; i < end; i += 4) {
      for (size_t l = 0; l < 4; ++l) {
        const double dx = px - x_[i + l];
        const double dy = py - y_[i + l];
        const double d = dx * dx + dy * dy;
        m[l] = d < m[l] ? d : m[l];
      }
    }
    const double a = m[1] < m[0] ? m[1] : m[0];
    const double b = m[3] < m[2] ? m[3] : m[2];
    return b < a ? b : a;
  }
  for (size_t i = begin; i < end; ++i) {
    const double dx = px - x_[i];
    const double dy = py - y_[i];
    const double d = dx * dx + dy * dy;
    if (d < best) best = d;
  }
  return best;
}

double SampleBoxes::NearestSquared(double px, double py, size_t hint) const {
  double best = kInf;
  const size_t first = hint < count_ ? hint / kChunk : chunks_.size();
  if (first < chunks_.size()) best = ScanChunk(first, px, py, best);
  for (size_t g = 0; g < groups_.size(); ++g) {
    if (!(LowerBound(groups_[g], px, py) < best)) continue;
    const size_t end = std::min(chunks_.size(), (g + 1) * kGroup);
    for (size_t c = g * kGroup; c < end; ++c) {
      if (c == first) continue;
      if (LowerBound(chunks_[c], px, py) < best) best = ScanChunk(c, px, py, best);
    }
  }
  return best;
}

}  // namespace tessarin
