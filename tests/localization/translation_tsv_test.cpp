// SPDX-License-Identifier: MIT
// The readable translation table and the build tool that turns it into
// "translate.dat": the file's bytes, the store reading it, and the way back.
#include "translation_tsv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "store_fixture.h"

namespace tessarin {
namespace {

using testing::Bytes;
using testing::FileBuilder;
using testing::ReadBytes;
using testing::StoreTest;

const std::filesystem::path kSample =
    std::filesystem::path(TESSARIN_SOURCE_DIR) / "tests/localization/data/sample_translations.tsv";

// The entries of the sample table, escapes resolved.
std::vector<std::vector<std::u16string>> SampleEntries() {
  return {
      {u"Übersetzen", u"Translate", u"Traduire", u"Vertalen", u"Traduci", u"Traducir", u"Traduzir"},
      {u"Abgebrochen...", u"Cancelled...", u"Annulé...", u"Afgebroken...", u"Annullato...",
       u"Cancelado...", u"Cancelado..."},
      {u"Zeile 1\nZeile 2", u"Line 1\nLine 2", u"Ligne 1\nLigne 2", u"Regel 1\nRegel 2",
       u"Riga 1\nRiga 2", u"Línea 1\nLínea 2", u"Linha 1\nLinha 2"},
      {u"Spalte\tA", u"Column\tA"},
      {u"Ordner C:\\Daten", u"Folder C:\\Data", u"Dossier C:\\Données", u"Map C:\\Gegevens",
       u"Cartella C:\\Dati", u"Carpeta C:\\Datos", u"Pasta C:\\Dados"},
      {u"Łódź", u"Lodz"},
  };
}

int RunTool(const std::string& arguments) {
  std::string command("\"" TESSARIN_MAKE_TRANSLATE_DAT "\" ");
  command += arguments;
  command += " 2>/dev/null";
  return std::system(command.c_str());
}

std::string Quoted(const std::filesystem::path& path) {
  std::string quoted(1, '"');
  quoted += path.string();
  quoted += '"';
  return quoted;
}

TEST_F(StoreTest, ToolWritesTheTableThatTheStoreReadsAndWritesAlike) {
  // Given the sample table turned into "translate.dat" by the tool.
  ASSERT_EQ(RunTool(Quoted(kSample) + " " + Quoted(DatFile())), 0);
  // Then the file holds the entries with 20 slots each.
  FileBuilder expected;
  expected.Int(20).Int(static_cast<std::int32_t>(SampleEntries().size()));
  for (const auto& entry : SampleEntries()) expected.Entry(entry);
  EXPECT_EQ(ReadBytes(DatFile()), expected.bytes());

  // The store finds every text in every language.
  Init();
  std::vector<std::vector<std::u16string>> slots;
  for (const auto& entry : SampleEntries()) slots.push_back(Slots(entry));
  EXPECT_EQ(Table(), slots);
  for (int language = kGerman; language <= kPortuguese; ++language) {
    SCOPED_TRACE(language);
    store_.SetLanguage(language);
    EXPECT_EQ(store_.TranslateText(u" Übersetzen"), u" " + SampleEntries()[0][language]);
    EXPECT_EQ(store_.TranslateText(u"Ordner C:\\Daten"), SampleEntries()[4][language]);
  }
  EXPECT_EQ(store_.TransTable().count(), SampleEntries().size());

  // Its save gives the same bytes, and the tool's way back the same table.
  const Bytes written = ReadBytes(DatFile());
  store_.SaveTranslation();
  EXPECT_EQ(ReadBytes(DatFile()), written);
  const std::filesystem::path back = folder_ / "back.tsv";
  ASSERT_EQ(RunTool("--tsv " + Quoted(DatFile()) + " " + Quoted(back)), 0);
  EXPECT_EQ(ReadBytes(back), ReadBytes(kSample));
}

TEST_F(StoreTest, ToolRefusesFaultyInputAndWritesNothing) {
  const std::filesystem::path table = folder_ / "table.tsv";
  testing::WriteBytes(table, Bytes{'x', '\n'});
  EXPECT_NE(RunTool(Quoted(table) + " " + Quoted(DatFile())), 0);
  // A damaged "translate.dat" is not turned into a table either.
  const std::filesystem::path damaged = folder_ / "damaged.dat";
  testing::WriteBytes(damaged, FileBuilder().Int(20).Int(2).Entry({u"Datei"}).bytes());
  EXPECT_NE(RunTool("--tsv " + Quoted(damaged) + " " + Quoted(table)), 0);
  // A slot without a column neither.
  testing::WriteBytes(damaged, FileBuilder()
                                   .Int(20)
                                   .Int(1)
                                   .Entry({u"Datei", u"", u"", u"", u"", u"", u"", u"Slot 7"})
                                   .bytes());
  EXPECT_NE(RunTool("--tsv " + Quoted(damaged) + " " + Quoted(folder_ / "slot7.tsv")), 0);
  EXPECT_NE(RunTool(Quoted(table)), 0);
  EXPECT_EQ(ReadBytes(table), (Bytes{'x', '\n'}));
  EXPECT_FALSE(std::filesystem::exists(DatFile()));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "slot7.tsv"));
}

constexpr const char* kHeader =
    "German\tEnglish\tFran\xC3\xA7"
    "ais\tNederlands\tItalian\tSpanish\tPortuguese\n";

TEST(TranslationTsv, AcceptsLooseLayouts) {
  struct Row {
    const char* name;
    std::string text;
  };
  const Row rows[] = {
      {"canonical", std::string(kHeader) + "Datei\tFile\t\t\t\t\t\nEnde\tEnd\t\t\t\t\t\n"},
      {"byte order mark", std::string("\xEF\xBB\xBF").append(kHeader) + "Datei\tFile\nEnde\tEnd\n"},
      {"CR LF",
       "German\tEnglish\tFran\xC3\xA7"
       "ais\tNederlands\tItalian\tSpanish\tPortuguese\r\n"
       "Datei\tFile\r\nEnde\tEnd\r\n"},
      {"empty lines, no final line feed", std::string(kHeader) + "\nDatei\tFile\n\nEnde\tEnd"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<TranslationRow> table;
    std::string error;
    ASSERT_TRUE(ParseTranslationTsv(row.text, table, error)) << error;
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0][0], u"Datei");
    EXPECT_EQ(table[0][1], u"File");
    EXPECT_EQ(table[1][0], u"Ende");
    EXPECT_EQ(table[1][1], u"End");
    for (int s = 2; s < kSlotCount; ++s) EXPECT_EQ(table[1][s], u"");
  }
}

TEST(TranslationTsv, NamesTheLineOfEachFault) {
  struct Row {
    const char* name;
    std::string text;
    std::string error;
  };
  const std::string h = kHeader;
  const Row rows[] = {
      {"empty table", "", "the table is empty"},
      {"wrong header", "Deutsch\tEnglish\nDatei\tFile\n", "line 1: the first line"},
      {"too many columns", h + "Datei\t1\t2\t3\t4\t5\t6\t7\n", "line 2: more than 7 columns"},
      {"empty key", h + "Datei\tFile\n\tEnd\n", "line 3: the German text is empty"},
      {"blank before the key", h + " Datei\tFile\n", "line 2: the German text has a blank"},
      {"blank after the key", h + "Datei \tFile\n", "line 2: the German text has a blank"},
      {"same key twice", h + "Datei\tFile\nEnde\tEnd\nDatei\tFichier\n",
       "line 4: the German text is on line 2 already"},
      {"unknown escape", h + "Datei\tFi\\le\n", "line 2: column 2: unknown escape \"\\l\""},
      {"backslash at the end", h + "Datei\tFile\\\n", "line 2: column 2: a backslash at the end"},
      {"invalid UTF-8", h + "Datei\tFil\xC3\n", "line 2: not valid UTF-8"},
      {"NUL", h + std::string("Datei\tF\0le\n", 11), "line 2: holds a NUL"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<TranslationRow> table;
    std::string error;
    EXPECT_FALSE(ParseTranslationTsv(row.text, table, error));
    EXPECT_TRUE(error.starts_with(row.error)) << error;
  }
}

}  // namespace
}  // namespace tessarin
