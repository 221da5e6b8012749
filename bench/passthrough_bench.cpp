// SPDX-License-Identifier: MIT
// Pass-through throughput: a generated spline-free DXF of the given size
// (default 200 MB) goes through the whole run (handle scan, copy pass),
// timed, with the peak memory of the process. Prints figures; not a test.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "conversion_run.h"

namespace {

class QuietHost final : public tessarin::Host {
 public:
  void ShowStatus(int, const std::string&) override {}
  void ShowProgress(int position) override { last = position; }
  void ShowMessageBox(int message, const std::string& argument) override {
    std::fprintf(stderr, "message %d %s\n", message, argument.c_str());
  }
  int last = 0;
};

// LINE entities as an AutoCAD-family writer puts them down, LF ended.
void Generate(const std::string& path, uint64_t bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::exit(1);
  std::fputs("  0\nSECTION\n  2\nENTITIES\n", f);
  uint64_t written = 0;
  unsigned handle = 0x100;
  char entity[512];
  while (written < bytes) {
    const int n =
        std::snprintf(entity, sizeof entity,
                      "  0\nLINE\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\nKontur\n100\n"
                      "AcDbLine\n 10\n%u.25\n 20\n%u.5\n 30\n0.0\n 11\n%u.75\n 21\n%u.125\n"
                      " 31\n0.0\n",
                      handle, handle % 9973, handle % 7919, handle % 6007, handle % 5003);
    std::fwrite(entity, 1, static_cast<size_t>(n), f);
    written += static_cast<uint64_t>(n);
    ++handle;
  }
  std::fputs("  0\nENDSEC\n  0\nEOF\n", f);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200;
  const fs::path dir = fs::temp_directory_path() / "tessarin_passthrough_bench";
  fs::create_directories(dir);
  const std::string input = (dir / "in.dxf").string();
  const std::string output = (dir / "out.dxf").string();
  Generate(input, megabytes << 20);
  const auto size = fs::file_size(input);

  QuietHost host;
  tessarin::CancelToken cancel;
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  const auto report = tessarin::KonvertDXF(input, output, {}, host, cancel);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);

  std::printf("input        %.1f MB (%llu bytes), output %.1f MB\n", size / 1048576.0,
              static_cast<unsigned long long>(size), fs::file_size(output) / 1048576.0);
  std::printf("outcome      %d, last progress %d\n", static_cast<int>(report.outcome), host.last);
  std::printf("time         %.3f s (handle scan + copy pass)\n", seconds.count());
  const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  std::printf("cpu          %.3f s user, %.3f s system\n",
              cpu(usage.ru_utime) - cpu(before.ru_utime),
              cpu(usage.ru_stime) - cpu(before.ru_stime));
  std::printf("throughput   %.0f MB/s of input\n", size / 1048576.0 / seconds.count());
  std::printf("peak memory  %.1f MB resident\n", usage.ru_maxrss / 1024.0);
  fs::remove_all(dir);
  return report.outcome == tessarin::RunOutcome::kCompleted ? 0 : 1;
}
