// SPDX-License-Identifier: MIT
// Runs a piece of a test as an ordinary user. Permission checks do not hold
// for root, which CI runs as: there the piece runs in a child process that
// owns the test's files and has dropped to the unprivileged user 65534.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tessarin::testing {

inline constexpr uid_t kUnprivilegedId = 65534;

// Runs `body` as an ordinary user and returns its result (0 to 255), or
// nothing when that is impossible here (root, but no switch to 65534), with
// the reason in `why`. Under root, every path in `owned` (and what lies
// below it) first becomes the unprivileged user's, so that `body` works on
// its own files as a non-root test would. `body` must not use GoogleTest
// assertions: in the child they would not reach the test.
inline std::optional<int> RunUnprivileged(const std::function<int()>& body,
                                          const std::vector<std::filesystem::path>& owned,
                                          std::string& why) {
  if (::geteuid() != 0) return body();
  for (const std::filesystem::path& top : owned) {
    std::error_code error;
    if (::chown(top.c_str(), kUnprivilegedId, kUnprivilegedId) != 0) {
      why = "cannot hand " + top.string() + " to uid 65534";
      return std::nullopt;
    }
    if (!std::filesystem::is_directory(top, error)) continue;
    for (const auto& item : std::filesystem::recursive_directory_iterator(top, error)) {
      if (::lchown(item.path().c_str(), kUnprivilegedId, kUnprivilegedId) != 0) {
        why = "cannot hand " + item.path().string() + " to uid 65534";
        return std::nullopt;
      }
    }
  }
  const pid_t child = ::fork();
  if (child < 0) {
    why = "fork failed";
    return std::nullopt;
  }
  if (child == 0) {
    // No supplementary groups of root's; then the group, then the user.
    if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 ||
        ::setuid(kUnprivilegedId) != 0 || ::geteuid() == 0) {
      ::_exit(254);
    }
    ::_exit(body() & 0xFF);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    why = "the unprivileged child did not end normally";
    return std::nullopt;
  }
  if (WEXITSTATUS(status) == 254) {
    why = "cannot drop to uid 65534 (no setuid rights here)";
    return std::nullopt;
  }
  return WEXITSTATUS(status);
}

}  // namespace tessarin::testing
