// SPDX-License-Identifier: MIT
// The desktop program's batch mode: the settings of the command line go into
// the main window's fields, then one conversion runs from argument 1 into
// argument 2, without the window being shown.
#pragma once

#include <QStringList>
#include <optional>

namespace tessarin {

class TMainForm;

// `arguments` is the command line with the program's own path first and at
// least two arguments after it. Arguments 3 to 8 replace the fields of
// `form`, then the conversion runs. Returns the run's exit status, or nothing
// when an error escaped the run (it has been shown; the window is ready for
// the user).
std::optional<int> RunBatch(TMainForm& form, const QStringList& arguments);

}  // namespace tessarin
