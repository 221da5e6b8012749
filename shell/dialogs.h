// SPDX-License-Identifier: MIT
// What the windows ask of the person in front of them and of the desktop:
// message boxes, the two file dialogs, opening a document. The program uses
// Qt's real ones; tests answer them.
#pragma once

#include <QObject>
#include <QString>

class QUrl;
class QWidget;

namespace tessarin {

// The settings of one file dialog: the filter in the "description|pattern"
// form of the window definitions, the default extension and the name chosen
// last time. An object of the window, so that the interface translation
// finds the filter.
class FileDialogSettings : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString filter READ filter WRITE setFilter)

 public:
  FileDialogSettings(const QString& name, QObject* owner);

  const QString& filter() const { return filter_; }
  void setFilter(const QString& filter) { filter_ = filter; }
  const QString& defaultExt() const { return defaultExt_; }
  void setDefaultExt(const QString& extension) { defaultExt_ = extension; }
  // Full name of the file chosen last; empty before the first choice.
  const QString& fileName() const { return fileName_; }
  void setFileName(const QString& name) { fileName_ = name; }

 private:
  QString filter_;
  QString defaultExt_;
  QString fileName_;
};

// "DXF-Dateien (*.dxf)|*.dxf" as Qt writes a name filter: "DXF-Dateien
// (*.dxf)". Each description gets its patterns in brackets unless it ends
// in exactly those already; ";" between patterns becomes a blank.
QString QtNameFilters(const QString& filter);

enum class MessageIcon { kNone, kInformation, kError };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal box with `text` and one OK button; an empty `caption` leaves the
  // platform's default title. Returns when it is closed.
  virtual void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text,
                           const QString& caption) = 0;
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
  QString GetOpenFileName(QWidget* parent, FileDialogSettings& settings) override;
  QString GetSaveFileName(QWidget* parent, FileDialogSettings& settings) override;
  void OpenUrl(const QUrl& url) override;
};

// For a program that nobody can see (no display): messages go to stderr,
// file dialogs are cancelled at once.
class ConsoleDialogs final : public QtDialogs {
 public:
  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text,
                   const QString& caption) override;
  QString GetOpenFileName(QWidget*, FileDialogSettings&) override { return {}; }
  QString GetSaveFileName(QWidget*, FileDialogSettings&) override { return {}; }
};

}  // namespace tessarin
