// SPDX-License-Identifier: MIT
// Translation editor: only the window so far.
#include "translate_form.h"

namespace tessarin {

TTranslateForm::TTranslateForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TranslateForm"));
  setWindowTitle(QStringLiteral(u"Übersetzen"));
  resize(705, 453);
}

void TTranslateForm::FillStringGrid() {}

}  // namespace tessarin
