// SPDX-License-Identifier: MIT
// A grid of texts with fixed columns at its left edge, which stay in view when
// the grid scrolls sideways and cannot be edited, and which reports every
// keystroke that changes the cell being edited.
#pragma once

#include <QPersistentModelIndex>
#include <QTableWidget>
#include <functional>

class QTableView;

namespace tessarin {

class TStringGrid : public QTableWidget {
 public:
  explicit TStringGrid(QWidget* parent = nullptr);

  // Called with the column, the row and the editor's new text each time the
  // text of the cell being edited changes; also when Escape ends an edit and
  // the cell takes back its earlier text.
  std::function<void(int column, int row, const QString& text)> onEditText;
  // Called with each key pressed while the grid has the focus; a true result
  // means the key has been handled.
  std::function<bool(int key, Qt::KeyboardModifiers modifiers)> onKeyDown;

  // Columns 0 to count - 1 become fixed: a view of them lies over the grid's
  // left edge, sharing its cells and selection. 0: no fixed columns.
  void setFixedCols(int count);
  int fixedCols() const { return fixedCols_; }
  // The view that shows the fixed columns; hidden while there are none.
  QTableView* fixedView() const { return fixedView_; }

  // Whether a cell is being edited.
  bool editing() const { return state() == EditingState; }

  // Scrolls so that `row` is the top row and `column` the leftmost of the
  // columns that scroll; -1, or a fixed column, leaves that direction as it
  // is.
  void ScrollToTopLeft(int row, int column);

  // Keeps a cell of a scrolling column out from under the fixed ones.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void updateGeometries() override;

 private:
  friend class GridEditDelegate;

  void PlaceFixedView();
  // The editor of `index` was closed; after Escape the cell shows its text
  // from before the edit, which is reported when it differs.
  void EditorClosed(QWidget* editor);

  int fixedCols_ = 0;
  QTableView* fixedView_ = nullptr;
  QPersistentModelIndex edited_;
};

}  // namespace tessarin
