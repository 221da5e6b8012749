// SPDX-License-Identifier: MIT
// Where the program keeps "translate.dat" and "options.dat": beside the
// program, or in the user's data folder seeded from the shipped files.
#pragma once

#include <QString>

namespace tessarin {

// The shipped files' folder relative to the program folder of an installed
// program (bin/ -> share/tessarin/), ending in a separator.
QString ShippedFromProgram();

// The shipped copy of the data file `name`: beside the program where it lies
// there, else in the installed program's share folder where it lies there,
// else beside the program (where it then is missing). `progpath` ends in a
// separator.
QString ShippedFile(const QString& progpath, const QString& name);

// The folder, ending in a separator, whose "translate.dat" and "options.dat"
// the program reads and writes:
// 1. the program folder, where a file can be created in it and the program
//    is no installed one (whose shipped table lies only in the share folder:
//    an installed program never writes beside itself, not even as root);
// 2. otherwise `userFolder` (made where missing), where each of the two files
//    missing there is first copied from the shipped files (those beside the
//    shipped table that ShippedFile finds); a copy of the shipped table that
//    nobody has changed since it was placed gives way to a newer shipped
//    table, one the program or its user has changed never does;
// 3. where `userFolder` cannot be made, the folder of the shipped table: read
//    as before, and nothing is kept.
QString DataFolder(const QString& progpath, const QString& userFolder);

// DataFolder with the per-user data folder of this application
// (QStandardPaths::AppDataLocation).
QString DataFolder(const QString& progpath);

}  // namespace tessarin
