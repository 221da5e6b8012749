// SPDX-License-Identifier: MIT
// The translation store: lookup and learning, the bytes of "translate.dat",
// damaged files, safe saving and deletion through the editor's access.
#include "translation_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "allocation_watch.h"
#include "dyna_array.h"
#include "store_fixture.h"
#include "translation_file.h"

#if defined(__unix__)
#include <unistd.h>

#include "file_size_limit.h"
#include "unprivileged.h"
#endif

namespace tessarin {
namespace {

using testing::Bytes;
using testing::FileBuilder;
using testing::ReadBytes;
using testing::StoreTest;
using testing::WriteBytes;

// A table of three entries with English and French translations.
FileBuilder ThreeEntries() {
  FileBuilder file;
  file.Int(20).Int(3);
  file.Entry({u"Abgebrochen...", u"Cancelled...", u"Annulé..."});
  file.Entry({u"Beenden", u"Quit", u"Quitter"});
  file.Entry({u"Datei", u"File", u"Fichier"});
  return file;
}

TEST_F(StoreTest, LearningWritesTheExampleFileInEveryLanguage) {
  // One entry "Übersetzen" with empty translations: 108 bytes.
  Bytes expected = {0x14, 0, 0,    0, 0x01, 0, 0,    0, 0x0A, 0, 0,    0, 0xDC, 0, 0x62, 0,
                    0x65, 0, 0x72, 0, 0x73, 0, 0x65, 0, 0x74, 0, 0x7A, 0, 0x65, 0, 0x6E, 0};
  expected.resize(108, 0);
  for (const int language : {kGerman, kEnglish, kPortuguese}) {
    SCOPED_TRACE(language);
    std::filesystem::remove(DatFile());
    Init();
    store_.SetLanguage(language);
    EXPECT_EQ(store_.TranslateText(u"Übersetzen"), u"Übersetzen");
    EXPECT_EQ(ReadBytes(DatFile()), expected);
  }
}

TEST_F(StoreTest, LooksUpTwiceLearnsOnceWritesOnce) {
  Init();
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  ASSERT_TRUE(std::filesystem::exists(DatFile()));
  // A second save would bring the file back.
  std::filesystem::remove(DatFile());
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  EXPECT_FALSE(std::filesystem::exists(DatFile()));
  EXPECT_EQ(store_.TransTable().count(), 1u);
}

TEST_F(StoreTest, TranslatesAndPutsTheTextsOwnBlanksBack) {
  FileBuilder file;
  file.Int(20).Int(3);
  file.Entry({u"Abgebrochen...", u"Cancelled..."});
  file.Entry({u"Beenden", u"\t Quit \r\n", u""});
  file.Entry({u"\tTab", u"Tabulator"});
  InitWith(file);
  struct Row {
    const char* name;
    int language;
    std::u16string text;
    std::u16string expected;
  };
  const Row rows[] = {
      {"translated, blanks kept", kEnglish, u"  Abgebrochen...  ", u"  Cancelled...  "},
      {"no blanks", kEnglish, u"Abgebrochen...", u"Cancelled..."},
      {"empty slot: text as it was", kFrench, u"  Abgebrochen...  ", u"  Abgebrochen...  "},
      {"German: the text itself", kGerman, u" Abgebrochen... ", u" Abgebrochen... "},
      {"translation's own blanks and breaks dropped", kEnglish, u" Beenden", u" Quit"},
      {"tab is part of the key", kEnglish, u"  \tTab ", u"  Tabulator "},
      {"German drops a tab inside the blanks", kGerman, u" \tTab", u" Tab"},
      {"case matters", kEnglish, u"abgebrochen...", u"abgebrochen..."},
      {"slot outside the table", 25, u"Abgebrochen...", u"Abgebrochen..."},
      {"negative code", -1, u"Abgebrochen...", u"Abgebrochen..."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    store_.SetLanguage(row.language);
    EXPECT_EQ(store_.TranslateText(row.text), row.expected);
  }
  // Only the text in other case was learned.
  ASSERT_EQ(store_.TransTable().count(), 4u);
  EXPECT_EQ(Table()[3], Slots({u"abgebrochen..."}));
}

TEST_F(StoreTest, LearnsTheKeyWithoutOuterBlanksButWithInnerOnes) {
  Init();
  EXPECT_EQ(store_.TranslateText(u"  Maximale Abweichung in %:  "),
            u"  Maximale Abweichung in %:  ");
  EXPECT_EQ(store_.TranslateText(u"Maximale Abweichung in %:"), u"Maximale Abweichung in %:");
  EXPECT_EQ(Table(),
            (std::vector<std::vector<std::u16string>>{Slots({u"Maximale Abweichung in %:"})}));
}

TEST_F(StoreTest, EmptyAndBlankTextsLearnNothing) {
  Init();
  EXPECT_EQ(store_.TranslateText(u""), u"");
  EXPECT_EQ(store_.TranslateText(u"   "), u"   ");
  EXPECT_EQ(store_.TransTable().count(), 0u);
  EXPECT_FALSE(std::filesystem::exists(DatFile()));
}

TEST_F(StoreTest, BeforeInitTranslationTextsComeBackAndNothingIsLearned) {
  ASSERT_FALSE(store_.built());
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  EXPECT_EQ(store_.TransTable().count(), 0u);
  store_.SaveTranslation();
  EXPECT_TRUE(FolderContents().empty());
}

TEST_F(StoreTest, SameBucketForALetterAndTheLetterWithStroke) {
  // U+0041 and U+0141 share their low 8 bits.
  FileBuilder file;
  file.Int(20).Int(2).Entry({u"Łódź", u"Lodz"}).Entry({u"Aachen", u"Aix-la-Chapelle"});
  InitWith(file);
  EXPECT_EQ(store_.IndexBucketCount(65), 2u);
  EXPECT_EQ(store_.TranslateText(u"Łódź"), u"Lodz");
  EXPECT_EQ(store_.TranslateText(u"Aachen"), u"Aix-la-Chapelle");
  // Learned texts go to their bucket too.
  EXPECT_EQ(store_.TranslateText(u"Ł"), u"Ł");
  EXPECT_EQ(store_.TranslateText(u"A"), u"A");
  EXPECT_EQ(store_.IndexBucketCount(65), 4u);
  EXPECT_EQ(store_.TransTable().count(), 4u);
}

TEST_F(StoreTest, OfTwoEqualKeysTheFirstOfTheSortedBucketIsFound) {
  // The sort swaps two equal keys, so the second entry comes first.
  FileBuilder file;
  file.Int(20).Int(2).Entry({u"Datei", u"first"}).Entry({u"Datei", u"second"});
  InitWith(file);
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"second");
}

TEST_F(StoreTest, SortedBucketsFindEveryKey) {
  // Many keys in one bucket, in an order the sort has to rework.
  FileBuilder file;
  const int n = 300;
  file.Int(20).Int(n);
  for (int i = 0; i < n; ++i) {
    const int k = (i * 7919) % n;
    std::u16string key = u"K";
    for (const char c : std::to_string(k)) key.push_back(static_cast<char16_t>(c));
    file.Entry({key, key + u"!"});
  }
  InitWith(file);
  EXPECT_EQ(store_.IndexBucketCount('K'), static_cast<std::uint32_t>(n));
  for (int k = 0; k < n; ++k) {
    std::u16string key = u"K";
    for (const char c : std::to_string(k)) key.push_back(static_cast<char16_t>(c));
    ASSERT_EQ(store_.TranslateText(key), key + u"!");
  }
  EXPECT_EQ(store_.TransTable().count(), static_cast<std::uint32_t>(n));
}

TEST_F(StoreTest, OtherSlotCountsLoadAndAreWrittenBackWithTwenty) {
  std::vector<std::u16string> twentyFive;
  for (int s = 0; s < 25; ++s) twentyFive.push_back({u's', static_cast<char16_t>(u'a' + s)});
  twentyFive[0] = u"Datei";
  struct Row {
    const char* name;
    int slots;
    std::vector<std::u16string> expected;
  };
  const std::vector<std::u16string> seven = {u"Datei", u"File",    u"Fichier", u"Bestand",
                                             u"File",  u"Archivo", u"Arquivo"};
  const Row rows[] = {
      {"7 slots", 7, Slots(seven)},
      {"25 slots", 25, std::vector<std::u16string>(twentyFive.begin(), twentyFive.begin() + 20)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FileBuilder file;
    file.Int(row.slots).Int(2);
    file.Entry(row.slots == 7 ? seven : twentyFive, row.slots);
    file.Entry({u"Ende", u"End"}, row.slots);
    InitWith(file);
    ASSERT_EQ(store_.TransTable().count(), 2u);
    EXPECT_EQ(Table()[0], row.expected);
    EXPECT_EQ(Table()[1], Slots({u"Ende", u"End"}));
    store_.SetLanguage(kEnglish);
    EXPECT_EQ(store_.TranslateText(u"Ende"), u"End");
    // The next save writes 20 slots.
    store_.SaveTranslation();
    FileBuilder written;
    written.Int(20).Int(2).Entry(row.expected).Entry({u"Ende", u"End"});
    EXPECT_EQ(ReadBytes(DatFile()), written.bytes());
  }
}

TEST_F(StoreTest, SavesTheTableAsLoaded) {
  InitWith(ThreeEntries());
  store_.SaveTranslation();
  EXPECT_EQ(ReadBytes(DatFile()), ThreeEntries().bytes());
  // A save leaves nothing else in the folder.
  EXPECT_EQ(FolderContents(), std::vector<std::filesystem::path>{"translate.dat"});
}

// Damaged files load what they hold and leave a usable store; nothing is
// shown and no block is asked for that the file could not fill.
std::vector<std::string> boxes;
std::size_t largestBlock = 0;
void RecordBox(const std::string& text) { boxes.push_back(text); }
void* RecordingAllocator(std::size_t bytes) {
  if (bytes > largestBlock) largestBlock = bytes;
  // Table and buckets of these files fit their first block of 100 records.
  return bytes <= 100 * sizeof(TranslationEntry) ? std::calloc(bytes, 1) : nullptr;
}

TEST_F(StoreTest, DamagedFilesLoadWhatTheyHold) {
  // Offsets inside ThreeEntries(): the header is 8 bytes, then the entries.
  FileBuilder firstTwo;
  firstTwo.Int(20).Int(3).Entry({u"Abgebrochen...", u"Cancelled...", u"Annulé..."});
  firstTwo.Entry({u"Beenden", u"Quit", u"Quitter"});
  const std::size_t third = firstTwo.size();
  FileBuilder firstOnly;
  firstOnly.Int(20).Int(3).Entry({u"Abgebrochen...", u"Cancelled...", u"Annulé..."});
  const std::size_t second = firstOnly.size();
  const auto withSecond = [&](std::int32_t length) {
    FileBuilder file = firstOnly;
    file.Int(length).Raw(u"Beenden");
    return file;
  };
  struct Row {
    const char* name;
    FileBuilder file;
    std::size_t entries;
  };
  const Row rows[] = {
      {"empty file", FileBuilder(), 0},
      {"header cut", FileBuilder(ThreeEntries()).Truncate(6), 0},
      {"no entry whole", FileBuilder(ThreeEntries()).Truncate(20), 0},
      {"cut inside a key", FileBuilder(ThreeEntries()).Truncate(second + 6), 1},
      {"cut inside a translation", FileBuilder(ThreeEntries()).Truncate(second + 30), 2},
      {"cut before the last entry", FileBuilder(ThreeEntries()).Truncate(third), 2},
      {"cut in the last entry's translation", FileBuilder(ThreeEntries()).Truncate(third + 20), 3},
      {"length beyond the end", withSecond(0x7FFFFFFF), 1},
      {"length just beyond the end", withSecond(8), 1},
      {"negative length", withSecond(-2), 1},
      {"zero entries", FileBuilder().Int(20).Int(0), 0},
      {"negative entries", FileBuilder().Int(20).Int(-5).Entry({u"Datei", u"File"}), 0},
      {"huge entry count",
       FileBuilder().Int(20).Int(0x7FFFFFFF).Entry({u"Abgebrochen...", u"Cancelled..."}), 1},
      {"zero slots", FileBuilder().Int(0).Int(1000000), 0},
      {"negative slots", FileBuilder().Int(-1).Int(3).Entry({u"Datei", u"File"}), 0},
      {"huge slot count",
       FileBuilder().Int(0x7FFFFFFF).Int(1).Entry({u"Abgebrochen...", u"Cancelled..."}, 30), 1},
  };
  const DynaArrayMessageBox previousBox = SetDynaArrayMessageBox(&RecordBox);
  const DynaArrayAllocator previousAllocator = SetDynaArrayAllocator(&RecordingAllocator);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    boxes.clear();
    largestBlock = 0;
    WriteBytes(DatFile(), row.file.bytes());
    {
      // No text longer than the file, no block beyond the first.
      const testing::AllocationLimit limit(2 * row.file.size() + 65536);
      Init();
      EXPECT_EQ(testing::AllocationLimit::Refused(), 0u);
    }
    ASSERT_EQ(store_.TransTable().count(), row.entries);
    EXPECT_TRUE(boxes.empty());
    EXPECT_LE(largestBlock, 100 * sizeof(TranslationEntry));
    // The index holds what was read.
    store_.SetLanguage(kEnglish);
    if (row.entries >= 1) {
      EXPECT_EQ(store_.TranslateText(u"Abgebrochen..."), u"Cancelled...");
    }
    if (row.entries >= 2) {
      EXPECT_EQ(Table()[1][0], u"Beenden");
    }
    // Still usable: a new text is learned and the file is whole again.
    EXPECT_EQ(store_.TranslateText(u"Neu"), u"Neu");
    Init();
    EXPECT_EQ(store_.TransTable().count(), row.entries + 1);
    EXPECT_EQ(Table().back(), Slots({u"Neu"}));
  }
  SetDynaArrayMessageBox(previousBox);
  SetDynaArrayAllocator(previousAllocator);
}

TEST_F(StoreTest, HugeSlotCountKeepsTheFirstTwenty) {
  FileBuilder file;
  file.Int(0x7FFFFFFF).Int(1).Entry({u"Datei", u"File", u"Fichier"}, 30);
  InitWith(file);
  ASSERT_EQ(store_.TransTable().count(), 1u);
  EXPECT_EQ(Table()[0], Slots({u"Datei", u"File", u"Fichier"}));
}

TEST_F(StoreTest, AFolderThatCannotBeWrittenKeepsTheTableInMemory) {
  folder_ /= "missing";
  Init();
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  EXPECT_EQ(store_.TransTable().count(), 1u);
  EXPECT_FALSE(std::filesystem::exists(folder_));
}

#if defined(__unix__)
// The protection holds for an ordinary user; as root the lookup runs in a
// child that has dropped to one (see unprivileged.h).
TEST_F(StoreTest, WriteProtectedFolderStaysAsItWas) {
  InitWith(ThreeEntries());
  std::string why;
  const std::optional<int> learned = testing::RunUnprivileged(
      [this] {
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        const bool ok = store_.TranslateText(u"Neu") == u"Neu" && store_.TransTable().count() == 4u;
        return ok ? 0 : 1;
      },
      {folder_}, why);
  if (!learned) GTEST_SKIP() << why;
  EXPECT_EQ(*learned, 0) << "the lookup did not learn the text in memory";
  EXPECT_EQ(ReadBytes(DatFile()), ThreeEntries().bytes());
  EXPECT_EQ(FolderContents(), std::vector<std::filesystem::path>{"translate.dat"});
}

TEST_F(StoreTest, WriteProtectedFileStaysAsItWas) {
  InitWith(ThreeEntries());
  std::string why;
  const std::optional<int> learned = testing::RunUnprivileged(
      [this] {
        std::filesystem::permissions(DatFile(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        return store_.TranslateText(u"Neu") == u"Neu" && store_.TransTable().count() == 4u ? 0 : 1;
      },
      {folder_}, why);
  if (!learned) GTEST_SKIP() << why;
  EXPECT_EQ(*learned, 0) << "the lookup did not learn the text in memory";
  EXPECT_EQ(ReadBytes(DatFile()), ThreeEntries().bytes());
  EXPECT_EQ(FolderContents(), std::vector<std::filesystem::path>{"translate.dat"});
}

// A folder named "translate.dat", and a file nobody may read or write:
// the store starts empty, learns in memory, and leaves both as they were.
TEST_F(StoreTest, ATableThatIsAFolderOrUnreadableIsPassedOver) {
  std::filesystem::create_directory(DatFile());
  Init();
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  EXPECT_EQ(store_.TransTable().count(), 1u);
  EXPECT_TRUE(std::filesystem::is_directory(DatFile()));
  EXPECT_TRUE(std::filesystem::is_empty(DatFile()));
  std::filesystem::remove(DatFile());

  WriteBytes(DatFile(), ThreeEntries().bytes());
  std::string why;
  const std::optional<int> result = testing::RunUnprivileged(
      [this] {
        std::filesystem::permissions(DatFile(), std::filesystem::perms::none);
        Init();
        if (store_.TransTable().count() != 0u) return 1;
        return store_.TranslateText(u"Datei") == u"Datei" && store_.TransTable().count() == 1u ? 0
                                                                                               : 2;
      },
      {folder_}, why);
  if (!result) GTEST_SKIP() << why;
  EXPECT_EQ(*result, 0) << "1: something was read, 2: the text was not learned in memory";
  std::filesystem::permissions(DatFile(), std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadBytes(DatFile()), ThreeEntries().bytes());
  EXPECT_EQ(FolderContents(), std::vector<std::filesystem::path>{"translate.dat"});
}

TEST_F(StoreTest, AWriteThatFailsHalfwayLeavesTheOldFile) {
  // Given a file, and a limit on file sizes well below the next save's size.
  InitWith(ThreeEntries());
  const Bytes before = ReadBytes(DatFile());
  ReplaceSlot(*static_cast<TranslationEntry*>(store_.TransTable().GetObject(0)), 5,
              std::u16string(200, u'x'));
  testing::FileSizeLimit small(256);
  ASSERT_TRUE(small.set());
  // When the save fails in the middle.
  store_.SaveTranslation();
  small.Lift();
  // Then the old file is whole and nothing else is left beside it.
  EXPECT_EQ(ReadBytes(DatFile()), before);
  EXPECT_EQ(FolderContents(), std::vector<std::filesystem::path>{"translate.dat"});
  // And the next save without the limit writes the table.
  store_.SaveTranslation();
  Init();
  EXPECT_EQ(SlotText(*static_cast<TranslationEntry*>(store_.TransTable().GetObject(0)), 5),
            std::u16string(200, u'x'));
}
// A full disk while a looked-up text is learned: the lookup answers, the
// table keeps the text in memory, the file stays whole, and the next save
// with room writes everything.
TEST_F(StoreTest, AFullDiskWhileLearningLosesNothing) {
  InitWith(ThreeEntries());
  testing::FileSizeLimit full(64);  // below the size of the table
  ASSERT_TRUE(full.set());
  const std::u16string answer = store_.TranslateText(u"Neu");
  full.Lift();
  EXPECT_EQ(answer, u"Neu");
  EXPECT_EQ(store_.TransTable().count(), 4u);
  EXPECT_EQ(ReadBytes(DatFile()), ThreeEntries().bytes());
  EXPECT_EQ(FolderContents(), std::vector<std::filesystem::path>{"translate.dat"});

  EXPECT_EQ(store_.TranslateText(u"Neuer"), u"Neuer");
  Init();
  ASSERT_EQ(store_.TransTable().count(), 5u);
  EXPECT_EQ(Table()[3], Slots({u"Neu"}));
  EXPECT_EQ(Table()[4], Slots({u"Neuer"}));
}
#endif

TEST_F(StoreTest, EditorIteratesReplacesAndSaves) {
  InitWith(ThreeEntries());
  // The grid's rows: aobjnr is the entry's number plus one.
  std::vector<std::int32_t> rows;
  std::vector<std::u16string> keys;
  TDynaArray& table = store_.TransTable();
  table.First();
  while (table.WhileNext()) {
    rows.push_back(table.aobjnr());
    keys.emplace_back(SlotText(*store_.CurEntry(), 0));
  }
  EXPECT_EQ(rows, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"Abgebrochen...", u"Beenden", u"Datei"}));

  table.GetObject(1);
  ReplaceSlot(*store_.CurEntry(), kDutch, u"Afsluiten");
  ReplaceSlot(*store_.CurEntry(), 20, u"outside");
  EXPECT_EQ(SlotText(*store_.CurEntry(), 20), u"");
  EXPECT_EQ(SlotText(*store_.CurEntry(), -1), u"");
  store_.SaveTranslation();
  Init();
  store_.SetLanguage(kDutch);
  EXPECT_EQ(store_.TranslateText(u"Beenden"), u"Afsluiten");
}

TEST_F(StoreTest, ChangedKeyIsFoundUnderItsOldTextUntilTheNextStart) {
  InitWith(ThreeEntries());
  ReplaceSlot(*static_cast<TranslationEntry*>(store_.TransTable().GetObject(1)), 0, u"Schließen");
  store_.SaveTranslation();
  EXPECT_EQ(store_.TranslateText(u"Beenden"), u"Quit");
  // After the next start the new key is found and the old one is learned.
  Init();
  EXPECT_EQ(store_.TranslateText(u"Schließen"), u"Quit");
  EXPECT_EQ(store_.TranslateText(u"Beenden"), u"Beenden");
  EXPECT_EQ(store_.TransTable().count(), 4u);
}

TEST_F(StoreTest, LookupsAfterDeletionStayInsideTheTable) {
  struct Row {
    const char* name;
    std::int32_t deleted;
    std::vector<std::pair<std::u16string, std::u16string>> lookups;
  };
  const Row rows[] = {
      {"first", 0, {{u"Beenden", u"Quit"}, {u"Datei", u"File"}}},
      {"middle", 1, {{u"Abgebrochen...", u"Cancelled..."}, {u"Datei", u"File"}}},
      {"last", 2, {{u"Abgebrochen...", u"Cancelled..."}, {u"Beenden", u"Quit"}}},
  };
  const std::u16string keys[] = {u"Abgebrochen...", u"Beenden", u"Datei"};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    InitWith(ThreeEntries());
    store_.SetLanguage(kEnglish);
    store_.DeleteTranslationEntry(row.deleted);
    ASSERT_EQ(store_.TransTable().count(), 2u);
    for (const auto& [text, expected] : row.lookups)
      EXPECT_EQ(store_.TranslateText(text), expected);
    EXPECT_EQ(store_.TransTable().count(), 2u);
    // The deleted text is learned anew, with empty translations, at the end.
    const std::u16string& gone = keys[row.deleted];
    EXPECT_EQ(store_.TranslateText(gone), gone);
    ASSERT_EQ(store_.TransTable().count(), 3u);
    EXPECT_EQ(Table()[2], Slots({gone}));
    EXPECT_EQ(store_.TranslateText(gone), gone);
    EXPECT_EQ(store_.TransTable().count(), 3u);
  }
}

TEST_F(StoreTest, DeletingEveryEntryLeavesAWorkingStore) {
  InitWith(ThreeEntries());
  store_.DeleteTranslationEntry(-1);
  store_.DeleteTranslationEntry(3);
  EXPECT_EQ(store_.TransTable().count(), 3u);
  while (store_.TransTable().count() > 0) store_.DeleteTranslationEntry(0);
  for (int b = 0; b < 256; ++b) ASSERT_EQ(store_.IndexBucketCount(b), 0u) << b;
  store_.SaveTranslation();
  EXPECT_EQ(ReadBytes(DatFile()), FileBuilder().Int(20).Int(0).bytes());
  EXPECT_EQ(store_.TranslateText(u"Datei"), u"Datei");
  EXPECT_EQ(store_.TransTable().count(), 1u);
}

TEST(TableText, RoundTripsAndStopsAtNul) {
  std::stringstream stream;
  WriteTableText(stream, u"Ü\u20AC");
  WriteTableText(stream, u"");
  WriteTableText(stream, std::u16string(u"ab\0cd", 5));
  const std::string bytes = stream.str();
  EXPECT_EQ(bytes, std::string("\x02\0\0\0\xDC\0\xAC\x20"
                               "\0\0\0\0"
                               "\x02\0\0\0a\0b\0",
                               20));
  std::uint64_t remaining = bytes.size();
  EXPECT_EQ(ReadTableText(stream, remaining), u"Ü\u20AC");
  EXPECT_EQ(ReadTableText(stream, remaining), u"");
  EXPECT_EQ(ReadTableText(stream, remaining), u"ab");
  EXPECT_EQ(remaining, 0u);
  EXPECT_EQ(ReadTableText(stream, remaining), std::nullopt);
}

}  // namespace
}  // namespace tessarin
