// SPDX-License-Identifier: MIT
// Start-up and the batch mode: program folder and name from argument 0, the
// arguments onto the fields, one run, the end and its exit status; and the
// program itself started without a display.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "shell_fixture.h"
#include "shipped_languages.h"
#include "translation_store.h"

namespace tessarin {
namespace {

using testing::ShellTest;
namespace names = state_names;

class BatchModeTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    input_ = FilePath(QStringLiteral("in.dxf"));
    output_ = FilePath(QStringLiteral("out.dxf"));
    ASSERT_TRUE(WriteBytes(input_, testing::SmallDrawing()));
  }

  QString input_;
  QString output_;
};

TEST(ProgramFolderTest, IsTheFolderOfArgumentZeroAsGiven) {
  EXPECT_EQ(ProgramFolder(QStringLiteral("/opt/cad/bin/tessarin")),
            QStringLiteral("/opt/cad/bin/"));
  EXPECT_EQ(ProgramName(QStringLiteral("/opt/cad/bin/tessarin")), QStringLiteral("tessarin"));
  EXPECT_EQ(ProgramName(QStringLiteral("/opt/cad/bin/tessarin.exe")), QStringLiteral("tessarin"));
  // A relative path is taken from the current folder.
  EXPECT_EQ(ProgramFolder(QStringLiteral("bin/tessarin")),
            QDir::currentPath() + QStringLiteral("/bin/"));
}

TEST_F(BatchModeTest, FewerThanTwoArgumentsStartTheInteractiveUse) {
  for (const QStringList& arguments : {QStringList{}, QStringList{input_}}) {
    SCOPED_TRACE(arguments.size());
    ProgramWindows windows = Start(arguments);
    TMainForm& form = *windows.mainForm;
    EXPECT_EQ(form.progpath(), ProgramFolderPath() + QLatin1Char('/'));
    form.PrepareShowing();
    EXPECT_FALSE(form.endRequested());
    EXPECT_FALSE(form.batchExitStatus().has_value());
    EXPECT_TRUE(form.Label1->text().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(output_));
  }
}

TEST_F(BatchModeTest, TwoArgumentsConvertWithTheStoredFieldsWithoutShowingTheWindow) {
  {
    WindowStateStore store(QStringLiteral("tessarin"));
    store.SetText(names::kAbwEd, QStringLiteral("0,5"));
    store.SetText(names::kLeaveSplineCheck, QStringLiteral("True"));
    ASSERT_TRUE(store.Sync());
  }
  ProgramWindows windows = Start({input_, output_});
  TMainForm& form = *windows.mainForm;
  form.PrepareShowing();
  EXPECT_TRUE(form.endRequested());
  EXPECT_EQ(form.batchExitStatus(), 0);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.AbwEd->text(), QStringLiteral("0,5"));
  EXPECT_EQ(form.TestEd->text(), QStringLiteral("10"));
  EXPECT_TRUE(form.LeaveSplineCheck->isChecked());
  EXPECT_TRUE(form.Label1->text().startsWith(QStringLiteral("Konvertierung beendet:")));
  // Splines kept: the spline entity is copied as well as its polyline.
  const QByteArray written = ReadBytes(output_);
  EXPECT_TRUE(written.contains("SPLINE\r\n5\r\n2B"));
  EXPECT_TRUE(written.contains("LWPOLYLINE"));
  EXPECT_TRUE(dialogs_.messages.empty());

  // A second showing neither reads the command line nor runs again.
  QFile::remove(output_);
  form.PrepareShowing();
  EXPECT_FALSE(QFileInfo::exists(output_));
}

TEST_F(BatchModeTest, ArgumentsThreeToEightSetTheFieldsAndTheNinthIsIgnored) {
  struct Case {
    const char* name;
    QStringList extra;  // from argument 3 on
    QString abwEd, abwEinhED, testEd, splineTestEd;
    bool keepsplines, openresult;
  };
  const Case cases[] = {
      {"eight", {"0.5", "2,5", "12", "800", "true", "True"}, "0.5", "2,5", "12", "800", true, true},
      {"TRUE and 1", {"3", "4", "5", "60", "TRUE", "1"}, "3", "4", "5", "60", true, false},
      {"yes and empty", {"3", "4", "5", "60", "yes", ""}, "3", "4", "5", "60", false, false},
      {"nine", {" 7 ", "", "x", "9", "false", "TRUE", "ignored"}, " 7 ", "", "x", "9", false, true},
      {"three only", {"0,01"}, "0,01", "1", "10", "1000", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(output_);
    QFile::remove(ConfigFolder() + QStringLiteral("/Software/tessarin.ini"));
    dialogs_.opened.clear();
    {
      ProgramWindows windows = Start(QStringList{input_, output_} + c.extra);
      TMainForm& form = *windows.mainForm;
      form.PrepareShowing();
      EXPECT_EQ(form.AbwEd->text(), c.abwEd);
      EXPECT_EQ(form.AbwEinhED->text(), c.abwEinhED);
      EXPECT_EQ(form.TestEd->text(), c.testEd);
      EXPECT_EQ(form.SplineTestEd->text(), c.splineTestEd);
      EXPECT_EQ(form.LeaveSplineCheck->isChecked(), c.keepsplines);
      EXPECT_EQ(form.OpenCheck->isChecked(), c.openresult);
      EXPECT_EQ(form.batchExitStatus(), 0);
      EXPECT_EQ(dialogs_.opened.size(), c.openresult ? 1u : 0u);
    }
    // The end of a batch run stores the values given, for the next start.
    const WindowStateStore store(QStringLiteral("tessarin"));
    EXPECT_EQ(store.Text(names::kVisible), QStringLiteral("1"));
    EXPECT_EQ(store.Text(names::kAbwEd), c.abwEd.trimmed());
    EXPECT_EQ(store.Text(names::kOpenCheck),
              c.openresult ? QStringLiteral("True") : QStringLiteral("False"));
  }
}

TEST_F(BatchModeTest, ExitStatusReportsTheOutcome) {
  struct Case {
    const char* name;
    QString input, output;
    int status;
    QString box;  // text before the file name; empty: none
  };
  const QString symlink = FilePath(QStringLiteral("symlink.dxf"));
  const QString hardlink = FilePath(QStringLiteral("hardlink.dxf"));
  ASSERT_TRUE(QFile::link(input_, symlink));
  std::error_code linked;
  std::filesystem::create_hard_link(input_.toStdString(), hardlink.toStdString(), linked);
  ASSERT_FALSE(linked) << linked.message();
  const Case cases[] = {
      {"completed", input_, output_, 0, QString()},
      {"input missing", FilePath(QStringLiteral("missing.dxf")), output_, 3,
       QStringLiteral("Folgende DXF Datei konnte nicht geöffnet werden: ") +
           FilePath(QStringLiteral("missing.dxf"))},
      {"output not creatable", input_, FilePath(QStringLiteral("no/out.dxf")), 4,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: ") +
           FilePath(QStringLiteral("no/out.dxf"))},
      {"output is the input", input_, input_, 4,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: ") + input_},
      {"output is the input through a symbolic link", input_, symlink, 4,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: ") + symlink},
      {"output is the input through a hard link", input_, hardlink, 4,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: ") + hardlink},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.messages.clear();
    ProgramWindows windows = Start({c.input, c.output});
    windows.mainForm->PrepareShowing();
    EXPECT_TRUE(windows.mainForm->endRequested());
    EXPECT_EQ(windows.mainForm->batchExitStatus(), c.status);
    if (c.box.isEmpty()) {
      EXPECT_TRUE(dialogs_.messages.empty());
    } else {
      ASSERT_EQ(dialogs_.messages.size(), 1u);
      EXPECT_EQ(dialogs_.messages[0].text, c.box);
    }
    EXPECT_EQ(ReadBytes(input_), testing::SmallDrawing());
  }
}

TEST_F(BatchModeTest, WindowShownAfterTheBatchStepsKeepsTheCommandLineValues) {
  {
    WindowStateStore store(QStringLiteral("tessarin"));
    store.SetText(names::kAbwEd, QStringLiteral("3"));
    ASSERT_TRUE(store.Sync());
  }
  ProgramWindows windows = Start({input_, output_, QStringLiteral("0,7")});
  TMainForm& form = *windows.mainForm;
  form.PrepareShowing();
  form.ShowPrepared();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.AbwEd->text(), QStringLiteral("0,7"));
}

TEST_F(BatchModeTest, BatchRunLeavesOptionsFileAsItWas) {
  ASSERT_TRUE(WriteBytes(OptionsPath(), QByteArray("\x04\x00\x00\x00", 4)));
  {
    ProgramWindows windows = Start({input_, output_});
    windows.mainForm->PrepareShowing();
    // The stored language is in force for the run.
    EXPECT_EQ(windows.mainForm->language(), kItalian);
  }
  EXPECT_EQ(ReadBytes(OptionsPath()), QByteArray("\x04\x00\x00\x00", 4));
}

// The program itself, started as a link in a folder of its own, without a
// display and without a platform chosen.
class ProgramTest : public BatchModeTest {
 protected:
  void SetUp() override {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows always has a display, so the program shows message boxes there";
#endif
    BatchModeTest::SetUp();
  }

  struct Result {
    int status;
    QString errors;
    QString output;
  };

  Result Run(const QStringList& arguments, const QString& name = QStringLiteral("tessarin")) {
    const QString link = ProgramFile(name);
    if (!QFileInfo::exists(link)) {
      EXPECT_TRUE(QFile::link(QStringLiteral(TESSARIN_BINARY_DIR "/tessarin"), link));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(QLatin1String(variable));
    }
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigFolder());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(link, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()),
            QString::fromUtf8(process.readAllStandardOutput())};
  }
};

TEST_F(ProgramTest, ConvertsWithoutADisplayAndReturnsTheOutcome) {
  struct Case {
    const char* name;
    QStringList arguments;
    int status;
    QString errors;  // expected in stderr
  };
  const QString missing = FilePath(QStringLiteral("missing.dxf"));
  const QString nowhere = FilePath(QStringLiteral("no/out.dxf"));
  const Case cases[] = {
      {"completed", {input_, output_, "1", "1", "10", "1000", "TRUE", "false"}, 0, QString()},
      {"input missing",
       {missing, output_},
       3,
       QStringLiteral("Folgende DXF Datei konnte nicht geöffnet werden: ") + missing},
      {"output not creatable",
       {input_, nowhere},
       4,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: ") + nowhere},
      {"output is the input",
       {input_, input_},
       4,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: ") + input_},
      {"full disk",
       {input_, QStringLiteral("/dev/full")},
       5,
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden: /dev/full")},
      {"no arguments", {}, 2, QStringLiteral("tessarin IN OUT")},
      {"one argument", {input_}, 2, QStringLiteral("tessarin IN OUT")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.status, c.status) << result.errors.toStdString();
    if (!c.errors.isEmpty()) {
      EXPECT_TRUE(result.errors.contains(c.errors)) << result.errors.toStdString();
    }
    EXPECT_EQ(ReadBytes(input_), testing::SmallDrawing());
  }
  const QByteArray written = ReadBytes(output_);
  EXPECT_TRUE(written.contains("SPLINE\r\n5\r\n2B"));  // kept, as argument 7 asked
  EXPECT_TRUE(written.contains("LWPOLYLINE"));
}

TEST_F(ProgramTest, AnswersVersionAndHelpAloneWithoutStarting) {
  struct Case {
    const char* name;
    QStringList arguments;
    QString output;  // expected in stdout
  };
  const Case cases[] = {
      {"version",
       {QStringLiteral("--version")},
       QStringLiteral("tessarin " TESSARIN_PROJECT_VERSION "\n")},
      {"help", {QStringLiteral("--help")}, QStringLiteral("Usage: tessarin [IN OUT")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.output.startsWith(c.output)) << result.output.toStdString();
    EXPECT_TRUE(result.errors.isEmpty()) << result.errors.toStdString();
  }
  // Nothing of a start: no settings written.
  EXPECT_FALSE(QFileInfo::exists(ConfigFolder() + QStringLiteral("/Software/tessarin.ini")));
  // Beside two arguments it is a file name: a batch run that cannot open it.
  const Result run = Run({QStringLiteral("--version"), output_});
  EXPECT_EQ(run.status, 3) << run.errors.toStdString();
}

TEST_F(ProgramTest, KeyIsNamedAfterTheLinkNotTheFileItLeadsTo) {
  const Result result = Run({input_, output_, "0,3"}, QStringLiteral("converter"));
  EXPECT_EQ(result.status, 0) << result.errors.toStdString();
  const WindowStateStore store(QStringLiteral("converter"));
  EXPECT_EQ(store.Text(names::kAbwEd), QStringLiteral("0,3"));
  EXPECT_EQ(store.Text(names::kVisible), QStringLiteral("1"));
  EXPECT_FALSE(QFileInfo::exists(ConfigFolder() + QStringLiteral("/Software/tessarin.ini")));
  EXPECT_FALSE(QFileInfo::exists(OptionsPath()));
}

TEST_F(ProgramTest, SpeaksEachShippedLanguageWithTheTableBesideIt) {
  const QString dat = ProgramFolderPath() + QStringLiteral("/translate.dat");
  const QString missing = FilePath(QStringLiteral("missing.dxf"));
  const QString nowhere = FilePath(QStringLiteral("no/out.dxf"));
  for (const testing::LanguageTexts& language : testing::ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    QFile::remove(dat);
    ASSERT_TRUE(QFile::copy(QStringLiteral(TESSARIN_SHIPPED_TRANSLATIONS), dat));
    const QByteArray table = ReadBytes(dat);
    QByteArray code(4, '\0');
    code[0] = static_cast<char>(language.code);
    ASSERT_TRUE(WriteBytes(OptionsPath(), code));

    Result result = Run({missing, output_});
    EXPECT_EQ(result.status, 3);
    EXPECT_TRUE(result.errors.contains(language.notOpened + QLatin1Char(' ') + missing))
        << result.errors.toStdString();
    result = Run({input_, nowhere});
    EXPECT_EQ(result.status, 4);
    EXPECT_TRUE(result.errors.contains(language.notCreated + QLatin1Char(' ') + nowhere))
        << result.errors.toStdString();
    result = Run({input_, output_});
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    // The windows were translated without meeting a text the table lacks,
    // and the language stays as stored.
    EXPECT_EQ(ReadBytes(dat), table);
    EXPECT_EQ(ReadBytes(OptionsPath()), code);
  }
  EXPECT_TRUE(ReadBytes(output_).contains("LWPOLYLINE"));
}

}  // namespace
}  // namespace tessarin
