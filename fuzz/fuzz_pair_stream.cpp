// SPDX-License-Identifier: MIT
// The pair stream and spline capture on arbitrary bytes: every pair the
// reader gives, in bulk or one by one, is the pair a plain reading of the
// line rules gives, and capture never reads outside its lists.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pair_stream.h"
#include "pair_walk.h"
#include "spline_entity.h"
#include "test_streams.h"

namespace {

struct Pair {
  std::string code, value;
  size_t codeNext = 0;  // offset after the code line
  size_t next = 0;      // offset after the pair
};

// The line rules written as plainly as possible.
std::vector<Pair> ReferencePairs(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::vector<std::string> lines;
  std::vector<size_t> ends;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size() - 1;
    std::string line;
    for (size_t i = start; i <= end && i < bytes.size(); ++i) {
      if (bytes[i] != '\r' && bytes[i] != '\n') line += bytes[i];
    }
    lines.push_back(line);
    ends.push_back(end + 1);
    start = end + 1;
  }
  if (lines.size() % 2 == 1) {
    lines.emplace_back();
    ends.push_back(ends.back());
  }
  std::vector<Pair> pairs;
  for (size_t i = 0; i < lines.size(); i += 2)
    pairs.push_back({lines[i], lines[i + 1], ends[i], ends[i + 1]});
  return pairs;
}

[[noreturn]] void Fail() { std::abort(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks how many bytes each read delivers, so that lines
  // and pairs straddle the reader's refills.
  const size_t chunk = 1 + data[0] % 97;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::vector<Pair> expected = ReferencePairs(bytes);
  std::set<size_t> codeEnds;
  for (const Pair& pair : expected) codeEnds.insert(pair.codeNext);

  // Alternate between the bulk walk and ReadPair, as the run does.
  tessarin::testing::ChunkedSource source(bytes, chunk);
  tessarin::PairReader reader(source);
  size_t index = 0;  // next expected pair
  bool bulk = size % 2 == 0;
  tessarin::MemorySink sink;
  std::string written;  // what the writer must have written
  tessarin::PairWriter writer(sink);
  while (!reader.AtEnd()) {
    if (bulk) {
      const uint64_t base = reader.Consumed();
      size_t watched = index;
      uint64_t lastCode = 0;
      const auto result = tessarin::WalkPairs(
          reader.Buffered(), "059",
          [&](std::string_view code, std::string_view value, size_t start, size_t next) {
            // The next pair whose trimmed code is one watched character.
            while (watched < expected.size() &&
                   !(tessarin::TrimDxf(expected[watched].code).size() == 1 &&
                     std::string_view("059").find(tessarin::TrimDxf(expected[watched].code)[0]) !=
                         std::string_view::npos)) {
              ++watched;
            }
            if (watched >= expected.size() || expected[watched].code != code ||
                expected[watched].value != value || expected[watched].next != base + next ||
                (watched > 0 ? expected[watched - 1].next : 0) != base + start) {
              Fail();
            }
            ++watched;
            return (next % 3) != 0;  // stop now and then
          },
          [&](size_t first, size_t last) {
            if (!codeEnds.count(base + first) || !codeEnds.count(base + last) || first > last ||
                base + first <= lastCode) {
              Fail();
            }
            lastCode = base + last;
          });
      // The walk ends at a pair boundary, and the writer turns the pairs
      // passed into their lines with CR LF ends.
      if (result.bytes > 0) {
        std::string lines;
        while (index < expected.size() && expected[index].next <= base + result.bytes) {
          lines += expected[index].code + "\r\n" + expected[index].value + "\r\n";
          ++index;
        }
        if (expected[index - 1].next != base + result.bytes) Fail();
        writer.WriteLines(reader.Buffered().substr(0, result.bytes));
        written += lines;
        reader.Consume(result.bytes);
      }
    } else {
      const tessarin::GroupPair pair = reader.ReadPair();
      if (index >= expected.size() || expected[index].code != pair.code ||
          expected[index].value != pair.value) {
        Fail();
      }
      ++index;
    }
    bulk = !bulk;
  }
  if (index != expected.size()) Fail();
  writer.Flush();
  if (sink.bytes() != written) Fail();

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
        Fail();
      }
      if (captureReader.AtEnd()) break;
    }
  }
  return 0;
}
