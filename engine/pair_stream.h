// SPDX-License-Identifier: MIT
// The DXF file as a flat sequence of group pairs: line reading with the text
// rules of the format, and line writing with CR LF ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  explicit PairReader(ByteSource& source);

  // True when no byte is left to read. Never moves the bytes of the pair
  // read last, so its views stay valid.
  bool AtEnd();
  // The next pair (ReadPair): each line is read if the input is not at its
  // end, else it is empty. `afterCode` runs between the two lines, where the
  // run sets its progress.
  GroupPair ReadPair();
  template <typename AfterCode>
  GroupPair ReadPair(AfterCode afterCode) {
    BeginPair();
    const Line code = ReadLine();
    afterCode();
    const Line value = ReadLine();
    // Views only now: reading the value may have moved the buffer.
    return {View(code), View(value)};
  }

  // Bytes of the input consumed so far, line ends included.
  uint64_t Consumed() const { return consumed_; }
  // True when the source reported a read error.
  bool Failed() const { return source_.Failed(); }

 private:
  // A line as offset from the start of the current pair and length.
  struct Line {
    size_t offset = 0;
    size_t size = 0;
  };
  void BeginPair();
  Line ReadLine();
  std::string_view View(Line line) const { return {buffer_.data() + pairStart_ + line.offset, line.size}; }
  // Makes at least one more byte available after `end_`; false at the end.
  // May move the bytes of the current pair.
  bool Fill();
  // Reads the next block from the source into `to`, cut at 0x1A.
  size_t ReadBlock(char* to, size_t size);

  ByteSource& source_;
  std::vector<char> buffer_;
  size_t pairStart_ = 0;  // first byte of the current pair; kept on refills
  size_t next_ = 0;       // next unread byte
  size_t end_ = 0;        // end of valid bytes
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
    if (buffer_.size() + line.size() + 2 > kFlushAt) Flush();
    buffer_.append(line);
    buffer_.append("\r\n", 2);
  }
  void WritePair(const GroupPair& pair) {
    WriteLine(pair.code);
    WriteLine(pair.value);
  }
  // Appends bytes that already hold their line ends.
  void WriteRaw(std::string_view bytes);
  // Writes out what is buffered; false after any failure.
  bool Flush();
  bool Failed() const { return failed_; }

 private:
  static constexpr size_t kFlushAt = 1 << 20;
  ByteSink& sink_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace tessarin
