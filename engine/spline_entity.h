// SPDX-License-Identifier: MIT
// What the converter holds of one SPLINE entity, and the capture that reads
// its groups from the pair stream.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fit_walk.h"
#include "pair_stream.h"
#include "tmypoi.h"

namespace tessarin {

// Text fields hold the value line exactly as read; the polyline writes them
// back unchanged.
struct SplineEntity {
  std::string layer = "0";                // code 8
  std::optional<std::string> paperspace;  // code 67
  std::optional<std::string> color;       // code 62
  std::optional<std::string> linetype;    // code 6
  std::optional<std::string> ltscale;     // code 48
  std::optional<std::string> visibility;  // code 60
  std::optional<std::string> owner;       // first code 330 outside "102" groups
  int32_t degree = 3;                     // code 71
  std::vector<double> knots;              // code 40
  std::vector<Tmypoi> ctrlpoints;         // codes 10, 20, 30, 41
  std::vector<Tmypoi> fitpoints;          // codes 11, 21, 31
  std::vector<double> weights;            // code 41, every readable one in file order
  bool closed = false;                    // code 70, bit 1

  // Room for 1000 entries in each list; a run creates one entity and reuses it.
  SplineEntity();
  // Back to the values at a spline start; the lists keep their room.
  void Reset();

  // What the fit reads of it; valid while the entity is not changed.
  SplineGeometry geometry() const { return SplineGeometry{degree, knots, ctrlpoints, fitpoints}; }
};

// Reads the groups of the entity that `start` opened into `spline`. With
// `copyTo` set (keepsplines), the start pair and every following pair whose
// code is not "0" are written there as read. Returns the pair that ended the
// entity: the next "0" pair, or the last pair read at the end of the input.
GroupPair CaptureSpline(PairReader& reader, PairWriter* copyTo, const GroupPair& start,
                        SplineEntity& spline);

}  // namespace tessarin
