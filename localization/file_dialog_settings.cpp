// SPDX-License-Identifier: MIT
#include "file_dialog_settings.h"

namespace tessarin {

FileDialogSettings::FileDialogSettings(const QString& name, QObject* owner) : QObject(owner) {
  setObjectName(name);
}

}  // namespace tessarin
