// SPDX-License-Identifier: MIT
// The window-state store over QSettings.
#include "window_state.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace tessarin {

QString TrimBlanksAndControls(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin].unicode() <= 0x20) ++begin;
  while (end > begin && text[end - 1].unicode() <= 0x20) --end;
  return text.mid(begin, end - begin);
}

std::optional<int> ParseStoredInteger(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

WindowStateStore::WindowStateStore(const QString& programName) {
#ifdef Q_OS_WIN
  settings_ = std::make_unique<QSettings>(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\") + programName + QStringLiteral("\\TMainForm"),
      QSettings::NativeFormat);
#else
  // The path is worked out here rather than by QSettings, which reads the
  // configuration folder only once per process.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  settings_ = std::make_unique<QSettings>(
      folder + QStringLiteral("/Software/") + programName + QStringLiteral(".ini"),
      QSettings::IniFormat);
  settings_->beginGroup(QStringLiteral("TMainForm"));
#endif
}

WindowStateStore::~WindowStateStore() = default;

std::optional<QString> WindowStateStore::Text(const QString& name) const {
  const QVariant value = settings_->value(name);
  if (!value.isValid()) return std::nullopt;
  // An INI value with unquoted commas comes back as a list.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

int StoredValues::Integer(QLatin1String name, int fallback) const {
  const std::optional<QString> text = Text(name);
  if (!text) return fallback;
  return ParseStoredInteger(*text).value_or(fallback);
}

void WindowStateStore::SetText(const QString& name, const QString& value) {
  settings_->setValue(name, value);
}

bool WindowStateStore::Sync() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace tessarin
