// SPDX-License-Identifier: MIT
// The modal message and question boxes the windows show. The program uses
// Qt's own; tests answer them.
#pragma once

#include <QString>

class QWidget;

namespace tessarin {

enum class MessageIcon { kNone, kInformation, kError };

// The buttons of a question box; its icon is always the question mark.
enum class QuestionButtons { kYesNo, kYesNoCancel };

// The button the user chose. Closing a box without a button gives No for
// Yes/No and Cancel for Yes/No/Cancel.
enum class Reply { kYes, kNo, kCancel };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;

  // A modal box with `text` and one OK button; an empty `caption` leaves the
  // platform's default title. Returns when it is closed.
  virtual void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text,
                           const QString& caption) = 0;
  // A modal question with `text` under `caption`; returns the answer.
  virtual Reply Ask(QWidget* parent, const QString& text, const QString& caption,
                    QuestionButtons buttons) = 0;
};

}  // namespace tessarin
