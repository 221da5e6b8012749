// SPDX-License-Identifier: MIT
// tessarin: the desktop program. Without arguments it shows its window; with
// IN OUT [MAXPERCENT [MAXUNITS [ARCTESTS [SPLINETESTS [KEEPSPLINES [OPEN]]]]]]
// it converts one file and ends with the run's exit status.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>

#include "dialogs.h"
#include "startup.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "Usage: tessarin [IN OUT [MAXPERCENT [MAXUNITS [ARCTESTS [SPLINETESTS [KEEPSPLINES "
    "[OPEN]]]]]]]\n"
    "\n"
    "Without arguments, shows the window. With IN and OUT, converts every SPLINE\n"
    "of the ASCII DXF file IN into an LWPOLYLINE of circular arcs and writes the\n"
    "drawing to OUT without showing the window, also where there is no display;\n"
    "the arguments and exit statuses are those of tessarin-cli (see tessarin-cli\n"
    "--help).\n"
    "\n"
    "Options, each alone on the command line: --help, --version.\n";

}  // namespace

int main(int argc, char** argv) {
  // Read before Qt could take options such as -style out of the arguments;
  // Qt itself is given none of them.
  const QStringList arguments = tessarin::CommandLineArguments(argc, argv);
  // Answered before anything starts, with or without a display. Only as the
  // one argument: with two or more, a file may well be named "--help".
  if (arguments.size() == 2 && arguments[1] == QLatin1String("--version")) {
    std::printf("tessarin %s\n", tessarin::kVersion);
    return 0;
  }
  if (arguments.size() == 2 && arguments[1] == QLatin1String("--help")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
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
