// SPDX-License-Identifier: MIT
// Message and question boxes that the test answers, and the table's keys as
// Qt texts.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "dyna_array.h"
#include "message_boxes.h"
#include "translation_store.h"

namespace tessarin::testing {

class RecordingBoxes final : public MessageBoxes {
 public:
  struct Question {
    QString text;
    QString caption;
    QuestionButtons buttons;
  };

  void ShowMessage(QWidget*, MessageIcon, const QString& text, const QString&) override {
    messages.push_back(text);
  }
  // Answers with `onAsk`; No without it.
  Reply Ask(QWidget*, const QString& text, const QString& caption,
            QuestionButtons buttons) override {
    questions.push_back({text, caption, buttons});
    return onAsk ? onAsk(questions.back()) : Reply::kNo;
  }

  std::vector<QString> messages;
  std::vector<Question> questions;
  std::function<Reply(const Question&)> onAsk;
};

// Slot 0 of every entry of the table in memory, in table order.
inline QStringList TableKeys() {
  QStringList keys;
  TDynaArray& table = TransTable();
  table.First();
  while (table.WhileNext()) {
    const std::u16string_view key = SlotText(*CurEntry(), 0);
    keys.append(QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size())));
  }
  return keys;
}

}  // namespace tessarin::testing
