// SPDX-License-Identifier: MIT
// What a run shows in the main window.
#include "window_host.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QTime>
#include <QUrl>

#include "dialogs.h"
#include "main_form.h"
#include "message_catalogue.h"

namespace tessarin {

namespace {

// Catalogue message `message` in the language in force, then " " and
// `argument` unless it is empty.
QString ComposeMessage(TranslationStore& store, int message, const std::string& argument) {
  QString text = QString::fromStdU16String(MessageText(message, store));
  if (!argument.empty()) text += QLatin1Char(' ') + QString::fromStdString(argument);
  return text;
}

}  // namespace

void MainFormHost::ShowStatus(int message, const std::string& argument) {
  form_.Label1->setText(ComposeMessage(form_.store(), message, argument));
}

void MainFormHost::ShowProgress(int position) { form_.ProgressBar1->setValue(position); }

void MainFormHost::ShowMinima(const std::string& percent, const std::string& units) {
  form_.Edit1->setText(QString::fromStdString(percent));
  form_.Edit2->setText(QString::fromStdString(units));
}

void MainFormHost::SetRunning(bool running) { form_.SetRunning(running); }

void MainFormHost::ShowMessageBox(int message, const std::string& argument) {
  dialogs_.ShowMessage(&form_, MessageIcon::kNone, ComposeMessage(form_.store(), message, argument),
                       QString());
}

void MainFormHost::Pump() { QCoreApplication::processEvents(); }

bool MainFormHost::OpenResultWanted() { return form_.OpenCheck->isChecked(); }

void MainFormHost::OpenFile(const std::string& path) {
  dialogs_.OpenUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::string MainFormHost::TimeOfDay() {
  return QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat).toStdString();
}

}  // namespace tessarin
