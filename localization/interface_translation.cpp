// SPDX-License-Identifier: MIT
// Interface translation: not yet built; lookups would return the German
// texts anyway, so the windows keep them.
#include "interface_translation.h"

namespace tessarin {

void TranslateComponents(QObject*) {}

}  // namespace tessarin
