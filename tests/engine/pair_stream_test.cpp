// SPDX-License-Identifier: MIT
// The text rules of the pair stream, seen through whole pass-through runs.
#include "pair_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion_run.h"
#include "recording_host.h"
#include "test_streams.h"

namespace tessarin {
namespace {

using testing::ChunkedSource;
using testing::RecordingHost;

// Runs the whole conversion over `input` handed out `chunk` bytes at a time.
std::string PassThrough(std::string_view input, size_t chunk) {
  ChunkedSource scan(input, chunk);
  ChunkedSource copy(input, chunk);
  MemorySink out;
  RecordingHost host;
  const RunReport report = ConvertStreams(scan, copy, out, {}, host, host.cancel);
  EXPECT_EQ(report.outcome, RunOutcome::kCompleted);
  return out.bytes();
}

TEST(PairStream, LineRules) {
  struct Row {
    const char* name;
    std::string input;
    std::string output;
  };
  const std::string longLine(3'000'001, 'x');
  // Lines of every length from 0 to 150, so that line ends, CRs and pair
  // boundaries fall at every offset of the 64-byte blocks of the bulk path.
  std::string lf, crlf, mixed, expected;
  for (int length = 0; length <= 150; ++length) {
    const std::string line(static_cast<size_t>(length), static_cast<char>('a' + length % 26));
    lf += line + "\n";
    crlf += line + "\r\n";
    mixed += line + (length % 3 == 0 ? "\n" : "\r\n");
    expected += line + "\r\n";
  }
  expected += "\r\n";  // 151 lines: the last pair's value line is added
  const Row rows[] = {
      {"empty input", "", ""},
      {"LF ends a line", "0\nSECTION\n", "0\r\nSECTION\r\n"},
      {"CR LF ends a line", "0\r\nSECTION\r\n", "0\r\nSECTION\r\n"},
      {"lone CR is dropped", "0\nA\rB\n", "0\r\nAB\r\n"},
      {"CR CR LF", "0\nAB\r\r\n", "0\r\nAB\r\n"},
      {"last line needs no end", "0\nEOF", "0\r\nEOF\r\n"},
      {"odd line count adds an empty value", "0\nA\n5", "0\r\nA\r\n5\r\n\r\n"},
      {"lone CR after the last LF is one more line", "0\nA\n\r", "0\r\nA\r\n\r\n\r\n"},
      {"0x1A ends the input", std::string("0\nA\n\x1A") + "0\nB\n", "0\r\nA\r\n"},
      {"0x1A inside a line", std::string("0\nA\x1A") + "B\n", "0\r\nA\r\n"},
      {"blanks and bytes kept", "  0\n \xC4\xD6\xFC\x80 \n", "  0\r\n \xC4\xD6\xFC\x80 \r\n"},
      {"NUL bytes kept", std::string("0\n\0x\n", 5), std::string("0\r\n\0x\r\n", 7)},
      {"empty lines", "\n\n\n\n", "\r\n\r\n\r\n\r\n"},
      {"a line longer than any buffer", "999\n" + longLine + "\n", "999\r\n" + longLine + "\r\n"},
      {"LF lines at every offset", lf, expected},
      {"CR LF lines at every offset", crlf, expected},
      {"LF and CR LF lines mixed", mixed, expected},
      {"a lone CR among them", crlf.substr(0, 700) + "\r" + crlf.substr(700), expected},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (size_t chunk : {size_t{1}, size_t{3}, size_t{1} << 20}) {
      SCOPED_TRACE(chunk);
      EXPECT_EQ(PassThrough(row.input, chunk), row.output);
    }
  }
}

TEST(PairStream, ReadPairAtTheEndGivesEmptyLines) {
  MemorySource source("0\nA\n5");
  PairReader reader(source);
  GroupPair pair = reader.ReadPair();
  EXPECT_EQ(pair.code, "0");
  EXPECT_EQ(pair.value, "A");
  pair = reader.ReadPair();
  EXPECT_EQ(pair.code, "5");
  EXPECT_EQ(pair.value, "");
  EXPECT_TRUE(reader.AtEnd());
  pair = reader.ReadPair();
  EXPECT_EQ(pair.code, "");
  EXPECT_EQ(pair.value, "");
}

// The views of the pair read last survive an AtEnd() that has to fetch.
TEST(PairStream, AtEndKeepsThePairReadLast) {
  const std::string input = "10\n" + std::string(5000, '1') + "\n20\n2\n";
  ChunkedSource source(input, 5004);
  PairReader reader(source);
  const GroupPair pair = reader.ReadPair();
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(pair.code, "10");
  EXPECT_EQ(pair.value, std::string(5000, '1'));
}

TEST(PairStream, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(TrimDxf("  0"), "0");
  EXPECT_EQ(TrimDxf("\t SPLINE \x01"), "SPLINE");
  EXPECT_EQ(TrimDxf(" a b "), "a b");
  EXPECT_EQ(TrimDxf("   "), "");
  EXPECT_EQ(TrimDxf("\xA0x\xA0"), "\xA0x\xA0");  // bytes above 0x20 stay
}

TEST(PairStream, SplineStart) {
  EXPECT_TRUE(IsSplineStart({"  0", "SPLINE "}));
  EXPECT_FALSE(IsSplineStart({"0", "spline"}));
  EXPECT_FALSE(IsSplineStart({"00", "SPLINE"}));
  EXPECT_FALSE(IsSplineStart({"8", "SPLINE"}));
}

}  // namespace
}  // namespace tessarin
