// SPDX-License-Identifier: MIT
// The program's windows and the translation table: what the first start in
// a new language learns and in which order, whether the shipped table covers
// it all, and the windows in each of the seven languages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>

#include "about_box.h"
#include "dyna_array.h"
#include "shell_fixture.h"
#include "shipped_languages.h"
#include "table_keys.h"
#include "translate_form.h"
#include "translation_store.h"
#include "translation_tsv.h"

// Readable texts in the failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace tessarin {
namespace {

using testing::ShellTest;
using testing::TableKeys;

QByteArray OptionsBytes(int code) {
  QByteArray bytes(4, '\0');
  bytes[0] = static_cast<char>(code);
  return bytes;
}

std::vector<TranslationRow> ShippedRows() {
  std::ifstream file(TESSARIN_SOURCE_DIR "/data/translations.tsv", std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(file), {});
  std::vector<TranslationRow> rows;
  std::string error;
  EXPECT_TRUE(ParseTranslationTsv(text, rows, error)) << error;
  return rows;
}

class TranslationsTest : public ShellTest {
 protected:
  // The title the program gives the application before its windows exist.
  void SetUp() override {
    ShellTest::SetUp();
    savedName_ = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Tessarin"));
  }
  void TearDown() override {
    QCoreApplication::setApplicationName(savedName_);
    ShellTest::TearDown();
  }
  QString DatPath() const { return ProgramFolderPath() + QStringLiteral("/translate.dat"); }
  // The table as the next start reads it from the program folder.
  QStringList SavedKeys() const {
    TranslationStore saved;
    saved.InitTranslation(ProgramFolderPath().toStdString() + "/");
    return TableKeys(saved);
  }
  void InstallShippedTable() {
    QFile::remove(DatPath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TESSARIN_SHIPPED_TRANSLATIONS), DatPath()));
  }

  QString savedName_;
};

// What the first start in a language other than German learns with an empty
// table: the catalogue, then the walk, captions of the windows from the last
// created to the first, then each window's texts from its last component to
// its first, and the application title, already known by then.
const QStringList kFirstStartLearns{
    // RegisterMessages
    QStringLiteral("Bitte schließen Sie das Program und starten Sie es neu."),
    QStringLiteral("Übersetzen"),  // also the editor's caption
    QStringLiteral("Folgende DXF Datei konnte nicht geöffnet werden:"),
    QStringLiteral("Beginne Konvertierung... Bitte warten..."),
    QStringLiteral("Abgebrochen..."),
    QStringLiteral("Konvertierung beendet:"),
    QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden:"),
    QStringLiteral("Suchen"),  // also the editor's FilterBtn
    QStringLiteral("Text gefunden. Weitersuchen?"),
    QStringLiteral("Eintrag löschen?"),
    // Captions: the editor's is known already.
    QStringLiteral("Info"),
    QStringLiteral("Morlen Tessarin 1.0"),
    // The editor: its grid's heading row is empty, FilterEdit too.
    QStringLiteral("Erste Spalte fixieren"),
    QStringLiteral("Zeile löchen"),
    QStringLiteral("Zurück..."),
    // The information dialog.
    QStringLiteral("OK"),
    QStringLiteral("Anleitung..."),
    QStringLiteral("Wandelt die Splines von DXF Zeichnungen in Polylinien aus Kreisbögen um. "
                   "Freie Software unter der MIT-Lizenz."),
    QStringLiteral("Copyright © %1 Die Tessarin-Entwickler"),
    QStringLiteral("Version %1"),
    QStringLiteral("Tessarin"),
    // The main window: menus, dialogs' filter, then the controls.
    QStringLiteral("Über..."),
    QStringLiteral("Hilfe"),
    QStringLiteral("Übersetzen..."),
    QStringLiteral("Portuguese"),
    QStringLiteral("Spanish"),
    QStringLiteral("Italian"),
    QStringLiteral("Nederlands"),
    QStringLiteral("Français"),
    QStringLiteral("English"),
    QStringLiteral("Deutsch"),
    QStringLiteral("Sprache"),
    QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"),
    QStringLiteral("Öffne DXF Datei nach der Konvertierung"),
    QStringLiteral("Spline Kurven zusätzlich erhalten lassen, um das Ergebnis vergleichen zu "
                   "können"),
    QStringLiteral("1000"),
    QStringLiteral("Spline an sovielen Stellen testen:"),
    QStringLiteral("10"),
    QStringLiteral("Kreisbögen an sovielen Stellen testen:"),
    QStringLiteral("Die minimalen Werte der letzten Umwandlung (orange Felder) geben Hinweise auf "
                   "die Dimension der benötigten Einstellungen. Die Einstellung muss größer als "
                   "die letzten minimalen Werte sein, sonst wird nichts umgewandelt."),
    QStringLiteral("1"),
    QStringLiteral("Maximale Abweichung in DXF Einheiten:"),
    QStringLiteral("Auf Voreinstellungen zurücksetzen"),
    QStringLiteral("Maximale Abweichung in %:"),
    QStringLiteral("Minimale Werte der letzten Umwandlung:"),
    QStringLiteral("Cancel"),
    QStringLiteral("DXF Datei konvertieren..."),
};

TEST_F(TranslationsTest, FirstStartInANewLanguageLearnsEveryTextInTheOrderOfTheWalk) {
  ASSERT_TRUE(WriteBytes(OptionsPath(), OptionsBytes(kDutch)));
  ProgramWindows windows = Start();
  windows.mainForm->PrepareShowing();
  EXPECT_EQ(TableKeys(windows.mainForm->store()), kFirstStartLearns);
  // Everything was saved, and the windows show their German texts.
  EXPECT_EQ(SavedKeys(), kFirstStartLearns);
  EXPECT_EQ(windows.mainForm->KonvertBtn->text(), QStringLiteral("DXF Datei konvertieren..."));
  EXPECT_EQ(windows.aboutBox->windowTitle(), QStringLiteral("Info"));
}

TEST_F(TranslationsTest, ShippedTableHoldsEveryTextTheProgramLooksUpWithAllSixTranslations) {
  ASSERT_TRUE(WriteBytes(OptionsPath(), OptionsBytes(kEnglish)));
  ProgramWindows windows = Start();
  windows.mainForm->PrepareShowing();
  const QStringList looked = TableKeys(windows.mainForm->store());
  const std::set<QString> lookedUp(looked.begin(), looked.end());

  const std::vector<TranslationRow> rows = ShippedRows();
  std::set<QString> shipped;
  static const QRegularExpression letter(QStringLiteral("\\p{L}"));
  for (const TranslationRow& row : rows) {
    const QString key = QString::fromStdU16String(row[0]);
    shipped.insert(key);
    // Texts without letters (the fields' numbers) stay as they are.
    if (!key.contains(letter)) continue;
    for (int slot = 1; slot < kTsvColumns; ++slot) {
      EXPECT_FALSE(row[static_cast<size_t>(slot)].empty())
          << key.toStdString() << ": no translation in column " << slot;
    }
  }
  for (const QString& key : lookedUp) {
    EXPECT_TRUE(shipped.count(key)) << "missing from the table: " << key.toStdString();
  }
  for (const QString& key : shipped) {
    EXPECT_TRUE(lookedUp.count(key)) << "never looked up: " << key.toStdString();
  }

  // The build's table is the current one.
  InstallShippedTable();
  QStringList keys;
  for (const TranslationRow& row : rows) keys.append(QString::fromStdU16String(row[0]));
  EXPECT_EQ(SavedKeys(), keys);
}

TEST_F(TranslationsTest, WindowsAndMessagesAppearInEachShippedLanguage) {
  const QString input = FilePath(QStringLiteral("in.dxf"));
  const QString output = FilePath(QStringLiteral("out.dxf"));
  ASSERT_TRUE(WriteBytes(input, testing::SmallDrawing()));
  const QString year = QString::number(QDate::currentDate().year());
  for (const testing::LanguageTexts& language : testing::ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    InstallShippedTable();
    const QByteArray table = ReadBytes(DatPath());
    ASSERT_TRUE(WriteBytes(OptionsPath(), OptionsBytes(language.code)));
    ProgramWindows windows = Start({input, output});
    TMainForm& form = *windows.mainForm;
    form.PrepareShowing();
    EXPECT_EQ(form.batchExitStatus(), 0);
    EXPECT_EQ(form.KonvertBtn->text(), language.convertButton);
    EXPECT_EQ(form.Sprache1->title(), language.languageMenu);
    EXPECT_EQ(form.Label2->text(), language.percentLabel);
    EXPECT_EQ(form.OpenDialog1->filter(), language.filter);
    EXPECT_EQ(form.SaveDialog1->filter(), language.filter);
    EXPECT_EQ(form.AbwEd->text(), QStringLiteral("1"));
    EXPECT_EQ(windows.aboutBox->windowTitle(), language.aboutCaption);
    EXPECT_EQ(windows.translateForm->DeleteRowBtn->text(), language.deleteButton);
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tessarin"));
    EXPECT_TRUE(form.Label1->text().startsWith(language.finished + QLatin1Char(' ')))
        << form.Label1->text().toStdString();
    // The information dialog puts the year into its translated line.
    QTimer::singleShot(0, windows.aboutBox, [&] { windows.aboutBox->accept(); });
    form.ber1->trigger();
    EXPECT_EQ(windows.aboutBox->Copyright->text(), language.copyright.arg(year));
    EXPECT_EQ(windows.aboutBox->Version->text(),
              language.version.arg(QLatin1String(TESSARIN_PROJECT_VERSION)));
    // Nothing was new to the table.
    EXPECT_EQ(ReadBytes(DatPath()), table);
  }
}

}  // namespace
}  // namespace tessarin
