// SPDX-License-Identifier: MIT
// Every end of a conversion run as the host sees it, and what the output
// holds: pass-through, handles, $HANDSEED, kept splines, cancel, failures.
#include "conversion_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dxf_number.h"
#include "front_end.h"
#include "normalised_lines.h"
#include "recording_host.h"
#include "test_streams.h"
#include "unprivileged.h"

namespace tessarin {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;
using Events = std::vector<std::string>;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own for each test.
class ConversionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("tessarin_run_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    fs::permissions(dir_ / "locked", fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Converts `input` (written to in.dxf) into out.dxf as a front end does;
  // returns the output.
  std::string Convert(const std::string& input, RecordingHost& host, SettingTexts texts = {}) {
    WriteFile(Path("in.dxf"), input);
    report_ =
        RunConversion(Path("in.dxf"), Path("out.dxf"), ParseSettings(texts), host, host.cancel);
    return ReadFile(Path("out.dxf"));
  }

  fs::path dir_;
  RunReport report_;
};

const std::string kSpline =
    "  0\nSPLINE\n  5\n2A\n330\n1F0\n100\nAcDbEntity\n  8\nKontur\n 62\n3\n100\nAcDbSpline\n"
    " 70\n8\n 71\n1\n 40\n0\n 40\n0\n 40\n1\n 40\n1\n 10\n0\n 20\n0\n 30\n0\n 10\n10\n 20\n0\n"
    " 30\n0\n";

std::string Drawing(const std::string& entities, const std::string& handseed = "30") {
  return "  0\nSECTION\n  2\nHEADER\n  9\n$HANDSEED\n  5\n" + handseed +
         "\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

std::string CrLf(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST_F(ConversionRunTest, InputWithoutSplinesComesBackWithCrLf) {
  RecordingHost host;
  const std::string input = Drawing("  0\nLINE\n  5\n40\n  8\n0\n 10\n1.0\n", "FFFF");
  EXPECT_EQ(Convert(input, host), CrLf(input));
  EXPECT_EQ(report_.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(host.events, (Events{"running", "status 7", "progress 0", "status 9 12:34:56", "idle",
                                 "minima 0 0"}));
}

// The run itself shows only what happens while it runs and hands back the
// minima as numbers; the front end shows the end (ShowRunEnd).
TEST_F(ConversionRunTest, TheRunAloneShowsOnlyWhatHappensWhileItRuns) {
  const std::string parabola =
      "  0\nSPLINE\n  8\n0\n 71\n2\n 40\n0\n 40\n0\n 40\n0\n 40\n1\n 40\n1\n 40\n1\n"
      " 10\n0\n 20\n0\n 10\n5\n 20\n5\n 10\n10\n 20\n0\n";
  WriteFile(Path("in.dxf"), Drawing(parabola));
  RecordingHost host;
  host.openresult = true;
  const RunReport report =
      KonvertDXF(Path("in.dxf"), Path("out.dxf"), ConversionSettings{}, host, host.cancel);
  EXPECT_EQ(report.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(host.events, (Events{"status 7", "progress 0"}));
  EXPECT_EQ(report.splines, 1);
  EXPECT_GE(report.arcs, 1);
  EXPECT_FALSE(report.minima.percentUnset || report.minima.deviationUnset);
  EXPECT_GT(report.minima.mindeviation, 0.0);
  EXPECT_LT(report.minima.mindeviation, 1.0);
  ShowRunEnd(report, Path("out.dxf"), host);
  EXPECT_EQ(host.events, (Events{"status 7", "progress 0", "status 9 12:34:56",
                                 "open " + Path("out.dxf"), "idle",
                                 "minima " + FloatToDXF(report.minima.minpercent) + " " +
                                     FloatToDXF(report.minima.mindeviation)}));
}

TEST_F(ConversionRunTest, EmptyInputGivesEmptyOutput) {
  RecordingHost host;
  EXPECT_EQ(Convert("", host), "");
  EXPECT_EQ(report_.outcome, RunOutcome::kCompleted);
  EXPECT_TRUE(host.progress == std::vector<int>{0});  // only the reset at completion
}

TEST_F(ConversionRunTest, SplineBecomesPolylineWithNewHandleAndOwner) {
  RecordingHost host;
  const std::string output = Convert(Drawing(kSpline + "  0\nLINE\n  5\n41\n"), host);
  EXPECT_EQ(report_.splines, 1);
  // The spline is gone; its polyline stands where it stood.
  EXPECT_EQ(output.find("SPLINE"), std::string::npos);
  // Largest handle 41 + 100 + 1 = A6; the spline's owner; its layer and colour.
  EXPECT_NE(output.find("  2\r\nENTITIES\r\n0\r\nLWPOLYLINE\r\n5\r\nA6\r\n330\r\n1F0\r\n100\r\n"
                        "AcDbEntity\r\n8\r\nKontur\r\n62\r\n3\r\n100\r\nAcDbPolyline\r\n90\r\n"),
            std::string::npos);
  // The polyline is followed by the pair that ended the spline.
  EXPECT_NE(output.find("\r\n  0\r\nLINE\r\n  5\r\n41\r\n"), std::string::npos);
  // $HANDSEED stays above the new handle.
  EXPECT_NE(output.find("  9\r\n$HANDSEED\r\n  5\r\nA7\r\n"), std::string::npos);
}

TEST_F(ConversionRunTest, HandleRules) {
  struct Row {
    const char* name;
    std::string handles;  // "5" groups before the splines
    const char* first;    // handle of the first polyline
    const char* second;
  };
  const Row rows[] = {
      {"no readable handle", "", "66", "67"},
      {"unreadable handles are skipped", "  5\nXYZ\n  5\n100000000\n", "66", "67"},
      {"handles of 80000000 and above are negative", "  5\n80000000\n  5\n10\n", "75", "76"},
      {"the largest handle counts", "  5\n1a0\n  5\n20\n", "205", "206"},
      {"wraps at 2^32", "  5\n7FFFFFFF\n", "80000064", "80000065"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingHost host;
    const std::string input =
        "  0\nSECTION\n" + row.handles + "  0\nSPLINE\n  0\nSPLINE\n  0\nEOF\n";
    const std::string output = Convert(input, host);
    const auto first = output.find("LWPOLYLINE\r\n5\r\n" + std::string(row.first) + "\r\n");
    const auto second = output.find("LWPOLYLINE\r\n5\r\n" + std::string(row.second) + "\r\n");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
  }
}

TEST_F(ConversionRunTest, HandseedRules) {
  RecordingHost host;
  // An unreadable seed stays as it is.
  std::string output = Convert(Drawing(kSpline, "XYZ"), host);
  EXPECT_NE(output.find("$HANDSEED\r\n  5\r\nXYZ\r\n"), std::string::npos);
  // The seed is itself a "5" group, so the new handles lie above it; it
  // moves past the last of them.
  output = Convert(Drawing(kSpline + kSpline, "1000"), host);
  EXPECT_NE(output.find("LWPOLYLINE\r\n5\r\n1065\r\n"), std::string::npos);
  EXPECT_NE(output.find("LWPOLYLINE\r\n5\r\n1066\r\n"), std::string::npos);
  EXPECT_NE(output.find("$HANDSEED\r\n  5\r\n1067\r\n"), std::string::npos);
}

TEST_F(ConversionRunTest, KeepSplinesCopiesTheEntityBeforeItsPolyline) {
  RecordingHost host;
  SettingTexts texts;
  texts.keepsplines = true;
  const std::string output = Convert(Drawing(kSpline), host, texts);
  const auto spline = output.find(CrLf(kSpline));
  ASSERT_NE(spline, std::string::npos);
  EXPECT_EQ(output.find("0\r\nLWPOLYLINE\r\n"), spline + CrLf(kSpline).size());
}

TEST_F(ConversionRunTest, LowerCaseSplineIsCopied) {
  RecordingHost host;
  const std::string input = Drawing("  0\nspline\n  8\n0\n");
  EXPECT_EQ(Convert(input, host), CrLf(input));
}

// The input ends inside a spline: the last pair read belongs to the spline
// and is not written again after the polyline.
TEST_F(ConversionRunTest, InputEndingInsideASpline) {
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep);
    RecordingHost host;
    SettingTexts texts;
    texts.keepsplines = keep;
    const std::string output = Convert("  0\nSPLINE\n  8\nA\n 10\n7\n", host, texts);
    EXPECT_EQ(report_.outcome, RunOutcome::kCompleted);
    const auto polyline = output.find("0\r\nLWPOLYLINE\r\n");
    ASSERT_NE(polyline, std::string::npos);
    EXPECT_EQ(output.substr(0, polyline), keep ? "  0\r\nSPLINE\r\n  8\r\nA\r\n 10\r\n7\r\n" : "");
    EXPECT_EQ(output.find(" 10\r\n7\r\n", polyline), std::string::npos);
  }
}

TEST_F(ConversionRunTest, ProgressByWholeBlocks) {
  RecordingHost host;
  std::string input;
  while (input.size() < 1000) input += "999\ncomment line\n";
  Convert(input, host);
  // 1003 bytes are 7 whole blocks; the bar climbs to 100 and is reset.
  ASSERT_GE(host.progress.size(), 3u);
  EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end() - 1));
  EXPECT_EQ(host.progress[0], 14);  // round(100 * 1 / 7)
  EXPECT_EQ(host.progress.end()[-2], 100);
  EXPECT_EQ(host.progress.back(), 0);
}

TEST_F(ConversionRunTest, ShortInputLeavesTheBarAtZero) {
  RecordingHost host;
  Convert("0\nEOF\n", host);
  EXPECT_EQ(host.progress, std::vector<int>{0});
}

TEST_F(ConversionRunTest, OpensTheResultWhenAskedAtCompletion) {
  RecordingHost host;
  host.openresult = true;
  Convert("0\nEOF\n", host);
  EXPECT_EQ(host.events, (Events{"running", "status 7", "progress 0", "status 9 12:34:56",
                                 "open " + Path("out.dxf"), "idle", "minima 0 0"}));
}

TEST_F(ConversionRunTest, InputCannotBeOpened) {
  for (const std::string& input : {Path("missing.dxf"), dir_.string()}) {
    SCOPED_TRACE(input);
    RecordingHost host;
    host.openresult = true;
    const RunReport report = RunConversion(input, Path("out.dxf"), {}, host, host.cancel);
    EXPECT_EQ(report.outcome, RunOutcome::kInputNotOpened);
    EXPECT_EQ(ExitStatus(report.outcome), 3);
    EXPECT_EQ(host.events, (Events{"running", "box 6 " + input, "status 8", "progress 0", "idle"}));
    EXPECT_FALSE(fs::exists(Path("out.dxf")));
  }
}

TEST_F(ConversionRunTest, OutputCannotBeCreated) {
  WriteFile(Path("in.dxf"), "0\nEOF\n");
  const std::string output = Path("no/such/folder/out.dxf");
  RecordingHost host;
  const RunReport report = RunConversion(Path("in.dxf"), output, {}, host, host.cancel);
  EXPECT_EQ(report.outcome, RunOutcome::kOutputNotCreated);
  EXPECT_EQ(ExitStatus(report.outcome), 4);
  EXPECT_EQ(host.events, (Events{"running", "box 10 " + output, "idle", "minima 0 0"}));
}

// Input and output naming one file, directly or through links: the output
// is refused before anything is written, and the input stays as it was.
TEST_F(ConversionRunTest, OutputThatIsTheInputIsRefused) {
  const std::string input = Drawing(kSpline);
  WriteFile(Path("in.dxf"), input);
  fs::create_symlink(Path("in.dxf"), Path("symlink.dxf"));
  fs::create_hard_link(Path("in.dxf"), Path("hardlink.dxf"));
  for (const std::string& output :
       {Path("in.dxf"), Path("./in.dxf"), Path("symlink.dxf"), Path("hardlink.dxf")}) {
    SCOPED_TRACE(output);
    RecordingHost host;
    const RunReport report = RunConversion(Path("in.dxf"), output, {}, host, host.cancel);
    EXPECT_EQ(report.outcome, RunOutcome::kOutputNotCreated);
    EXPECT_EQ(host.events, (Events{"running", "box 10 " + output, "idle", "minima 0 0"}));
    EXPECT_EQ(ReadFile(Path("in.dxf")), input);
  }
}

TEST_F(ConversionRunTest, FullDiskIsAWriteError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  WriteFile(Path("in.dxf"), Drawing(kSpline));
  RecordingHost host;
  const RunReport report = RunConversion(Path("in.dxf"), "/dev/full", {}, host, host.cancel);
  EXPECT_EQ(report.outcome, RunOutcome::kWriteFailed);
  EXPECT_EQ(ExitStatus(report.outcome), 5);
  // The spline was fitted before the write failed: its minima are shown.
  ASSERT_EQ(host.events.size(), 5u);
  EXPECT_EQ(Events(host.events.begin(), host.events.begin() + 4),
            (Events{"running", "status 7", "box 10 /dev/full", "idle"}));
  EXPECT_EQ(host.events[4].rfind("minima 0.", 0), 0u) << host.events[4];
}

// Paths with permissions, and folders, as input and output: a read-only
// input converts; the others cannot serve. The permission cases hold for an
// ordinary user; as root the run goes on in a child that has dropped to one.
// Every file that was there stays as it was; no output appears where none
// was.
TEST_F(ConversionRunTest, PathsThatCannotBeReadOrWritten) {
  struct Row {
    const char* name;
    std::string input, output;
    RunOutcome outcome;
    const char* box;  // message box, then the file named
  };
  const std::string drawing = Drawing(kSpline);
  WriteFile(Path("in.dxf"), drawing);
  WriteFile(Path("unreadable.dxf"), drawing);
  WriteFile(Path("readonly-in.dxf"), drawing);
  WriteFile(Path("readonly-out.dxf"), "old output\n");
  fs::create_directories(Path("locked"));
  fs::create_directories(Path("out-folder"));
  const Row rows[] = {
      {"read-only input", Path("readonly-in.dxf"), Path("from-readonly.dxf"),
       RunOutcome::kCompleted, ""},
      {"unreadable input", Path("unreadable.dxf"), Path("out.dxf"), RunOutcome::kInputNotOpened,
       "box 6 "},
      {"read-only output file", Path("in.dxf"), Path("readonly-out.dxf"),
       RunOutcome::kOutputNotCreated, "box 10 "},
      {"output in a read-only folder", Path("in.dxf"), Path("locked/out.dxf"),
       RunOutcome::kOutputNotCreated, "box 10 "},
      {"folder as output", Path("in.dxf"), Path("out-folder"), RunOutcome::kOutputNotCreated,
       "box 10 "},
  };
  std::string why;
  const std::optional<int> code = testing::RunUnprivileged(
      [&] {
        fs::permissions(Path("unreadable.dxf"), fs::perms::none);
        fs::permissions(Path("readonly-in.dxf"), fs::perms::owner_read);
        fs::permissions(Path("readonly-out.dxf"), fs::perms::owner_read);
        fs::permissions(Path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        std::ofstream report(Path("report.txt"), std::ios::binary);
        for (const Row& row : rows) {
          RecordingHost host;
          const RunReport result = RunConversion(row.input, row.output, {}, host, host.cancel);
          report << static_cast<int>(result.outcome);
          for (const std::string& event : host.events) report << "|" << event;
          report << "\n";
        }
        return report ? 0 : 1;
      },
      {dir_}, why);
  if (!code) GTEST_SKIP() << why;
  ASSERT_EQ(*code, 0);
  std::istringstream report(ReadFile(Path("report.txt")));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string line;
    ASSERT_TRUE(std::getline(report, line));
    const std::string box =
        row.box + (row.outcome == RunOutcome::kInputNotOpened ? row.input : row.output);
    if (row.outcome == RunOutcome::kCompleted) {
      EXPECT_EQ(line.rfind("0|running|status 7|", 0), 0u) << line;
      continue;
    }
    const std::string events = row.outcome == RunOutcome::kInputNotOpened
                                   ? "|running|" + box + "|status 8|progress 0|idle"
                                   : "|running|" + box + "|idle|minima 0 0";
    EXPECT_EQ(line, std::to_string(static_cast<int>(row.outcome)) + events);
  }
  EXPECT_NE(ReadFile(Path("from-readonly.dxf")).find("LWPOLYLINE"), std::string::npos);
  EXPECT_EQ(ReadFile(Path("readonly-in.dxf")), drawing);
  EXPECT_EQ(ReadFile(Path("in.dxf")), drawing);
  EXPECT_EQ(ReadFile(Path("unreadable.dxf")), drawing);
  EXPECT_EQ(ReadFile(Path("readonly-out.dxf")), "old output\n");
  EXPECT_FALSE(fs::exists(Path("out.dxf")));
  EXPECT_FALSE(fs::exists(Path("locked/out.dxf")));
  EXPECT_TRUE(fs::is_empty(Path("out-folder")));
}

TEST_F(ConversionRunTest, CancelAtTheStartOfTheCopyPass) {
  struct CancellingHost : RecordingHost {
    void ShowStatus(int message, const std::string& argument) override {
      RecordingHost::ShowStatus(message, argument);
      if (message == kMsgConverting) cancel.Request();
    }
  } host;
  host.openresult = true;
  host.cancel.Request();  // a request from before the run is cleared at its start
  const std::string output = Convert(Drawing(kSpline), host);
  EXPECT_EQ(report_.outcome, RunOutcome::kCancelled);
  EXPECT_EQ(ExitStatus(report_.outcome), 6);
  EXPECT_EQ(output, "");
  EXPECT_EQ(host.events, (Events{"running", "status 7", "status 8", "progress 0", "idle"}));
  EXPECT_TRUE(host.cancel.Requested());  // stays set until the next run
}

}  // namespace

// Read and write errors after opening, through streams that fail on purpose.
TEST(ConvertStreams, ReadAndWriteErrorsAreNotSuccess) {
  const std::string input(100000, '\n');
  {
    MemorySource scan(input);
    testing::FailingSource copy(input, 5000);
    MemorySink out;
    testing::RecordingHost host;
    const RunReport report = testing::RecordedRun(scan, copy, out, {}, host);
    EXPECT_EQ(report.outcome, RunOutcome::kReadFailed);
    EXPECT_EQ(host.events.back(), "minima 0 0");
    EXPECT_EQ(host.events.end()[-3], "box 6 ");
  }
  {
    testing::FailingSource scan(input, 5000);
    MemorySource copy(input);
    MemorySink out;
    testing::RecordingHost host;
    EXPECT_EQ(testing::RecordedRun(scan, copy, out, {}, host).outcome, RunOutcome::kReadFailed);
    EXPECT_EQ(out.bytes(), "");
  }
  {
    MemorySource scan(input), copy(input);
    testing::FullSink out(70000);
    testing::RecordingHost host;
    EXPECT_EQ(testing::RecordedRun(scan, copy, out, {}, host).outcome, RunOutcome::kWriteFailed);
    EXPECT_EQ(host.events.end()[-3], "box 10 ");
  }
}

}  // namespace tessarin

namespace tessarin {
namespace {

// Real drawings without splines, by several writers and code pages, come
// back byte for byte but for their line ends.
TEST(ConversionRunCorpus, DrawingsWithoutSplinesPassThrough) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (const char* folder : {TESSARIN_TEST_DATA, TESSARIN_SHARED_CORPUS}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      if (entry.path().extension() == ".dxf") files.push_back(entry.path());
    }
  }
  size_t checked = 0;
  for (const fs::path& file : files) {
    const std::string input = ReadFile(file);
    SCOPED_TRACE(file.filename().string());
    MemorySource scan(input), copy(input);
    MemorySink out;
    testing::RecordingHost host;
    const RunReport report = ConvertStreams(scan, copy, out, {}, host, host.cancel);
    ASSERT_EQ(report.outcome, RunOutcome::kCompleted);
    if (report.splines > 0) continue;
    EXPECT_TRUE(out.bytes() == testing::Normalised(input));
    ++checked;
  }
  EXPECT_GE(checked, 2u);  // tests/data holds two such drawings
}

}  // namespace
}  // namespace tessarin
