// SPDX-License-Identifier: MIT
// The pair stream and spline capture on arbitrary bytes: every pair the
// reader gives, bulk or one by one, is the pair a plain reading of the line
// rules gives, and capture never reads outside its lists.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "pair_stream.h"
#include "spline_entity.h"
#include "test_streams.h"

namespace {

// The line rules written as plainly as possible.
std::vector<std::string> ReferenceLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line;
    for (size_t i = start; i < end; ++i) {
      if (bytes[i] != '\r') line += bytes[i];
    }
    lines.push_back(line);
    start = end + 1;
  }
  if (lines.size() % 2 == 1) lines.emplace_back();
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks how many bytes each read delivers, so that lines
  // and pairs straddle the reader's refills.
  const size_t chunk = 1 + data[0] % 97;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::vector<std::string> expected = ReferenceLines(bytes);

  // Alternate between the bulk walk and ReadPair, as the run does.
  tessarin::testing::ChunkedSource source(bytes, chunk);
  tessarin::PairReader reader(source);
  size_t index = 0;
  const auto check = [&](std::string_view code, std::string_view value) {
    if (index + 1 >= expected.size() + 1 || expected[index] != code || expected[index + 1] != value) {
      std::abort();
    }
    index += 2;
  };
  bool bulk = size % 2 == 0;
  while (!reader.AtEnd()) {
    if (bulk) {
      const size_t n = tessarin::WalkPairs(reader.Buffered(), [&](auto code, auto value, size_t, size_t) {
        check(code, value);
        return true;
      });
      reader.Consume(n);
    } else {
      const tessarin::GroupPair pair = reader.ReadPair();
      check(pair.code, pair.value);
    }
    bulk = !bulk;
  }
  if (index != expected.size()) std::abort();

  // Capture from every spline start, as a copy pass would.
  tessarin::testing::ChunkedSource again(bytes, chunk);
  tessarin::PairReader captureReader(again);
  tessarin::SplineEntity spline;
  while (!captureReader.AtEnd()) {
    tessarin::GroupPair pair = captureReader.ReadPair();
    while (tessarin::IsSplineStart(pair)) {
      pair = tessarin::CaptureSpline(captureReader, nullptr, pair, spline);
      if (!spline.weights.empty() && spline.weights.size() == spline.ctrlpoints.size() &&
          spline.ctrlpoints.back().weight != spline.weights.back()) {
        std::abort();
      }
      if (captureReader.AtEnd()) break;
    }
  }
  return 0;
}
