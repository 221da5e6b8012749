// SPDX-License-Identifier: MIT
// Vertex collection and the LWPOLYLINE lines in their order.
#include "polyline_writer.h"

#include <cmath>

#include "dxf_number.h"

namespace tessarin {

namespace {

void AppendLine(std::string& lines, std::string_view line) {
  lines.append(line);
  lines.append("\r\n", 2);
}

}  // namespace

void PolylineWriter::Begin() {
  vertexlines_.clear();
  vertexcount_ = 0;
}

void PolylineWriter::AddArcVertices(const Arc& arc) {
  if (vertexcount_ == 0) {
    firstX_ = arc.x1;
    firstY_ = arc.y1;
  }
  lastX_ = arc.x3;
  lastY_ = arc.y3;
  const std::string bulge = FloatToDXF(arc.bulge);
  AppendLine(vertexlines_, "10");
  AppendLine(vertexlines_, FloatToDXF(arc.x1));
  AppendLine(vertexlines_, "20");
  AppendLine(vertexlines_, FloatToDXF(arc.y1));
  AppendLine(vertexlines_, "42");
  AppendLine(vertexlines_, bulge);
  ++vertexcount_;
  AppendLine(vertexlines_, "10");
  AppendLine(vertexlines_, FloatToDXF(arc.x3));
  AppendLine(vertexlines_, "20");
  AppendLine(vertexlines_, FloatToDXF(arc.y3));
  AppendLine(vertexlines_, "42");
  AppendLine(vertexlines_, bulge);
  ++vertexcount_;
}

void PolylineWriter::WritePolyline(const SplineEntity& spline, uint32_t& handlecounter,
                                   double closeTolerance, PairWriter& out) {
  ++handlecounter;  // wraps at 2^32; handles are unsigned hexadecimal
  out.WriteLine("0");
  out.WriteLine("LWPOLYLINE");
  out.WriteLine("5");
  out.WriteLine(HandleToDXF(handlecounter));
  out.WriteLine("330");
  out.WriteLine(spline.owner ? std::string_view(*spline.owner) : std::string_view("1F"));
  out.WriteLine("100");
  out.WriteLine("AcDbEntity");
  out.WriteLine("8");
  out.WriteLine(spline.layer);
  const auto optional = [&out](std::string_view code, const std::optional<std::string>& text) {
    if (text) {
      out.WriteLine(code);
      out.WriteLine(*text);
    }
  };
  optional("67", spline.paperspace);
  optional("62", spline.color);
  optional("6", spline.linetype);
  optional("48", spline.ltscale);
  optional("60", spline.visibility);
  out.WriteLine("100");
  out.WriteLine("AcDbPolyline");
  out.WriteLine("90");
  out.WriteLine(std::to_string(vertexcount_));
  out.WriteLine("70");
  out.WriteLine("0");
  out.WriteLine("43");
  out.WriteLine("0.0");
  const bool closes =
      vertexcount_ > 0 && std::sqrt((lastX_ - firstX_) * (lastX_ - firstX_) +
                                    (lastY_ - firstY_) * (lastY_ - firstY_)) <= closeTolerance;
  if (spline.closed && closes) {
    out.WriteLine("70");
    out.WriteLine("1");
  }
  out.WriteRaw(vertexlines_);
  Begin();
}

}  // namespace tessarin
