// SPDX-License-Identifier: MIT
// The walk over the windows that replaces each translatable text by its
// translation in the language in force.
#pragma once

class QObject;

namespace tessarin {

// Translates the texts of `root` and of everything below it; with the
// application object as root, every window of the program.
// Not filled in yet: every text keeps its German definition text.
void TranslateComponents(QObject* root);

}  // namespace tessarin
