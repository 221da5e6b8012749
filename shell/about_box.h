// SPDX-License-Identifier: MIT
// The information dialog: what the program is, and a way to its user guide.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace tessarin {

class Dialogs;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // `guide` is the full name of the user guide beside the program.
  TAboutBox(QWidget* parent, Dialogs& dialogs, const QString& guide);

  const QString& guide() const { return guide_; }

  // Opens the user guide in the default browser.
  void HelpBtnClick();

  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;  // holds the year of the first showing
  QLabel* Comments;
  QPushButton* HelpBtn;
  QPushButton* OKButton;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Dialogs& dialogs_;
  QString guide_;
};

// The user guide's name in the program folder.
inline constexpr const char16_t* kUserGuideName = u"user-guide.html";

}  // namespace tessarin
