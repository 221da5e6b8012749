// SPDX-License-Identifier: MIT
// The main window: start-up steps, the first showing, the handlers of its
// buttons and menus, and what it keeps between uses. Its controls are built
// in main_form_layout.cpp, the batch run is in batch_run.cpp.
#include "main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTimer>
#include <string>

#include "about_box.h"
#include "appearance.h"
#include "batch_run.h"
#include "conversion_run.h"
#include "data_folder.h"
#include "dialogs.h"
#include "interface_translation.h"
#include "message_catalogue.h"
#include "options_file.h"
#include "translate_form.h"
#include "window_state.h"

namespace tessarin {

namespace {

int ScreenPixelsPerInch(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

}  // namespace

QString ProgramFolder(const QString& argument0) {
  QString file = argument0;
  const bool hasFolder = file.contains(QLatin1Char('/'))
#ifdef Q_OS_WIN
                         || file.contains(QLatin1Char('\\'))
#endif
      ;
  if (!hasFolder) {
    // Started through the search path: the file found there, as given.
    const QString found = file.isEmpty() ? QString() : QStandardPaths::findExecutable(file);
    file = found.isEmpty() ? QCoreApplication::applicationFilePath() : found;
  }
  QString folder = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
  if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
  return folder;
}

QString ProgramName(const QString& argument0) {
  QString file = argument0;
  if (file.isEmpty()) file = QCoreApplication::applicationFilePath();
  return QFileInfo(file).completeBaseName();
}

TMainForm::TMainForm(const QStringList& arguments, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), arguments_(arguments), dialogs_(dialogs), host_(*this, dialogs) {
  if (arguments_.isEmpty()) arguments_.append(QString());
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Morlen Tessarin 1.0"));
  setWindowIcon(QIcon(ConvertPicture(32)));
  CreateControls();
  CreateMenus();
  // Fixed border: the window keeps the size of its client area and menu bar.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();  // takes that size now, not at the first showing
  FormCreate();
}

TMainForm::~TMainForm() {
  if (!stateSaved_) SaveWindowState(true);
  // The editor refers to the store, which goes before the Qt children do.
  delete translateForm_;
}

void TMainForm::FormCreate() {
  progpath_ = ProgramFolder(arguments_.first());
  programName_ = ProgramName(arguments_.first());
  // The store's file lives in the program folder, or for an installed or
  // write-protected program in the user's data folder.
  datapath_ = DataFolder(progpath_);
  store_.InitTranslation(datapath_.toStdString());
  LoadOptions();
}

void TMainForm::SetSecondaryWindows(TAboutBox* aboutBox, TTranslateForm* translateForm) {
  aboutBox_ = aboutBox;
  translateForm_ = translateForm;
}

void TMainForm::showEvent(QShowEvent* event) {
  // A window coming back from the task bar is no new showing.
  if (!event->spontaneous()) {
    if (showingPrepared_) {
      showingPrepared_ = false;
    } else {
      PrepareShowing();
    }
    if (minimizeAfterStart_) {
      minimizeAfterStart_ = false;
      QTimer::singleShot(0, this, &QWidget::showMinimized);
    }
  }
  QMainWindow::showEvent(event);
}

void TMainForm::PrepareShowing() {
  RestoreWindowState();
  // Centred also when the window is never shown (batch mode), so that the
  // position stored at the end is a sensible one.
  if (centred_) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  FormShow();
}

void TMainForm::ShowPrepared() {
  showingPrepared_ = true;
  show();
}

void TMainForm::FormShow() {
  if (isfirsttime_) return;
  isfirsttime_ = true;
  RegisterMessages(store_);
  store_.SetLanguage(languagesetto_);
  // German is the language of the window definitions themselves.
  if (languagesetto_ != 0) TranslateComponents(QCoreApplication::instance(), store_);
  QCoreApplication::setApplicationName(QString::fromStdU16String(
      store_.TranslateText(QCoreApplication::applicationName().toStdU16String())));

  const qsizetype count = arguments_.size() - 1;
  if (count < 2) return;
  const std::optional<int> status = RunBatch(*this, arguments_);
  // An error that escaped the run leaves the program open for the user.
  if (!status) return;
  batchExitStatus_ = status;
  endRequested_ = true;
}

RunReport TMainForm::KonvertDXF(const QString& input, const QString& output,
                                const ConversionSettings& settings) {
  return RunConversion(input.toStdString(), output.toStdString(), settings, host_, cancel_);
}

std::optional<RunReport> TMainForm::GuardedRun(const QString& input, const QString& output,
                                               const ConversionSettings& settings) {
  try {
    return KonvertDXF(input, output, settings);
  } catch (const std::exception& error) {
    SetRunning(false);
    dialogs_.ShowMessage(this, MessageIcon::kError, QString::fromLocal8Bit(error.what()),
                         QString());
    return std::nullopt;
  }
}

void TMainForm::SetRunning(bool running) {
  running_ = running;
  KonvertBtn->setEnabled(!running);
  CancelBtn->setEnabled(running);
}

void TMainForm::KonvertBtnClick() {
  if (running_) return;
  const QString input = dialogs_.GetOpenFileName(this, *OpenDialog1);
  if (input.isEmpty()) return;
  const QString output = dialogs_.GetSaveFileName(this, *SaveDialog1);
  if (output.isEmpty()) return;
  GuardedRun(input, output, ParseSettings(TextsOf(Fields())));
  CloseIfPending();
}

void TMainForm::CancelBtnClick() { cancel_.Request(); }

void TMainForm::ResetBtnClick() {
  const SettingFields defaults;
  AbwEd->setText(defaults.maxpercent);
  AbwEinhED->setText(defaults.maxunits);
  TestEd->setText(defaults.arctests);
  SplineTestEd->setText(defaults.splinetests);
}

void TMainForm::bersetzen1Click() {
  if (translateForm_ != nullptr) {
    translateForm_->FillStringGrid();
    translateForm_->exec();
  }
  // However the editor was closed: its changes reach the windows at the
  // next start only.
  dialogs_.ShowMessage(this, MessageIcon::kInformation,
                       QString::fromStdU16String(MessageText(1, store_)),
                       QString::fromStdU16String(MessageText(2, store_)));
}

void TMainForm::ber1Click() {
  if (aboutBox_ != nullptr) aboutBox_->exec();
}

void TMainForm::LanguageItemClick(int code) {
  if (dontchlang_) return;
  languageItems[static_cast<size_t>(code)]->setChecked(true);
  store_.SetLanguage(code);
  // The notice comes in the language just chosen; the windows follow at the
  // next start.
  dialogs_.ShowMessage(this, MessageIcon::kInformation,
                       QString::fromStdU16String(MessageText(1, store_)),
                       QString::fromStdU16String(MessageText(2, store_)));
}

void TMainForm::TickLanguageItem(int code) {
  dontchlang_ = true;
  languageItems[static_cast<size_t>(code)]->setChecked(true);
  dontchlang_ = false;
}

void TMainForm::LoadOptions() {
  languagesetto_ = kEnglish;
  store_.SetLanguage(kEnglish);
  TickLanguageItem(kEnglish);
  const std::optional<int> code = ReadLanguageCode(datapath_ + QStringLiteral("options.dat"));
  if (!code) return;
  languagesetto_ = *code;
  TickLanguageItem(*code);
}

void TMainForm::SaveOptions() {
  // Nothing to tell when it cannot be written: the next start reads the old
  // file or the defaults.
  WriteLanguageCode(datapath_ + QStringLiteral("options.dat"), language());
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (running_) {
    // The run ends first (its output closed as after Cancel); the window
    // closes once it has returned.
    cancel_.Request();
    closePending_ = true;
    event->ignore();
    return;
  }
  SaveWindowState(false);
  FormClose();
  event->accept();
}

void TMainForm::FormClose() { SaveOptions(); }

void TMainForm::CloseIfPending() {
  if (!closePending_) return;
  closePending_ = false;
  close();
}

SettingFields TMainForm::Fields() const {
  return {AbwEd->text(),
          AbwEinhED->text(),
          TestEd->text(),
          SplineTestEd->text(),
          LeaveSplineCheck->isChecked(),
          OpenCheck->isChecked()};
}

void TMainForm::SetFields(const SettingFields& fields) {
  AbwEd->setText(fields.maxpercent);
  AbwEinhED->setText(fields.maxunits);
  TestEd->setText(fields.arctests);
  SplineTestEd->setText(fields.splinetests);
  LeaveSplineCheck->setChecked(fields.keepsplines);
  OpenCheck->setChecked(fields.openresult);
}

ScreenFacts TMainForm::Screen() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return {screen != nullptr ? screen->size() : QSize(), ScreenPixelsPerInch(*this)};
}

void TMainForm::RestoreWindowState() {
  stateSaved_ = false;
  stateRestored_ = true;
  const WindowStateStore store(programName_);
  // The stored rectangle is that of the frame in screen pixels.
  const Placement current{placementFlags_, minPosition_, maxPosition_, frameGeometry()};
  const std::optional<RestoredState> state = ReadWindowState(store, current, Fields(), Screen());
  if (!state) return;
  if (state->placement) {
    centred_ = false;
    placementFlags_ = state->placement->flags;
    minPosition_ = state->placement->minPosition;
    maxPosition_ = state->placement->maxPosition;
    move(state->placement->frame.topLeft());
  }
  const Qt::WindowStates normal = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  switch (state->show) {
    case ShowState::kMinimized:
      // The window stays normal; the application is minimized after start.
      setWindowState(normal);
      minimizeAfterStart_ = true;
      break;
    case ShowState::kMaximized:
      setWindowState(normal | Qt::WindowMaximized);
      break;
    case ShowState::kNormal:
      setWindowState(normal);
      break;
  }
  SetFields(state->fields);
}

void TMainForm::SaveWindowState(bool visible) {
  // A window that was never shown has nothing to store.
  if (!stateRestored_) return;
  const ShowState show = isMinimized()   ? ShowState::kMinimized
                         : isMaximized() ? ShowState::kMaximized
                                         : ShowState::kNormal;
  // The normal rectangle, also while the window is maximized or minimized.
  QPoint topLeft = pos();
  if ((isMaximized() || isMinimized()) && !normalGeometry().isEmpty()) {
    topLeft = normalGeometry().topLeft() - (geometry().topLeft() - pos());
  }
  const Placement placement{placementFlags_, minPosition_, maxPosition_,
                            QRect(topLeft, frameGeometry().size())};
  WindowStateStore store(programName_);
  WriteWindowState(store, placement, show, visible, Fields(), Screen());
  store.Sync();
  stateSaved_ = true;
}

}  // namespace tessarin
