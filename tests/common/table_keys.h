// SPDX-License-Identifier: MIT
// The translation table's keys as Qt texts, for the Qt tests.
#pragma once

#include <QString>
#include <QStringList>

#include "dyna_array.h"
#include "translation_store.h"

namespace tessarin::testing {

// Slot 0 of every entry of the table of `store`, in table order.
inline QStringList TableKeys(TranslationStore& store) {
  QStringList keys;
  TDynaArray& table = store.TransTable();
  table.First();
  while (table.WhileNext()) {
    const std::u16string_view key = SlotText(*store.CurEntry(), 0);
    keys.append(QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size())));
  }
  return keys;
}

}  // namespace tessarin::testing
