// SPDX-License-Identifier: MIT
// The translation editor: the translation table as a grid, one row per entry
// and one column per language slot, edited, searched and thinned out in
// place; every change goes to "translate.dat" at once.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace tessarin {

class MessageBoxes;
class TStringGrid;
class TranslationStore;

// A cell in grid coordinates: row 0 is the heading row (the grid's header),
// row r the table entry r - 1.
struct GridCell {
  int row = -1;
  int column = -1;
  bool operator==(const GridCell&) const = default;
};

class TTranslateForm : public QDialog {
  Q_OBJECT

 public:
  // Shows and edits the table of `store`; the question boxes go to `boxes`.
  TTranslateForm(QWidget* parent, TranslationStore& store, MessageBoxes& boxes);

  // Fills the grid from the translation table: the headings, then one row
  // per entry. Called before the editor is shown and after each deletion.
  void FillStringGrid();

  // Handlers.
  void BackBtnClick();
  // Searches every cell from the heading row on, comparing with the letters
  // a to z in either case; asks at each hit whether to go on.
  void FilterBtnClick();
  // Asks whether to delete the entry of the current row (Yes, No, Cancel),
  // then saves, refills the grid and makes the same row current again.
  void DeleteRowBtnClick();
  // Two fixed columns (German and English) while checked.
  void FixedColCheckClick();
  // Delete when no cell is being edited presses DeleteRowBtn; returns whether
  // the key was handled.
  bool StringGrid1KeyDown(int key, Qt::KeyboardModifiers shift);
  // The text of cell (`column`, `row`) changed while being edited: it goes to
  // the table when the cell belongs to an entry, and the table is saved.
  void StringGrid1SetEditText(int column, int row, const QString& text);

  // The row of the current cell in grid coordinates; 0 when there is none.
  int currentGridRow() const;
  // The cell the search stands on; row and column -1 before any hit.
  GridCell foundCell() const { return foundCell_; }

  // Controls, named as in the window definition.
  QWidget* Panel1;
  QPushButton* BackBtn;
  QWidget* Panel2;
  QLineEdit* FilterEdit;
  QPushButton* FilterBtn;
  QPushButton* DeleteRowBtn;
  QCheckBox* FixedColCheck;
  TStringGrid* StringGrid1;
  QStatusBar* StatusBar1;

 protected:
  // Escape presses DeleteRowBtn, the window's cancel button.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Text of a cell in grid coordinates.
  QString CellText(int row, int column) const;
  void ShowFoundCell(int row, int column);
  // Catalogue message `number` in the language in force.
  QString Message(int number) const;

  TranslationStore& store_;
  MessageBoxes& boxes_;
  GridCell foundCell_;
};

// The heading of grid column `column`: the language, or "language" and the
// slot number for the slots no language uses.
QString GridHeading(int column);

}  // namespace tessarin
