// SPDX-License-Identifier: MIT
// The information dialog's definition and its two buttons.
#include "about_box.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QUrl>

#include "appearance.h"
#include "dialogs.h"
#include "version.h"

namespace tessarin {

namespace {

QLabel* Line(QWidget* parent, const char* name, const QString& text, int top, int height) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(80, top, 250, height);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent, Dialogs& dialogs, const QString& guide)
    : QDialog(parent), dialogs_(dialogs), guide_(guide) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Info"));
  const QFont font = DefinitionFont(11);
  setFont(font);
  setFixedSize(345, 200);

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setPixmap(ConvertPicture(48));
  ProgramIcon->setGeometry(16, 16, 48, 48);

  ProductName = Line(this, "ProductName", QStringLiteral("Tessarin"), 16, 16);
  QFont title = font;
  title.setPixelSize(14);
  title.setBold(true);
  ProductName->setFont(title);
  // The version and the year are filled in at the showing (showEvent).
  Version = Line(this, "Version", QStringLiteral("Version %1"), 38, 14);
  Copyright =
      Line(this, "Copyright", QStringLiteral("Copyright © %1 Die Tessarin-Entwickler"), 56, 14);
  Comments = Line(this, "Comments",
                  QStringLiteral("Wandelt die Splines von DXF Zeichnungen in Polylinien aus "
                                 "Kreisbögen um. Freie Software unter der MIT-Lizenz."),
                  78, 56);

  HelpBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton),
                            QStringLiteral("Anleitung..."), this);
  HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
  HelpBtn->setGeometry(80, 152, 120, 27);
  HelpBtn->setAutoDefault(false);
  OKButton =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(210, 152, 120, 27);
  OKButton->setDefault(true);

  connect(HelpBtn, &QPushButton::clicked, this, &TAboutBox::HelpBtnClick);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
  // Filled in after the interface translation has passed, so that the lines
  // are translated with their place holders: a line with the year or the
  // version in it would be a new text for the translation table every year
  // and every release, and untranslated.
  const QString line = Copyright->text();
  if (line.contains(QLatin1String("%1"))) {
    Copyright->setText(line.arg(QDate::currentDate().year()));
  }
  const QString versionLine = Version->text();
  if (versionLine.contains(QLatin1String("%1"))) {
    Version->setText(versionLine.arg(QLatin1String(kVersion)));
  }
  QDialog::showEvent(event);
}

void TAboutBox::HelpBtnClick() { dialogs_.OpenUrl(QUrl::fromLocalFile(guide_)); }

}  // namespace tessarin
