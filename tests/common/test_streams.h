// SPDX-License-Identifier: MIT
// Byte sources and sinks that misbehave on purpose: small chunks, read and
// write failures.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "byte_stream.h"

namespace tessarin::testing {

// Hands out its bytes `chunk` at a time, to cross every buffer boundary.
class ChunkedSource final : public ByteSource {
 public:
  ChunkedSource(std::string_view bytes, size_t chunk) : bytes_(bytes), chunk_(chunk) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t n = std::min({size, chunk_, bytes_.size() - offset_});
    std::memcpy(buffer, bytes_.data() + offset_, n);
    offset_ += n;
    return n;
  }
  bool Failed() const override { return false; }
  uint64_t Size() const override { return bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t chunk_;
  size_t offset_ = 0;
};

// Delivers `good` bytes, then fails.
class FailingSource final : public ByteSource {
 public:
  FailingSource(std::string_view bytes, size_t good) : bytes_(bytes), good_(good) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t n = std::min(size, good_ - std::min(good_, offset_));
    if (n == 0) {
      failed_ = true;
      return 0;
    }
    std::memcpy(buffer, bytes_.data() + offset_, n);
    offset_ += n;
    return n;
  }
  bool Failed() const override { return failed_; }
  uint64_t Size() const override { return bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t good_;
  size_t offset_ = 0;
  bool failed_ = false;
};

// Takes `room` bytes, then reports every write as failed (a full disk).
class FullSink final : public ByteSink {
 public:
  explicit FullSink(size_t room) : room_(room) {}
  bool Write(std::string_view bytes) override {
    if (bytes.size() > room_) {
      room_ = 0;
      return false;
    }
    room_ -= bytes.size();
    return true;
  }
  bool Close() override { return true; }

 private:
  size_t room_;
};

}  // namespace tessarin::testing
