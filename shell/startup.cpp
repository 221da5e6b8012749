// SPDX-License-Identifier: MIT
// Program start: windows, first showing, batch run or message loop.
#include "startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

#include "about_box.h"
#include "appearance.h"
#include "conversion_run.h"
#include "data_folder.h"
#include "dialogs.h"
#include "translate_form.h"

#ifdef Q_OS_WIN
#include <shellapi.h>
#include <windows.h>
#endif

namespace tessarin {

namespace {

constexpr const char* kNoDisplay =
    "tessarin: no display to show the window on. To convert without one:\n"
    "  tessarin IN OUT [MAXPERCENT [MAXUNITS [ARCTESTS [SPLINETESTS [KEEPSPLINES [OPEN]]]]]]\n";

// Exit status when an error escaped the run and nobody can take over.
constexpr int kExitError = 1;

}  // namespace

ProgramWindows CreateProgramWindows(const QStringList& arguments, Dialogs& dialogs) {
  ProgramWindows windows;
  windows.mainForm = std::make_unique<TMainForm>(arguments, dialogs);
  TMainForm& form = *windows.mainForm;
  windows.aboutBox = new TAboutBox(
      &form, dialogs, ShippedFile(form.progpath(), QString::fromUtf16(kUserGuideName)));
  windows.translateForm = new TTranslateForm(&form, form.store(), dialogs);
  windows.translateForm->setFont(DefinitionFont(11));
  form.SetSecondaryWindows(windows.aboutBox, windows.translateForm);
  return windows;
}

int RunProgram(const QStringList& arguments, Dialogs& dialogs, bool invisible) {
  const bool batch = arguments.size() - 1 >= 2;
  if (!batch && invisible) {
    std::fputs(kNoDisplay, stderr);
    return kExitUsage;
  }
  QCoreApplication::setApplicationName(QStringLiteral("Tessarin"));
  // The menu entry installed as tessarin.desktop: desktops take the
  // window's icon and name from it.
  QGuiApplication::setDesktopFileName(QStringLiteral("tessarin"));
  // A failed allocation of the record arrays shows an error box.
  const DynaArrayErrorBoxes memoryErrors(dialogs);
  ProgramWindows windows = CreateProgramWindows(arguments, dialogs);
  TMainForm& form = *windows.mainForm;
  if (batch) {
    // The showing's steps without the showing: the window is never seen.
    form.PrepareShowing();
    if (form.endRequested()) return form.batchExitStatus().value_or(0);
    // An error escaped the run; it has been shown. The window stays open
    // for the user, where there is one.
    if (invisible) return kExitError;
    form.ShowPrepared();
  } else {
    form.show();
  }
  return QApplication::exec();
}

QStringList CommandLineArguments(int argc, char** argv) {
  QStringList arguments;
#ifdef Q_OS_WIN
  // argv is in the ANSI code page; the wide command line is not.
  (void)argc;
  (void)argv;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    for (int i = 0; i < count; ++i) {
      arguments.append(QString::fromWCharArray(wide[i]));
    }
    LocalFree(wide);
  }
#else
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
#endif
  return arguments;
}

bool DisplayAvailable() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return true;
#else
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

}  // namespace tessarin
