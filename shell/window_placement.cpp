// SPDX-License-Identifier: MIT
// Reading and writing the main window's placement, show state and fields
// under the value names of the window-state store.
#include "window_placement.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <limits>

#include "window_state.h"

namespace tessarin {

namespace {

namespace names = state_names;

QString PositionText(int a, int b, int c, int d) {
  return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

// Items 1 to 4 of a stored position, split at commas, each `defaults[i]`
// when missing or no number.
std::array<int, 4> PositionItems(const QString& text, const std::array<int, 4>& defaults) {
  std::array<int, 4> items = defaults;
  const QStringList parts = text.split(QLatin1Char(','));
  for (size_t i = 0; i < items.size(); ++i) {
    if (static_cast<qsizetype>(i) < parts.size()) {
      items[i] = ParseStoredInteger(parts[static_cast<qsizetype>(i)]).value_or(defaults[i]);
    }
  }
  return items;
}

QString ScreenSizeSuffix(const ScreenFacts& screen) {
  return QStringLiteral("(%1x%2)").arg(screen.size.width()).arg(screen.size.height());
}

// The position text stored under `name` for this screen's size, else under
// the plain name; nothing when both are missing or empty.
std::optional<QString> PositionValue(const StoredValues& store, QLatin1String name,
                                     const ScreenFacts& screen) {
  std::optional<QString> text = store.Text(QString(name) + ScreenSizeSuffix(screen));
  if (!text || text->isEmpty()) text = store.Text(name);
  if (!text || text->isEmpty()) return std::nullopt;
  return text;
}

std::optional<Placement> ReadPlacement(const StoredValues& store, const Placement& current,
                                       const ScreenFacts& screen) {
  const int flags = store.Integer(names::kFlags, current.flags);
  const std::optional<QString> minMaxText = PositionValue(store, names::kMinMaxPos, screen);
  const std::optional<QString> normText = PositionValue(store, names::kNormPos, screen);
  const QRect frame = current.frame;
  const std::array<int, 4> minMax = PositionItems(minMaxText.value_or(QString()), {0, 0, 0, 0});
  const std::array<int, 4> norm = PositionItems(
      normText.value_or(QString()),
      {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()});
  const int density = store.Integer(names::kPixelsPerInch, screen.pixelsPerInch);
  if (!(minMaxText || normText) || density != screen.pixelsPerInch) return std::nullopt;
  // Fixed border: only the position is taken, the size stays the window's.
  const int left = norm[0];
  const int top = norm[1];
  // In 64 bits: a stored position near the end of the int range would
  // overflow, and a window placed there could not store its rectangle.
  const int64_t right = int64_t{left} + frame.width();
  const int64_t bottom = int64_t{top} + frame.height();
  constexpr int64_t kLargest = std::numeric_limits<int>::max();
  if (!(left < right && right <= kLargest && bottom <= kLargest)) return std::nullopt;
  return Placement{flags, QPoint(minMax[0], minMax[1]), QPoint(minMax[2], minMax[3]),
                   QRect(QPoint(left, top), frame.size())};
}

void ReadText(const StoredValues& store, QLatin1String name, QString& field) {
  if (const std::optional<QString> text = store.Text(name)) field = TrimBlanksAndControls(*text);
}

void ReadSwitch(const StoredValues& store, QLatin1String name, bool& field) {
  const std::optional<QString> text = store.Text(name);
  if (!text) return;
  if (text->compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) {
    field = true;
  } else if (text->compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) {
    field = false;
  }
}

}  // namespace

ShowState ShowStateOf(int showCmd) {
  switch (showCmd) {
    case 2:
    case 6:
    case 7:
      return ShowState::kMinimized;
    case 3:
      return ShowState::kMaximized;
    default:
      return ShowState::kNormal;
  }
}

std::optional<RestoredState> ReadWindowState(const StoredValues& store, const Placement& current,
                                             const SettingFields& fields,
                                             const ScreenFacts& screen) {
  if (store.Integer(names::kFormVersion, 0) < 0) return std::nullopt;
  RestoredState state;
  state.placement = ReadPlacement(store, current, screen);
  state.show = ShowStateOf(store.Integer(names::kShowCmd, 0));
  state.fields = fields;
  ReadSwitch(store, names::kOpenCheck, state.fields.openresult);
  ReadSwitch(store, names::kLeaveSplineCheck, state.fields.keepsplines);
  ReadText(store, names::kAbwEd, state.fields.maxpercent);
  ReadText(store, names::kAbwEinhED, state.fields.maxunits);
  ReadText(store, names::kTestEd, state.fields.arctests);
  ReadText(store, names::kSplineTestEd, state.fields.splinetests);
  return state;
}

void WriteWindowState(StoredValues& store, const Placement& placement, ShowState show, bool visible,
                      const SettingFields& fields, const ScreenFacts& screen) {
  const QString minMax = PositionText(placement.minPosition.x(), placement.minPosition.y(),
                                      placement.maxPosition.x(), placement.maxPosition.y());
  const QRect& frame = placement.frame;
  const QString norm = PositionText(frame.left(), frame.top(), frame.left() + frame.width(),
                                    frame.top() + frame.height());
  const QString sized = ScreenSizeSuffix(screen);
  const int showCmd = show == ShowState::kMinimized ? 2 : show == ShowState::kMaximized ? 3 : 1;
  const auto number = [](int value) { return QString::number(value); };
  const auto truth = [](bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
  };

  store.SetText(names::kFormVersion, QStringLiteral("0"));
  store.SetText(names::kFlags, number(placement.flags));
  store.SetText(names::kShowCmd, number(showCmd));
  store.SetText(names::kPixelsPerInch, number(screen.pixelsPerInch));
  store.SetText(QString(names::kMinMaxPos) + sized, minMax);
  store.SetText(names::kMinMaxPos, minMax);
  store.SetText(QString(names::kNormPos) + sized, norm);
  store.SetText(names::kNormPos, norm);
  store.SetText(names::kVisible, visible ? QStringLiteral("1") : QStringLiteral("0"));
  store.SetText(names::kOpenCheck, truth(fields.openresult));
  store.SetText(names::kLeaveSplineCheck, truth(fields.keepsplines));
  store.SetText(names::kAbwEd, TrimBlanksAndControls(fields.maxpercent));
  store.SetText(names::kAbwEinhED, TrimBlanksAndControls(fields.maxunits));
  store.SetText(names::kTestEd, TrimBlanksAndControls(fields.arctests));
  store.SetText(names::kSplineTestEd, TrimBlanksAndControls(fields.splinetests));
}

}  // namespace tessarin
