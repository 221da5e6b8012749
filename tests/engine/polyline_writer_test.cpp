// SPDX-License-Identifier: MIT
// The LWPOLYLINE entity: its lines in order, handles, owner, optional
// attributes, the closing flag and the vertex lines.
#include "polyline_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace tessarin {
namespace {

std::string Write(PolylineWriter& polyline, const SplineEntity& spline, uint32_t& handle,
                  double closeTolerance = 1.0) {
  MemorySink sink;
  {
    PairWriter out(sink);
    polyline.WritePolyline(spline, handle, closeTolerance, out);
  }
  return sink.bytes();
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

TEST(PolylineWriter, EntityWithoutVertices) {
  PolylineWriter polyline;
  polyline.Begin();
  SplineEntity spline;
  uint32_t handle = 0x65;
  EXPECT_EQ(Write(polyline, spline, handle),
            Lines({"0", "LWPOLYLINE", "5", "66", "330", "1F", "100", "AcDbEntity", "8", "0", "100",
                   "AcDbPolyline", "90", "0", "70", "0", "43", "0.0"}));
  EXPECT_EQ(handle, 0x66u);
  // The next polyline gets the next handle.
  EXPECT_NE(Write(polyline, spline, handle).find("\r\n5\r\n67\r\n"), std::string::npos);
}

TEST(PolylineWriter, AttributesOwnerAndVertices) {
  PolylineWriter polyline;
  polyline.Begin();
  Arc arc;
  arc.x1 = 0;
  arc.y1 = 0;
  arc.x3 = 1.5;
  arc.y3 = -2;
  arc.bulge = 0.25;
  polyline.AddArcVertices(arc);
  EXPECT_EQ(polyline.vertexcount(), 2);
  SplineEntity spline;
  spline.layer = " Kontur ";
  spline.color = "1";
  spline.visibility = "0";
  spline.owner = "1F0";
  uint32_t handle = 0xFFFFFFFF;  // the counter wraps and is written unsigned
  EXPECT_EQ(Write(polyline, spline, handle),
            Lines({"0",  "LWPOLYLINE", "5",  "0",    "330", "1F0", "100", "AcDbEntity",
                   "8",  " Kontur ",   "62", "1",    "60",  "0",   "100", "AcDbPolyline",
                   "90", "2",          "70", "0",    "43",  "0.0", "10",  "0",
                   "20", "0",          "42", "0.25", "10",  "1.5", "20",  "-2",
                   "42", "0.25"}));
  // The vertex list was dropped with the entity.
  EXPECT_EQ(polyline.vertexcount(), 0);
}

TEST(PolylineWriter, AllOptionalGroupsInTheirOrder) {
  PolylineWriter polyline;
  polyline.Begin();
  SplineEntity spline;
  spline.paperspace = "1";
  spline.color = "2";
  spline.linetype = "DOT";
  spline.ltscale = "0.5";
  spline.visibility = "1";
  uint32_t handle = 1;
  const std::string text = Write(polyline, spline, handle);
  EXPECT_NE(text.find(Lines({"8", "0", "67", "1", "62", "2", "6", "DOT", "48", "0.5", "60", "1",
                             "100", "AcDbPolyline"})),
            std::string::npos);
}

// The closing flag: only for a closed spline whose polyline ends within the
// tolerance of its start.
TEST(PolylineWriter, ClosesOnlyWhatCloses) {
  struct Row {
    const char* name;
    bool closed;
    double endX;
    bool hasVertices;
    bool expectClose;
  };
  const Row rows[] = {
      {"closed and ends at its start", true, 0.0, true, true},
      {"closed, ends within the tolerance", true, 0.9, true, true},
      {"closed but ends far away", true, 31.0, true, false},
      {"open", false, 0.0, true, false},
      {"closed without vertices", true, 0.0, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    PolylineWriter polyline;
    polyline.Begin();
    if (row.hasVertices) {
      polyline.AddArcVertices({0, 0, 5, 5, 0.1});
      polyline.AddArcVertices({5, 5, row.endX, 0, 0.1});
    }
    SplineEntity spline;
    spline.closed = row.closed;
    uint32_t handle = 1;
    const std::string text = Write(polyline, spline, handle, 1.0);
    const bool closes = text.find(Lines({"43", "0.0", "70", "1"})) != std::string::npos;
    EXPECT_EQ(closes, row.expectClose);
  }
}

}  // namespace
}  // namespace tessarin
