// SPDX-License-Identifier: MIT
// The per-user store of the main window's state: named text values under
// Software/<program file name without extension>/TMainForm.
#pragma once

#include <QLatin1String>
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace tessarin {

// The value names; each is written as a text.
namespace state_names {
inline constexpr QLatin1String kFormVersion{"FormVersion"};
inline constexpr QLatin1String kFlags{"Flags"};
inline constexpr QLatin1String kShowCmd{"ShowCmd"};
inline constexpr QLatin1String kPixelsPerInch{"PixelsPerInch"};
inline constexpr QLatin1String kMinMaxPos{"MinMaxPos"};  // also with "(WxH)" of the screen
inline constexpr QLatin1String kNormPos{"NormPos"};      // likewise
inline constexpr QLatin1String kVisible{"Visible"};
inline constexpr QLatin1String kOpenCheck{"OpenCheck_Checked"};
inline constexpr QLatin1String kLeaveSplineCheck{"LeaveSplineCheck_Checked"};
inline constexpr QLatin1String kAbwEd{"AbwEd_Text"};
inline constexpr QLatin1String kAbwEinhED{"AbwEinhED_Text"};
inline constexpr QLatin1String kTestEd{"TestEd_Text"};
inline constexpr QLatin1String kSplineTestEd{"SplineTestEd_Text"};
}  // namespace state_names

// The text without blanks and control characters (up to U+0020) at either
// end.
QString TrimBlanksAndControls(const QString& text);

// Reads a decimal integer as the store holds it (blanks around it allowed).
std::optional<int> ParseStoredInteger(const QString& text);

// Named text values, as the window-state store holds them.
class StoredValues {
 public:
  virtual ~StoredValues() = default;

  // The value, or nothing when it is missing.
  virtual std::optional<QString> Text(const QString& name) const = 0;
  virtual void SetText(const QString& name, const QString& value) = 0;

  std::optional<QString> Text(QLatin1String name) const { return Text(QString(name)); }
  void SetText(QLatin1String name, const QString& value) { SetText(QString(name), value); }
  // The value as an integer; `fallback` when it is missing or no number.
  int Integer(QLatin1String name, int fallback) const;
};

class WindowStateStore final : public StoredValues {
 public:
  // The key of the program started as `programName`: on Windows the registry
  // key HKEY_CURRENT_USER\Software\<programName>\TMainForm; elsewhere the
  // section [TMainForm] of Software/<programName>.ini in the user's
  // configuration folder (XDG_CONFIG_HOME).
  explicit WindowStateStore(const QString& programName);
  ~WindowStateStore() override;
  WindowStateStore(const WindowStateStore&) = delete;
  WindowStateStore& operator=(const WindowStateStore&) = delete;

  using StoredValues::SetText;
  using StoredValues::Text;
  std::optional<QString> Text(const QString& name) const override;
  void SetText(const QString& name, const QString& value) override;

  // Writes what was set; false when the store could not be written.
  bool Sync();

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace tessarin
