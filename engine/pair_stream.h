// SPDX-License-Identifier: MIT
// The DXF file as a flat sequence of group pairs: line reading with the text
// rules of the format, and line writing with CR LF ends.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "byte_stream.h"

namespace tessarin {

// Removes bytes up to and including 0x20 (blanks and control characters)
// from both ends; DXF codes and values are compared in this form.
constexpr std::string_view TrimDxf(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

// One group pair, the code line and the value line as read. The views stay
// valid until the reader reads the next pair.
struct GroupPair {
  std::string_view code;
  std::string_view value;
};

// A pair whose trimmed code is "0" and whose trimmed value is "SPLINE".
inline bool IsSplineStart(const GroupPair& pair) {
  return TrimDxf(pair.code) == "0" && TrimDxf(pair.value) == "SPLINE";
}

// Reads lines: a line ends at LF (a CR before it belongs to the end), any
// other CR is dropped, the byte 0x1A ends the input, the last line needs no
// end, and lines have no length limit.
class PairReader {
 public:
  // Readable bytes after every line a view points into; PairWriter's
  // WriteLinePadded relies on them.
  static constexpr size_t kPadding = 64;

  explicit PairReader(ByteSource& source);

  // True when no byte is left to read. Never moves the bytes of the pair
  // read last, so its views stay valid.
  bool AtEnd();
  // The next pair (ReadPair): each line is read if the input is not at its
  // end, else it is empty. `afterCode` runs between the two lines, where the
  // run sets its progress.
  GroupPair ReadPair() {
    return ReadPair([] {});
  }
  template <typename AfterCode>
  GroupPair ReadPair(AfterCode afterCode) {
    pairStart_ = next_;
    const Line code = ReadLine();
    afterCode();
    const Line value = ReadLine();
    // Views only now: reading the value may have moved the buffer.
    return {View(code), View(value)};
  }

  // Bytes of the input consumed so far, line ends included.
  uint64_t Consumed() const { return consumed_; }

  // Bulk access for hot loops: the unread bytes in the buffer, starting at a
  // pair, followed by kPadding readable bytes. Consume(n) takes n of them;
  // n must end a pair.
  std::string_view Buffered() const { return {buffer_.data() + next_, end_ - next_}; }
  void Consume(size_t n) {
    next_ += n;
    consumed_ += n;
    pairStart_ = next_;
  }
  // True when the source reported a read error.
  bool Failed() const { return source_.Failed(); }

 private:
  // A line as offset from the start of the current pair and length.
  struct Line {
    size_t offset = 0;
    size_t size = 0;
  };

  // Most lines end inside the buffer and hold no CR but the one before
  // their LF: those are found here without a call.
  Line ReadLine() {
    const char* p = buffer_.data() + next_;
    const size_t n = end_ - next_;
    size_t crs = 0;
    const size_t lf = FindLineFeed(p, n, crs);
    if (lf == n) return ReadLineSlow();
    size_t size = lf;
    if (crs > 0) {
      if (crs > 1 || p[lf - 1] != '\r') return ReadLineSlow();
      --size;
    }
    const Line line{next_ - pairStart_, size};
    next_ += lf + 1;
    consumed_ += lf + 1;
    return line;
  }

  // 0, 1, or 2 for two or more set bits (no popcount instruction needed).
  static size_t CountUpToTwo(unsigned bits) {
    return static_cast<size_t>(bits != 0) + static_cast<size_t>((bits & (bits - 1)) != 0);
  }

  // Offset of the first LF among the `n` bytes at `p`, or `n`; `crs` counts
  // the CRs before it, as far as 0, 1 or more matters. Reads up to 15 bytes
  // beyond `n` (the padding).
  static size_t FindLineFeed(const char* p, size_t n, size_t& crs) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (size_t i = 0; i < n; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
      unsigned crBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
      if (n - i < 16) {
        const unsigned valid = (1u << (n - i)) - 1;
        lfs &= valid;
        crBits &= valid;
      }
      if (lfs != 0) {
        const unsigned at = static_cast<unsigned>(__builtin_ctz(lfs));
        crs += CountUpToTwo(crBits & ((1u << at) - 1));
        return i + at;
      }
      crs += CountUpToTwo(crBits);
    }
    return n;
#else
    const void* found = std::memchr(p, '\n', n);
    const size_t at = found ? static_cast<size_t>(static_cast<const char*>(found) - p) : n;
    for (size_t i = 0; i < at; ++i) crs += p[i] == '\r';
    return at;
#endif
  }

  Line ReadLineSlow();
  std::string_view View(Line line) const {
    return {buffer_.data() + pairStart_ + line.offset, line.size};
  }
  // Makes at least one more byte available after `end_`; false at the end.
  // May move the bytes of the current pair.
  bool Fill();
  // Reads the next block from the source into `to`, cut at 0x1A.
  size_t ReadBlock(char* to, size_t size);
  // Usable bytes of buffer_ (the padding follows them).
  size_t Room() const { return buffer_.size() - kPadding; }

  ByteSource& source_;
  size_t block_;  // bytes fetched at a time
  std::vector<char> buffer_;
  size_t pairStart_ = 0;         // first byte of the current pair; kept on refills
  size_t next_ = 0;              // next unread byte
  size_t end_ = 0;               // end of valid bytes
  std::vector<char> lookahead_;  // a block AtEnd had to fetch, not yet in buffer_
  size_t lookaheadSize_ = 0;
  uint64_t consumed_ = 0;
  bool exhausted_ = false;
};

// Buffered output of lines, each ended by CR LF. Errors are kept: after the
// first failure nothing more is written and Failed() says so.
class PairWriter {
 public:
  explicit PairWriter(ByteSink& sink);
  ~PairWriter();
  PairWriter(const PairWriter&) = delete;
  PairWriter& operator=(const PairWriter&) = delete;

  void WriteLine(std::string_view line) {
    if (used_ + line.size() + 2 > kFlushAt) {
      WriteLong(line);
      return;
    }
    std::memcpy(buffer_.get() + used_, line.data(), line.size());
    Terminate(line.size());
  }
  // As WriteLine, for a line with PairReader::kPadding readable bytes after
  // it: short lines are copied in one 16-byte move.
  void WriteLinePadded(std::string_view line) {
    if (line.size() > 16 || used_ + 18 > kFlushAt) {
      WriteLine(line);
      return;
    }
    std::memcpy(buffer_.get() + used_, line.data(), 16);
    Terminate(line.size());
  }
  void WritePair(const GroupPair& pair) {
    WriteLine(pair.code);
    WriteLine(pair.value);
  }
  // A pair as PairReader handed it out.
  void WritePairPadded(const GroupPair& pair) {
    WriteLinePadded(pair.code);
    WriteLinePadded(pair.value);
  }
  // Appends bytes that already hold their line ends.
  void WriteRaw(std::string_view bytes);
  // Appends whole lines as read: each ends in LF, maybe after a CR, and no
  // other CR occurs (what WalkPairs visited). Every line gets a CR LF end.
  void WriteLines(std::string_view lines);
  // Writes out what is buffered; false after any failure.
  bool Flush();
  bool Failed() const { return failed_; }

 private:
  static constexpr size_t kFlushAt = 1 << 20;
  static constexpr size_t kSlack = 64;  // for whole 16-byte moves past the end
  void Terminate(size_t size) {
    buffer_[used_ + size] = '\r';
    buffer_[used_ + size + 1] = '\n';
    used_ += size + 2;
  }
  void WriteLong(std::string_view line);
  void WriteLinesOneByOne(std::string_view lines);

  ByteSink& sink_;
  std::unique_ptr<char[]> buffer_;  // kFlushAt bytes and kSlack; only written bytes are read
  size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace tessarin
