// SPDX-License-Identifier: MIT
// The translation editor: the grid filled from the table, edits saved at each
// keystroke, the search, deletion and the fixed columns.
#include "translate_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "message_catalogue.h"
#include "recording_boxes.h"
#include "store_fixture.h"
#include "string_grid.h"
#include "translation_file.h"

namespace tessarin {
namespace {

using testing::FileBuilder;
using testing::RecordingBoxes;
using testing::TableKeys;

// Types `text` into `widget`, one key per character (also outside ASCII).
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

class TranslateFormTest : public testing::StoreTest {
 protected:
  // A table of `entries` entries "Eintrag 1"... with English "Entry 1"...,
  // `extra` after them, and the catalogue's messages at the end, as the
  // program has them; the editor filled from it.
  void Open(int entries, const std::vector<std::vector<std::u16string>>& extra = {}) {
    FileBuilder file;
    file.Int(20).Int(entries + static_cast<std::int32_t>(extra.size()));
    for (int i = 1; i <= entries; ++i) {
      const std::u16string number = QString::number(i).toStdU16String();
      file.Entry({u"Eintrag " + number, u"Entry " + number});
    }
    for (const auto& entry : extra) file.Entry(entry);
    InitWith(file);
    RegisterMessages(store_);
    form_ = std::make_unique<TTranslateForm>(nullptr, store_, boxes_);
    form_->FillStringGrid();
  }

  TStringGrid& grid() { return *form_->StringGrid1; }
  QString Cell(int row, int column) {
    const QTableWidgetItem* item = grid().item(row - 1, column);
    return item != nullptr ? item->text() : QString();
  }
  // Slot 0 of each entry of the file, and all slots of entry `nr`.
  QStringList FileKeys() const { return FileSlots(0); }
  QStringList FileSlots(int slot) const {
    QStringList texts;
    std::ifstream file(DatFile(), std::ios::binary);
    if (!file) return texts;
    ReadTranslationEntries(file, std::filesystem::file_size(DatFile()), [&](auto& slots) {
      texts.append(QString::fromStdU16String(slots[static_cast<size_t>(slot)]));
      return true;
    });
    return texts;
  }
  // The editor of the current cell, after opening it; closed editors linger
  // hidden until they are deleted.
  QLineEdit* EditCurrentCell() {
    grid().editItem(grid().currentItem());
    for (QLineEdit* editor : grid().viewport()->findChildren<QLineEdit*>()) {
      if (!editor->isHidden()) return editor;
    }
    return nullptr;
  }

  RecordingBoxes boxes_;
  std::unique_ptr<TTranslateForm> form_;
};

TEST_F(TranslateFormTest, GridShowsTheHeadingsAndOneRowPerEntryWithAllTwentySlots) {
  std::vector<std::u16string> full;
  for (int s = 0; s < kSlotCount; ++s)
    full.push_back(u"slot " + QString::number(s).toStdU16String());
  Open(2, {full});
  EXPECT_EQ(grid().columnCount(), 20);
  ASSERT_EQ(grid().rowCount(), static_cast<int>(store_.TransTable().count()));
  const QStringList headings{"German",     "English",    "Français",   "Nederlands", "Italian",
                             "Spanish",    "Portuguese", "language7",  "language8",  "language9",
                             "language10", "language11", "language12", "language13", "language14",
                             "language15", "language16", "language17", "language18", "language19"};
  for (int column = 0; column < 20; ++column) {
    EXPECT_EQ(grid().horizontalHeaderItem(column)->text(), headings[column]);
    EXPECT_EQ(grid().columnWidth(column), 250);
    EXPECT_EQ(Cell(3, column), QStringLiteral("slot %1").arg(column));
  }
  EXPECT_EQ(Cell(1, 0), QStringLiteral("Eintrag 1"));
  EXPECT_EQ(Cell(2, 1), QStringLiteral("Entry 2"));
  EXPECT_TRUE(Cell(2, 2).isEmpty());
  EXPECT_EQ(Cell(4, 0), QString::fromStdU16String(std::u16string(GermanMessage(1))));
}

TEST_F(TranslateFormTest, EachKeystrokeThatChangesACellSavesTheTableAndEscapeTakesTheEditBack) {
  Open(3);
  form_->show();
  grid().setCurrentCell(1, 2);  // Entry 2, French: empty
  QLineEdit* editor = EditCurrentCell();
  ASSERT_NE(editor, nullptr);
  const QString typed = QStringLiteral("Entrée 2 !");
  for (qsizetype i = 0; i < typed.size(); ++i) {
    Type(editor, typed.mid(i, 1));
    ASSERT_EQ(FileSlots(2)[1], typed.left(i + 1)) << i;
  }
  QTest::keyClick(editor, Qt::Key_Backspace);
  EXPECT_EQ(FileSlots(2)[1], QStringLiteral("Entrée 2 "));
  // Return ends the edit (the view takes the editor's text a moment later).
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_FALSE(grid().editing());
  EXPECT_EQ(Cell(2, 2), QStringLiteral("Entrée 2 "));
  EXPECT_EQ(SlotText(*static_cast<TranslationEntry*>(store_.TransTable().GetObject(1)), 2),
            u"Entrée 2 ");

  editor = EditCurrentCell();
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_End);
  Type(editor, QStringLiteral("xy"));
  EXPECT_EQ(FileSlots(2)[1], QStringLiteral("Entrée 2 xy"));
  QTest::keyClick(editor, Qt::Key_Escape);
  QCoreApplication::processEvents();
  EXPECT_FALSE(grid().editing());
  EXPECT_EQ(Cell(2, 2), QStringLiteral("Entrée 2 "));
  EXPECT_EQ(FileSlots(2)[1], QStringLiteral("Entrée 2 "));
  // Escape inside the cell ends the edit and presses nothing else.
  EXPECT_TRUE(boxes_.questions.empty());
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(TranslateFormTest, EditOutsideTheEntriesChangesNothingButSavesAllTheSame) {
  Open(2);
  const QStringList keys = TableKeys(store_);
  const int count = static_cast<int>(store_.TransTable().count());
  const struct { int column, row; } places[] = {{0, 0}, {1, count + 1}, {20, 1}, {-1, 1}};
  for (const auto& place : places) {
    std::filesystem::remove(DatFile());
    form_->StringGrid1SetEditText(place.column, place.row, QStringLiteral("x"));
    EXPECT_EQ(FileKeys(), keys) << place.column << "," << place.row;
  }
  form_->StringGrid1SetEditText(0, 1, QStringLiteral("Neuer Schlüssel"));
  EXPECT_EQ(FileKeys()[0], QStringLiteral("Neuer Schlüssel"));
}

TEST_F(TranslateFormTest, SearchFoldsOnlyTheLettersAToZAndCoversTheHeadingsFirst) {
  Open(0, {{u"Übersetzen", u"Translate"},
           {u"Zu übersetzen", u"To translate"},
           {u"Sprache", u"Language"}});
  struct Case {
    QString text;
    std::vector<GridCell> hits;
  };
  std::vector<GridCell> language;
  for (int column = 7; column < 20; ++column) language.push_back({0, column});
  language.push_back({3, 1});
  const Case cases[] = {
      {QStringLiteral("bersetzen"), {{1, 0}, {2, 0}}},
      {QStringLiteral("BERSETZEN"), {{1, 0}, {2, 0}}},
      {QStringLiteral("übersetzen"), {{2, 0}}},  // ü is not Ü
      {QStringLiteral("TRANSLATE"), {{1, 1}, {2, 1}}},
      {QStringLiteral("language"), language},
      {QString(), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    boxes_.questions.clear();
    std::vector<GridCell> found;
    boxes_.onAsk = [&](const RecordingBoxes::Question& question) {
      found.push_back(form_->foundCell());
      EXPECT_EQ(question.text, QStringLiteral("Text gefunden. Weitersuchen?"));
      EXPECT_EQ(question.caption, QStringLiteral("Suchen"));
      EXPECT_EQ(question.buttons, QuestionButtons::kYesNo);
      return Reply::kYes;
    };
    form_->FilterEdit->setText(c.text);
    form_->FilterBtn->click();
    EXPECT_EQ(found, c.hits);
  }
}

TEST_F(TranslateFormTest, NoEndsTheSearchWithTheCellFoundSelectedAtTheTopLeft) {
  std::vector<std::vector<std::u16string>> rows;
  for (int i = 0; i < 60; ++i) {
    std::vector<std::u16string> slots(13);
    slots[0] = u"Zeile " + QString::number(i).toStdU16String();
    if (i == 39) slots[12] = u"die Nadel im Heuhaufen";
    if (i == 45) slots[12] = u"noch eine Nadel";
    rows.push_back(slots);
  }
  Open(0, rows);
  form_->show();
  boxes_.onAsk = [&](const RecordingBoxes::Question&) {
    EXPECT_EQ(grid().verticalScrollBar()->value(), 39);
    EXPECT_EQ(grid().horizontalScrollBar()->value(), 12 - grid().fixedCols());
    return Reply::kNo;
  };
  for (const bool fixed : {false, true}) {
    SCOPED_TRACE(fixed);
    boxes_.questions.clear();
    form_->FixedColCheck->setChecked(fixed);
    form_->FilterEdit->setText(QStringLiteral("nadel"));
    form_->FilterBtn->click();
    EXPECT_EQ(boxes_.questions.size(), 1u);
    EXPECT_EQ(form_->foundCell(), (GridCell{40, 12}));
    const QList<QTableWidgetItem*> selected = grid().selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0], grid().item(39, 12));
  }
}

TEST_F(TranslateFormTest, DeleteAsksWithTheGermanTextAndOnYesRemovesTheEntryKeepingTheRow) {
  struct Case {
    const char* name;
    Reply reply;
    bool deleted;
  };
  const Case cases[] = {
      {"Yes", Reply::kYes, true}, {"No", Reply::kNo, false}, {"Cancel", Reply::kCancel, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(8);
    const int rows = grid().rowCount();
    boxes_.questions.clear();
    boxes_.onAsk = [&](const RecordingBoxes::Question&) { return c.reply; };
    grid().setCurrentCell(4, 1);  // grid row 5
    std::filesystem::remove(DatFile());
    QTest::keyClick(&grid(), Qt::Key_Delete);
    ASSERT_EQ(boxes_.questions.size(), 1u);
    EXPECT_EQ(boxes_.questions[0].text, QStringLiteral("Eintrag 5"));
    EXPECT_EQ(boxes_.questions[0].caption, QStringLiteral("Eintrag löschen?"));
    EXPECT_EQ(boxes_.questions[0].buttons, QuestionButtons::kYesNoCancel);
    // Saved in every case, and the grid refilled from the table.
    EXPECT_EQ(FileKeys(), TableKeys(store_));
    EXPECT_EQ(grid().rowCount(), rows - (c.deleted ? 1 : 0));
    EXPECT_EQ(TableKeys(store_).contains(QStringLiteral("Eintrag 5")), !c.deleted);
    EXPECT_EQ(form_->currentGridRow(), 5);
    EXPECT_EQ(grid().currentColumn(), 1);
    EXPECT_EQ(Cell(5, 0), c.deleted ? QStringLiteral("Eintrag 6") : QStringLiteral("Eintrag 5"));
  }
}

TEST_F(TranslateFormTest, EscapeAndTheButtonDeleteTooButNeitherTheHeadingNorTheKeyWhileEditing) {
  Open(4);
  form_->show();
  boxes_.onAsk = [](const RecordingBoxes::Question&) { return Reply::kYes; };

  // No current row: nothing is asked, the table is saved and the grid filled.
  std::filesystem::remove(DatFile());
  form_->DeleteRowBtn->click();
  EXPECT_TRUE(boxes_.questions.empty());
  EXPECT_EQ(FileKeys(), TableKeys(store_));

  grid().setCurrentCell(0, 0);
  form_->DeleteRowBtn->click();
  ASSERT_EQ(boxes_.questions.size(), 1u);
  EXPECT_EQ(boxes_.questions[0].text, QStringLiteral("Eintrag 1"));

  // Escape outside a cell presses the delete button; the editor stays open.
  form_->FilterEdit->setFocus();
  QTest::keyClick(form_->FilterEdit, Qt::Key_Escape);
  ASSERT_EQ(boxes_.questions.size(), 2u);
  EXPECT_EQ(boxes_.questions[1].text, QStringLiteral("Eintrag 2"));
  EXPECT_TRUE(form_->isVisible());
  // So does Escape on the grid.
  grid().setFocus();
  QTest::keyClick(&grid(), Qt::Key_Escape);
  ASSERT_EQ(boxes_.questions.size(), 3u);
  EXPECT_EQ(boxes_.questions[2].text, QStringLiteral("Eintrag 3"));
  EXPECT_TRUE(form_->isVisible());

  // While a cell is being edited, Delete edits its text.
  QLineEdit* editor = EditCurrentCell();
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_EQ(boxes_.questions.size(), 3u);
  EXPECT_EQ(FileKeys()[0], QStringLiteral("intrag 4"));
}

TEST_F(TranslateFormTest, FixedColumnsStayInViewAndCannotBeEditedWhileChecked) {
  Open(20);
  form_->setFont(QFont(QStringLiteral("Sans"), 14));
  form_->show();
  QTableView& fixed = *grid().fixedView();
  EXPECT_FALSE(form_->FixedColCheck->isChecked());
  EXPECT_FALSE(fixed.isVisible());

  form_->FixedColCheck->click();
  EXPECT_EQ(grid().fixedCols(), 2);
  ASSERT_TRUE(fixed.isVisible());
  EXPECT_FALSE(fixed.isColumnHidden(0));
  EXPECT_FALSE(fixed.isColumnHidden(1));
  for (int column = 2; column < 20; ++column) EXPECT_TRUE(fixed.isColumnHidden(column));
  EXPECT_EQ(fixed.width(), 500);
  EXPECT_EQ(fixed.model(), grid().model());
  EXPECT_EQ(fixed.selectionModel(), grid().selectionModel());

  // Scrolled sideways, the fixed view still shows German and English at the
  // left edge; a scrolling column made current comes out from under it.
  grid().horizontalScrollBar()->setValue(8);
  EXPECT_EQ(fixed.x(), grid().frameWidth());
  EXPECT_EQ(fixed.columnViewportPosition(0), 0);
  EXPECT_EQ(fixed.columnViewportPosition(1), 250);
  grid().setCurrentCell(2, 3);
  EXPECT_GE(grid().columnViewportPosition(3), 500);
  // Its headings and rows are level with the grid's, also scrolled down.
  EXPECT_EQ(fixed.horizontalHeader()->height(), grid().horizontalHeader()->height());
  grid().verticalScrollBar()->setValue(2);
  EXPECT_EQ(fixed.rowViewportPosition(4), grid().rowViewportPosition(4));

  const auto editable = [&](int column) {
    grid().setCurrentCell(1, column);
    QLineEdit* editor = EditCurrentCell();
    const bool editing = grid().editing() && editor != nullptr;
    if (editor != nullptr) QTest::keyClick(editor, Qt::Key_Escape);
    return editing;
  };
  EXPECT_FALSE(editable(0));
  EXPECT_FALSE(editable(1));
  EXPECT_TRUE(editable(2));

  form_->FixedColCheck->click();
  EXPECT_EQ(grid().fixedCols(), 0);
  EXPECT_FALSE(fixed.isVisible());
  EXPECT_TRUE(editable(0));
  EXPECT_TRUE(editable(1));
}

}  // namespace
}  // namespace tessarin
