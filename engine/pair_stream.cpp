// SPDX-License-Identifier: MIT
// Line splitting over a growing block buffer. The bytes of the current pair
// stay in place until the next pair starts, so both lines can be views.
#include "pair_stream.h"

#include <algorithm>
#include <cstring>

namespace tessarin {

namespace {
constexpr size_t kBlock = 1 << 20;
constexpr char kEndOfFile = 0x1A;
}  // namespace

PairReader::PairReader(ByteSource& source) : source_(source) { buffer_.resize(kBlock); }

bool PairReader::AtEnd() {
  if (next_ < end_ || lookaheadSize_ > 0) return false;
  // Fetch into a side block: moving buffer_ would break the last pair's views.
  if (lookahead_.empty()) lookahead_.resize(kBlock / 4);
  lookaheadSize_ = ReadBlock(lookahead_.data(), lookahead_.size());
  return lookaheadSize_ == 0;
}

GroupPair PairReader::ReadPair() {
  return ReadPair([] {});
}

void PairReader::BeginPair() { pairStart_ = next_; }

size_t PairReader::ReadBlock(char* to, size_t size) {
  if (exhausted_) return 0;
  const size_t n = source_.Read(to, size);
  if (n == 0) {
    exhausted_ = true;
    return 0;
  }
  const void* stop = std::memchr(to, kEndOfFile, n);
  if (stop == nullptr) return n;
  exhausted_ = true;
  return static_cast<size_t>(static_cast<const char*>(stop) - to);
}

bool PairReader::Fill() {
  // Keep the current pair, drop what lies before it.
  if (pairStart_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pairStart_, end_ - pairStart_);
    next_ -= pairStart_;
    end_ -= pairStart_;
    pairStart_ = 0;
  }
  if (lookaheadSize_ > 0) {
    if (buffer_.size() - end_ < lookaheadSize_) buffer_.resize(end_ + lookaheadSize_ + kBlock);
    std::memcpy(buffer_.data() + end_, lookahead_.data(), lookaheadSize_);
    end_ += lookaheadSize_;
    lookaheadSize_ = 0;
    return true;
  }
  if (buffer_.size() - end_ < kBlock / 2) buffer_.resize(std::max(buffer_.size() * 2, end_ + kBlock));
  const size_t n = ReadBlock(buffer_.data() + end_, buffer_.size() - end_);
  end_ += n;
  return n > 0;
}

PairReader::Line PairReader::ReadLine() {
  if (next_ == end_ && !Fill()) return {next_ - pairStart_, 0};
  size_t lineStart = next_;
  size_t scanFrom = next_;
  for (;;) {
    const void* lf = std::memchr(buffer_.data() + scanFrom, '\n', end_ - scanFrom);
    if (lf != nullptr) {
      const size_t at = static_cast<size_t>(static_cast<const char*>(lf) - buffer_.data());
      consumed_ += at + 1 - next_;
      next_ = at + 1;
      break;
    }
    // No line end in the buffer: fetch more, or take the rest as last line.
    const size_t offset = lineStart - pairStart_;
    const size_t scanned = end_ - lineStart;
    const bool more = Fill();
    lineStart = pairStart_ + offset;  // Fill may have moved the bytes
    scanFrom = lineStart + scanned;
    if (!more) {
      consumed_ += end_ - next_;
      next_ = end_;
      break;
    }
  }
  // The line runs from lineStart to the LF (or the end); drop every CR in it.
  size_t lineEnd = next_;
  if (lineEnd > lineStart && buffer_[lineEnd - 1] == '\n') --lineEnd;
  char* first = buffer_.data() + lineStart;
  char* last = buffer_.data() + lineEnd;
  if (std::memchr(first, '\r', static_cast<size_t>(last - first)) != nullptr) {
    last = std::remove(first, last, '\r');
  }
  return {lineStart - pairStart_, static_cast<size_t>(last - first)};
}

PairWriter::PairWriter(ByteSink& sink) : sink_(sink) { buffer_.reserve(kFlushAt + 4096); }

PairWriter::~PairWriter() { Flush(); }

void PairWriter::WriteRaw(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kFlushAt) Flush();
  if (bytes.size() > kFlushAt) {
    if (!failed_ && !sink_.Write(bytes)) failed_ = true;
    return;
  }
  buffer_.append(bytes);
}

bool PairWriter::Flush() {
  if (!buffer_.empty() && !failed_ && !sink_.Write(buffer_)) failed_ = true;
  buffer_.clear();
  return !failed_;
}

}  // namespace tessarin
