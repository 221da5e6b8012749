// SPDX-License-Identifier: MIT
// What survives from one use to the next: the language code in
// "options.dat" and the window state in the per-user store.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <optional>

#if defined(Q_OS_UNIX)
#include "file_size_limit.h"
#endif

#include "options_file.h"
#include "shell_fixture.h"
#include "translation_store.h"

namespace tessarin {
namespace {

using testing::ShellTest;
namespace names = state_names;

QByteArray Code(int32_t code, int extra = 0) {
  QByteArray bytes;
  const auto value = static_cast<uint32_t>(code);
  for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
  bytes.append(QByteArray(extra, '\x55'));
  return bytes;
}

QString ScreenSuffix() {
  const QSize size = QGuiApplication::primaryScreen()->size();
  return QStringLiteral("(%1x%2)").arg(size.width()).arg(size.height());
}

int ScreenDensity() { return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()); }

class PersistenceTest : public ShellTest {
 protected:
  // Values put into the store of the program file `name`, as an earlier use
  // would have left them.
  static void Store(const std::vector<std::pair<QString, QString>>& values,
                    const QString& name = QStringLiteral("tessarin")) {
    WindowStateStore store(name);
    for (const auto& [key, value] : values) store.SetText(key, value);
    ASSERT_TRUE(store.Sync());
  }
  static std::optional<QString> Stored(QLatin1String key,
                                       const QString& name = QStringLiteral("tessarin")) {
    return WindowStateStore(name).Text(key);
  }
  static std::optional<QString> Stored(const QString& key) {
    return WindowStateStore(QStringLiteral("tessarin")).Text(key);
  }
};

TEST_F(PersistenceTest, StoredLanguageCodeIsReadAtCreationAndPutInForceAtTheFirstShowing) {
  struct Case {
    const char* name;
    std::optional<QByteArray> bytes;  // nothing: no file
    bool readOnly;
    int expected;
  };
  const Case cases[] = {
      {"missing", std::nullopt, false, kEnglish},
      {"Dutch", Code(kDutch), false, kDutch},
      {"German", Code(kGerman), false, kGerman},
      {"10 bytes, French first", Code(kFrench, 6), false, kFrench},
      {"2 bytes", QByteArray("\x03\x00", 2), false, kEnglish},
      {"empty", QByteArray(), false, kEnglish},
      {"code 7", Code(7), false, kEnglish},
      {"negative code", Code(-1), false, kEnglish},
      {"read-only", Code(kDutch), true, kEnglish},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::setPermissions(OptionsPath(), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(OptionsPath());
    if (c.bytes) {
      ASSERT_TRUE(WriteBytes(OptionsPath(), *c.bytes));
    }
    if (c.readOnly) {
      ASSERT_TRUE(QFile::setPermissions(OptionsPath(), QFile::ReadOwner));
    }
    ProgramWindows windows = Start();
    TMainForm& form = *windows.mainForm;
    EXPECT_EQ(form.languagesetto(), c.expected);
    EXPECT_EQ(form.language(), kEnglish);  // until the first showing
    int ticks = 0;
    for (const QAction* item : form.languageItems) ticks += item->isChecked() ? 1 : 0;
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(form.languageItems[static_cast<size_t>(c.expected)]->isChecked());

    form.PrepareShowing();
    EXPECT_EQ(form.language(), c.expected);
    EXPECT_TRUE(dialogs_.messages.empty());  // no notice at start-up
  }
}

TEST_F(PersistenceTest, LanguageChosenLastIsStoredAtCloseAndTickedAtTheNextStart) {
  {
    ProgramWindows windows = Start();
    windows.mainForm->show();
    windows.mainForm->languageItems[kSpanish]->trigger();
    windows.mainForm->languageItems[kDutch]->trigger();
    windows.mainForm->close();
  }
  EXPECT_EQ(ReadBytes(OptionsPath()), Code(kDutch));
  // Written beside the file and renamed: nothing else is left behind.
  const QStringList left =
      QDir(ProgramFolderPath()).entryList({QStringLiteral("options.dat*")}, QDir::Files);
  EXPECT_EQ(left, QStringList{QStringLiteral("options.dat")});

  ProgramWindows windows = Start();
  EXPECT_EQ(windows.mainForm->languagesetto(), kDutch);
  EXPECT_TRUE(windows.mainForm->languageItems[kDutch]->isChecked());
  windows.mainForm->show();
  EXPECT_EQ(windows.mainForm->language(), kDutch);
}

TEST_F(PersistenceTest, ReadOnlyOptionsFileIsNeitherReadNorReplaced) {
  ASSERT_TRUE(WriteBytes(OptionsPath(), Code(kItalian)));
  ASSERT_TRUE(QFile::setPermissions(OptionsPath(), QFile::ReadOwner | QFile::ReadGroup));
  {
    ProgramWindows windows = Start();
    windows.mainForm->show();
    EXPECT_EQ(windows.mainForm->language(), kEnglish);
    windows.mainForm->languageItems[kGerman]->trigger();
    windows.mainForm->close();
  }
  EXPECT_EQ(ReadBytes(OptionsPath()), Code(kItalian));
}

TEST_F(PersistenceTest, OptionsFileInAFolderThatCannotBeWrittenIsPassedOver) {
  // The program folder is a file: nothing can be created in it.
  const QString path = OptionsPath() + QStringLiteral("/options.dat");
  EXPECT_FALSE(WriteLanguageCode(path, kDutch));
  EXPECT_FALSE(ReadLanguageCode(path).has_value());
}

TEST_F(PersistenceTest, OptionsFileThatIsAFolderIsPassedOver) {
  ASSERT_TRUE(QDir().mkpath(OptionsPath()));
  {
    ProgramWindows windows = Start();
    EXPECT_EQ(windows.mainForm->languagesetto(), kEnglish);
    windows.mainForm->show();
    windows.mainForm->languageItems[kDutch]->trigger();
    windows.mainForm->close();
  }
  EXPECT_TRUE(QFileInfo(OptionsPath()).isDir());
  EXPECT_TRUE(QDir(OptionsPath()).isEmpty());
  EXPECT_EQ(
      QDir(ProgramFolderPath())
          .entryList({QStringLiteral("options.dat*")}, QDir::AllEntries | QDir::NoDotAndDotDot),
      QStringList{QStringLiteral("options.dat")});
}

#if defined(Q_OS_UNIX)
// A full disk at the close: "options.dat" and the window-state store are
// written beside their files and renamed, so both keep what they held. (A
// limit on the size of the files this process writes stands in for the full
// disk; the saves write new temporary files, which the limit stops.)
TEST_F(PersistenceTest, FullDiskAtTheCloseLeavesBothStoresAsTheyWere) {
  ASSERT_TRUE(WriteBytes(OptionsPath(), Code(kItalian)));
  Store({{QString(names::kAbwEd), QStringLiteral("0,25")}});
  const QString ini = ConfigFolder() + QStringLiteral("/Software/tessarin.ini");
  const QByteArray iniBefore = ReadBytes(ini);
  ASSERT_FALSE(iniBefore.isEmpty());
  {
    ProgramWindows windows = Start();
    windows.mainForm->show();
    windows.mainForm->languageItems[kDutch]->trigger();
    windows.mainForm->AbwEd->setText(QStringLiteral("7"));
    tessarin::testing::FileSizeLimit full(2);
    ASSERT_TRUE(full.set());
    windows.mainForm->close();
  }
  EXPECT_EQ(ReadBytes(OptionsPath()), Code(kItalian));
  EXPECT_EQ(ReadBytes(ini), iniBefore);
  EXPECT_EQ(QDir(ProgramFolderPath()).entryList({QStringLiteral("options.dat*")}, QDir::Files),
            QStringList{QStringLiteral("options.dat")});
  EXPECT_EQ(QDir(ConfigFolder() + QStringLiteral("/Software")).entryList(QDir::Files),
            QStringList{QStringLiteral("tessarin.ini")});
  // The saves fail silently: the notice of the language choice is the only box.
  EXPECT_EQ(dialogs_.messages.size(), 1u);

  // With room again the next close stores both.
  ProgramWindows windows = Start();
  EXPECT_EQ(windows.mainForm->languagesetto(), kItalian);
  windows.mainForm->show();
  windows.mainForm->languageItems[kDutch]->trigger();
  windows.mainForm->close();
  EXPECT_EQ(ReadBytes(OptionsPath()), Code(kDutch));
}
#endif

TEST_F(PersistenceTest, CloseStoresTheFieldsTrimmedAndThePlacement) {
  {
    ProgramWindows windows = Start();
    TMainForm& form = *windows.mainForm;
    form.show();
    form.move(150, 90);
    form.AbwEd->setText(QStringLiteral("  0,5 "));
    form.AbwEinhED->setText(QStringLiteral("\t2\n"));
    form.TestEd->setText(QStringLiteral("12"));
    form.SplineTestEd->setText(QStringLiteral(" 500"));
    form.LeaveSplineCheck->setChecked(true);
    form.close();
  }
  EXPECT_EQ(Stored(names::kFormVersion), QStringLiteral("0"));
  EXPECT_EQ(Stored(names::kVisible), QStringLiteral("0"));
  EXPECT_EQ(Stored(names::kShowCmd), QStringLiteral("1"));
  EXPECT_EQ(Stored(names::kPixelsPerInch), QString::number(ScreenDensity()));
  EXPECT_EQ(Stored(names::kAbwEd), QStringLiteral("0,5"));
  EXPECT_EQ(Stored(names::kAbwEinhED), QStringLiteral("2"));
  EXPECT_EQ(Stored(names::kTestEd), QStringLiteral("12"));
  EXPECT_EQ(Stored(names::kSplineTestEd), QStringLiteral("500"));
  EXPECT_EQ(Stored(names::kLeaveSplineCheck), QStringLiteral("True"));
  EXPECT_EQ(Stored(names::kOpenCheck), QStringLiteral("False"));
  // Both position values under the plain name and the screen-size name.
  const std::optional<QString> norm = Stored(names::kNormPos);
  ASSERT_TRUE(norm.has_value());
  EXPECT_TRUE(norm->startsWith(QStringLiteral("150,90,"))) << norm->toStdString();
  EXPECT_EQ(Stored(QString(names::kNormPos) + ScreenSuffix()), norm);
  EXPECT_EQ(Stored(QString(names::kMinMaxPos) + ScreenSuffix()), Stored(names::kMinMaxPos));
  EXPECT_TRUE(QFileInfo::exists(ConfigFolder() + QStringLiteral("/Software/tessarin.ini")));

  ProgramWindows windows = Start();
  TMainForm& form = *windows.mainForm;
  form.show();
  EXPECT_EQ(form.pos(), QPoint(150, 90));
  EXPECT_EQ(form.AbwEd->text(), QStringLiteral("0,5"));
  EXPECT_EQ(form.AbwEinhED->text(), QStringLiteral("2"));
  EXPECT_EQ(form.TestEd->text(), QStringLiteral("12"));
  EXPECT_EQ(form.SplineTestEd->text(), QStringLiteral("500"));
  EXPECT_TRUE(form.LeaveSplineCheck->isChecked());
  EXPECT_FALSE(form.OpenCheck->isChecked());
}

TEST_F(PersistenceTest, StoredFieldTextsAreTrimmedAndMissingOnesLeaveTheDefaults) {
  Store({{names::kAbwEd, QStringLiteral(" \t0,25  ")}, {names::kTestEd, QString()}});
  ProgramWindows windows = Start();
  windows.mainForm->PrepareShowing();
  EXPECT_EQ(windows.mainForm->AbwEd->text(), QStringLiteral("0,25"));
  EXPECT_EQ(windows.mainForm->TestEd->text(), QString());  // an empty text is a text
  EXPECT_EQ(windows.mainForm->AbwEinhED->text(), QStringLiteral("1"));
  EXPECT_EQ(windows.mainForm->SplineTestEd->text(), QStringLiteral("1000"));
}

TEST_F(PersistenceTest, SwitchValuesAreTrueOrFalseInAnyCaseAndAnythingElseLeavesThem) {
  struct Case {
    QString stored;
    std::optional<bool> result;  // nothing: unchanged
  };
  const Case cases[] = {
      {QStringLiteral("True"), true},
      {QStringLiteral("TRUE"), true},
      {QStringLiteral("true"), true},
      {QStringLiteral("False"), false},
      {QStringLiteral("FALSE"), false},
      {QStringLiteral("fAlSe"), false},
      {QStringLiteral("yes"), {}},
      {QStringLiteral("1"), {}},
      {QString(), {}},
      {QStringLiteral(" True"), {}},
  };
  for (const Case& c : cases) {
    for (const bool before : {false, true}) {
      SCOPED_TRACE(c.stored.toStdString() + (before ? " from on" : " from off"));
      Store({{names::kOpenCheck, c.stored}, {names::kLeaveSplineCheck, c.stored}});
      ProgramWindows windows = Start();
      TMainForm& form = *windows.mainForm;
      form.OpenCheck->setChecked(before);
      form.LeaveSplineCheck->setChecked(before);
      form.RestoreWindowState();
      EXPECT_EQ(form.OpenCheck->isChecked(), c.result.value_or(before));
      EXPECT_EQ(form.LeaveSplineCheck->isChecked(), c.result.value_or(before));
      form.SaveWindowState(false);  // so that destruction stores nothing more
    }
  }
}

TEST_F(PersistenceTest, NegativeFormVersionRestoresNothing) {
  Store({{names::kFormVersion, QStringLiteral("-1")},
         {names::kNormPos, QStringLiteral("100,100,735,387")},
         {names::kPixelsPerInch, QString::number(ScreenDensity())},
         {names::kAbwEd, QStringLiteral("3")},
         {names::kOpenCheck, QStringLiteral("True")}});
  ProgramWindows windows = Start();
  TMainForm& form = *windows.mainForm;
  form.show();
  EXPECT_EQ(form.AbwEd->text(), QStringLiteral("1"));
  EXPECT_FALSE(form.OpenCheck->isChecked());
  EXPECT_NE(form.pos(), QPoint(100, 100));
}

TEST_F(PersistenceTest, AnotherProgramFileNameUsesAnotherKey) {
  Store({{names::kAbwEd, QStringLiteral("3")}});
  {
    ProgramWindows windows = Start({}, QStringLiteral("spline-tool"));
    EXPECT_EQ(windows.mainForm->programName(), QStringLiteral("spline-tool"));
    windows.mainForm->show();
    EXPECT_EQ(windows.mainForm->AbwEd->text(), QStringLiteral("1"));
    windows.mainForm->AbwEd->setText(QStringLiteral("4"));
    windows.mainForm->close();
  }
  EXPECT_EQ(Stored(names::kAbwEd, QStringLiteral("spline-tool")), QStringLiteral("4"));
  EXPECT_EQ(Stored(names::kAbwEd), QStringLiteral("3"));
  // The extension is no part of the key.
  ProgramWindows windows = Start({}, QStringLiteral("spline-tool.exe"));
  EXPECT_EQ(windows.mainForm->programName(), QStringLiteral("spline-tool"));
}

TEST_F(PersistenceTest, PositionNeedsTheSameDensityAndPrefersTheScreenSizeName) {
  struct Case {
    const char* name;
    std::vector<std::pair<QString, QString>> values;
    std::optional<QPoint> position;  // nothing: centred
  };
  const QString density = QString::number(ScreenDensity());
  const QString sized = QString(names::kNormPos) + ScreenSuffix();
  const Case cases[] = {
      {"plain name only",
       {{names::kNormPos, QStringLiteral("40,50,675,337")}, {names::kPixelsPerInch, density}},
       QPoint(40, 50)},
      {"screen-size name first",
       {{sized, QStringLiteral("60,70,695,357")},
        {names::kNormPos, QStringLiteral("40,50,675,337")},
        {names::kPixelsPerInch, density}},
       QPoint(60, 70)},
      {"empty screen-size name",
       {{sized, QString()}, {names::kNormPos, QStringLiteral("40,50,675,337")}},
       QPoint(40, 50)},
      {"other density",
       {{names::kNormPos, QStringLiteral("40,50,675,337")},
        {names::kPixelsPerInch, QString::number(ScreenDensity() + 24)}},
       std::nullopt},
      {"items missing or no numbers",
       {{names::kNormPos, QStringLiteral("x,33")}, {names::kPixelsPerInch, density}},
       std::nullopt},
      // Found by fuzzing: the right edge overflowed the int range.
      {"right edge beyond the coordinate range",
       {{names::kNormPos, QStringLiteral("2147483040,50,0,0")}, {names::kPixelsPerInch, density}},
       std::nullopt},
      {"bottom edge beyond the coordinate range",
       {{names::kNormPos, QStringLiteral("40,2147483600,0,0")}, {names::kPixelsPerInch, density}},
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(ConfigFolder() + QStringLiteral("/Software/tessarin.ini"));
    Store(c.values);
    Store({{names::kAbwEd, QStringLiteral("2")}});
    ProgramWindows windows = Start();
    TMainForm& form = *windows.mainForm;
    form.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (c.position) {
      EXPECT_EQ(form.pos(), *c.position);
    } else if (std::string_view(c.name) == "items missing or no numbers") {
      // Left is the current left (no number), top is 33.
      EXPECT_EQ(form.pos().y(), 33);
    } else {
      EXPECT_LE(std::abs(form.frameGeometry().center().x() - screen.center().x()), 1);
    }
    // The fields come back whatever the placement does.
    EXPECT_EQ(form.AbwEd->text(), QStringLiteral("2"));
    const QSize size = form.frameGeometry().size();
    form.close();
    // What the close stores is the window's rectangle.
    const QStringList stored = Stored(names::kNormPos).value_or(QString()).split(QLatin1Char(','));
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored[2].toLongLong() - stored[0].toLongLong(), size.width());
    EXPECT_EQ(stored[3].toLongLong() - stored[1].toLongLong(), size.height());
  }
}

TEST_F(PersistenceTest, WindowNeverShownStoresNothing) {
  { ProgramWindows windows = Start(); }
  EXPECT_FALSE(QFileInfo::exists(ConfigFolder() + QStringLiteral("/Software/tessarin.ini")));
  EXPECT_FALSE(QFileInfo::exists(OptionsPath()));
}

TEST_F(PersistenceTest, DestructionAfterAShowingWithoutCloseStoresVisibleOne) {
  {
    ProgramWindows windows = Start();
    windows.mainForm->PrepareShowing();
    windows.mainForm->TestEd->setText(QStringLiteral("25"));
  }
  EXPECT_EQ(Stored(names::kVisible), QStringLiteral("1"));
  EXPECT_EQ(Stored(names::kTestEd), QStringLiteral("25"));
  EXPECT_FALSE(QFileInfo::exists(OptionsPath()));  // only the close writes it
}

TEST_F(PersistenceTest, StoredShowStates) {
  Store({{names::kShowCmd, QStringLiteral("3")}});
  {
    ProgramWindows windows = Start();
    windows.mainForm->RestoreWindowState();
    EXPECT_TRUE(windows.mainForm->windowState() & Qt::WindowMaximized);
  }
  for (const QString& normal : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("99")}) {
    SCOPED_TRACE(normal.toStdString());
    Store({{names::kShowCmd, normal}});
    ProgramWindows windows = Start();
    windows.mainForm->RestoreWindowState();
    // Minimized (2) does not minimize the window itself.
    EXPECT_FALSE(windows.mainForm->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
  }
}

}  // namespace
}  // namespace tessarin
