// SPDX-License-Identifier: MIT
// The LWPOLYLINE entity that replaces a spline: its vertices are collected
// while arcs are accepted, then written after the header with the count.
#pragma once

#include <cstdint>
#include <string>

#include "arc.h"
#include "pair_stream.h"
#include "spline_entity.h"

namespace tessarin {

class PolylineWriter {
 public:
  // Starts the vertex list of a new spline.
  void Begin();
  // Appends the arc's two vertices, both carrying its bulge.
  void AddArcVertices(const Arc& arc);
  int32_t vertexcount() const { return vertexcount_; }

  // Writes the entity with the next handle after `handlecounter` (which it
  // advances), the spline's layer, owner and attributes, and the vertices.
  // The closing flag is written only when the spline is closed and the last
  // vertex lies within `closeTolerance` of the first: open geometry flagged
  // closed would otherwise gain a segment that is not in the drawing.
  void WritePolyline(const SplineEntity& spline, uint32_t& handlecounter, double closeTolerance,
                     PairWriter& out);

 private:
  std::string vertexlines_;  // six lines per vertex, CR LF ended
  int32_t vertexcount_ = 0;
  double firstX_ = 0.0, firstY_ = 0.0, lastX_ = 0.0, lastY_ = 0.0;
};

}  // namespace tessarin
