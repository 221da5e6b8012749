// SPDX-License-Identifier: MIT
// The main window: the six setting fields, the convert, cancel and reset
// buttons, status line, progress bar, result fields and the menus; the
// program's start-up steps and the state it keeps across a use.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <array>
#include <optional>

#include "cancel_token.h"
#include "setting_fields.h"
#include "translation_store.h"
#include "window_host.h"
#include "window_placement.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace tessarin {

class Dialogs;
class FileDialogSettings;
class TAboutBox;
class TTranslateForm;
struct RunReport;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // `arguments` is the command line with the program's own path first.
  // Creates the window with the defaults of its definition, then records the
  // program folder, builds the translation store and reads "options.dat".
  TMainForm(const QStringList& arguments, Dialogs& dialogs, QWidget* parent = nullptr);
  // Saves the window state unless that has been done since the last restore.
  ~TMainForm() override;

  // The information dialog and the translation editor, created after this
  // window.
  void SetSecondaryWindows(TAboutBox* aboutBox, TTranslateForm* translateForm);
  TAboutBox* aboutBox() const { return aboutBox_; }
  TTranslateForm* translateForm() const { return translateForm_; }

  // What a showing does before the window becomes visible: the restore of
  // the stored window state, then FormShow. The batch mode calls it without
  // showing the window.
  void PrepareShowing();
  // Shows the window after PrepareShowing has run without a showing (an
  // error escaped the batch run): the showing's steps are not repeated, so
  // the values of the command line stay.
  void ShowPrepared();
  // First showing only: registers the messages, puts the stored language in
  // force, translates the windows and, with two or more arguments, runs the
  // batch conversion and requests the end.
  void FormShow();
  // The close handling after the window state has been saved.
  void FormClose();

  // What a run reports to.
  MainFormHost& host() { return host_; }

  // The translation store, built at creation from "translate.dat" in the
  // program folder; it holds the language code in force.
  TranslationStore& store() { return store_; }

  // Runs one conversion with the settings the fields hold.
  RunReport KonvertDXF(const QString& input, const QString& output,
                       const ConversionSettings& settings);
  // A run whose escaping error is shown instead of ending the program;
  // nothing when one escaped.
  std::optional<RunReport> GuardedRun(const QString& input, const QString& output,
                                      const ConversionSettings& settings);

  // The six setting fields as values.
  SettingFields Fields() const;
  void SetFields(const SettingFields& fields);

  // "options.dat" in the program folder.
  void LoadOptions();
  void SaveOptions();
  // The window state in the per-user store.
  void RestoreWindowState();
  void SaveWindowState(bool visible);

  // Handlers of the buttons and menu items.
  void KonvertBtnClick();
  void CancelBtnClick();
  void ResetBtnClick();
  void bersetzen1Click();
  void ber1Click();
  void Deutsch1Click() { LanguageItemClick(0); }
  void English1Click() { LanguageItemClick(1); }
  void Franais1Click() { LanguageItemClick(2); }
  void Nederlands1Click() { LanguageItemClick(3); }
  void Italian1Click() { LanguageItemClick(4); }
  void Spanish1Click() { LanguageItemClick(5); }
  void Portuguese1Click() { LanguageItemClick(6); }

  // Button states of a run: convert disabled and cancel enabled while it
  // runs.
  void SetRunning(bool running);

  // Application state.
  const QString& progpath() const { return progpath_; }
  // The folder of "translate.dat" and "options.dat" (see DataFolder).
  const QString& datapath() const { return datapath_; }
  const QString& programName() const { return programName_; }
  bool isfirsttime() const { return isfirsttime_; }
  bool dontchlang() const { return dontchlang_; }
  // The run's cancel request, set by Cancel (and Esc) and by closing.
  bool breaking() const { return cancel_.Requested(); }
  bool running() const { return running_; }
  int languagesetto() const { return languagesetto_; }
  // The language code in force; the translation store holds it.
  int language() const { return store_.language(); }
  // Set once a batch run has returned: the program is to end.
  bool endRequested() const { return endRequested_; }
  // The batch run's exit status, once it has returned.
  std::optional<int> batchExitStatus() const { return batchExitStatus_; }

  // Controls, named as in the window definition.
  QWidget* Panel1;
  QPushButton* KonvertBtn;
  QPushButton* CancelBtn;
  QProgressBar* ProgressBar1;
  QLabel* Label1;
  QLabel* Label6;
  QLabel* Label2;
  QLineEdit* AbwEd;
  QLineEdit* Edit1;
  QPushButton* ResetBtn;
  QLabel* Label3;
  QLineEdit* AbwEinhED;
  QLineEdit* Edit2;
  QLabel* Label7;
  QLabel* Label4;
  QLineEdit* TestEd;
  QLabel* Label5;
  QLineEdit* SplineTestEd;
  QCheckBox* LeaveSplineCheck;
  QCheckBox* OpenCheck;
  FileDialogSettings* OpenDialog1;
  FileDialogSettings* SaveDialog1;
  QMenu* Sprache1;
  QMenu* Hilfe1;
  // The seven language items in menu order; the index is the language code.
  std::array<QAction*, 7> languageItems;
  QActionGroup* languageGroup;
  QAction* bersetzen1;
  QAction* ber1;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void FormCreate();
  void LanguageItemClick(int code);
  void TickLanguageItem(int code);
  void CloseIfPending();
  ScreenFacts Screen() const;

  QStringList arguments_;
  Dialogs& dialogs_;
  TranslationStore store_;
  MainFormHost host_;
  CancelToken cancel_;
  TAboutBox* aboutBox_ = nullptr;
  TTranslateForm* translateForm_ = nullptr;

  QString progpath_;     // program folder, ending in a separator
  QString datapath_;     // folder of the data files, ending in a separator
  QString programName_;  // program file name without extension
  bool isfirsttime_ = false;
  int languagesetto_ = 1;
  bool dontchlang_ = false;
  bool running_ = false;
  bool closePending_ = false;  // closed during a run: close once it has ended
  bool endRequested_ = false;
  std::optional<int> batchExitStatus_;

  // Window state: restored since creation, saved since the last restore.
  bool stateRestored_ = false;
  bool stateSaved_ = false;
  bool centred_ = true;  // no stored placement applies
  bool minimizeAfterStart_ = false;
  bool showingPrepared_ = false;  // the next showing's steps have run
  int placementFlags_ = 0;
  QPoint minPosition_{-1, -1};
  QPoint maxPosition_{-1, -1};
};

// The folder of the program started as `argument0` (the path as given, not
// the resolved file), ending in a separator.
QString ProgramFolder(const QString& argument0);
// Its file name without extension.
QString ProgramName(const QString& argument0);

}  // namespace tessarin
