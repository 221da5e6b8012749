// SPDX-License-Identifier: MIT
// The main window: its definition, the handlers of its buttons and menus,
// the first showing and the batch run, and what it keeps between uses.
#include "main_form.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "about_box.h"
#include "appearance.h"
#include "batch_arguments.h"
#include "data_folder.h"
#include "dialogs.h"
#include "interface_translation.h"
#include "message_catalogue.h"
#include "options_file.h"
#include "translate_form.h"
#include "translation_store.h"
#include "window_state.h"

namespace tessarin {

namespace {

// Defaults of the four numbers, also what the reset button sets.
constexpr const char16_t* kDefaultMaxPercent = u"1";
constexpr const char16_t* kDefaultMaxUnits = u"1";
constexpr const char16_t* kDefaultArcTests = u"10";
constexpr const char16_t* kDefaultSplineTests = u"1000";

constexpr int kClientWidth = 635;
constexpr int kClientHeight = 268;
// Edit1 and Edit2: red 240, green 202, blue 166.
const QColor kResultFieldColour(240, 202, 166);

struct LanguageItem {
  const char* name;
  const char16_t* caption;
};
constexpr std::array<LanguageItem, kLanguageCount> kLanguageItems{{
    {"Deutsch1", u"Deutsch"},
    {"English1", u"English"},
    {"Franais1", u"Français"},
    {"Nederlands1", u"Nederlands"},
    {"Italian1", u"Italian"},
    {"Spanish1", u"Spanish"},
    {"Portuguese1", u"Portuguese"},
}};

QString Text16(const char16_t* text) { return QString::fromUtf16(text); }

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

QLabel* AutoSizeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                      int width) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  // Wide enough for a longer translation; the text sits where the
  // definition puts it.
  label->setGeometry(left, top, width, label->sizeHint().height());
  return label;
}

QLineEdit* NumberField(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* field = Place(new QLineEdit(text, parent), name, left, top, 70, 21);
  field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return field;
}

QString PositionText(int a, int b, int c, int d) {
  return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

// Items 1 to 4 of a stored position, split at commas, each `defaults[i]`
// when missing or no number.
std::array<int, 4> PositionItems(const QString& text, const std::array<int, 4>& defaults) {
  std::array<int, 4> items = defaults;
  const QStringList parts = text.split(QLatin1Char(','));
  for (size_t i = 0; i < items.size(); ++i) {
    if (static_cast<qsizetype>(i) < parts.size()) {
      items[i] = ParseStoredInteger(parts[static_cast<qsizetype>(i)]).value_or(defaults[i]);
    }
  }
  return items;
}

QString ScreenSizeSuffix() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen != nullptr ? screen->size() : QSize();
  return QStringLiteral("(%1x%2)").arg(size.width()).arg(size.height());
}

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
}

void TMainForm::CreateControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  const QFont font = DefinitionFont(11);
  client->setFont(font);
  // The face colour of buttons for the whole window.
  QPalette face = client->palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  client->setPalette(face);
  client->setAutoFillBackground(true);
  setCentralWidget(client);

  Panel1 = Place(new QWidget(client), "Panel1", 0, 0, kClientWidth, 49);
  KonvertBtn = Place(new QPushButton(QIcon(ConvertPicture(24)),
                                     QStringLiteral("DXF Datei konvertieren..."), Panel1),
                     "KonvertBtn", 10, 5, 231, 33);
  KonvertBtn->setIconSize(QSize(24, 24));
  CancelBtn = Place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                    QStringLiteral("Cancel"), Panel1),
                    "CancelBtn", 247, 5, 162, 33);
  CancelBtn->setEnabled(false);

  // Created after the panel, so it lies above the panel's lower edge.
  ProgressBar1 = Place(new QProgressBar(client), "ProgressBar1", 8, 43, 150, 17);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setFocusPolicy(Qt::NoFocus);

  Label1 = Place(new QLabel(client), "Label1", 8, 66, kClientWidth - 16, 19);
  QFont statusFont = font;
  statusFont.setPixelSize(16);
  Label1->setFont(statusFont);
  QPalette red = Label1->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  Label1->setPalette(red);

  Label6 = AutoSizeLabel(client, "Label6", QStringLiteral("Minimale Werte der letzten Umwandlung:"),
                         328, 88, kClientWidth - 328);
  Label2 =
      AutoSizeLabel(client, "Label2", QStringLiteral("Maximale Abweichung in %:"), 8, 107, 245);
  AbwEd = NumberField(client, "AbwEd", Text16(kDefaultMaxPercent), 255, 104);
  Edit1 = NumberField(client, "Edit1", QString(), 327, 104);
  ResetBtn = Place(new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload),
                                   QStringLiteral("Auf Voreinstellungen zurücksetzen"), client),
                   "ResetBtn", 402, 104, 231, 25);
  Label3 = AutoSizeLabel(client, "Label3", QStringLiteral("Maximale Abweichung in DXF Einheiten:"),
                         8, 134, 245);
  AbwEinhED = NumberField(client, "AbwEinhED", Text16(kDefaultMaxUnits), 255, 131);
  Edit2 = NumberField(client, "Edit2", QString(), 327, 131);
  for (QLineEdit* result : {Edit1, Edit2}) {
    result->setReadOnly(true);
    QPalette orange = result->palette();
    orange.setColor(QPalette::Base, kResultFieldColour);
    result->setPalette(orange);
  }
  Label7 = Place(
      new QLabel(QStringLiteral("Die minimalen Werte der letzten Umwandlung (orange Felder) "
                                "geben Hinweise auf die Dimension der benötigten Einstellungen. "
                                "Die Einstellung muss größer als die letzten minimalen Werte "
                                "sein, sonst wird nichts umgewandelt."),
                 client),
      "Label7", 408, 136, 217, 81);
  Label7->setWordWrap(true);
  Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label4 = AutoSizeLabel(client, "Label4", QStringLiteral("Kreisbögen an sovielen Stellen testen:"),
                         8, 161, 245);
  TestEd = NumberField(client, "TestEd", Text16(kDefaultArcTests), 255, 158);
  Label5 = AutoSizeLabel(client, "Label5", QStringLiteral("Spline an sovielen Stellen testen:"), 8,
                         188, 245);
  SplineTestEd = NumberField(client, "SplineTestEd", Text16(kDefaultSplineTests), 255, 185);
  LeaveSplineCheck =
      Place(new QCheckBox(QStringLiteral("Spline Kurven zusätzlich erhalten lassen, um das "
                                         "Ergebnis vergleichen zu können"),
                          client),
            "LeaveSplineCheck", 10, 224, 535, 17);
  OpenCheck = Place(new QCheckBox(QStringLiteral("Öffne DXF Datei nach der Konvertierung"), client),
                    "OpenCheck", 8, 247, 534, 17);

  // No default button: Return presses only the button that has the focus.
  for (QPushButton* button : {KonvertBtn, CancelBtn, ResetBtn}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  QWidget* focusOrder[] = {KonvertBtn,   CancelBtn, LeaveSplineCheck, AbwEd, AbwEinhED, TestEd,
                           SplineTestEd, OpenCheck, ResetBtn,         Edit1, Edit2};
  for (size_t i = 0; i + 1 < std::size(focusOrder); ++i) {
    setTabOrder(focusOrder[i], focusOrder[i + 1]);
  }
  KonvertBtn->setFocus();

  // Escape presses the cancel button while it is enabled.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (CancelBtn->isEnabled()) CancelBtn->click();
  });

  OpenDialog1 = new FileDialogSettings(QStringLiteral("OpenDialog1"), this);
  SaveDialog1 = new FileDialogSettings(QStringLiteral("SaveDialog1"), this);
  for (FileDialogSettings* dialog : {OpenDialog1, SaveDialog1}) {
    dialog->setFilter(QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"));
    dialog->setDefaultExt(QStringLiteral(".dxf"));
  }

  connect(KonvertBtn, &QPushButton::clicked, this, &TMainForm::KonvertBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TMainForm::CancelBtnClick);
  connect(ResetBtn, &QPushButton::clicked, this, &TMainForm::ResetBtnClick);
}

void TMainForm::CreateMenus() {
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  Sprache1 = menuBar()->addMenu(QStringLiteral("Sprache"));
  Sprache1->setObjectName(QStringLiteral("Sprache1"));
  languageGroup = new QActionGroup(this);
  languageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  for (int code = 0; code < kLanguageCount; ++code) {
    const LanguageItem& item = kLanguageItems[static_cast<size_t>(code)];
    QAction* action = Sprache1->addAction(Text16(item.caption));
    action->setObjectName(QLatin1String(item.name));
    action->setCheckable(true);
    languageGroup->addAction(action);
    connect(action, &QAction::triggered, this, [this, code] { LanguageItemClick(code); });
    languageItems[static_cast<size_t>(code)] = action;
  }
  Sprache1->addSeparator();
  bersetzen1 = Sprache1->addAction(QStringLiteral("Übersetzen..."));
  bersetzen1->setObjectName(QStringLiteral("bersetzen1"));
  connect(bersetzen1, &QAction::triggered, this, &TMainForm::bersetzen1Click);

  Hilfe1 = menuBar()->addMenu(QStringLiteral("Hilfe"));
  Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
  ber1 = Hilfe1->addAction(QStringLiteral("Über..."));
  ber1->setObjectName(QStringLiteral("ber1"));
  connect(ber1, &QAction::triggered, this, &TMainForm::ber1Click);
}

void TMainForm::FormCreate() {
  progpath_ = ProgramFolder(arguments_.first());
  programName_ = ProgramName(arguments_.first());
  // The store's file lives in the program folder, or for an installed or
  // write-protected program in the user's data folder.
  datapath_ = DataFolder(progpath_);
  InitTranslation(datapath_.toStdString());
  LoadOptions();
}

void TMainForm::SetSecondaryWindows(TAboutBox* aboutBox, TTranslateForm* translateForm) {
  aboutBox_ = aboutBox;
  translateForm_ = translateForm;
}

int TMainForm::language() const { return Language(); }

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
  RegisterMessages();
  SetLanguage(languagesetto_);
  // German is the language of the window definitions themselves.
  if (languagesetto_ != 0) TranslateComponents(QCoreApplication::instance());
  QCoreApplication::setApplicationName(QString::fromStdU16String(
      TranslateText(QCoreApplication::applicationName().toStdU16String())));

  const qsizetype count = arguments_.size() - 1;
  if (count < 2) return;

  std::vector<std::string> arguments;
  for (qsizetype i = 1; i < arguments_.size(); ++i)
    arguments.push_back(arguments_[i].toStdString());
  SettingTexts texts{AbwEd->text().toStdString(), AbwEinhED->text().toStdString(),
                     TestEd->text().toStdString(), SplineTestEd->text().toStdString(),
                     LeaveSplineCheck->isChecked()};
  bool openresult = OpenCheck->isChecked();
  ApplyBatchArguments(arguments, texts, openresult);
  AbwEd->setText(QString::fromStdString(texts.maxpercent));
  AbwEinhED->setText(QString::fromStdString(texts.maxunits));
  TestEd->setText(QString::fromStdString(texts.arctests));
  SplineTestEd->setText(QString::fromStdString(texts.splinetests));
  LeaveSplineCheck->setChecked(texts.keepsplines);
  OpenCheck->setChecked(openresult);

  const std::optional<RunReport> report = GuardedRun(arguments_[1], arguments_[2]);
  // An error that escaped the run leaves the program open for the user.
  if (!report) return;
  batchExitStatus_ = ExitStatus(report->outcome);
  endRequested_ = true;
}

RunReport TMainForm::KonvertDXF(const QString& input, const QString& output) {
  const SettingTexts texts{AbwEd->text().toStdString(), AbwEinhED->text().toStdString(),
                           TestEd->text().toStdString(), SplineTestEd->text().toStdString(),
                           LeaveSplineCheck->isChecked()};
  return tessarin::KonvertDXF(input.toStdString(), output.toStdString(), texts, host_);
}

std::optional<RunReport> TMainForm::GuardedRun(const QString& input, const QString& output) {
  try {
    return KonvertDXF(input, output);
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
  GuardedRun(input, output);
  CloseIfPending();
}

void TMainForm::CancelBtnClick() { host_.RequestCancel(); }

void TMainForm::ResetBtnClick() {
  AbwEd->setText(Text16(kDefaultMaxPercent));
  AbwEinhED->setText(Text16(kDefaultMaxUnits));
  TestEd->setText(Text16(kDefaultArcTests));
  SplineTestEd->setText(Text16(kDefaultSplineTests));
}

void TMainForm::bersetzen1Click() {
  if (translateForm_ != nullptr) {
    translateForm_->FillStringGrid();
    translateForm_->exec();
  }
  // However the editor was closed: its changes reach the windows at the
  // next start only.
  dialogs_.ShowMessage(this, MessageIcon::kInformation, QString::fromStdU16String(MessageText(1)),
                       QString::fromStdU16String(MessageText(2)));
}

void TMainForm::ber1Click() {
  if (aboutBox_ != nullptr) aboutBox_->exec();
}

void TMainForm::LanguageItemClick(int code) {
  if (dontchlang_) return;
  languageItems[static_cast<size_t>(code)]->setChecked(true);
  SetLanguage(code);
  // The notice comes in the language just chosen; the windows follow at the
  // next start.
  dialogs_.ShowMessage(this, MessageIcon::kInformation, QString::fromStdU16String(MessageText(1)),
                       QString::fromStdU16String(MessageText(2)));
}

void TMainForm::TickLanguageItem(int code) {
  dontchlang_ = true;
  languageItems[static_cast<size_t>(code)]->setChecked(true);
  dontchlang_ = false;
}

void TMainForm::LoadOptions() {
  languagesetto_ = kEnglish;
  SetLanguage(kEnglish);
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
    host_.RequestCancel();
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

void TMainForm::RestoreWindowState() {
  stateSaved_ = false;
  stateRestored_ = true;
  const WindowStateStore store(programName_);
  namespace names = state_names;
  if (store.Integer(names::kFormVersion, 0) < 0) return;

  // Placement. The stored rectangle is that of the frame in screen pixels.
  const int flags = store.Integer(names::kFlags, placementFlags_);
  const QString sized = ScreenSizeSuffix();
  const auto positionText = [&](QLatin1String name) -> std::optional<QString> {
    std::optional<QString> text = store.Text(QString(name) + sized);
    if (!text || text->isEmpty()) text = store.Text(name);
    if (!text || text->isEmpty()) return std::nullopt;
    return text;
  };
  const std::optional<QString> minMaxText = positionText(names::kMinMaxPos);
  const std::optional<QString> normText = positionText(names::kNormPos);
  const QRect frame = frameGeometry();
  const std::array<int, 4> minMax = PositionItems(minMaxText.value_or(QString()), {0, 0, 0, 0});
  const std::array<int, 4> norm = PositionItems(
      normText.value_or(QString()),
      {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()});
  const int currentDensity = ScreenPixelsPerInch(*this);
  const int density = store.Integer(names::kPixelsPerInch, currentDensity);
  if ((minMaxText || normText) && density == currentDensity) {
    // Fixed border: only the position is taken, the size stays the window's.
    const int left = norm[0];
    const int top = norm[1];
    // In 64 bits: a stored position near the end of the int range would
    // overflow, and a window placed there could not store its rectangle.
    const int64_t right = int64_t{left} + frame.width();
    const int64_t bottom = int64_t{top} + frame.height();
    constexpr int64_t kLargest = std::numeric_limits<int>::max();
    if (left < right && right <= kLargest && bottom <= kLargest) {
      centred_ = false;
      placementFlags_ = flags;
      minPosition_ = QPoint(minMax[0], minMax[1]);
      maxPosition_ = QPoint(minMax[2], minMax[3]);
      move(left, top);
    }
  }

  switch (store.Integer(names::kShowCmd, 0)) {
    case 2:
    case 6:
    case 7:
      // The window stays normal; the application is minimized after start.
      setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
      minimizeAfterStart_ = true;
      break;
    case 3:
      setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
      break;
    default:
      setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
      break;
  }

  const auto restoreText = [&](QLatin1String name, QLineEdit* field) {
    if (const std::optional<QString> text = store.Text(name)) {
      field->setText(TrimBlanksAndControls(*text));
    }
  };
  const auto restoreSwitch = [&](QLatin1String name, QCheckBox* box) {
    const std::optional<QString> text = store.Text(name);
    if (!text) return;
    if (text->compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) {
      box->setChecked(true);
    } else if (text->compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) {
      box->setChecked(false);
    }
  };
  restoreSwitch(names::kOpenCheck, OpenCheck);
  restoreSwitch(names::kLeaveSplineCheck, LeaveSplineCheck);
  restoreText(names::kAbwEd, AbwEd);
  restoreText(names::kAbwEinhED, AbwEinhED);
  restoreText(names::kTestEd, TestEd);
  restoreText(names::kSplineTestEd, SplineTestEd);
}

void TMainForm::SaveWindowState(bool visible) {
  // A window that was never shown has nothing to store.
  if (!stateRestored_) return;
  WindowStateStore store(programName_);
  namespace names = state_names;
  const QRect frame = frameGeometry();
  const int showCmd = isMinimized() ? 2 : isMaximized() ? 3 : 1;
  const QString minMax =
      PositionText(minPosition_.x(), minPosition_.y(), maxPosition_.x(), maxPosition_.y());
  // The normal rectangle, also while the window is maximized or minimized.
  QPoint topLeft = pos();
  if ((isMaximized() || isMinimized()) && !normalGeometry().isEmpty()) {
    topLeft = normalGeometry().topLeft() - (geometry().topLeft() - pos());
  }
  const QString norm = PositionText(topLeft.x(), topLeft.y(), topLeft.x() + frame.width(),
                                    topLeft.y() + frame.height());
  const QString sized = ScreenSizeSuffix();
  const auto number = [](int value) { return QString::number(value); };
  const auto truth = [](bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
  };

  store.SetText(names::kFormVersion, QStringLiteral("0"));
  store.SetText(names::kFlags, number(placementFlags_));
  store.SetText(names::kShowCmd, number(showCmd));
  store.SetText(names::kPixelsPerInch, number(ScreenPixelsPerInch(*this)));
  store.SetText(QString(names::kMinMaxPos) + sized, minMax);
  store.SetText(names::kMinMaxPos, minMax);
  store.SetText(QString(names::kNormPos) + sized, norm);
  store.SetText(names::kNormPos, norm);
  store.SetText(names::kVisible, visible ? QStringLiteral("1") : QStringLiteral("0"));
  store.SetText(names::kOpenCheck, truth(OpenCheck->isChecked()));
  store.SetText(names::kLeaveSplineCheck, truth(LeaveSplineCheck->isChecked()));
  store.SetText(names::kAbwEd, TrimBlanksAndControls(AbwEd->text()));
  store.SetText(names::kAbwEinhED, TrimBlanksAndControls(AbwEinhED->text()));
  store.SetText(names::kTestEd, TrimBlanksAndControls(TestEd->text()));
  store.SetText(names::kSplineTestEd, TrimBlanksAndControls(SplineTestEd->text()));
  store.Sync();
  stateSaved_ = true;
}

}  // namespace tessarin
