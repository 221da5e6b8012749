// SPDX-License-Identifier: MIT
// Qt's dialogs behind the Dialogs interface, and the stderr stand-in.
#include "dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>
#include <cstdio>

namespace tessarin {

FileDialogSettings::FileDialogSettings(const QString& name, QObject* owner) : QObject(owner) {
  setObjectName(name);
}

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

}  // namespace tessarin
