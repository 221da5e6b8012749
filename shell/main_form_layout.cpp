// SPDX-License-Identifier: MIT
// The main window's definition: one table of its controls with their places
// and texts, the code that builds them from it, and the menu bar.
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <array>
#include <type_traits>
#include <variant>

#include "appearance.h"
#include "file_dialog_settings.h"
#include "main_form.h"
#include "options_file.h"
#include "setting_fields.h"

namespace tessarin {

namespace {

constexpr int kClientWidth = 635;
constexpr int kClientHeight = 268;
// Edit1 and Edit2: red 240, green 202, blue 166.
constexpr QColor kResultFieldColour(240, 202, 166);

// Where the window keeps a control; the member's type is the kind of
// control that is made.
using ControlMember =
    std::variant<QWidget * TMainForm::*, QPushButton * TMainForm::*, QProgressBar * TMainForm::*,
                 QLabel * TMainForm::*, QLineEdit * TMainForm::*, QCheckBox * TMainForm::*>;

enum class Parent { kClientArea, kPanel1 };

struct ControlDefinition {
  ControlMember member;
  const char* name;
  Parent parent;
  // In pixels within the parent. A label of height 0 takes the height of its
  // text; its width reaches to the next control, room for a longer
  // translation, while the text sits where the definition puts it.
  int left, top, width, height;
  const char16_t* text;  // null: none
};

// The controls in the order of their creation, which is also the order in
// which the interface translation meets them (from the last to the first)
// and in which they overlap (the progress bar lies above the panel's edge).
const ControlDefinition kControls[] = {
    {&TMainForm::Panel1, "Panel1", Parent::kClientArea, 0, 0, kClientWidth, 49, nullptr},
    {&TMainForm::KonvertBtn, "KonvertBtn", Parent::kPanel1, 10, 5, 231, 33,
     u"DXF Datei konvertieren..."},
    {&TMainForm::CancelBtn, "CancelBtn", Parent::kPanel1, 247, 5, 162, 33, u"Cancel"},
    {&TMainForm::ProgressBar1, "ProgressBar1", Parent::kClientArea, 8, 43, 150, 17, nullptr},
    {&TMainForm::Label1, "Label1", Parent::kClientArea, 8, 66, kClientWidth - 16, 19, nullptr},
    {&TMainForm::Label6, "Label6", Parent::kClientArea, 328, 88, kClientWidth - 328, 0,
     u"Minimale Werte der letzten Umwandlung:"},
    {&TMainForm::Label2, "Label2", Parent::kClientArea, 8, 107, 245, 0,
     u"Maximale Abweichung in %:"},
    {&TMainForm::AbwEd, "AbwEd", Parent::kClientArea, 255, 104, 70, 21, nullptr},
    {&TMainForm::Edit1, "Edit1", Parent::kClientArea, 327, 104, 70, 21, nullptr},
    {&TMainForm::ResetBtn, "ResetBtn", Parent::kClientArea, 402, 104, 231, 25,
     u"Auf Voreinstellungen zurücksetzen"},
    {&TMainForm::Label3, "Label3", Parent::kClientArea, 8, 134, 245, 0,
     u"Maximale Abweichung in DXF Einheiten:"},
    {&TMainForm::AbwEinhED, "AbwEinhED", Parent::kClientArea, 255, 131, 70, 21, nullptr},
    {&TMainForm::Edit2, "Edit2", Parent::kClientArea, 327, 131, 70, 21, nullptr},
    {&TMainForm::Label7, "Label7", Parent::kClientArea, 408, 136, 217, 81,
     u"Die minimalen Werte der letzten Umwandlung (orange Felder) geben Hinweise auf die "
     u"Dimension der benötigten Einstellungen. Die Einstellung muss größer als die letzten "
     u"minimalen Werte sein, sonst wird nichts umgewandelt."},
    {&TMainForm::Label4, "Label4", Parent::kClientArea, 8, 161, 245, 0,
     u"Kreisbögen an sovielen Stellen testen:"},
    {&TMainForm::TestEd, "TestEd", Parent::kClientArea, 255, 158, 70, 21, nullptr},
    {&TMainForm::Label5, "Label5", Parent::kClientArea, 8, 188, 245, 0,
     u"Spline an sovielen Stellen testen:"},
    {&TMainForm::SplineTestEd, "SplineTestEd", Parent::kClientArea, 255, 185, 70, 21, nullptr},
    {&TMainForm::LeaveSplineCheck, "LeaveSplineCheck", Parent::kClientArea, 10, 224, 535, 17,
     u"Spline Kurven zusätzlich erhalten lassen, um das Ergebnis vergleichen zu können"},
    {&TMainForm::OpenCheck, "OpenCheck", Parent::kClientArea, 8, 247, 534, 17,
     u"Öffne DXF Datei nach der Konvertierung"},
};

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

QString Text16(const char16_t* text) {
  return text != nullptr ? QString::fromUtf16(text) : QString();
}

// The control of one row, with what every control of its kind has.
template <typename Widget>
Widget* CreateControl(const ControlDefinition& definition, QWidget* parent) {
  Widget* widget;
  if constexpr (std::is_same_v<Widget, QWidget> || std::is_same_v<Widget, QProgressBar>) {
    widget = new Widget(parent);
  } else {
    widget = new Widget(Text16(definition.text), parent);
  }
  widget->setObjectName(QLatin1String(definition.name));
  int height = definition.height;
  if constexpr (std::is_same_v<Widget, QLabel>) {
    if (height == 0) height = widget->sizeHint().height();
  }
  widget->setGeometry(definition.left, definition.top, definition.width, height);
  if constexpr (std::is_same_v<Widget, QPushButton>) {
    // No default button: Return presses only the button that has the focus.
    widget->setAutoDefault(false);
    widget->setDefault(false);
  } else if constexpr (std::is_same_v<Widget, QLineEdit>) {
    widget->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  } else if constexpr (std::is_same_v<Widget, QProgressBar>) {
    widget->setRange(0, 100);
    widget->setValue(0);
    widget->setTextVisible(false);
    widget->setFocusPolicy(Qt::NoFocus);
  }
  return widget;
}

}  // namespace

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

  for (const ControlDefinition& definition : kControls) {
    QWidget* parent = definition.parent == Parent::kPanel1 ? Panel1 : client;
    std::visit(
        [&](auto member) {
          using Widget = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
          this->*member = CreateControl<Widget>(definition, parent);
        },
        definition.member);
  }

  // The four numbers start at the run's defaults.
  SetFields(SettingFields{});

  // What single controls have beyond their kind.
  KonvertBtn->setIcon(QIcon(ConvertPicture(24)));
  KonvertBtn->setIconSize(QSize(24, 24));
  CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  CancelBtn->setEnabled(false);
  ResetBtn->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  QFont statusFont = font;
  statusFont.setPixelSize(16);
  Label1->setFont(statusFont);
  QPalette red = Label1->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  Label1->setPalette(red);
  for (QLineEdit* result : {Edit1, Edit2}) {
    result->setReadOnly(true);
    QPalette orange = result->palette();
    orange.setColor(QPalette::Base, kResultFieldColour);
    result->setPalette(orange);
  }
  Label7->setWordWrap(true);
  Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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

}  // namespace tessarin
