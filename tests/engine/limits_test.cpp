// SPDX-License-Identifier: MIT
// The run at the edges of what it accepts: an input of 2 GB streamed through
// in flat memory, and the heaviest spline geometry finishing within its
// memory. Each runs in this executable of its own, so the peak memory of the
// process is the run's.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "conversion_run.h"
#include "recording_host.h"

namespace tessarin {
namespace {

constexpr uint64_t kMegabyte = 1024 * 1024;
// Flat memory: the run's buffers, not the input, whatever its size.
constexpr uint64_t kMemoryBound = 64 * kMegabyte;

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

uint64_t PeakMemory() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<uint64_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

// A spline-free drawing of at least `size` bytes, made as it is read: a
// header, LINE entities that differ in their handle only, and the end. With
// `lineEnd` "\r\n" it is what the run writes for the one with "\n" and the
// same `size`.
class DrawingGenerator {
 public:
  DrawingGenerator(uint64_t size, std::string_view lineEnd) {
    const auto lines = [](std::initializer_list<const char*> items, std::string_view end) {
      std::string text;
      for (const char* item : items) (text += item) += end;
      return text;
    };
    const auto header = {"  0", "SECTION", "  2", "HEADER",  "  9", "$HANDSEED", "  5", "FFFFFFFF",
                         "  0", "ENDSEC",  "  0", "SECTION", "  2", "ENTITIES"};
    const auto entity = {"  0", "LINE",   "  5", "00000100", "330", "1F",    "100", "AcDbEntity",
                         "  8", "Kontur", "100", "AcDbLine", " 10", "12.25", " 20", "7.5",
                         " 30", "0.0",    " 11", "88.75",    " 21", "3.125", " 31", "0.0"};
    const auto trailer = {"  0", "ENDSEC", "  0", "EOF"};
    // The number of entities follows from the size with "\n" line ends.
    const uint64_t fixed = lines(header, "\n").size() + lines(trailer, "\n").size();
    const uint64_t each = lines(entity, "\n").size();
    entities_ = (std::max(size, fixed) - fixed + each - 1) / each;
    header_ = lines(header, lineEnd);
    entity_ = lines(entity, lineEnd);
    trailer_ = lines(trailer, lineEnd);
    handle_ = entity_.find("00000100");
    size_ = header_.size() + trailer_.size() + entities_ * entity_.size();
  }

  uint64_t size() const { return size_; }

  // The next up to `size` bytes.
  size_t Next(char* buffer, size_t size) {
    size_t n = 0;
    while (n < size) {
      const std::string* piece = Current();
      if (piece == nullptr) break;
      const size_t take = std::min(size - n, piece->size() - offset_);
      std::memcpy(buffer + n, piece->data() + offset_, take);
      n += take;
      offset_ += take;
      if (offset_ == piece->size()) Advance();
    }
    return n;
  }

 private:
  const std::string* Current() const {
    if (stage_ == 0) return &header_;
    if (stage_ == 1) return &entity_;
    if (stage_ == 2) return &trailer_;
    return nullptr;
  }
  void Advance() {
    offset_ = 0;
    if (stage_ == 1 && ++written_ < entities_) {
      // The next handle, in hexadecimal, in place.
      for (size_t i = handle_ + 7;; --i) {
        char& digit = entity_[i];
        digit = digit == '9' ? 'A' : digit == 'F' ? '0' : static_cast<char>(digit + 1);
        if (digit != '0' || i == handle_) break;
      }
      return;
    }
    ++stage_;
  }

  std::string header_, entity_, trailer_;
  size_t handle_ = 0;
  uint64_t entities_ = 0, written_ = 0, size_ = 0;
  int stage_ = 0;
  size_t offset_ = 0;
};

class GeneratedSource final : public ByteSource {
 public:
  explicit GeneratedSource(uint64_t size) : generator_(size, "\n") {}
  size_t Read(char* buffer, size_t size) override { return generator_.Next(buffer, size); }
  bool Failed() const override { return false; }
  uint64_t Size() const override { return generator_.size(); }

 private:
  DrawingGenerator generator_;
};

// Compares what the run writes with the expected bytes as they come, and
// keeps nothing.
class CheckingSink final : public ByteSink {
 public:
  explicit CheckingSink(uint64_t size) : expected_(size, "\r\n") {}
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const size_t n = std::min(bytes.size(), sizeof scratch_);
      const size_t got = expected_.Next(scratch_, n);
      if (!mismatch_ && (got != n || std::memcmp(scratch_, bytes.data(), n) != 0)) {
        mismatch_ = true;
        firstMismatchNear_ = written_;
      }
      written_ += n;
      bytes.remove_prefix(n);
    }
    return true;
  }
  bool Close() override {
    // Nothing may be missing at the end either.
    if (expected_.Next(scratch_, 1) != 0 && !mismatch_) {
      mismatch_ = true;
      firstMismatchNear_ = written_;
    }
    return true;
  }
  uint64_t written() const { return written_; }
  bool mismatch() const { return mismatch_; }
  uint64_t firstMismatchNear() const { return firstMismatchNear_; }

 private:
  DrawingGenerator expected_;
  char scratch_[1 << 16];
  uint64_t written_ = 0;
  bool mismatch_ = false;
  uint64_t firstMismatchNear_ = 0;
};

TEST(GeneratorTest, MakesTheDrawingItPromises) {
  DrawingGenerator generator(1000, "\n");
  std::string text(generator.size() + 10, '\0');
  text.resize(generator.Next(text.data(), text.size()));
  EXPECT_EQ(text.size(), generator.size());
  EXPECT_GE(text.size(), 1000u);
  EXPECT_EQ(text.rfind("  0\nSECTION\n  2\nHEADER\n", 0), 0u);
  EXPECT_NE(text.find("\n  5\n00000100\n"), std::string::npos);
  EXPECT_NE(text.find("\n  5\n00000101\n"), std::string::npos);
  EXPECT_TRUE(EndsWith(text, "\n  0\nENDSEC\n  0\nEOF\n"));
  // With CR LF ends: the same lines, each one byte longer.
  const DrawingGenerator crlf(1000, "\r\n");
  EXPECT_EQ(crlf.size(),
            text.size() + static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n')));
}

// 2 GB without a spline: every byte comes back (with CR LF line ends), the
// progress bar reaches 100, and the memory stays flat.
TEST(LimitsTest, TwoGigabytesStreamThroughInFlatMemory) {
  const uint64_t size = 2048 * kMegabyte;
  GeneratedSource scan(size), copy(size);
  CheckingSink sink(size);
  testing::RecordingHost host;
  const auto start = std::chrono::steady_clock::now();
  const RunReport report = ConvertStreams(scan, copy, sink, {}, host, host.cancel);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  const uint64_t peak = PeakMemory();
  std::printf("2 GB streamed: %.1f s, peak memory %.1f MB\n", seconds.count(),
              static_cast<double>(peak) / kMegabyte);

  EXPECT_EQ(report.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(report.splines, 0);
  EXPECT_FALSE(sink.mismatch()) << "output differs from the input near byte "
                                << sink.firstMismatchNear();
  // Each of the input's lines gains a CR.
  EXPECT_GT(sink.written(), copy.Size());
  ASSERT_GE(host.progress.size(), 2u);
  EXPECT_EQ(host.progress.end()[-2], 100);
  EXPECT_LT(peak, kMemoryBound);
}

// The heaviest spline the run takes: degree 20, 5000 control points and
// 100000 knots. The knot list does not fit the control points (it would
// need 5021), so the curve gets the uniform knot vector, as with any such
// list; all 100000 are read and kept all the same.
TEST(LimitsTest, HeaviestSplineFinishesWithinItsMemory) {
  std::string dxf =
      "  0\nSECTION\n  2\nENTITIES\n  0\nSPLINE\n  5\n2A\n  8\n0\n 70\n8\n 71\n20\n"
      " 72\n100000\n 73\n5000\n";
  for (int i = 0; i < 100000; ++i) dxf += " 40\n" + std::to_string(i / 20) + "\n";
  for (int i = 0; i < 5000; ++i) {
    char point[96];
    std::snprintf(point, sizeof point, " 10\n%d.0\n 20\n%.6f\n 30\n0.0\n", i,
                  50.0 * std::sin(i * 0.05));
    dxf += point;
  }
  dxf += "  0\nENDSEC\n  0\nEOF\n";
  MemorySource scan(dxf), copy(dxf);
  MemorySink out;
  testing::RecordingHost host;
  EngineOptions options;
  options.seed = 1;
  const auto start = std::chrono::steady_clock::now();
  const RunReport report = ConvertStreams(scan, copy, out, {}, host, host.cancel, options);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  const uint64_t peak = PeakMemory();
  std::printf(
      "degree 20, 5000 control points, 100000 knots: %.1f s, %lld arcs, peak memory %.1f MB\n",
      seconds.count(), static_cast<long long>(report.arcs), static_cast<double>(peak) / kMegabyte);

  EXPECT_EQ(report.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(report.splines, 1);
  EXPECT_GT(report.arcs, 0);
  const std::string& text = out.bytes();
  const size_t polyline = text.find("0\r\nLWPOLYLINE\r\n");
  ASSERT_NE(polyline, std::string::npos);
  EXPECT_NE(text.find("\r\n90\r\n" + std::to_string(2 * report.arcs) + "\r\n", polyline),
            std::string::npos);
  EXPECT_EQ(text.find("SPLINE"), std::string::npos);
  EXPECT_TRUE(EndsWith(text, "\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n"));
#if !defined(TESSARIN_SANITIZED_BUILD)
  // (Under the sanitizers their shadow memory and quarantine count too.)
  EXPECT_LT(peak, kMemoryBound);
#endif
}

}  // namespace
}  // namespace tessarin
