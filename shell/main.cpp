// SPDX-License-Identifier: MIT
// tessarin: the desktop program. Without arguments it shows its window; with
// IN OUT [MAXPERCENT [MAXUNITS [ARCTESTS [SPLINETESTS [KEEPSPLINES [OPEN]]]]]]
// it converts one file and ends with the run's exit status.
#include <QApplication>
#include <QGuiApplication>

#include "dialogs.h"
#include "startup.h"

int main(int argc, char** argv) {
  // Read before Qt could take options such as -style out of the arguments;
  // Qt itself is given none of them.
  const QStringList arguments = tessarin::CommandLineArguments(argc, argv);
  // Without a display a batch run still works, on the offscreen platform.
  if (!tessarin::DisplayAvailable() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication application(qtArgc, qtArgv);

  // On a platform nobody sees, messages go to stderr instead of boxes that
  // would wait for an answer forever.
  const QString platform = QGuiApplication::platformName();
  const bool invisible =
      platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  tessarin::QtDialogs boxes;
  tessarin::ConsoleDialogs console;
  tessarin::Dialogs& dialogs = invisible ? static_cast<tessarin::Dialogs&>(console) : boxes;
  return tessarin::RunProgram(arguments, dialogs, invisible);
}
