// SPDX-License-Identifier: MIT
// tessarin-cli as a script sees it: arguments, messages, output and exit
// status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "process.h"

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
           ("tessarin_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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
    const char* inOut;  // text on stdout
    const char* inErr;  // text on stderr
  };
  const Row rows[] = {
      {{}, 2, "", "Usage: tessarin-cli IN OUT"},
      {{"only-one.dxf"}, 2, "", "Usage:"},
      {{"--help"}, 0, "Exit status: 0 converted, 2 bad usage", ""},
      {{"--version"}, 0, "tessarin-cli 1.0.0", ""},
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
  const Row rows[] = {
      {"missing input", Path("missing.dxf"), Path("out.dxf"), 3,
       "Folgende DXF Datei konnte nicht geöffnet werden: " + Path("missing.dxf")},
      {"output folder missing", Path("in.dxf"), Path("none/out.dxf"), 4,
       "Folgende DXF Datei konnte nicht angelegt werden: " + Path("none/out.dxf")},
      {"output is the input", Path("in.dxf"), Path("in.dxf"), 4,
       "Folgende DXF Datei konnte nicht angelegt werden: " + Path("in.dxf")},
      {"full disk", Path("in.dxf"), "/dev/full", 5,
       "Folgende DXF Datei konnte nicht angelegt werden: /dev/full"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto result = RunProcess(kCli, {row.input, row.output});
    EXPECT_EQ(result.status, row.status);
    EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
}  // namespace tessarin
