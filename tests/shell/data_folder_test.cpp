// SPDX-License-Identifier: MIT
// Where "translate.dat" and "options.dat" are kept: beside a writable
// program, or in the user's data folder seeded from the shipped files.
#include "data_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

#include "about_box.h"
#include "shell_fixture.h"

#if defined(Q_OS_UNIX)
#include <sys/stat.h>

#include "unprivileged.h"
#endif

namespace tessarin {
namespace {

const QByteArray kShippedTable = QByteArrayLiteral("shipped table");
const QByteArray kGerman("\0\0\0\0", 4);
const QByteArray kDutch("\3\0\0\0", 4);

// An installed program: root/bin/tessarin with its files in
// root/share/tessarin/, and a user data folder root/user/Tessarin that does
// not exist yet.
class DataFolderTest : public testing::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(QDir().mkpath(Bin()));
    ASSERT_TRUE(QDir().mkpath(Share()));
    ASSERT_TRUE(WriteBytes(Share() + QStringLiteral("translate.dat"), kShippedTable));
    ASSERT_TRUE(WriteBytes(Share() + QStringLiteral("options.dat"), kGerman));
  }

  QString Bin() const { return FilePath(QStringLiteral("bin/")); }
  QString Share() const { return FilePath(QStringLiteral("share/tessarin/")); }
  QString User() const { return FilePath(QStringLiteral("user/Tessarin/")); }
  QString InUser(const char* name) const { return User() + QLatin1String(name); }
  QStringList Entries(const QString& folder) const {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  }
};

TEST_F(DataFolderTest, InstalledProgramLayoutIsWhatTheBuildInstalls) {
  // The share folder this test lays out is the one the install rules use.
  EXPECT_EQ(QDir::cleanPath(Bin() + ShippedFromProgram()) + QLatin1Char('/'), Share());
}

TEST_F(DataFolderTest, WritableProgramFolderWithItsTableKeepsTheFilesBesideIt) {
  const QString program = ProgramFolderPath() + QLatin1Char('/');
  ASSERT_TRUE(WriteBytes(program + QStringLiteral("translate.dat"), kShippedTable));
  EXPECT_EQ(DataFolder(program, User()), program);
  EXPECT_FALSE(QFileInfo::exists(User()));
  // No trace of the probe.
  EXPECT_EQ(Entries(program), QStringList{QStringLiteral("translate.dat")});
}

TEST_F(DataFolderTest, InstalledProgramSeedsTheUserFolderAndNeverWritesBesideItself) {
  EXPECT_EQ(DataFolder(Bin(), User()), User());
  EXPECT_EQ(ReadBytes(InUser("translate.dat")), kShippedTable);
  EXPECT_EQ(ReadBytes(InUser("options.dat")), kGerman);
  EXPECT_TRUE(Entries(Bin()).isEmpty());
  // A second start finds the copies and writes nothing.
  const QStringList seeded = Entries(User());
#if defined(Q_OS_UNIX)
  const auto inode = [](const QString& path) {
    struct stat status {};
    return ::stat(path.toLocal8Bit().constData(), &status) == 0 ? status.st_ino : 0;
  };
  const auto table = inode(InUser("translate.dat"));
  const auto options = inode(InUser("options.dat"));
#endif
  EXPECT_EQ(DataFolder(Bin(), User()), User());
  EXPECT_EQ(Entries(User()), seeded);
  EXPECT_EQ(ReadBytes(InUser("translate.dat")), kShippedTable);
#if defined(Q_OS_UNIX)
  // A file written anew through a rename would have another inode.
  EXPECT_EQ(inode(InUser("translate.dat")), table);
  EXPECT_EQ(inode(InUser("options.dat")), options);
#endif
}

TEST_F(DataFolderTest, TheUsersFilesAreKeptAndOnlyAnUnchangedTableGivesWayToANewerOne) {
  struct Row {
    const char* name;
    QByteArray userTable;  // before the start; empty: as seeded
    QByteArray userOptions;
    QByteArray expectedTable;  // after a start with a newer shipped table
  };
  const QByteArray newer = QByteArrayLiteral("newer shipped table");
  const Row rows[] = {
      {"unchanged seeded copy", {}, kDutch, newer},
      {"table the program or its user changed", QByteArrayLiteral("edited"), kDutch,
       QByteArrayLiteral("edited")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QDir(FilePath(QStringLiteral("user"))).removeRecursively();
    ASSERT_TRUE(WriteBytes(Share() + QStringLiteral("translate.dat"), kShippedTable));
    ASSERT_EQ(DataFolder(Bin(), User()), User());
    if (!row.userTable.isEmpty()) {
      ASSERT_TRUE(WriteBytes(InUser("translate.dat"), row.userTable));
    }
    ASSERT_TRUE(WriteBytes(InUser("options.dat"), row.userOptions));

    ASSERT_TRUE(WriteBytes(Share() + QStringLiteral("translate.dat"), newer));
    EXPECT_EQ(DataFolder(Bin(), User()), User());
    EXPECT_EQ(ReadBytes(InUser("translate.dat")), row.expectedTable);
    // The language chosen is never replaced by the shipped German.
    EXPECT_EQ(ReadBytes(InUser("options.dat")), row.userOptions);
  }
}

TEST_F(DataFolderTest, UserFolderThatCannotBeMadeLeavesTheShippedFilesToRead) {
  ASSERT_TRUE(WriteBytes(FilePath(QStringLiteral("user")), "a file in the way"));
  EXPECT_EQ(DataFolder(Bin(), User()), Share());
  EXPECT_EQ(ReadBytes(Share() + QStringLiteral("translate.dat")), kShippedTable);
  EXPECT_TRUE(Entries(Bin()).isEmpty());
}

TEST_F(DataFolderTest, ShippedFilesAreFoundBesideTheProgramFirst) {
  const QString guide = QStringLiteral("user-guide.html");
  EXPECT_EQ(ShippedFile(Bin(), guide), Bin() + guide) << "nowhere: beside the program";
  ASSERT_TRUE(WriteBytes(Share() + guide, "guide"));
  EXPECT_EQ(ShippedFile(Bin(), guide), Share() + guide);
  ASSERT_TRUE(WriteBytes(Bin() + guide, "guide"));
  EXPECT_EQ(ShippedFile(Bin(), guide), Bin() + guide);
}

#if defined(Q_OS_UNIX)
TEST_F(DataFolderTest, WriteProtectedProgramFolderSeedsTheUserFolderFromTheTableBesideIt) {
  // A copy of the program in a folder of another user, or on a read-only
  // medium: its own table is the shipped one.
  const QString program = ProgramFolderPath() + QLatin1Char('/');
  ASSERT_TRUE(WriteBytes(program + QStringLiteral("translate.dat"), kShippedTable));
  const std::string programFolder = ProgramFolderPath().toStdString();
  const QString user = User();
  std::string why;
  const std::optional<int> result = testing::RunUnprivileged(
      [&] {
        if (::chmod(programFolder.c_str(), 0555) != 0) return 1;
        if (DataFolder(program, user) != user) return 2;
        if (ReadBytes(user + QStringLiteral("translate.dat")) != kShippedTable) return 3;
        // No options.dat ships beside such a copy: none is made up.
        if (QFileInfo::exists(user + QStringLiteral("options.dat"))) return 4;
        return 0;
      },
      {root_.path().toStdString()}, why);
  ::chmod(programFolder.c_str(), 0755);
  if (!result) GTEST_SKIP() << why;
  EXPECT_EQ(*result, 0);
}
#endif

TEST_F(DataFolderTest, InstalledProgramStartsInGermanWithItsTableInTheUserDataFolder) {
  const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", FilePath(QStringLiteral("data-home")).toLocal8Bit());
  ASSERT_TRUE(WriteBytes(Share() + QStringLiteral("user-guide.html"), "guide"));
  const QString expected =
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/');
  ASSERT_TRUE(QFile::copy(QStringLiteral(TESSARIN_SHIPPED_TRANSLATIONS),
                          Share() + QStringLiteral("translate.dat.new")));
  QFile::remove(Share() + QStringLiteral("translate.dat"));
  ASSERT_TRUE(QFile::rename(Share() + QStringLiteral("translate.dat.new"),
                            Share() + QStringLiteral("translate.dat")));
  {
    ProgramWindows windows = CreateProgramWindows({Bin() + QStringLiteral("tessarin")}, dialogs_);
    EXPECT_EQ(windows.mainForm->datapath(), expected);
    EXPECT_EQ(windows.mainForm->languagesetto(), 0);
    EXPECT_EQ(ReadBytes(expected + QStringLiteral("options.dat")), kGerman);
    EXPECT_EQ(windows.aboutBox->guide(), Share() + QStringLiteral("user-guide.html"));
  }
  EXPECT_TRUE(Entries(Bin()).isEmpty());
  if (hadDataHome) {
    qputenv("XDG_DATA_HOME", savedDataHome);
  } else {
    qunsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace tessarin
