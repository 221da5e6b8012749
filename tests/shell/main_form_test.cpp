// SPDX-License-Identifier: MIT
// The main window as the user meets it: its definition, the buttons, the
// states of a run and its failures, the menus and the two dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "about_box.h"
#include "message_catalogue.h"
#include "shell_fixture.h"
#include "translate_form.h"
#include "translation_store.h"

namespace tessarin {
namespace {

using testing::FakeDialogs;
using testing::ShellTest;

class MainFormTest : public ShellTest {
 protected:
  // Shows the window as the program does, so that its first showing runs.
  TMainForm& Show() {
    windows_ = Start();
    windows_.mainForm->show();
    return *windows_.mainForm;
  }

  ProgramWindows windows_;
};

int CheckedLanguageItems(const TMainForm& form) {
  int ticks = 0;
  for (const QAction* item : form.languageItems) ticks += item->isChecked() ? 1 : 0;
  return ticks;
}

TEST_F(MainFormTest, FirstStartShowsTheDefinitionsDefaults) {
  TMainForm& form = Show();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morlen Tessarin 1.0"));
  EXPECT_EQ(form.AbwEd->text(), QStringLiteral("1"));
  EXPECT_EQ(form.AbwEinhED->text(), QStringLiteral("1"));
  EXPECT_EQ(form.TestEd->text(), QStringLiteral("10"));
  EXPECT_EQ(form.SplineTestEd->text(), QStringLiteral("1000"));
  EXPECT_FALSE(form.LeaveSplineCheck->isChecked());
  EXPECT_FALSE(form.OpenCheck->isChecked());
  EXPECT_TRUE(form.Edit1->text().isEmpty());
  EXPECT_TRUE(form.Edit2->text().isEmpty());
  EXPECT_TRUE(form.Label1->text().isEmpty());
  EXPECT_EQ(form.ProgressBar1->value(), 0);
  EXPECT_TRUE(form.KonvertBtn->isEnabled());
  EXPECT_FALSE(form.CancelBtn->isEnabled());
  EXPECT_TRUE(form.Edit1->isReadOnly());
  EXPECT_TRUE(form.Edit2->isReadOnly());
  EXPECT_FALSE(form.AbwEd->isReadOnly());
  // English is in force and ticked; no notice at start-up.
  EXPECT_EQ(form.language(), kEnglish);
  EXPECT_TRUE(form.languageItems[kEnglish]->isChecked());
  EXPECT_EQ(CheckedLanguageItems(form), 1);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(form.isfirsttime());
  // Centred on the screen.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(form.frameGeometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(form.frameGeometry().center().y() - screen.center().y()), 1);
}

TEST_F(MainFormTest, ControlsSitWhereTheDefinitionPutsThem) {
  TMainForm& form = Show();
  EXPECT_EQ(form.centralWidget()->size(), QSize(635, 268));
  // Fixed border: the window cannot be resized.
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.size(), form.minimumSize());

  struct Placement {
    QWidget* control;
    QRect rect;  // in its parent; width 0: only the position is given
  };
  const Placement placements[] = {
      {form.Panel1, {0, 0, 635, 49}},
      {form.KonvertBtn, {10, 5, 231, 33}},
      {form.CancelBtn, {247, 5, 162, 33}},
      {form.ProgressBar1, {8, 43, 150, 17}},
      {form.Label1, {8, 66, 0, 19}},
      {form.Label6, {328, 88, 0, 0}},
      {form.Label2, {8, 107, 0, 0}},
      {form.AbwEd, {255, 104, 70, 21}},
      {form.Edit1, {327, 104, 70, 21}},
      {form.ResetBtn, {402, 104, 231, 25}},
      {form.Label3, {8, 134, 0, 0}},
      {form.AbwEinhED, {255, 131, 70, 21}},
      {form.Edit2, {327, 131, 70, 21}},
      {form.Label7, {408, 136, 217, 81}},
      {form.Label4, {8, 161, 0, 0}},
      {form.TestEd, {255, 158, 70, 21}},
      {form.Label5, {8, 188, 0, 0}},
      {form.SplineTestEd, {255, 185, 70, 21}},
      {form.LeaveSplineCheck, {10, 224, 535, 17}},
      {form.OpenCheck, {8, 247, 534, 17}},
  };
  for (const Placement& placement : placements) {
    SCOPED_TRACE(placement.control->objectName().toStdString());
    EXPECT_EQ(placement.control->pos(), placement.rect.topLeft());
    if (placement.rect.width() > 0) {
      EXPECT_EQ(placement.control->width(), placement.rect.width());
    }
    if (placement.rect.height() > 0) {
      EXPECT_EQ(placement.control->height(), placement.rect.height());
    }
  }
  EXPECT_EQ(form.KonvertBtn->parentWidget(), form.Panel1);
  EXPECT_EQ(form.CancelBtn->parentWidget(), form.Panel1);

  for (QLineEdit* field :
       {form.AbwEd, form.AbwEinhED, form.TestEd, form.SplineTestEd, form.Edit1, form.Edit2}) {
    EXPECT_TRUE(field->alignment() & Qt::AlignRight) << field->objectName().toStdString();
  }
  for (QLineEdit* result : {form.Edit1, form.Edit2}) {
    EXPECT_EQ(result->palette().color(QPalette::Base), QColor(240, 202, 166));
  }
  EXPECT_EQ(form.Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(form.Label1->font().pixelSize(), 16);
  EXPECT_EQ(form.AbwEd->font().pixelSize(), 11);
  EXPECT_TRUE(form.Label7->wordWrap());
  EXPECT_EQ(form.KonvertBtn->iconSize(), QSize(24, 24));
  for (QPushButton* button : {form.KonvertBtn, form.CancelBtn, form.ResetBtn}) {
    EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
  }
}

TEST_F(MainFormTest, FocusMovesInTheDefinitionsOrder) {
  TMainForm& form = Show();
  QStringList order;
  QWidget* widget = form.KonvertBtn;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && form.centralWidget()->isAncestorOf(widget)) {
      order.append(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  } while (widget != form.KonvertBtn);
  EXPECT_EQ(order, (QStringList{QStringLiteral("KonvertBtn"), QStringLiteral("CancelBtn"),
                                QStringLiteral("LeaveSplineCheck"), QStringLiteral("AbwEd"),
                                QStringLiteral("AbwEinhED"), QStringLiteral("TestEd"),
                                QStringLiteral("SplineTestEd"), QStringLiteral("OpenCheck"),
                                QStringLiteral("ResetBtn"), QStringLiteral("Edit1"),
                                QStringLiteral("Edit2")}));
}

TEST_F(MainFormTest, ResetRestoresOnlyTheFourNumbers) {
  TMainForm& form = Show();
  form.AbwEd->setText(QStringLiteral("5"));
  form.AbwEinhED->setText(QStringLiteral("0,2"));
  form.TestEd->setText(QStringLiteral("33"));
  form.SplineTestEd->setText(QStringLiteral("x"));
  form.LeaveSplineCheck->setChecked(true);
  form.OpenCheck->setChecked(true);
  form.Edit1->setText(QStringLiteral("0.5"));
  form.Edit2->setText(QStringLiteral("0.25"));

  form.ResetBtn->click();

  EXPECT_EQ(form.AbwEd->text(), QStringLiteral("1"));
  EXPECT_EQ(form.AbwEinhED->text(), QStringLiteral("1"));
  EXPECT_EQ(form.TestEd->text(), QStringLiteral("10"));
  EXPECT_EQ(form.SplineTestEd->text(), QStringLiteral("1000"));
  EXPECT_TRUE(form.LeaveSplineCheck->isChecked());
  EXPECT_TRUE(form.OpenCheck->isChecked());
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("0.5"));
  EXPECT_EQ(form.Edit2->text(), QStringLiteral("0.25"));
}

TEST_F(MainFormTest, EscapePressesCancelOnlyWhileItIsEnabled) {
  TMainForm& form = Show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.breaking());

  form.SetRunning(true);
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.breaking());
  form.SetRunning(false);
}

TEST_F(MainFormTest, CancellingEitherFileDialogStartsNothing) {
  TMainForm& form = Show();
  ASSERT_TRUE(WriteBytes(FilePath(QStringLiteral("in.dxf")), testing::SmallDrawing()));

  form.KonvertBtn->click();  // open dialog cancelled
  dialogs_.openAnswers.push_back(FilePath(QStringLiteral("in.dxf")));
  form.KonvertBtn->click();  // save dialog cancelled

  EXPECT_EQ(dialogs_.filters.size(), 3u);
  EXPECT_TRUE(form.Label1->text().isEmpty());
  EXPECT_TRUE(form.Edit1->text().isEmpty());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(form.KonvertBtn->isEnabled());
  EXPECT_FALSE(QFileInfo::exists(FilePath(QStringLiteral("out.dxf"))));
}

TEST_F(MainFormTest, CompletedRunShowsTheTimeTheMinimaAndIdleButtons) {
  TMainForm& form = Show();
  const QString input = FilePath(QStringLiteral("in.dxf"));
  const QString output = FilePath(QStringLiteral("out.dxf"));
  ASSERT_TRUE(WriteBytes(input, testing::SmallDrawing()));
  form.Label1->setText(QStringLiteral("previous"));
  dialogs_.openAnswers.push_back(input);
  dialogs_.saveAnswers.push_back(output);

  form.KonvertBtn->click();

  // Both dialogs with one DXF filter and the default extension.
  ASSERT_EQ(dialogs_.filters.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(dialogs_.filters[i], QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"));
    EXPECT_EQ(dialogs_.extensions[i], QStringLiteral(".dxf"));
  }
  EXPECT_TRUE(form.Label1->text().startsWith(QStringLiteral("Konvertierung beendet: ")))
      << form.Label1->text().toStdString();
  EXPECT_GT(form.Label1->text().size(), QStringLiteral("Konvertierung beendet: ").size());
  EXPECT_EQ(form.ProgressBar1->value(), 0);
  EXPECT_FALSE(form.Edit1->text().isEmpty());
  EXPECT_FALSE(form.Edit2->text().isEmpty());
  EXPECT_TRUE(form.KonvertBtn->isEnabled());
  EXPECT_FALSE(form.CancelBtn->isEnabled());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(dialogs_.opened.empty());  // OpenCheck is off
  const QByteArray written = ReadBytes(output);
  EXPECT_TRUE(written.contains("LWPOLYLINE"));
  EXPECT_TRUE(written.contains("LINE\r\n5\r\n2A"));
  // Each dialog offers the name chosen in it last time.
  EXPECT_EQ(form.OpenDialog1->fileName(), input);
  EXPECT_EQ(form.SaveDialog1->fileName(), output);
}

TEST_F(MainFormTest, OpenCheckOpensTheOutputWhenTheRunCompletes) {
  TMainForm& form = Show();
  const QString input = FilePath(QStringLiteral("in.dxf"));
  const QString output = FilePath(QStringLiteral("out.dxf"));
  ASSERT_TRUE(WriteBytes(input, testing::SmallDrawing()));
  form.OpenCheck->setChecked(true);
  dialogs_.openAnswers = {input, FilePath(QStringLiteral("missing.dxf"))};
  dialogs_.saveAnswers = {output, FilePath(QStringLiteral("out2.dxf"))};

  form.KonvertBtn->click();
  ASSERT_EQ(dialogs_.opened.size(), 1u);
  EXPECT_EQ(dialogs_.opened[0], QUrl::fromLocalFile(output));

  // A failed run opens nothing.
  form.KonvertBtn->click();
  EXPECT_EQ(dialogs_.opened.size(), 1u);
}

// The failures as the window shows them: the box (with the buttons still in
// their running state while it is open), then the window ready again.
struct FailureCase {
  const char* name;
  const char* input;   // relative to the test folder
  const char* output;  // likewise
  QString box;         // message text before the file name
  bool boxNamesInput;
  QString label;   // Label1 afterwards; empty: unchanged
  QString minima;  // Edit1 and Edit2 afterwards; empty: unchanged
};

TEST_F(MainFormTest, FailedRunsShowABoxAndLeaveTheWindowReady) {
  const FailureCase cases[] = {
      {"input missing", "missing.dxf", "out.dxf",
       QStringLiteral("Folgende DXF Datei konnte nicht geöffnet werden:"), true,
       QStringLiteral("Abgebrochen..."), QString()},
      {"output folder missing", "in.dxf", "nowhere/out.dxf",
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden:"), false, QString(),
       QStringLiteral("0")},
      {"output is the input", "in.dxf", "in.dxf",
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden:"), false, QString(),
       QStringLiteral("0")},
  };
  TMainForm& form = Show();
  ASSERT_TRUE(WriteBytes(FilePath(QStringLiteral("in.dxf")), testing::SmallDrawing()));
  for (const FailureCase& failure : cases) {
    SCOPED_TRACE(failure.name);
    dialogs_.messages.clear();
    form.Label1->setText(QStringLiteral("previous"));
    form.ProgressBar1->setValue(40);
    form.Edit1->setText(QStringLiteral("7"));
    form.Edit2->setText(QStringLiteral("8"));
    const QString input = FilePath(QLatin1String(failure.input));
    const QString output = FilePath(QLatin1String(failure.output));
    dialogs_.openAnswers.push_back(input);
    dialogs_.saveAnswers.push_back(output);
    bool runningAtBox = false;
    dialogs_.onMessage = [&](const FakeDialogs::Message&) {
      runningAtBox = !form.KonvertBtn->isEnabled() && form.CancelBtn->isEnabled();
    };

    form.KonvertBtn->click();

    ASSERT_EQ(dialogs_.messages.size(), 1u);
    const FakeDialogs::Message& box = dialogs_.messages[0];
    EXPECT_EQ(box.text, failure.box + QLatin1Char(' ') + (failure.boxNamesInput ? input : output));
    EXPECT_EQ(box.icon, MessageIcon::kNone);
    EXPECT_TRUE(box.caption.isEmpty());
    EXPECT_TRUE(runningAtBox);
    EXPECT_TRUE(form.KonvertBtn->isEnabled());
    EXPECT_FALSE(form.CancelBtn->isEnabled());
    EXPECT_EQ(form.Label1->text(),
              failure.label.isEmpty() ? QStringLiteral("previous") : failure.label);
    EXPECT_EQ(form.ProgressBar1->value(), failure.label.isEmpty() ? 40 : 0);
    EXPECT_EQ(form.Edit1->text(), failure.minima.isEmpty() ? QStringLiteral("7") : failure.minima);
    EXPECT_EQ(form.Edit2->text(), failure.minima.isEmpty() ? QStringLiteral("8") : failure.minima);
  }
  dialogs_.onMessage = nullptr;
  EXPECT_FALSE(QFileInfo::exists(FilePath(QStringLiteral("out.dxf"))));
  EXPECT_EQ(ReadBytes(FilePath(QStringLiteral("in.dxf"))), testing::SmallDrawing());
}

TEST_F(MainFormTest, PumpLetsAClickOnCancelLand) {
  TMainForm& form = Show();
  form.SetRunning(true);  // as a run does at its start
  form.host().Pump();
  EXPECT_FALSE(form.breaking());
  QTimer::singleShot(0, form.CancelBtn, &QPushButton::click);
  form.host().Pump();
  EXPECT_TRUE(form.breaking());
  form.SetRunning(false);
}

TEST_F(MainFormTest, ClosingDuringARunCancelsItAndClosesWhenItHasEnded) {
  TMainForm& form = Show();
  ASSERT_TRUE(WriteBytes(FilePath(QStringLiteral("in.dxf")), testing::SmallDrawing()));
  dialogs_.openAnswers.push_back(FilePath(QStringLiteral("in.dxf")));
  dialogs_.saveAnswers.push_back(FilePath(QStringLiteral("no/out.dxf")));
  bool openAfterClose = false;
  // The run's box is open while the run is still going on.
  dialogs_.onMessage = [&](const FakeDialogs::Message&) {
    form.close();
    openAfterClose = form.isVisible();
  };

  form.KonvertBtn->click();
  dialogs_.onMessage = nullptr;

  EXPECT_TRUE(openAfterClose);
  EXPECT_TRUE(form.breaking());
  EXPECT_FALSE(form.isVisible());
  // The close handling ran once the run was over.
  EXPECT_EQ(ReadBytes(OptionsPath()), QByteArray("\x01\x00\x00\x00", 4));
  EXPECT_EQ(WindowStateStore(QStringLiteral("tessarin")).Text(state_names::kVisible),
            QStringLiteral("0"));
}

// Cancel pressed while the first spline is being fitted: the first pump of
// the run happens inside the fit, so a click posted before the run lands
// there.
TEST_F(MainFormTest, CancelDuringTheFitEndsTheOutputBeforeThatSpline) {
  TMainForm& form = Show();
  const QString input = FilePath(QStringLiteral("in.dxf"));
  const QString output = FilePath(QStringLiteral("out.dxf"));
  const QByteArray drawing = testing::SmallDrawing();
  ASSERT_TRUE(WriteBytes(input, drawing));
  form.SplineTestEd->setText(QStringLiteral("10000"));
  form.AbwEd->setText(QStringLiteral("0,0001"));
  form.AbwEinhED->setText(QStringLiteral("0,0001"));
  form.Edit1->setText(QStringLiteral("7"));
  dialogs_.openAnswers.push_back(input);
  dialogs_.saveAnswers.push_back(output);
  bool pumped = false;
  bool runningAtPump = false;
  QString statusAtPump;
  QTimer::singleShot(0, &form, [&] {
    pumped = true;
    runningAtPump = !form.KonvertBtn->isEnabled() && form.CancelBtn->isEnabled();
    statusAtPump = form.Label1->text();
    // The menus work meanwhile: a language chosen now is the one of the
    // messages the run shows afterwards.
    form.languageItems[kSpanish]->trigger();
    form.CancelBtn->click();
  });

  form.KonvertBtn->click();
  if (!pumped) GTEST_SKIP() << "the arc fitting does not pump the event queue yet";

  EXPECT_TRUE(runningAtPump);
  EXPECT_EQ(statusAtPump, QStringLiteral("Beginne Konvertierung... Bitte warten..."));
  EXPECT_EQ(form.language(), kSpanish);
  EXPECT_EQ(dialogs_.messages.size(), 1u);  // the restart notice, no box of the run
  EXPECT_EQ(form.Label1->text(), QString::fromStdU16String(MessageText(8, form.store())));
  EXPECT_EQ(form.ProgressBar1->value(), 0);
  EXPECT_TRUE(form.KonvertBtn->isEnabled());
  EXPECT_FALSE(form.CancelBtn->isEnabled());
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("7"));
  EXPECT_TRUE(dialogs_.opened.empty());
  EXPECT_EQ(ReadBytes(output), drawing.left(drawing.indexOf("0\r\nSPLINE")));
}

TEST_F(MainFormTest, MenusHoldTheirItemsInOrder) {
  TMainForm& form = Show();
  const QList<QAction*> menus = form.menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("Sprache"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("Hilfe"));

  QStringList language;
  for (const QAction* item : form.Sprache1->actions()) {
    language.append(item->isSeparator() ? QStringLiteral("-") : item->text());
  }
  EXPECT_EQ(language, (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English"),
                                   QStringLiteral("Français"), QStringLiteral("Nederlands"),
                                   QStringLiteral("Italian"), QStringLiteral("Spanish"),
                                   QStringLiteral("Portuguese"), QStringLiteral("-"),
                                   QStringLiteral("Übersetzen...")}));
  ASSERT_EQ(form.Hilfe1->actions().size(), 1);
  EXPECT_EQ(form.Hilfe1->actions()[0]->text(), QStringLiteral("Über..."));
  for (const QAction* item : form.languageItems) EXPECT_EQ(item->actionGroup(), form.languageGroup);
}

TEST_F(MainFormTest, ChoosingALanguageTicksItSetsItAndAsksForARestart) {
  TMainForm& form = Show();
  const int choices[] = {kSpanish, kDutch, kDutch, kGerman, kPortuguese, kEnglish};
  size_t notices = 0;
  for (const int code : choices) {
    SCOPED_TRACE(code);
    form.languageItems[static_cast<size_t>(code)]->trigger();
    EXPECT_EQ(form.language(), code);
    EXPECT_TRUE(form.languageItems[static_cast<size_t>(code)]->isChecked());
    EXPECT_EQ(CheckedLanguageItems(form), 1);
    // The start-up code stays what it was.
    EXPECT_EQ(form.languagesetto(), kEnglish);
    // Choosing the ticked item again shows the notice again too.
    ASSERT_EQ(dialogs_.messages.size(), ++notices);
    const FakeDialogs::Message& notice = dialogs_.messages.back();
    EXPECT_EQ(notice.icon, MessageIcon::kInformation);
    EXPECT_EQ(notice.text,
              QStringLiteral("Bitte schließen Sie das Program und starten Sie es neu."));
    EXPECT_EQ(notice.caption, QStringLiteral("Übersetzen"));
  }
}

TEST_F(MainFormTest, TranslateItemOpensTheEditorThenAsksForARestart) {
  TMainForm& form = Show();
  bool editorShown = false;
  QTimer::singleShot(0, windows_.translateForm, [&] {
    editorShown = windows_.translateForm->isVisible() && windows_.translateForm->isModal();
    EXPECT_TRUE(dialogs_.messages.empty());  // the notice comes after the editor
    windows_.translateForm->reject();
  });
  form.bersetzen1->trigger();
  EXPECT_TRUE(editorShown);
  EXPECT_EQ(windows_.translateForm->windowTitle(), QStringLiteral("Übersetzen"));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text,
            QStringLiteral("Bitte schließen Sie das Program und starten Sie es neu."));
  EXPECT_EQ(dialogs_.messages[0].caption, QStringLiteral("Übersetzen"));
}

TEST_F(MainFormTest, AboutBoxNamesTheYearAndOpensTheUserGuide) {
  TMainForm& form = Show();
  TAboutBox* about = windows_.aboutBox;
  bool shown = false;
  QTimer::singleShot(0, about, [&] {
    shown = about->isVisible();
    about->HelpBtn->click();
    about->OKButton->click();
  });
  form.ber1->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(about->isVisible());
  EXPECT_EQ(about->windowTitle(), QStringLiteral("Info"));
  EXPECT_TRUE(about->Copyright->text().contains(QString::number(QDate::currentDate().year())));
  ASSERT_EQ(dialogs_.opened.size(), 1u);
  EXPECT_EQ(dialogs_.opened[0],
            QUrl::fromLocalFile(ProgramFolderPath() + QStringLiteral("/user-guide.html")));
  // The build puts the guide beside the program.
  EXPECT_TRUE(QFileInfo::exists(QStringLiteral(TESSARIN_BINARY_DIR "/user-guide.html")));
}

}  // namespace
}  // namespace tessarin
