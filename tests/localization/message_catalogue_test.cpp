// SPDX-License-Identifier: MIT
// The message catalogue over the real translation store: numbers, German
// texts, lookups in the language in force and the registration of all texts.
#include "message_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store_fixture.h"

namespace tessarin {
namespace {

using testing::FileBuilder;
using testing::StoreTest;

const std::vector<std::u16string> kDistinctTexts = {
    u"Bitte schließen Sie das Program und starten Sie es neu.",
    u"Übersetzen",
    u"Folgende DXF Datei konnte nicht geöffnet werden:",
    u"Beginne Konvertierung... Bitte warten...",
    u"Abgebrochen...",
    u"Konvertierung beendet:",
    u"Folgende DXF Datei konnte nicht angelegt werden:",
    u"Suchen",
    u"Text gefunden. Weitersuchen?",
    u"Eintrag löschen?",
};

TEST_F(StoreTest, MessagesOutsideTheCatalogueAreEmpty) {
  Init();
  for (const int number : {-1, 0, 3, 4, 5, 12, 28, 32, 1000}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(MessageText(number, store_), u"");
    EXPECT_EQ(MessageText(number), u"");
    EXPECT_EQ(GermanMessage(number), u"");
  }
  EXPECT_EQ(store_.TransTable().count(), 0u);
}

TEST_F(StoreTest, EditorMessagesHaveGermanTexts) {
  store_.SetLanguage(kGerman);
  Init();
  EXPECT_EQ(MessageText(kMsgSearchCaption, store_), u"Suchen");
  EXPECT_EQ(MessageText(kMsgSearchFound, store_), u"Text gefunden. Weitersuchen?");
  EXPECT_EQ(MessageText(kMsgDeleteCaption, store_), u"Eintrag löschen?");
}

TEST_F(StoreTest, BeforeTheStoreIsBuiltAndWithoutOneMessagesAreGerman) {
  ASSERT_FALSE(store_.built());
  store_.SetLanguage(kFrench);
  EXPECT_EQ(MessageText(8, store_), u"Abgebrochen...");
  // The command-line tool has no store at all.
  EXPECT_EQ(MessageText(8), u"Abgebrochen...");
  RegisterMessages(store_);
  EXPECT_EQ(store_.TransTable().count(), 0u);
  EXPECT_TRUE(FolderContents().empty());
}

TEST_F(StoreTest, MessagesFollowTheLanguageInForceAtEachCall) {
  FileBuilder file;
  file.Int(20).Int(2);
  file.Entry({u"Abgebrochen...", u"Cancelled...", u"Annulé..."});
  file.Entry(
      {u"Folgende DXF Datei konnte nicht geöffnet werden:", u"Could not open this DXF file:"});
  InitWith(file);
  struct Row {
    int language;
    std::u16string cancelled;
    std::u16string notOpened;
  };
  const Row rows[] = {
      {kGerman, u"Abgebrochen...", u"Folgende DXF Datei konnte nicht geöffnet werden:"},
      {kEnglish, u"Cancelled...", u"Could not open this DXF file:"},
      {kFrench, u"Annulé...", u"Folgende DXF Datei konnte nicht geöffnet werden:"},
      {kDutch, u"Abgebrochen...", u"Folgende DXF Datei konnte nicht geöffnet werden:"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.language);
    store_.SetLanguage(row.language);
    EXPECT_EQ(MessageText(8, store_), row.cancelled);
    // 6 and 11 share one entry.
    EXPECT_EQ(MessageText(6, store_), row.notOpened);
    EXPECT_EQ(MessageText(11, store_), row.notOpened);
  }
  EXPECT_EQ(store_.TransTable().count(), 2u);
}

TEST_F(StoreTest, RegisterMessagesLearnsEachDistinctTextOnce) {
  Init();
  RegisterMessages(store_);
  std::vector<std::u16string> keys;
  for (const auto& entry : Table()) keys.push_back(entry[0]);
  EXPECT_EQ(keys, kDistinctTexts);
  // The file holds them.
  Init();
  EXPECT_EQ(store_.TransTable().count(), kDistinctTexts.size());
  // A second registration adds nothing and writes nothing.
  std::filesystem::remove(DatFile());
  RegisterMessages(store_);
  EXPECT_EQ(store_.TransTable().count(), kDistinctTexts.size());
  EXPECT_FALSE(std::filesystem::exists(DatFile()));
}

}  // namespace
}  // namespace tessarin
