// SPDX-License-Identifier: MIT
// What the windows ask of the person in front of them and of the desktop:
// message boxes, the two file dialogs, opening a document. The program uses
// Qt's real ones; tests answer them.
#pragma once

#include <QString>
#include <string>

#include "message_boxes.h"

class QUrl;
class QWidget;

namespace tessarin {

class FileDialogSettings;

// "DXF-Dateien (*.dxf)|*.dxf" as Qt writes a name filter: "DXF-Dateien
// (*.dxf)". Each description gets its patterns in brackets unless it ends
// in exactly those already; ";" between patterns becomes a blank.
QString QtNameFilters(const QString& filter);

// The message boxes, the file dialogs and the desktop's opening of files.
class Dialogs : public MessageBoxes {
 public:
  // The open dialog; it accepts names of files that do not exist. Returns the
  // chosen name (and keeps it in `settings`), or an empty text when the user
  // cancelled.
  virtual QString GetOpenFileName(QWidget* parent, FileDialogSettings& settings) = 0;
  // The save dialog; it asks before an existing file is chosen.
  virtual QString GetSaveFileName(QWidget* parent, FileDialogSettings& settings) = 0;
  // Opens a file or a web page with the program the desktop associates with
  // it.
  virtual void OpenUrl(const QUrl& url) = 0;
};

// Qt's message boxes and file dialogs, and QDesktopServices.
class QtDialogs : public Dialogs {
 public:
  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text,
                   const QString& caption) override;
  Reply Ask(QWidget* parent, const QString& text, const QString& caption,
            QuestionButtons buttons) override;
  QString GetOpenFileName(QWidget* parent, FileDialogSettings& settings) override;
  QString GetSaveFileName(QWidget* parent, FileDialogSettings& settings) override;
  void OpenUrl(const QUrl& url) override;
};

// For a program that nobody can see (no display): messages and questions go
// to stderr, questions get the answer that changes nothing (No, Cancel), file
// dialogs are cancelled at once.
class ConsoleDialogs final : public QtDialogs {
 public:
  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text,
                   const QString& caption) override;
  Reply Ask(QWidget* parent, const QString& text, const QString& caption,
            QuestionButtons buttons) override;
  QString GetOpenFileName(QWidget*, FileDialogSettings&) override { return {}; }
  QString GetSaveFileName(QWidget*, FileDialogSettings&) override { return {}; }
};

// While it exists, the record arrays report a failed allocation in a modal
// error box of `boxes` (no caption of its own, one OK button), over the
// active window. Afterwards the handler in place before comes back.
class DynaArrayErrorBoxes {
 public:
  explicit DynaArrayErrorBoxes(MessageBoxes& boxes);
  ~DynaArrayErrorBoxes();
  DynaArrayErrorBoxes(const DynaArrayErrorBoxes&) = delete;
  DynaArrayErrorBoxes& operator=(const DynaArrayErrorBoxes&) = delete;

 private:
  using Handler = void (*)(const std::string& text);
  Handler previousHandler_;
  MessageBoxes* previousBoxes_;
};

}  // namespace tessarin
