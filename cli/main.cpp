// SPDX-License-Identifier: MIT
// tessarin-cli: converts the splines of one DXF file into arc polylines,
// with the same arguments as the desktop program's batch mode.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "batch_arguments.h"
#include "cli_host.h"
#include "conversion_run.h"
#include "front_end.h"
#include "version.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

// The usage text, with the defaults as the fields show them.
std::string Usage() {
  const tessarin::SettingTexts defaults;
  const auto line = [](const char* name, const char* meaning, const std::string& value) {
    char text[128];
    std::snprintf(text, sizeof text, "  %-12s %-48s (default %s)\n", name, meaning, value.c_str());
    return std::string(text);
  };
  return "Usage: tessarin-cli IN OUT [MAXPERCENT [MAXUNITS [ARCTESTS [SPLINETESTS [KEEPSPLINES "
         "[OPEN]]]]]]\n"
         "\n"
         "Converts every SPLINE of the ASCII DXF file IN into an LWPOLYLINE of circular\n"
         "arcs and writes the drawing to OUT; every other line is copied unchanged.\n"
         "\n" +
         line("MAXPERCENT", "largest deviation in percent of the arc's size", defaults.maxpercent) +
         line("MAXUNITS", "largest deviation in drawing units", defaults.maxunits) +
         line("ARCTESTS", "test points on each arc", defaults.arctests) +
         line("SPLINETESTS", "test points on the spline per arc", defaults.splinetests) +
         line("KEEPSPLINES", "TRUE keeps the splines beside their polylines", "off") +
         line("OPEN", "TRUE opens OUT with the desktop's program", "off") +
         "Numbers take \",\" or \".\" as decimal separator. Arguments after the eighth are\n"
         "ignored.\n"
         "\n"
         "Options: --help, --version; \"--\" ends the options.\n"
         "\n"
         "Exit status: 0 converted, 2 bad usage, 3 input cannot be opened,\n"
         "4 output cannot be created (or is the input), 5 read or write error,\n"
         "6 cancelled (Ctrl-C).\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!optionsEnded && argument.size() > 1 && argument.substr(0, 2) == "--") {
      if (argument == "--") {
        optionsEnded = true;
      } else if (argument == "--help") {
        std::fputs(Usage().c_str(), stdout);
        return 0;
      } else if (argument == "--version") {
        std::printf("tessarin-cli %s\n", tessarin::kVersion);
        return 0;
      } else {
        std::fprintf(stderr, "tessarin-cli: unknown option %s\n\n%s", argv[i], Usage().c_str());
        return tessarin::kExitUsage;
      }
      continue;
    }
    arguments.emplace_back(argument);
  }
  if (arguments.size() < 2) {
    std::fputs(Usage().c_str(), stderr);
    return tessarin::kExitUsage;
  }

  tessarin::SettingTexts texts;
  bool openresult = false;
  tessarin::ApplyBatchArguments(arguments, texts, openresult);

  const tessarin::ConversionSettings settings = tessarin::ParseSettings(texts);
  tessarin::CliHost host(stderr, isatty(fileno(stderr)) != 0, openresult);
  static tessarin::CancelToken cancel;  // Ctrl-C may come until the process ends
  tessarin::CancelOnInterrupt(cancel);
  try {
    const auto start = std::chrono::steady_clock::now();
    const tessarin::RunReport report =
        tessarin::RunConversion(arguments[0], arguments[1], settings, host, cancel);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (report.outcome == tessarin::RunOutcome::kCompleted) {
      std::printf("minpercent=%s\nmindeviation=%s\n", host.minpercent().c_str(),
                  host.mindeviation().c_str());
      std::printf("%lld splines, %lld arcs, %.2f s\n", static_cast<long long>(report.splines),
                  static_cast<long long>(report.arcs), seconds.count());
    }
    return tessarin::ExitStatus(report.outcome);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessarin-cli: %s\n", error.what());
    return 1;
  }
}
