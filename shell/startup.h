// SPDX-License-Identifier: MIT
// Start-up of the desktop program: the three windows, then either the
// interactive use or one batch conversion from the command line.
#pragma once

#include <QStringList>
#include <memory>

#include "main_form.h"

namespace tessarin {

class Dialogs;
class TAboutBox;
class TTranslateForm;

// The program's windows in the order of their creation. The two dialogs
// belong to the main window.
struct ProgramWindows {
  std::unique_ptr<TMainForm> mainForm;
  TAboutBox* aboutBox = nullptr;
  TTranslateForm* translateForm = nullptr;
};

// Creates the three windows, all before the first showing.
ProgramWindows CreateProgramWindows(const QStringList& arguments, Dialogs& dialogs);

// The whole program once the application object exists. With two or more
// arguments one conversion runs without the window being shown and its exit
// status is returned (0 completed, as the command-line tool otherwise);
// otherwise the window is shown until the user closes it. `invisible`: there
// is nobody to see a window, so only the batch mode can run.
int RunProgram(const QStringList& arguments, Dialogs& dialogs, bool invisible);

// The command line as the platform gives it, argument 0 first.
QStringList CommandLineArguments(int argc, char** argv);

// Whether a display can be reached: always on Windows and macOS, elsewhere
// when DISPLAY or WAYLAND_DISPLAY is set.
bool DisplayAvailable();

}  // namespace tessarin
