// SPDX-License-Identifier: MIT
// The main window's state restored from an arbitrary settings file: the
// restore takes whatever the file holds, and what the window then saves
// restores to the same fields, switches and position.
//
// The input is the whole settings file of the program, which the store
// reads from Software/<program name>.ini in the configuration folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "dialogs.h"
#include "main_form.h"

namespace {

// No restore may ask anything of the user.
class NoDialogs final : public tessarin::Dialogs {
 public:
  void ShowMessage(QWidget*, tessarin::MessageIcon, const QString&, const QString&) override {
    std::abort();
  }
  tessarin::Reply Ask(QWidget*, const QString&, const QString&,
                      tessarin::QuestionButtons) override {
    std::abort();
  }
  QString GetOpenFileName(QWidget*, tessarin::FileDialogSettings&) override { std::abort(); }
  QString GetSaveFileName(QWidget*, tessarin::FileDialogSettings&) override { std::abort(); }
  void OpenUrl(const QUrl&) override { std::abort(); }
};

struct Fields {
  std::array<QString, 4> texts;
  bool open = false, keep = false;
  bool operator==(const Fields&) const = default;
};

Fields FieldsOf(const tessarin::TMainForm& form) {
  return {
      {form.AbwEd->text(), form.AbwEinhED->text(), form.TestEd->text(), form.SplineTestEd->text()},
      form.OpenCheck->isChecked(),
      form.LeaveSplineCheck->isChecked()};
}

QApplication* application = nullptr;
NoDialogs* dialogs = nullptr;
tessarin::TMainForm* form = nullptr;
QString settingsFile;
int64_t stamp = 1000000000;

}  // namespace

// Fontconfig keeps its caches to the end of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QString root =
      QDir::tempPath() + QStringLiteral("/tessarin-fuzz-state-") + QString::number(::getpid());
  QDir().mkpath(root + QStringLiteral("/config/Software"));
  QDir().mkpath(root + QStringLiteral("/program"));
  qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
  settingsFile = root + QStringLiteral("/config/Software/tessarin.ini");
  static int qtArgc = 1;
  application = new QApplication(qtArgc, *argv);
  (void)argc;
  dialogs = new NoDialogs;
  // One window for all inputs: a new one each time would keep Qt's caches
  // growing, and the leak check would run after every input.
  form = new tessarin::TMainForm(QStringList{root + QStringLiteral("/program/tessarin")}, *dialogs);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    QFile file(settingsFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  // A new modification time for every input, so the settings cache never
  // mistakes this file for the last one of the same size.
  const timespec times[2] = {{++stamp, 0}, {stamp, 0}};
  utimensat(AT_FDCWD, QFile::encodeName(settingsFile).constData(), times, 0);

  // What a restore may set starts from the window's defaults every time.
  form->ResetBtnClick();
  form->OpenCheck->setChecked(false);
  form->LeaveSplineCheck->setChecked(false);
  form->setWindowState(Qt::WindowNoState);
  form->move(0, 0);

  form->RestoreWindowState();
  const Fields restored = FieldsOf(*form);
  const QPoint position = form->pos();
  const bool maximized = form->isMaximized();
  form->SaveWindowState(false);
  form->RestoreWindowState();
  if (FieldsOf(*form) != restored) std::abort();
  if (!maximized && form->pos() != position) std::abort();
  return 0;
}
