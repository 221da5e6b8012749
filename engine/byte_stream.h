// SPDX-License-Identifier: MIT
// Where the pair stream gets its bytes from and puts them to: files, or memory
// for tests and fuzzing. Errors are kept, never thrown.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tessarin {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes into `buffer`; 0 at the end or after an error.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // True once a read has failed (not at a normal end).
  virtual bool Failed() const = 0;
  // Size of the whole input in bytes, 0 where it is not known.
  virtual uint64_t Size() const = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `bytes`; returns false when that failed.
  virtual bool Write(std::string_view bytes) = 0;
  // Makes the written bytes durable as far as the platform lets us see
  // errors (a full disk shows itself on close at the latest).
  virtual bool Close() = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  size_t Read(char* buffer, size_t size) override;
  bool Failed() const override { return false; }
  uint64_t Size() const override { return bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t offset_ = 0;
};

class MemorySink final : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    bytes_.append(bytes);
    return true;
  }
  bool Close() override { return true; }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// A file opened by name; UTF-8 names on every platform.
class FileSource final : public ByteSource {
 public:
  FileSource() = default;
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  // Opens a readable file that is not a directory; false when that failed.
  bool Open(const std::string& name);
  void CloseFile();
  size_t Read(char* buffer, size_t size) override;
  bool Failed() const override { return failed_; }
  uint64_t Size() const override { return size_; }

 private:
  std::FILE* file_ = nullptr;
  uint64_t size_ = 0;
  bool failed_ = false;
};

class FileSink final : public ByteSink {
 public:
  FileSink() = default;
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  // Creates the file or empties an existing one; false when that failed.
  bool Create(const std::string& name);
  bool Write(std::string_view bytes) override;
  bool Close() override;

 private:
  std::FILE* file_ = nullptr;
};

// True when both names lead to the same existing file (through links too).
bool SameFile(const std::string& first, const std::string& second);

}  // namespace tessarin
