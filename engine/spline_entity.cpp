// SPDX-License-Identifier: MIT
// CaptureSpline: a table from group code to its effect on the entity.
#include "spline_entity.h"

#include "dxf_number.h"

namespace tessarin {

namespace {

constexpr size_t kListRoom = 1000;

// A list with room for n + 1 entries or fewer is enlarged to room for
// n + 1000 before entry n is appended, so growth is rare and predictable.
template <typename T>
void Append(std::vector<T>& list, const T& entry) {
  const size_t n = list.size();
  if (list.capacity() <= n + 1) list.reserve(n + kListRoom);
  list.push_back(entry);
}

// Group codes are compared as trimmed text; most are one or two digits.
constexpr int CodeNumber(std::string_view code) {
  if (code.empty() || code.size() > 3) return -1;
  int value = 0;
  for (char c : code) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

SplineEntity::SplineEntity() {
  knots.reserve(kListRoom);
  ctrlpoints.reserve(kListRoom);
  fitpoints.reserve(kListRoom);
  weights.reserve(kListRoom);
}

void SplineEntity::Reset() {
  layer.assign(1, '0');
  paperspace.reset();
  color.reset();
  linetype.reset();
  ltscale.reset();
  visibility.reset();
  owner.reset();
  degree = 3;
  knots.clear();
  ctrlpoints.clear();
  fitpoints.clear();
  weights.clear();
  closed = false;
}

GroupPair CaptureSpline(PairReader& reader, PairWriter* copyTo, const GroupPair& start,
                        SplineEntity& spline) {
  spline.Reset();
  if (copyTo != nullptr) copyTo->WritePair(start);

  bool inGroup102 = false;  // between "102" "{..." and "102" "}"
  GroupPair pair;
  for (;;) {
    pair = reader.ReadPair();
    const std::string_view code = TrimDxf(pair.code);
    if (copyTo != nullptr && code != "0") copyTo->WritePairPadded(pair);

    // Leading zeros ("010") are not the code "10": only the exact text counts.
    const int number = (code.size() > 1 && code[0] == '0') ? -1 : CodeNumber(code);
    const std::string_view value = pair.value;
    switch (number) {
      case 8:
        spline.layer.assign(value);
        break;
      case 67:
        spline.paperspace.emplace(value);
        break;
      case 62:
        spline.color.emplace(value);
        break;
      case 6:
        spline.linetype.emplace(value);
        break;
      case 48:
        spline.ltscale.emplace(value);
        break;
      case 60:
        spline.visibility.emplace(value);
        break;
      case 102: {
        const std::string_view marker = TrimDxf(value);
        if (!marker.empty() && marker[0] == '{') inGroup102 = true;
        if (marker == "}") inGroup102 = false;
        break;
      }
      case 330:
        if (!inGroup102 && !spline.owner) spline.owner.emplace(value);
        break;
      case 71:
        if (const auto degree = ParseDxfInt(value)) spline.degree = *degree;
        break;
      case 70:
        if (const auto flags = ParseDxfInt(value)) spline.closed = (*flags & 1) != 0;
        break;
      case 40:
        if (const auto knot = ParseDxfDouble(value)) Append(spline.knots, *knot);
        break;
      case 10:
        if (const auto x = ParseDxfDouble(value))
          Append(spline.ctrlpoints, Tmypoi{*x, 0.0, 0.0, 1.0});
        break;
      case 20:
        if (const auto y = ParseDxfDouble(value); y && !spline.ctrlpoints.empty()) {
          spline.ctrlpoints.back().y = *y;
        }
        break;
      case 30:
        if (const auto z = ParseDxfDouble(value); z && !spline.ctrlpoints.empty()) {
          spline.ctrlpoints.back().z = *z;
        }
        break;
      case 41:
        if (const auto weight = ParseDxfDouble(value)) {
          Append(spline.weights, *weight);
          if (!spline.ctrlpoints.empty()) spline.ctrlpoints.back().weight = *weight;
        }
        break;
      case 11:
        if (const auto x = ParseDxfDouble(value))
          Append(spline.fitpoints, Tmypoi{*x, 0.0, 0.0, 1.0});
        break;
      case 21:
        if (const auto y = ParseDxfDouble(value); y && !spline.fitpoints.empty()) {
          spline.fitpoints.back().y = *y;
        }
        break;
      case 31:
        if (const auto z = ParseDxfDouble(value); z && !spline.fitpoints.empty()) {
          spline.fitpoints.back().z = *z;
        }
        break;
      default:
        break;
    }
    if (reader.AtEnd() || code == "0") break;
  }

  // Writers put the "41" groups either after each point or all in one block
  // before the points. When there is one weight per control point, the k-th
  // weight belongs to the k-th point whatever the order.
  if (!spline.weights.empty() && spline.weights.size() == spline.ctrlpoints.size()) {
    for (size_t k = 0; k < spline.weights.size(); ++k)
      spline.ctrlpoints[k].weight = spline.weights[k];
  }
  return pair;
}

}  // namespace tessarin
