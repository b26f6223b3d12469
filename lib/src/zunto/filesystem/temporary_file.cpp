#include "zunto/filesystem/temporary_file.hpp"

#include "glob/glob.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <optional>
#include <utility>

namespace zunto::filesystem {
namespace {

constexpr std::string_view infix = ".tmp.";

std::optional<pid_t> parse_pid(std::string_view text) {
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
  if (error != std::errc() || end != text.data() + text.size() || pid <= 0) {
    return std::nullopt;
  }
  return pid;
}

bool all_digits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The target's name and the writer's pid, when `name` is "<target>.tmp.<pid>.<n>".
std::optional<std::pair<std::string_view, pid_t>> split_temporary_name(std::string_view name) {
  const auto last_dot = name.rfind('.');
  if (last_dot == std::string_view::npos || !all_digits(name.substr(last_dot + 1))) {
    return std::nullopt;
  }
  name = name.substr(0, last_dot);
  const auto infix_start = name.rfind(infix);
  if (infix_start == std::string_view::npos || infix_start == 0) {
    return std::nullopt;
  }
  const auto pid = parse_pid(name.substr(infix_start + infix.size()));
  if (!pid) {
    return std::nullopt;
  }
  return std::pair{name.substr(0, infix_start), *pid};
}

// A process of another user still counts: it is there, only not ours to signal.
bool is_running(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

} // namespace

temporary_file temporary_file::create_beside(const std::string& target, mode_t mode) {
  static std::atomic<unsigned> counter{0};
  const auto prefix = target + std::string(infix) + std::to_string(::getpid()) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = prefix + std::to_string(counter++);
    // O_EXCL: a file or a symbolic link already at the name is never written through.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) {
      return temporary_file{scoped_descriptor(fd), std::move(path)};
    }
    if (errno != EEXIST) {
      break;
    }
  }
  return temporary_file{scoped_descriptor(-1), {}};
}

void remove_stale_temporary_files(const std::string& directory,
                                  const std::function<bool(std::string_view)>& is_target_name) {
  for (const auto& path : glob::iter_directory(directory, false)) {
    const auto name = path.filename().string();
    const auto parts = split_temporary_name(name);
    if (parts && is_target_name(parts->first) && !is_running(parts->second)) {
      ::unlink(path.c_str());
    }
  }
}

} // namespace zunto::filesystem
