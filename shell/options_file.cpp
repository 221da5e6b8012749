// SPDX-License-Identifier: MIT
// Reading and writing "options.dat".
#include "options_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>

namespace tessarin {

namespace {

// The mode bits; WriteUser would tell what the current user may do.
constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

// Marked read-only: no write bit at all. Checked on the bits rather than by
// trying, because an administrator may write any file and the mark is meant
// for everybody, as the read-only attribute is on Windows.
bool MarkedReadOnly(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && (info.permissions() & kAnyWrite) == 0;
}

}  // namespace

std::optional<int> ReadLanguageCode(const QString& path) {
  if (MarkedReadOnly(path)) return std::nullopt;
  QFile file(path);
  // Opened for writing too, as the file was always opened: one that cannot
  // be written counts as missing.
  if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return std::nullopt;
  const QByteArray bytes = file.read(4);
  if (bytes.size() < 4) return std::nullopt;
  const auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])); };
  const auto code = static_cast<int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  // The code is used as a slot of the translation table: only the seven
  // languages' slots are taken.
  if (code < 0 || code >= kLanguageCount) return std::nullopt;
  return code;
}

bool WriteLanguageCode(const QString& path, int code) {
  if (MarkedReadOnly(path)) return false;
  const auto value = static_cast<uint32_t>(code);
  const std::array<char, 4> bytes{
      static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
      static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // The bytes are flushed and checked before the commit: on a full disk the
  // commit of Qt 6.4 renames the short temporary file into place all the
  // same, and the stored code would be lost.
  if (file.write(bytes.data(), bytes.size()) != static_cast<qint64>(bytes.size()) ||
      !file.flush() || file.error() != QFileDevice::NoError) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace tessarin
