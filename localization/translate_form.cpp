// SPDX-License-Identifier: MIT
// The translation editor's window, its grid and handlers.
#include "translate_form.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <string>

#include "dyna_array.h"
#include "message_boxes.h"
#include "message_catalogue.h"
#include "string_grid.h"
#include "translation_store.h"

namespace tessarin {

namespace {

constexpr int kColumnWidth = 250;
// Columns fixed while FixedColCheck is checked: German and English.
constexpr int kFixedColumns = 2;

constexpr std::array<const char16_t*, 7> kLanguageHeadings{
    u"German", u"English", u"Français", u"Nederlands", u"Italian", u"Spanish", u"Portuguese"};

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

QWidget* Panel(QWidget* parent, const char* name, int height) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setFixedHeight(height);
  return panel;
}

// Only the letters a to z become capitals; everything else stays as it is.
QString AsciiUpper(const QString& text) {
  QString upper = text;
  for (QChar& c : upper) {
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - u'a' + u'A');
  }
  return upper;
}

}  // namespace

QString GridHeading(int column) {
  if (column >= 0 && column < static_cast<int>(kLanguageHeadings.size())) {
    return QString::fromUtf16(kLanguageHeadings[static_cast<size_t>(column)]);
  }
  return QStringLiteral("language") + QString::number(column);
}

TTranslateForm::TTranslateForm(QWidget* parent, TranslationStore& store, MessageBoxes& boxes)
    : QDialog(parent), store_(store), boxes_(boxes) {
  setObjectName(QStringLiteral("TranslateForm"));
  setWindowTitle(QStringLiteral(u"Übersetzen"));
  resize(705, 453);
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  Panel1 = Panel(this, "Panel1", 35);
  BackBtn = Place(new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack),
                                  QStringLiteral(u"Zurück..."), Panel1),
                  "BackBtn", 8, 10, 105, 25);
  Panel2 = Panel(this, "Panel2", 40);
  FilterEdit = Place(new QLineEdit(Panel2), "FilterEdit", 8, 8, 153, 21);
  FilterBtn = Place(
      new QPushButton(QIcon::fromTheme(QStringLiteral("edit-find"),
                                       style()->standardIcon(QStyle::SP_FileDialogContentsView)),
                      QStringLiteral("Suchen"), Panel2),
      "FilterBtn", 167, 6, 145, 25);
  DeleteRowBtn = Place(new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon),
                                       QStringLiteral(u"Zeile löchen"), Panel2),
                       "DeleteRowBtn", 318, 6, 131, 25);
  FixedColCheck = Place(new QCheckBox(QStringLiteral("Erste Spalte fixieren"), Panel2),
                        "FixedColCheck", 455, 6, 194, 17);

  StringGrid1 = new TStringGrid(this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setColumnCount(kSlotCount);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
  for (int column = 0; column < kSlotCount; ++column) {
    StringGrid1->setColumnWidth(column, kColumnWidth);
  }
  StringGrid1->setShowGrid(true);
  StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->setEditTriggers(
      QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
      QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(19);

  layout->addWidget(Panel1);
  layout->addWidget(Panel2);
  layout->addWidget(StringGrid1, 1);
  layout->addWidget(StatusBar1);

  // No default button: Return presses only the button that has the focus.
  for (QPushButton* button : {BackBtn, FilterBtn, DeleteRowBtn}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  QWidget* focusOrder[] = {BackBtn,      FilterEdit,    FilterBtn,
                           DeleteRowBtn, FixedColCheck, StringGrid1};
  for (size_t i = 0; i + 1 < std::size(focusOrder); ++i) {
    setTabOrder(focusOrder[i], focusOrder[i + 1]);
  }

  connect(BackBtn, &QPushButton::clicked, this, &TTranslateForm::BackBtnClick);
  connect(FilterBtn, &QPushButton::clicked, this, &TTranslateForm::FilterBtnClick);
  connect(DeleteRowBtn, &QPushButton::clicked, this, &TTranslateForm::DeleteRowBtnClick);
  connect(FixedColCheck, &QCheckBox::toggled, this, &TTranslateForm::FixedColCheckClick);
  StringGrid1->onEditText = [this](int column, int row, const QString& text) {
    StringGrid1SetEditText(column, row + 1, text);
  };
  StringGrid1->onKeyDown = [this](int key, Qt::KeyboardModifiers shift) {
    return StringGrid1KeyDown(key, shift);
  };
}

QString TTranslateForm::Message(int number) const {
  return QString::fromStdU16String(MessageText(number, store_));
}

void TTranslateForm::FillStringGrid() {
  TDynaArray& table = store_.TransTable();
  StringGrid1->setRowCount(static_cast<int>(table.count()));
  for (int column = 0; column < kSlotCount; ++column) {
    StringGrid1->setHorizontalHeaderItem(column, new QTableWidgetItem(GridHeading(column)));
  }
  table.First();
  while (table.WhileNext()) {
    // Inside the iteration aobjnr is the entry's number plus one, its grid
    // row; the grid's own rows start below the headings.
    const int row = table.aobjnr() - 1;
    const TranslationEntry& entry = *store_.CurEntry();
    for (int column = 0; column < kSlotCount; ++column) {
      const std::u16string_view text = SlotText(entry, column);
      const QString cell = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
      if (QTableWidgetItem* item = StringGrid1->item(row, column)) {
        item->setText(cell);
      } else {
        StringGrid1->setItem(row, column, new QTableWidgetItem(cell));
      }
    }
  }
}

void TTranslateForm::BackBtnClick() { close(); }

void TTranslateForm::StringGrid1SetEditText(int column, int row, const QString& text) {
  TDynaArray& table = store_.TransTable();
  if (row >= 1 && static_cast<std::uint32_t>(row) <= table.count() && column >= 0 &&
      column < kSlotCount) {
    table.GetObject(static_cast<std::uint32_t>(row - 1));
    ReplaceSlot(*store_.CurEntry(), column, text.toStdU16String());
  }
  store_.SaveTranslation();
}

int TTranslateForm::currentGridRow() const { return StringGrid1->currentRow() + 1; }

void TTranslateForm::DeleteRowBtnClick() {
  const int row = currentGridRow();
  const int column = std::max(StringGrid1->currentColumn(), 0);
  TDynaArray& table = store_.TransTable();
  if (row >= 1 && static_cast<std::uint32_t>(row) <= table.count()) {
    table.GetObject(static_cast<std::uint32_t>(row - 1));
    const std::u16string_view key = SlotText(*store_.CurEntry(), 0);
    const QString german = QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size()));
    if (boxes_.Ask(this, german, Message(kMsgDeleteCaption), QuestionButtons::kYesNoCancel) ==
        Reply::kYes) {
      store_.DeleteTranslationEntry(row - 1);
    }
  }
  store_.SaveTranslation();
  FillStringGrid();
  // The same row again, now showing the entry after the deleted one.
  if (row >= 1 && row <= StringGrid1->rowCount()) StringGrid1->setCurrentCell(row - 1, column);
}

bool TTranslateForm::StringGrid1KeyDown(int key, Qt::KeyboardModifiers) {
  if (key != Qt::Key_Delete || StringGrid1->editing()) return false;
  DeleteRowBtnClick();
  return true;
}

QString TTranslateForm::CellText(int row, int column) const {
  if (row == 0) {
    const QTableWidgetItem* heading = StringGrid1->horizontalHeaderItem(column);
    return heading != nullptr ? heading->text() : QString();
  }
  const QTableWidgetItem* item = StringGrid1->item(row - 1, column);
  return item != nullptr ? item->text() : QString();
}

void TTranslateForm::ShowFoundCell(int row, int column) {
  foundCell_ = {row, column};
  if (row == 0) {
    // The headings are always in view and cannot be selected.
    StringGrid1->clearSelection();
    StringGrid1->ScrollToTopLeft(-1, column);
  } else {
    StringGrid1->setCurrentCell(row - 1, column, QItemSelectionModel::ClearAndSelect);
    StringGrid1->ScrollToTopLeft(row - 1, column);
  }
}

void TTranslateForm::FilterBtnClick() {
  const QString wanted = AsciiUpper(FilterEdit->text());
  if (wanted.isEmpty()) return;
  const int rows = StringGrid1->rowCount();
  for (int row = 0; row <= rows; ++row) {
    for (int column = 0; column < kSlotCount; ++column) {
      if (!AsciiUpper(CellText(row, column)).contains(wanted)) continue;
      ShowFoundCell(row, column);
      if (boxes_.Ask(this, Message(kMsgSearchFound), Message(kMsgSearchCaption),
                     QuestionButtons::kYesNo) != Reply::kYes) {
        return;
      }
    }
  }
}

void TTranslateForm::FixedColCheckClick() {
  StringGrid1->setFixedCols(FixedColCheck->isChecked() ? kFixedColumns : 0);
}

void TTranslateForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (DeleteRowBtn->isEnabled()) DeleteRowBtn->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TTranslateForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QDialog::showEvent(event);
}

}  // namespace tessarin
