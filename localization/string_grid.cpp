// SPDX-License-Identifier: MIT
// The fixed columns are a second view over the same cells, laid over the
// grid's left edge; both views share one selection and scroll together.
#include "string_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

namespace tessarin {

// Refuses editors for fixed columns and reports each change of an editor's
// text.
class GridEditDelegate : public QStyledItemDelegate {
 public:
  explicit GridEditDelegate(TStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (index.column() < grid_.fixedCols()) return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    grid_.edited_ = QPersistentModelIndex(index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      const QPersistentModelIndex cell(index);
      TStringGrid* grid = &grid_;
      QObject::connect(line, &QLineEdit::textEdited, line, [grid, cell](const QString& text) {
        if (cell.isValid() && grid->onEditText) grid->onEditText(cell.column(), cell.row(), text);
      });
    }
    return editor;
  }

 private:
  TStringGrid& grid_;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
  auto* delegate = new GridEditDelegate(*this);
  setItemDelegate(delegate);
  // After the view's own handling, which has put the cell's text back or
  // taken the editor's.
  connect(delegate, &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget* editor) { EditorClosed(editor); });
  setHorizontalScrollMode(ScrollPerItem);
  setVerticalScrollMode(ScrollPerItem);

  fixedView_ = new QTableView(this);
  fixedView_->setObjectName(QStringLiteral("FixedColumns"));
  fixedView_->setModel(model());
  fixedView_->setSelectionModel(selectionModel());
  fixedView_->setEditTriggers(NoEditTriggers);
  fixedView_->verticalHeader()->hide();
  fixedView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fixedView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fixedView_->setHorizontalScrollMode(ScrollPerItem);
  fixedView_->setVerticalScrollMode(ScrollPerItem);
  fixedView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  fixedView_->setFrameShape(QFrame::NoFrame);
  // A click on a fixed cell gives the grid the focus, so that its keys work
  // there too.
  fixedView_->setFocusPolicy(Qt::StrongFocus);
  fixedView_->setFocusProxy(this);
  // Fixed cells in the face colour of buttons, as headings are.
  QPalette face = fixedView_->palette();
  face.setColor(QPalette::Base, face.color(QPalette::Button));
  fixedView_->setPalette(face);
  fixedView_->hide();

  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, fixedView_->verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(fixedView_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int column, int, int width) {
            fixedView_->setColumnWidth(column, width);
            PlaceFixedView();
          });
}

void TStringGrid::setFixedCols(int count) {
  fixedCols_ = std::max(0, count);
  if (fixedCols_ == 0) {
    fixedView_->hide();
    return;
  }
  fixedView_->setSelectionMode(selectionMode());
  fixedView_->setSelectionBehavior(selectionBehavior());
  for (int column = 0; column < columnCount(); ++column) {
    fixedView_->setColumnWidth(column, columnWidth(column));
    fixedView_->setColumnHidden(column, column >= fixedCols_);
  }
  fixedView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
  PlaceFixedView();
  fixedView_->show();
  // A cell of a scrolling column that is current stays in sight.
  if (currentIndex().isValid()) scrollTo(currentIndex());
}

void TStringGrid::PlaceFixedView() {
  if (fixedCols_ == 0 || fixedView_ == nullptr) return;
  int width = 0;
  for (int column = 0; column < fixedCols_ && column < columnCount(); ++column) {
    width += columnWidth(column);
  }
  // Headings and rows level with the grid's own.
  fixedView_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  fixedView_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  const int left = frameWidth() + (verticalHeader()->isHidden() ? 0 : verticalHeader()->width());
  fixedView_->setGeometry(left, frameWidth(), width,
                          horizontalHeader()->height() + viewport()->height());
}

void TStringGrid::ScrollToTopLeft(int row, int column) {
  if (row >= 0) verticalScrollBar()->setValue(row);
  if (column >= fixedCols_) horizontalScrollBar()->setValue(column - fixedCols_);
}

void TStringGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  const int left = horizontalScrollBar()->value();
  QTableWidget::scrollTo(index, hint);
  if (fixedCols_ == 0 || !index.isValid()) return;
  if (index.column() < fixedCols_) {
    // Always in view: the scrolling columns stay where they were.
    horizontalScrollBar()->setValue(left);
  } else if (horizontalScrollBar()->value() > index.column() - fixedCols_) {
    horizontalScrollBar()->setValue(index.column() - fixedCols_);
  }
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
  if (onKeyDown && onKeyDown(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

void TStringGrid::changeEvent(QEvent* event) {
  QTableWidget::changeEvent(event);
  if (event->type() != QEvent::FontChange || fixedView_ == nullptr) return;
  // The headings in the grid's font, not in the one the platform gives
  // headers.
  horizontalHeader()->setFont(font());
  fixedView_->horizontalHeader()->setFont(font());
  PlaceFixedView();
}

void TStringGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  PlaceFixedView();
}

void TStringGrid::updateGeometries() {
  QTableWidget::updateGeometries();
  PlaceFixedView();
}

void TStringGrid::EditorClosed(QWidget* editor) {
  const QPersistentModelIndex cell = edited_;
  edited_ = QPersistentModelIndex();
  const auto* line = qobject_cast<const QLineEdit*>(editor);
  if (line == nullptr || !cell.isValid() || !onEditText) return;
  const QString shown = cell.data(Qt::EditRole).toString();
  if (shown != line->text()) onEditText(cell.column(), cell.row(), shown);
}

}  // namespace tessarin
