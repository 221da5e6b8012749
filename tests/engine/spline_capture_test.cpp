// SPDX-License-Identifier: MIT
// CaptureSpline: what each group does to the entity, where the capture ends
// and what it copies with keepsplines.
#include <gtest/gtest.h>

#include <string>

#include "pair_stream.h"
#include "spline_entity.h"

namespace tessarin {
namespace {

struct Captured {
  SplineEntity spline;
  std::string endCode, endValue;
  std::string copy;  // what keepsplines wrote
};

// Captures the entity that opens `input` (which starts with the start pair).
Captured Capture(const std::string& input) {
  Captured result;
  MemorySource source(input);
  PairReader reader(source);
  MemorySink sink;
  {
    PairWriter writer(sink);
    const GroupPair start = reader.ReadPair();
    EXPECT_TRUE(IsSplineStart(start));
    const GroupPair end = CaptureSpline(reader, &writer, start, result.spline);
    result.endCode = end.code;
    result.endValue = end.value;
  }
  result.copy = sink.bytes();
  return result;
}

TEST(CaptureSpline, ReadsEveryGroupOfTheTable) {
  const Captured c = Capture(
      "  0\nSPLINE\n  8\n Layer 1 \n 67\n1\n 62\n5\n  6\nDASHED\n 48\n2.5\n 60\n0\n"
      " 70\n9\n 71\n2\n 40\n0\n 40\n0\n 40\n0\n 40\n1\n 40\n1\n 40\n1\n"
      " 10\n1\n 20\n2\n 30\n3\n 41\n0.5\n 10\n4\n 20\n5\n 10\n7\n"
      " 11\n8\n 21\n9\n 31\n10\n  0\nLINE\n");
  const SplineEntity& s = c.spline;
  EXPECT_EQ(s.layer, " Layer 1 ");  // as read, untrimmed
  EXPECT_EQ(s.paperspace, "1");
  EXPECT_EQ(s.color, "5");
  EXPECT_EQ(s.linetype, "DASHED");
  EXPECT_EQ(s.ltscale, "2.5");
  EXPECT_EQ(s.visibility, "0");
  EXPECT_TRUE(s.closed);  // 9 = closed and planar
  EXPECT_EQ(s.degree, 2);
  EXPECT_EQ(s.knots, (std::vector<double>{0, 0, 0, 1, 1, 1}));
  ASSERT_EQ(s.ctrlpoints.size(), 3u);
  EXPECT_EQ(s.ctrlpoints[0].x, 1);
  EXPECT_EQ(s.ctrlpoints[0].y, 2);
  EXPECT_EQ(s.ctrlpoints[0].z, 3);
  EXPECT_EQ(s.ctrlpoints[0].weight, 0.5);
  EXPECT_EQ(s.ctrlpoints[1].weight, 1.0);
  EXPECT_EQ(s.ctrlpoints[2].x, 7);
  EXPECT_EQ(s.ctrlpoints[2].y, 0);  // no "20": zero
  ASSERT_EQ(s.fitpoints.size(), 1u);
  EXPECT_EQ(s.fitpoints[0].x, 8);
  EXPECT_EQ(s.fitpoints[0].y, 9);
  EXPECT_EQ(s.fitpoints[0].z, 10);
  EXPECT_EQ(c.endCode, "  0");
  EXPECT_EQ(c.endValue, "LINE");
  // keepsplines: everything up to, not including, the "0" pair, as read.
  const std::string head = "  0\r\nSPLINE\r\n  8\r\n Layer 1 \r\n";
  const std::string tail = " 31\r\n10\r\n";
  EXPECT_EQ(c.copy.substr(0, head.size()), head);
  EXPECT_EQ(c.copy.substr(c.copy.size() - tail.size()), tail);
}

TEST(CaptureSpline, GroupRules) {
  struct Row {
    const char* name;
    std::string groups;  // between the start pair and "0"/"EOF"
    int degree;
    bool closed;
    size_t controls;
    size_t knots;
  };
  const Row rows[] = {
      {"defaults", "", 3, false, 0, 0},
      {"70 of 8 is not closed", "70\n8\n", 3, false, 0, 0},
      {"70 of 1 is closed", "70\n1\n", 3, true, 0, 0},
      {"unreadable 70 keeps the flag", "70\n1\n70\nx\n", 3, true, 0, 0},
      {"unreadable 71 keeps the degree", "71\n2\n71\n3 \n", 2, false, 0, 0},
      {"repeated 71 overwrites", "71\n2\n71\n5\n", 5, false, 0, 0},
      {"unreadable 10 appends no point", "10\nx\n20\n1\n10\n1\n", 3, false, 1, 0},
      {"unreadable 40 appends no knot", "40\n0\n40\n1e\n40\n1\n", 3, false, 0, 2},
      {"20 before any 10 is dropped", "20\n5\n30\n5\n41\n5\n21\n5\n", 3, false, 0, 0},
      {"leading zero is another code", "010\n1\n040\n1\n", 3, false, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Captured c = Capture("0\nSPLINE\n" + row.groups + "0\nEOF\n");
    EXPECT_EQ(c.spline.degree, row.degree);
    EXPECT_EQ(c.spline.closed, row.closed);
    EXPECT_EQ(c.spline.ctrlpoints.size(), row.controls);
    EXPECT_EQ(c.spline.knots.size(), row.knots);
    EXPECT_EQ(c.endValue, "EOF");
  }
}

// Weights written as one block before the points (AutoCAD, ezdxf) and weights
// written before each point (netDxf) reach the same points as "10 20 30 41".
TEST(CaptureSpline, WeightsInAnyOrder) {
  const std::string block = "41\n1\n41\n0.5\n41\n2\n10\n0\n20\n0\n10\n1\n20\n1\n10\n2\n20\n0\n";
  const std::string before = "41\n1\n10\n0\n20\n0\n41\n0.5\n10\n1\n20\n1\n41\n2\n10\n2\n20\n0\n";
  const std::string after = "10\n0\n20\n0\n41\n1\n10\n1\n20\n1\n41\n0.5\n10\n2\n20\n0\n41\n2\n";
  for (const std::string& groups : {block, before, after}) {
    const Captured c = Capture("0\nSPLINE\n" + groups + "0\nEOF\n");
    ASSERT_EQ(c.spline.ctrlpoints.size(), 3u);
    EXPECT_EQ(c.spline.ctrlpoints[0].weight, 1.0);
    EXPECT_EQ(c.spline.ctrlpoints[1].weight, 0.5);
    EXPECT_EQ(c.spline.ctrlpoints[2].weight, 2.0);
  }
  // Not one weight per point: each "41" weights the point read before it.
  const Captured partial = Capture("0\nSPLINE\n10\n0\n10\n1\n41\n3\n10\n2\n0\nEOF\n");
  EXPECT_EQ(partial.spline.ctrlpoints[0].weight, 1.0);
  EXPECT_EQ(partial.spline.ctrlpoints[1].weight, 3.0);
  EXPECT_EQ(partial.spline.ctrlpoints[2].weight, 1.0);
}

TEST(CaptureSpline, OwnerIsTheFirst330OutsideReactorGroups) {
  const Captured withReactors = Capture(
      "0\nSPLINE\n5\n2A\n102\n{ACAD_REACTORS\n330\n99\n102\n}\n330\n1F0\n330\n77\n0\nEOF\n");
  EXPECT_EQ(withReactors.spline.owner, "1F0");
  const Captured none = Capture("0\nSPLINE\n5\n2A\n0\nEOF\n");
  EXPECT_FALSE(none.spline.owner.has_value());
}

TEST(CaptureSpline, EndsAtTheEndOfTheInput) {
  const Captured c = Capture("0\nSPLINE\n8\nA\n10\n1\n");
  EXPECT_EQ(c.endCode, "10");
  EXPECT_EQ(c.endValue, "1");
  EXPECT_EQ(c.spline.ctrlpoints.size(), 1u);
  // An input that ends right after the start pair captures an empty pair.
  const Captured empty = Capture("0\nSPLINE\n");
  EXPECT_EQ(empty.endCode, "");
  EXPECT_EQ(empty.endValue, "");
  EXPECT_EQ(empty.copy, "0\r\nSPLINE\r\n\r\n\r\n");
}

TEST(CaptureSpline, ResetsBetweenSplinesAndGrowsItsLists) {
  std::string many = "0\nSPLINE\n71\n5\n8\nL\n";
  for (int i = 0; i < 2500; ++i) many += "40\n" + std::to_string(i) + "\n";
  many += "0\nSPLINE\n0\nEOF\n";
  MemorySource source(many);
  PairReader reader(source);
  SplineEntity spline;
  GroupPair pair = reader.ReadPair();
  pair = CaptureSpline(reader, nullptr, pair, spline);
  ASSERT_EQ(spline.knots.size(), 2500u);
  EXPECT_EQ(spline.knots[2499], 2499.0);
  EXPECT_GE(spline.knots.capacity(), 2500u);
  ASSERT_TRUE(IsSplineStart(pair));  // two splines in a row
  CaptureSpline(reader, nullptr, pair, spline);
  EXPECT_EQ(spline.degree, 3);
  EXPECT_EQ(spline.layer, "0");
  EXPECT_TRUE(spline.knots.empty());
}

}  // namespace
}  // namespace tessarin
