// SPDX-License-Identifier: MIT
// The walk over the windows: its order, the kinds and which of their texts it
// translates, and what the application and a window own.
#include "interface_translation.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <memory>

#include "file_dialog_settings.h"
#include "recording_boxes.h"
#include "store_fixture.h"
#include "string_grid.h"
#include "translate_form.h"

namespace tessarin {
namespace {

using testing::FileBuilder;
using testing::RecordingBoxes;
using testing::StoreTest;
using testing::TableKeys;

// A window with one component of every kind, most of them with a tooltip,
// created in this order.
struct SampleWindow {
  SampleWindow() {
    window.setWindowTitle(QStringLiteral("Fenster"));
    window.setToolTip(QStringLiteral("Fenster-Hinweis"));
    auto* panel = new QWidget(&window);
    window.setCentralWidget(panel);
    label = new QLabel(QStringLiteral("Beschriftung"), panel);
    label->setToolTip(QStringLiteral("Beschriftungs-Hinweis"));
    picture = new QLabel(panel);
    picture->setPixmap(QPixmap(4, 4));
    check = new QCheckBox(QStringLiteral("Schalter"), panel);
    check->setToolTip(QStringLiteral("Schalter-Hinweis"));
    button = new QPushButton(QStringLiteral("Knopf"), panel);
    button->setToolTip(QStringLiteral("Knopf-Hinweis"));
    group = new QGroupBox(QStringLiteral("Gruppe"), panel);
    group->setToolTip(QStringLiteral("Gruppen-Hinweis"));
    field = new QLineEdit(QStringLiteral("Feld"), group);
    field->setToolTip(QStringLiteral("Feld-Hinweis"));
    empty = new QLineEdit(group);
    memo = new QPlainTextEdit(QStringLiteral("Zeile eins\nZeile zwei"), panel);
    grid = new QTableWidget(1, 3, panel);
    grid->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("Kopf")));
    grid->setHorizontalHeaderItem(1, new QTableWidgetItem(QString()));
    grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Zelle")));
    status = new QStatusBar(panel);
    status->showMessage(QStringLiteral("Bereit"));
    dialog = new FileDialogSettings(QStringLiteral("OpenDialog1"), &window);
    dialog->setFilter(QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"));
    menu = window.menuBar()->addMenu(QStringLiteral("Datei"));
    open = menu->addAction(QStringLiteral("Öffnen..."));
    open->setToolTip(QStringLiteral("Öffnet eine Zeichnung"));
    menu->addSeparator();
    close = menu->addAction(QStringLiteral("Schließen"));
  }

  QMainWindow window;
  QLabel* label;
  QLabel* picture;
  QCheckBox* check;
  QPushButton* button;
  QGroupBox* group;
  QLineEdit* field;
  QLineEdit* empty;
  QPlainTextEdit* memo;
  QTableWidget* grid;
  QStatusBar* status;
  FileDialogSettings* dialog;
  QMenu* menu;
  QAction* open;
  QAction* close;
};

// What a walk over SampleWindow meets, in its order: the caption, then the
// components from the last created to the first.
const QStringList kSampleWalk{
    QStringLiteral("Fenster"),
    QStringLiteral("Schließen"),  // no tooltip of its own
    QStringLiteral("Öffnen..."),
    QStringLiteral("Öffnet eine Zeichnung"),
    QStringLiteral("Datei"),  // the menu's title
    QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"),
    QStringLiteral("Kopf"),  // the heading row only, not the cell
    QStringLiteral("Zeile eins"),
    QStringLiteral("Zeile zwei"),
    QStringLiteral("Feld"),  // not its tooltip
    QStringLiteral("Gruppe"),
    QStringLiteral("Gruppen-Hinweis"),
    QStringLiteral("Knopf"),
    QStringLiteral("Knopf-Hinweis"),
    QStringLiteral("Schalter-Hinweis"),  // a switch's tooltip comes first
    QStringLiteral("Schalter"),
    QStringLiteral("Beschriftung"),  // not its tooltip
};

TEST_F(StoreTest, WalkLearnsTheTextsOfEachKindInItsOrderAndChangesNothingWhileUntranslated) {
  Init();
  SampleWindow sample;
  TranslateComponents(&sample.window, store_);
  EXPECT_EQ(TableKeys(store_), kSampleWalk);
  // Every text was learned and saved; each is still the German one.
  store_.InitTranslation(ProgPath());
  EXPECT_EQ(TableKeys(store_), kSampleWalk);
  EXPECT_EQ(sample.label->text(), QStringLiteral("Beschriftung"));
  EXPECT_EQ(sample.memo->toPlainText(), QStringLiteral("Zeile eins\nZeile zwei"));
  EXPECT_EQ(sample.menu->title(), QStringLiteral("Datei"));
  EXPECT_EQ(sample.close->toolTip(), QStringLiteral("Schließen"));
  EXPECT_FALSE(sample.picture->pixmap().isNull());
  EXPECT_TRUE(sample.empty->text().isEmpty());

  // A second walk learns nothing more.
  TranslateComponents(&sample.window, store_);
  EXPECT_EQ(TableKeys(store_), kSampleWalk);
}

TEST_F(StoreTest, WalkPutsTheTranslationsInPlaceAndLeavesWhatItDoesNotTranslate) {
  FileBuilder file;
  const std::vector<std::vector<std::u16string>> entries{
      {u"Fenster", u"Window"},
      {u"Fenster-Hinweis", u"Window hint"},
      {u"Beschriftung", u"Label"},
      {u"Beschriftungs-Hinweis", u"Label hint"},
      {u"Schalter", u"Switch"},
      {u"Schalter-Hinweis", u"Switch hint"},
      {u"Knopf", u"Button"},
      {u"Knopf-Hinweis", u"Button hint"},
      {u"Gruppe", u"Group"},
      {u"Gruppen-Hinweis", u"Group hint"},
      {u"Feld", u"Field"},
      {u"Feld-Hinweis", u"Field hint"},
      {u"Zeile eins", u"Line one"},
      {u"Zeile zwei", u"  Line two\t"},  // the blanks around a translation go
      {u"Kopf", u"Heading"},
      {u"Zelle", u"Cell"},
      {u"Bereit", u"Ready"},
      {u"DXF-Dateien (*.dxf)|*.dxf", u"DXF files (*.dxf)|*.dxf"},
      {u"Datei", u"File"},
      {u"Öffnen...", u"Open..."},
      {u"Öffnet eine Zeichnung", u"Opens a drawing"},
      {u"Schließen"},  // no translation: stays German
  };
  file.Int(20).Int(static_cast<std::int32_t>(entries.size()));
  for (const auto& entry : entries) file.Entry(entry);
  InitWith(file);
  store_.SetLanguage(kEnglish);
  SampleWindow sample;
  TranslateComponents(&sample.window, store_);

  struct Case {
    const char* name;
    QString shown;
    QString expected;
  };
  const Case cases[] = {
      {"window caption", sample.window.windowTitle(), QStringLiteral("Window")},
      {"window tooltip", sample.window.toolTip(), QStringLiteral("Fenster-Hinweis")},
      {"label", sample.label->text(), QStringLiteral("Label")},
      {"label tooltip", sample.label->toolTip(), QStringLiteral("Beschriftungs-Hinweis")},
      {"switch", sample.check->text(), QStringLiteral("Switch")},
      {"switch tooltip", sample.check->toolTip(), QStringLiteral("Switch hint")},
      {"button", sample.button->text(), QStringLiteral("Button")},
      {"button tooltip", sample.button->toolTip(), QStringLiteral("Button hint")},
      {"group box", sample.group->title(), QStringLiteral("Group")},
      {"group box tooltip", sample.group->toolTip(), QStringLiteral("Group hint")},
      {"text field", sample.field->text(), QStringLiteral("Field")},
      {"text field tooltip", sample.field->toolTip(), QStringLiteral("Feld-Hinweis")},
      {"lines", sample.memo->toPlainText(), QStringLiteral("Line one\nLine two")},
      {"heading", sample.grid->horizontalHeaderItem(0)->text(), QStringLiteral("Heading")},
      {"cell", sample.grid->item(0, 0)->text(), QStringLiteral("Zelle")},
      {"status bar", sample.status->currentMessage(), QStringLiteral("Bereit")},
      {"filter", sample.dialog->filter(), QStringLiteral("DXF files (*.dxf)|*.dxf")},
      {"menu title", sample.menu->title(), QStringLiteral("File")},
      {"menu item", sample.open->text(), QStringLiteral("Open...")},
      {"menu item tooltip", sample.open->toolTip(), QStringLiteral("Opens a drawing")},
      {"untranslated item", sample.close->text(), QStringLiteral("Schließen")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.shown, c.expected) << c.name;
  }
  EXPECT_FALSE(sample.picture->pixmap().isNull());
  // Everything the walk met was in the table: nothing was learned.
  EXPECT_EQ(TableKeys(store_).size(), static_cast<qsizetype>(entries.size()));
}

// Each text is translated once: "Eins" becomes "Zwei", and a second pass
// would turn that into "Drei".
FileBuilder ChainedTranslations() {
  FileBuilder file;
  file.Int(20).Int(2);
  file.Entry({u"Eins", u"Zwei"});
  file.Entry({u"Zwei", u"Drei"});
  return file;
}

TEST_F(StoreTest, ApplicationOwnsItsWindowsInCreationOrderAndEachWindowOnlyItsOwnComponents) {
  InitWith(ChainedTranslations());
  store_.SetLanguage(kEnglish);
  auto main = std::make_unique<QMainWindow>();
  main->setWindowTitle(QStringLiteral("Hauptfenster"));
  auto* mainLabel = new QLabel(QStringLiteral("Eins"), main.get());
  auto* info = new QDialog(main.get());
  info->setWindowTitle(QStringLiteral("Info"));
  auto* infoLabel = new QLabel(QStringLiteral("Eins"), info);
  // A panel without a kind of its own, holding a label, inside the editor.
  auto* editor = new QDialog(main.get());
  editor->setWindowTitle(QStringLiteral("Editor"));
  auto* panel = new QWidget(editor);
  auto* editorLabel = new QLabel(QStringLiteral("Eins"), panel);
  auto* editorOwn = new QLabel(QStringLiteral("Etikett"), editor);

  TranslateComponents(QCoreApplication::instance(), store_);
  EXPECT_EQ(mainLabel->text(), QStringLiteral("Zwei"));
  EXPECT_EQ(infoLabel->text(), QStringLiteral("Zwei"));
  EXPECT_EQ(editorLabel->text(), QStringLiteral("Zwei"));
  // The captions from the last window to the first, then the components of
  // each window in that order.
  EXPECT_EQ(TableKeys(store_),
            (QStringList{QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Editor"),
                         QStringLiteral("Info"), QStringLiteral("Hauptfenster"),
                         QStringLiteral("Etikett")}));
  EXPECT_EQ(editorOwn->text(), QStringLiteral("Etikett"));
}

TEST_F(StoreTest, WalkFromAWindowOrAPanelCoversWhatLiesBelowItButNoWindowWithin) {
  InitWith(ChainedTranslations());
  store_.SetLanguage(kEnglish);
  QMainWindow main;
  main.setWindowTitle(QStringLiteral("Eins"));
  auto* panel = new QWidget(&main);
  auto* label = new QLabel(QStringLiteral("Eins"), panel);
  auto* dialog = new QDialog(&main);
  dialog->setWindowTitle(QStringLiteral("Eins"));
  auto* dialogLabel = new QLabel(QStringLiteral("Eins"), dialog);

  TranslateComponents(panel, store_);
  EXPECT_EQ(label->text(), QStringLiteral("Zwei"));
  EXPECT_EQ(main.windowTitle(), QStringLiteral("Eins"));

  label->setText(QStringLiteral("Eins"));
  TranslateComponents(&main, store_);
  EXPECT_EQ(main.windowTitle(), QStringLiteral("Zwei"));
  EXPECT_EQ(label->text(), QStringLiteral("Zwei"));
  // The dialog is the application's, not the main window's.
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Eins"));
  EXPECT_EQ(dialogLabel->text(), QStringLiteral("Eins"));
}

TEST_F(StoreTest, EditorsHeadingsAreNotTranslatedSinceTheyAreEmptyWhenTheWalkPasses) {
  Init();
  RecordingBoxes boxes;
  TTranslateForm form(nullptr, store_, boxes);
  TranslateComponents(&form, store_);
  EXPECT_EQ(TableKeys(store_),
            (QStringList{QStringLiteral("Übersetzen"), QStringLiteral("Erste Spalte fixieren"),
                         QStringLiteral("Zeile löchen"), QStringLiteral("Suchen"),
                         QStringLiteral("Zurück...")}));
  form.FillStringGrid();
  EXPECT_EQ(form.StringGrid1->horizontalHeaderItem(0)->text(), QStringLiteral("German"));
}

}  // namespace
}  // namespace tessarin
