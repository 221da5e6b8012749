// SPDX-License-Identifier: MIT
// Terminal output and the platform calls of the command-line tool.
#include "cli_host.h"

#include <csignal>
#include <ctime>

#include "message_catalogue.h"
#include "utf.h"

#ifdef _WIN32
// windows.h first: shellapi.h builds on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#else
#include <spawn.h>
extern char** environ;
#endif

namespace tessarin {

namespace {

constexpr int kBarWidth = 40;
CancelToken* interruptTarget = nullptr;

extern "C" void OnInterrupt(int) {
  if (interruptTarget != nullptr) interruptTarget->Request();
}

}  // namespace

CliHost::CliHost(std::FILE* err, bool terminal, bool openresult)
    : err_(err), terminal_(terminal), openresult_(openresult) {}

void CliHost::ClearBar() {
  if (!barShown_) return;
  std::fprintf(err_, "\r%*s\r", kBarWidth + 8, "");
  barShown_ = false;
}

void CliHost::Say(int message, const std::string& argument) {
  ClearBar();
  std::string text = Utf16ToUtf8(MessageText(message));
  if (!argument.empty()) text += " " + argument;
  std::fprintf(err_, "%s\n", text.c_str());
  std::fflush(err_);
}

void CliHost::ShowStatus(int message, const std::string& argument) { Say(message, argument); }

void CliHost::ShowMessageBox(int message, const std::string& argument) { Say(message, argument); }

void CliHost::ShowProgress(int position) {
  if (!terminal_) return;
  if (position == 0) {
    ClearBar();
    return;
  }
  const int filled = position * kBarWidth / 100;
  std::fprintf(err_, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
               std::string(static_cast<size_t>(kBarWidth - filled), ' ').c_str(), position);
  std::fflush(err_);
  barShown_ = true;
}

void CliHost::ShowMinima(const std::string& percent, const std::string& units) {
  minpercent_ = percent;
  mindeviation_ = units;
}

void CliHost::OpenFile(const std::string& path) {
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(path);
  ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(wide.c_str()), nullptr, nullptr,
                SW_SHOW);
#else
  // Started and left to itself, as the desktop's "open" is.
  std::string program = "xdg-open";
  std::string file = path;
  char* argv[] = {program.data(), file.data(), nullptr};
  pid_t pid;
  posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ);
#endif
}

std::string CliHost::TimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[64];
  const size_t n = std::strftime(text, sizeof text, "%X", &local);
  return std::string(text, n);
}

void CancelOnInterrupt(CancelToken& cancel) {
  interruptTarget = &cancel;
#ifdef _WIN32
  std::signal(SIGINT, OnInterrupt);
#else
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESETHAND;  // a second Ctrl-C ends the process
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
#endif
}

}  // namespace tessarin
