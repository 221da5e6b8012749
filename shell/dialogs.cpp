// SPDX-License-Identifier: MIT
// Qt's dialogs behind the Dialogs interface, and the stderr stand-in.
#include "dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>
#include <cstdio>

#include "dyna_array.h"
#include "file_dialog_settings.h"

namespace tessarin {

QString QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    if (patterns.isEmpty() ||
        description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters.append(description);
    } else {
      filters.append(description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
  }
  return filters.join(QStringLiteral(";;"));
}

void QtDialogs::ShowMessage(QWidget* parent, MessageIcon icon, const QString& text,
                            const QString& caption) {
  QMessageBox box(parent);
  switch (icon) {
    case MessageIcon::kNone:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::kError:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  box.setWindowTitle(caption);
  box.setText(text);
  box.setTextFormat(Qt::PlainText);  // file names are no markup
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

Reply QtDialogs::Ask(QWidget* parent, const QString& text, const QString& caption,
                     QuestionButtons buttons) {
  QMessageBox box(parent);
  box.setIcon(QMessageBox::Question);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setTextFormat(Qt::PlainText);
  const bool cancel = buttons == QuestionButtons::kYesNoCancel;
  box.setStandardButtons(cancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                : QMessageBox::Yes | QMessageBox::No);
  box.setEscapeButton(cancel ? QMessageBox::Cancel : QMessageBox::No);
  box.exec();
  const QAbstractButton* chosen = box.clickedButton();
  if (chosen == box.button(QMessageBox::Yes)) return Reply::kYes;
  if (chosen == box.button(QMessageBox::No)) return Reply::kNo;
  return cancel ? Reply::kCancel : Reply::kNo;
}

namespace {

// Both dialogs: one filter, default extension, the last name offered again,
// resizable, no read-only box.
QString RunFileDialog(QWidget* parent, FileDialogSettings& settings, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  // The open dialog accepts a name of a file that does not exist; the run
  // reports it.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setNameFilter(QtNameFilters(settings.filter()));
  QString extension = settings.defaultExt();
  if (extension.startsWith(QLatin1Char('.'))) extension.remove(0, 1);
  dialog.setDefaultSuffix(extension);
  // The save dialog's replace question is Qt's own (DontConfirmOverwrite
  // stays off); declining it returns to the dialog.
  if (!settings.fileName().isEmpty()) dialog.selectFile(settings.fileName());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  settings.setFileName(chosen.first());
  return chosen.first();
}

}  // namespace

QString QtDialogs::GetOpenFileName(QWidget* parent, FileDialogSettings& settings) {
  return RunFileDialog(parent, settings, QFileDialog::AcceptOpen);
}

QString QtDialogs::GetSaveFileName(QWidget* parent, FileDialogSettings& settings) {
  return RunFileDialog(parent, settings, QFileDialog::AcceptSave);
}

void QtDialogs::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void ConsoleDialogs::ShowMessage(QWidget*, MessageIcon, const QString& text,
                                 const QString& caption) {
  const QByteArray line =
      (caption.isEmpty() ? text : caption + QStringLiteral(": ") + text).toUtf8();
  std::fprintf(stderr, "%s\n", line.constData());
  std::fflush(stderr);
}

Reply ConsoleDialogs::Ask(QWidget* parent, const QString& text, const QString& caption,
                          QuestionButtons buttons) {
  ShowMessage(parent, MessageIcon::kNone, text, caption);
  return buttons == QuestionButtons::kYesNoCancel ? Reply::kCancel : Reply::kNo;
}

namespace {

// The boxes that the record arrays' failures go to; a plain function pointer
// is all the arrays take.
MessageBoxes* dynaArrayBoxes = nullptr;

void ShowDynaArrayFailure(const std::string& text) {
  if (dynaArrayBoxes == nullptr) return;
  dynaArrayBoxes->ShowMessage(QApplication::activeWindow(), MessageIcon::kError,
                              QString::fromStdString(text), QString());
}

}  // namespace

DynaArrayErrorBoxes::DynaArrayErrorBoxes(MessageBoxes& boxes)
    : previousHandler_(SetDynaArrayMessageBox(&ShowDynaArrayFailure)),
      previousBoxes_(dynaArrayBoxes) {
  dynaArrayBoxes = &boxes;
}

DynaArrayErrorBoxes::~DynaArrayErrorBoxes() {
  dynaArrayBoxes = previousBoxes_;
  SetDynaArrayMessageBox(previousHandler_);
}

}  // namespace tessarin
