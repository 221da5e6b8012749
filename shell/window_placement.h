// SPDX-License-Identifier: MIT
// The main window's stored state as values: its placement, show state and
// six setting fields read from and written to the named values of the store.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

#include "setting_fields.h"

namespace tessarin {

class StoredValues;

enum class ShowState { kNormal, kMinimized, kMaximized };

// The window's placement in screen pixels.
struct Placement {
  int flags = 0;               // "Flags"
  QPoint minPosition{-1, -1};  // "MinMaxPos", items 1 and 2
  QPoint maxPosition{-1, -1};  // "MinMaxPos", items 3 and 4
  QRect frame;                 // "NormPos": the frame in the normal show state
};

// What the store needs to know of the screen.
struct ScreenFacts {
  QSize size;  // of the primary screen: the position values are kept per size
  int pixelsPerInch = 96;
};

// What a restore gives the window.
struct RestoredState {
  // The stored placement with the stored position and the window's own size
  // (its border is fixed); nothing when none applies, and the window keeps
  // its place.
  std::optional<Placement> placement;
  ShowState show = ShowState::kNormal;
  // The fields with the stored values in place; a field without a stored
  // value, and a switch stored as neither "True" nor "False" (in any case),
  // keeps its value.
  SettingFields fields;
};

// Reads the state stored for a window placed at `current` with `fields`.
// Nothing when "FormVersion" is negative: then nothing is restored. A
// stored position applies when the stored density is that of `screen` and
// the rectangle lies within the int range; the position stored under the
// screen's size comes before the plain one.
std::optional<RestoredState> ReadWindowState(const StoredValues& store, const Placement& current,
                                             const SettingFields& fields,
                                             const ScreenFacts& screen);

// Writes the whole state in the order of the stored layout, each position
// under the screen's size and under the plain name; the field texts without
// blanks and control characters at their ends. "Visible" is written but never
// read back.
void WriteWindowState(StoredValues& store, const Placement& placement, ShowState show, bool visible,
                      const SettingFields& fields, const ScreenFacts& screen);

// A stored "ShowCmd": 2, 6 and 7 minimized, 3 maximized, everything else
// normal.
ShowState ShowStateOf(int showCmd);

}  // namespace tessarin
