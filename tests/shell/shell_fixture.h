// SPDX-License-Identifier: MIT
// What the shell tests share: dialogs that the test answers, a program
// folder and a configuration folder of their own for each test, and the
// program's windows started in them.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <functional>
#include <vector>

#include "dialogs.h"
#include "file_dialog_settings.h"
#include "startup.h"
#include "window_state.h"

namespace tessarin::testing {

// Records every box and question and answers the file dialogs from queues
// (an empty queue cancels).
class FakeDialogs final : public Dialogs {
 public:
  struct Message {
    MessageIcon icon;
    QString text;
    QString caption;
  };

  struct Question {
    QString text;
    QString caption;
    QuestionButtons buttons;
  };

  void ShowMessage(QWidget*, MessageIcon icon, const QString& text,
                   const QString& caption) override {
    messages.push_back({icon, text, caption});
    if (onMessage) onMessage(messages.back());
  }
  // Answers with `onAsk`, No without it.
  Reply Ask(QWidget*, const QString& text, const QString& caption,
            QuestionButtons buttons) override {
    questions.push_back({text, caption, buttons});
    return onAsk ? onAsk(questions.back()) : Reply::kNo;
  }
  QString GetOpenFileName(QWidget*, FileDialogSettings& settings) override {
    return Answer(openAnswers, settings);
  }
  QString GetSaveFileName(QWidget*, FileDialogSettings& settings) override {
    return Answer(saveAnswers, settings);
  }
  void OpenUrl(const QUrl& url) override { opened.push_back(url); }

  std::vector<Message> messages;
  std::function<void(const Message&)> onMessage;
  std::vector<Question> questions;
  std::function<Reply(const Question&)> onAsk;
  std::deque<QString> openAnswers;
  std::deque<QString> saveAnswers;
  std::vector<QUrl> opened;
  // The filters and default extensions the dialogs were shown with.
  std::vector<QString> filters;
  std::vector<QString> extensions;

 private:
  QString Answer(std::deque<QString>& answers, FileDialogSettings& settings) {
    filters.push_back(settings.filter());
    extensions.push_back(settings.defaultExt());
    if (answers.empty()) return {};
    const QString answer = answers.front();
    answers.pop_front();
    settings.setFileName(answer);
    return answer;
  }
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", ConfigFolder().toLocal8Bit());
    ASSERT_TRUE(QDir().mkpath(ProgramFolderPath()));
    ASSERT_TRUE(QDir().mkpath(ConfigFolder()));
  }
  void TearDown() override {
    qputenv("XDG_CONFIG_HOME", savedConfigHome_);
    QFile::setPermissions(OptionsPath(), QFile::ReadOwner | QFile::WriteOwner);
  }

  QString ConfigFolder() const { return root_.filePath(QStringLiteral("config")); }
  QString ProgramFolderPath() const { return root_.filePath(QStringLiteral("program")); }
  QString ProgramFile(const QString& name = QStringLiteral("tessarin")) const {
    return ProgramFolderPath() + QLatin1Char('/') + name;
  }
  QString OptionsPath() const { return ProgramFolderPath() + QStringLiteral("/options.dat"); }
  QString FilePath(const QString& name) const { return root_.filePath(name); }

  // The windows of the program started as ProgramFile(name) with
  // `arguments` after argument 0.
  ProgramWindows Start(const QStringList& arguments = {},
                       const QString& name = QStringLiteral("tessarin")) {
    return CreateProgramWindows(QStringList{ProgramFile(name)} + arguments, dialogs_);
  }

  static bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }
  static QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }

  QTemporaryDir root_;
  QByteArray savedConfigHome_;
  FakeDialogs dialogs_;
};

// A small drawing: a line and one spline between header and end.
inline QByteArray SmallDrawing() {
  return QByteArrayLiteral(
      "0\r\nSECTION\r\n2\r\nENTITIES\r\n"
      "0\r\nLINE\r\n5\r\n2A\r\n8\r\n0\r\n10\r\n0.0\r\n20\r\n0.0\r\n11\r\n5.0\r\n21\r\n5.0\r\n"
      "0\r\nSPLINE\r\n5\r\n2B\r\n8\r\n0\r\n70\r\n8\r\n71\r\n3\r\n72\r\n8\r\n73\r\n4\r\n"
      "40\r\n0.0\r\n40\r\n0.0\r\n40\r\n0.0\r\n40\r\n0.0\r\n"
      "40\r\n1.0\r\n40\r\n1.0\r\n40\r\n1.0\r\n40\r\n1.0\r\n"
      "10\r\n0.0\r\n20\r\n0.0\r\n30\r\n0.0\r\n10\r\n1.0\r\n20\r\n2.0\r\n30\r\n0.0\r\n"
      "10\r\n3.0\r\n20\r\n2.0\r\n30\r\n0.0\r\n10\r\n4.0\r\n20\r\n0.0\r\n30\r\n0.0\r\n"
      "0\r\nENDSEC\r\n0\r\nEOF\r\n");
}

}  // namespace tessarin::testing
