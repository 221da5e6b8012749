// SPDX-License-Identifier: MIT
// tessarin-cli as a script sees it: arguments, messages, output and exit
// status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "process.h"
#include "unprivileged.h"

namespace tessarin {
namespace {

namespace fs = std::filesystem;
using testing::RunProcess;

const std::string kCli = std::string(TESSARIN_BINARY_DIR) + "/tessarin-cli";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("tessarin_cli_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ / "in.dxf", std::ios::binary)
        << "0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\nA\n71\n1\n10\n0\n20\n0\n10\n5\n20\n0\n"
           "0\nENDSEC\n0\nEOF\n";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(CliTest, UsageAndOptions) {
  struct Row {
    std::vector<std::string> arguments;
    int status;
    std::string inOut;  // text on stdout
    std::string inErr;  // text on stderr
  };
  const Row rows[] = {
      {{}, 2, "", "Usage: tessarin-cli IN OUT"},
      {{"only-one.dxf"}, 2, "", "Usage:"},
      {{"--help"}, 0, "Exit status: 0 converted, 2 bad usage", ""},
      {{"--version"}, 0, std::string("tessarin-cli ") + TESSARIN_PROJECT_VERSION + "\n", ""},
      {{"--frobnicate", "a", "b"}, 2, "", "unknown option --frobnicate"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments.empty() ? "(none)" : row.arguments[0]);
    const auto result = RunProcess(kCli, row.arguments);
    EXPECT_EQ(result.status, row.status);
    EXPECT_NE(result.out.find(row.inOut), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(row.inErr), std::string::npos) << result.err;
  }
}

TEST_F(CliTest, ConvertsAndReports) {
  const auto result = RunProcess(kCli, {Path("in.dxf"), Path("out.dxf")});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.err.find("Beginne Konvertierung... Bitte warten..."), std::string::npos);
  EXPECT_NE(result.err.find("Konvertierung beendet: "), std::string::npos);
  EXPECT_EQ(result.out.find("minpercent="), 0u) << result.out;
  EXPECT_NE(result.out.find("\nmindeviation="), std::string::npos);
  EXPECT_NE(result.out.find("\n1 splines, "), std::string::npos);
  const std::string output = ReadFile(Path("out.dxf"));
  EXPECT_NE(output.find("LWPOLYLINE"), std::string::npos);
  EXPECT_EQ(output.find("SPLINE\r\n"), std::string::npos);
}

TEST_F(CliTest, KeepSplinesOnlyForTrue) {
  struct Row {
    const char* keep;
    bool kept;
  };
  for (const Row& row : {Row{"true", true}, Row{"True", true}, Row{"TRUE", true}, Row{"1", false},
                         Row{"yes", false}, Row{"", false}}) {
    SCOPED_TRACE(row.keep);
    const auto result =
        RunProcess(kCli, {Path("in.dxf"), Path("out.dxf"), "0,5", "0.5", "10", "1000", row.keep});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(Path("out.dxf")).find("0\r\nSPLINE\r\n") != std::string::npos, row.kept);
  }
}

TEST_F(CliTest, FailuresHaveTheirExitStatus) {
  struct Row {
    const char* name;
    std::string input, output;
    int status;
    std::string message;
  };
  fs::create_directories(dir_ / "folder");
  fs::create_symlink(Path("in.dxf"), Path("symlink.dxf"));
  fs::create_hard_link(Path("in.dxf"), Path("hardlink.dxf"));
  const std::string notOpened = "Folgende DXF Datei konnte nicht geöffnet werden: ";
  const std::string notCreated = "Folgende DXF Datei konnte nicht angelegt werden: ";
  const Row rows[] = {
      {"missing input", Path("missing.dxf"), Path("out.dxf"), 3, notOpened + Path("missing.dxf")},
      {"folder as input", Path("folder"), Path("out.dxf"), 3, notOpened + Path("folder")},
      {"output folder missing", Path("in.dxf"), Path("none/out.dxf"), 4,
       notCreated + Path("none/out.dxf")},
      {"folder as output", Path("in.dxf"), Path("folder"), 4, notCreated + Path("folder")},
      {"output is the input", Path("in.dxf"), Path("in.dxf"), 4, notCreated + Path("in.dxf")},
      {"output is the input through a symbolic link", Path("in.dxf"), Path("symlink.dxf"), 4,
       notCreated + Path("symlink.dxf")},
      {"output is the input through a hard link", Path("in.dxf"), Path("hardlink.dxf"), 4,
       notCreated + Path("hardlink.dxf")},
      {"full disk", Path("in.dxf"), "/dev/full", 5, notCreated + "/dev/full"},
  };
  const std::string input = ReadFile(Path("in.dxf"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto result = RunProcess(kCli, {row.input, row.output});
    EXPECT_EQ(result.status, row.status);
    EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadFile(Path("in.dxf")), input);
  }
  EXPECT_FALSE(fs::exists(Path("out.dxf")));
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
}

// Permissions hold for an ordinary user; as root the program is started from
// a child that has dropped to one. Nothing that was there is changed.
TEST_F(CliTest, PermissionsAreHonoured) {
  struct Row {
    const char* name;
    std::string input, output;
    int status;
    std::string message;
  };
  const std::string input = ReadFile(Path("in.dxf"));
  fs::copy_file(Path("in.dxf"), Path("unreadable.dxf"));
  std::ofstream(Path("readonly-out.dxf")) << "old output\n";
  fs::create_directories(dir_ / "locked");
  // The child starts a copy among the test's files: the build tree may lie
  // below a folder that only root may enter (a clone in /root).
  fs::create_directories(dir_ / "program");
  const std::string cli = (dir_ / "program" / "tessarin-cli").string();
  fs::copy_file(kCli, cli);
  const Row rows[] = {
      {"unreadable input", Path("unreadable.dxf"), Path("out.dxf"), 3,
       "Folgende DXF Datei konnte nicht geöffnet werden: " + Path("unreadable.dxf")},
      {"read-only output", Path("in.dxf"), Path("readonly-out.dxf"), 4,
       "Folgende DXF Datei konnte nicht angelegt werden: " + Path("readonly-out.dxf")},
      {"read-only folder", Path("in.dxf"), Path("locked/out.dxf"), 4,
       "Folgende DXF Datei konnte nicht angelegt werden: " + Path("locked/out.dxf")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string why;
    // The child's result: the exit status, or 100 when the message is missing.
    const std::optional<int> status = testing::RunUnprivileged(
        [&] {
          fs::permissions(Path("unreadable.dxf"), fs::perms::none);
          fs::permissions(Path("readonly-out.dxf"), fs::perms::owner_read);
          fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
          const auto result = RunProcess(cli, {row.input, row.output});
          return result.err.find(row.message) == std::string::npos ? 100 : result.status;
        },
        {dir_}, why);
    if (!status) GTEST_SKIP() << why;
    EXPECT_EQ(*status, row.status);
  }
  fs::permissions(Path("unreadable.dxf"), fs::perms::owner_all);
  EXPECT_EQ(ReadFile(Path("in.dxf")), input);
  EXPECT_EQ(ReadFile(Path("unreadable.dxf")), input);
  EXPECT_EQ(ReadFile(Path("readonly-out.dxf")), "old output\n");
  EXPECT_FALSE(fs::exists(Path("out.dxf")));
  EXPECT_FALSE(fs::exists(dir_ / "locked/out.dxf"));
}

// The pairs before a spline, then a spline that takes minutes to fit: every
// interval misses a limit of 0 units and is cut to the depth limit, with
// 10000 test points each.
std::string SlowDrawing(std::string& beforeSpline, std::string& spline) {
  beforeSpline = "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n2A\n8\n0\n10\n0.0\n20\n0.0\n";
  spline = "0\nSPLINE\n5\n2B\n8\nKontur\n70\n8\n71\n3\n";
  for (int i = 0; i < 200; ++i) {
    spline += "10\n" + std::to_string(i) + ".0\n20\n" + std::to_string((i * 7) % 13) + ".5\n";
  }
  return beforeSpline + spline + "0\nENDSEC\n0\nEOF\n";
}

std::string CrLf(const std::string& lf) {
  std::string out;
  for (const char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

struct Interrupted {
  int status = -1;  // exit status; -1 when it did not exit by itself
  std::string err;
  bool sawStart = false;
};

// Starts the tool, waits for the start of the conversion on stderr, sends
// SIGINT and collects the rest. A child still running after a minute is
// killed.
Interrupted RunAndInterrupt(const std::vector<std::string>& arguments) {
  Interrupted result;
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return result;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipeEnds[1], 2);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    const int devnull = ::open("/dev/null", O_RDWR);
    ::dup2(devnull, 0);
    ::dup2(devnull, 1);
    std::vector<char*> argv{const_cast<char*>(kCli.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(kCli.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  bool interrupted = false;
  for (;;) {
    pollfd readable{pipeEnds[0], POLLIN, 0};
    if (std::chrono::steady_clock::now() > deadline) break;
    if (::poll(&readable, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    result.err.append(buffer, static_cast<size_t>(n));
    if (!interrupted && result.err.find("Beginne Konvertierung") != std::string::npos) {
      result.sawStart = true;
      interrupted = true;
      // The pairs before the spline take microseconds; the spline minutes.
      // The pause lets the run reach the fit, so the signal lands there.
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      ::kill(child, SIGINT);
    }
  }
  ::close(pipeEnds[0]);
  // Closing stderr comes just before the end; wait for it up to the deadline.
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended != child) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return result;
  }
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

TEST_F(CliTest, CtrlCEndsWithTheCancelledStatusAndWholePairs) {
  std::string beforeSpline, spline;
  std::ofstream(dir_ / "slow.dxf", std::ios::binary) << SlowDrawing(beforeSpline, spline);
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "splines kept" : "splines replaced");
    const auto start = std::chrono::steady_clock::now();
    const Interrupted result = RunAndInterrupt(
        {Path("slow.dxf"), Path("out.dxf"), "1", "0", "10", "10000", keep ? "TRUE" : "FALSE"});
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(result.sawStart) << result.err;
    EXPECT_EQ(result.status, 6) << result.err;
    EXPECT_NE(result.err.find("Abgebrochen..."), std::string::npos) << result.err;
    EXPECT_LT(seconds.count(), 60.0);
    // Everything before the spline being fitted, in whole pairs (and the
    // spline itself where it is kept), and nothing of its polyline.
    EXPECT_EQ(ReadFile(Path("out.dxf")), CrLf(keep ? beforeSpline + spline : beforeSpline));
  }
}

}  // namespace
}  // namespace tessarin
