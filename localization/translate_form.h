// SPDX-License-Identifier: MIT
// The translation editor window: the translation table as a grid.
#pragma once

#include <QDialog>

namespace tessarin {

// Not filled in yet: an empty window with its caption.
class TTranslateForm : public QDialog {
  Q_OBJECT

 public:
  explicit TTranslateForm(QWidget* parent = nullptr);

  // Fills the grid from the translation table before the editor is shown.
  void FillStringGrid();
};

}  // namespace tessarin
