// SPDX-License-Identifier: MIT
// Runs one of our programs as a child process and collects what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tessarin::testing {

struct ProcessResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// `environment` holds "NAME=value" assignments for the child only.
inline ProcessResult RunProcess(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment = {}) {
  namespace fs = std::filesystem;
  static int counter = 0;
  const fs::path base =
      fs::temp_directory_path() /
      ("tessarin_process_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
  std::string command;
  for (const std::string& assignment : environment) command += assignment + " ";
  command += ShellQuote(program);
  for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
  command += " >" + ShellQuote(base.string() + ".out") + " 2>" +
             ShellQuote(base.string() + ".err") + " </dev/null";
  const int raw = std::system(command.c_str());
  ProcessResult result;
  if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
  const auto slurp = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  result.out = slurp(base.string() + ".out");
  result.err = slurp(base.string() + ".err");
  fs::remove(base.string() + ".out");
  fs::remove(base.string() + ".err");
  return result;
}

}  // namespace tessarin::testing
