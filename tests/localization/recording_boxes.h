// SPDX-License-Identifier: MIT
// Message and question boxes that the test answers.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "message_boxes.h"
#include "table_keys.h"

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

}  // namespace tessarin::testing
