// SPDX-License-Identifier: MIT
// Nearest-sample queries over a curve's samples: bounding boxes of chunks
// and groups of chunks let a query skip samples that provably cannot be
// nearer than the nearest one found so far.
#pragma once

#include <cstddef>
#include <vector>

namespace tessarin {

class SampleBoxes {
 public:
  static constexpr size_t kChunk = 16;  // samples per chunk box
  static constexpr size_t kGroup = 16;  // chunks per group box

  // Boxes the samples (x[i], y[i]), i < count. Samples with a NaN coordinate
  // are in no box and never nearest. The arrays must outlive the queries.
  void Build(const double* x, const double* y, size_t count);

  // The smallest (px - x)^2 + (py - y)^2 over the samples, each as plain
  // double arithmetic; +inf when no sample counts. `hint` names a sample
  // likely to be near, scanned first.
  //
  // Why skipping is exact: for a sample with x >= box.minX > px, rounding is
  // monotone, so fl(x - px) >= fl(box.minX - px) >= 0, and squares and sums of
  // non-negative values keep the order. The box bound computed the same way
  // is therefore never above the sample's own value, and a chunk whose bound
  // is not below the best so far holds no strictly smaller value.
  double NearestSquared(double px, double py, size_t hint) const;

  struct Box {
    double minX, maxX, minY, maxY;
  };
  // The box of all samples; minX is +inf when no sample is a number.
  Box Extent() const;

 private:
  static double LowerBound(const Box& box, double px, double py);
  double ScanChunk(size_t chunk, double px, double py, double best) const;

  const double* x_ = nullptr;
  const double* y_ = nullptr;
  size_t count_ = 0;
  std::vector<Box> chunks_;
  std::vector<Box> groups_;
};

}  // namespace tessarin
