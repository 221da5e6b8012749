// SPDX-License-Identifier: MIT
// File and memory byte streams over C stdio, with UTF-8 names on Windows too.
#include "byte_stream.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tessarin {

namespace {

std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::FILE* OpenFile(const std::string& name, const char* mode) {
#ifdef _WIN32
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(PathOf(name).c_str(), wideMode.c_str());
#else
  return std::fopen(name.c_str(), mode);
#endif
}

}  // namespace

size_t MemorySource::Read(char* buffer, size_t size) {
  const size_t n = std::min(size, bytes_.size() - offset_);
  std::memcpy(buffer, bytes_.data() + offset_, n);
  offset_ += n;
  return n;
}

FileSource::~FileSource() { CloseFile(); }

bool FileSource::Open(const std::string& name) {
  CloseFile();
  std::error_code ec;
  const auto path = PathOf(name);
  if (std::filesystem::is_directory(path, ec)) return false;
  file_ = OpenFile(name, "rb");
  if (file_ == nullptr) return false;
  // Our own buffer does the batching.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  const auto size = std::filesystem::file_size(path, ec);
  size_ = ec ? 0 : size;
  failed_ = false;
  return true;
}

void FileSource::CloseFile() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

size_t FileSource::Read(char* buffer, size_t size) {
  if (file_ == nullptr || failed_) return 0;
  const size_t n = std::fread(buffer, 1, size, file_);
  if (n < size && std::ferror(file_)) failed_ = true;
  return n;
}

FileSink::~FileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileSink::Create(const std::string& name) {
  file_ = OpenFile(name, "wb");
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
  return file_ != nullptr;
}

bool FileSink::Write(std::string_view bytes) {
  if (file_ == nullptr) return false;
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool FileSink::Close() {
  if (file_ == nullptr) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

bool SameFile(const std::string& first, const std::string& second) {
  std::error_code ec;
  return std::filesystem::equivalent(PathOf(first), PathOf(second), ec) && !ec;
}

}  // namespace tessarin
