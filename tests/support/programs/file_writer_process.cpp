// Changes files the way the backend's daemons do, from a process of its own, so that tests see
// changes that are not their own. Arguments are a list of commands run in order:
//   write PATH TEXT      rewrite the file in place (truncate, write, close)
//   replace PATH TEXT    write PATH.tmp whole, then rename it over PATH
//   remove PATH          unlink
//   symlink TARGET PATH  make PATH a symbolic link to TARGET
//   mkdir PATH           make a directory
//   rmdir PATH           remove an empty directory
//   rename FROM TO       rename
//   burst PATH COUNT     rewrite the file in place COUNT times, each time with other bytes
// Exits 0 when every command worked, else 1 with the failing command on standard error.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool write_file(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      ::close(fd);
      return false;
    }
    written += static_cast<std::size_t>(count);
  }
  return ::close(fd) == 0;
}

bool fail(const std::string& command, const std::string& argument) {
  std::fprintf(stderr, "file_writer_process: %s %s: %s\n", command.c_str(), argument.c_str(), std::strerror(errno));
  return false;
}

// Runs the command at argv[index] and moves index past its arguments.
bool run_command(int argc, char** argv, int& index) {
  const std::string command = argv[index++];
  auto argument = [&]() -> std::string {
    if (index >= argc) {
      std::fprintf(stderr, "file_writer_process: %s: missing argument\n", command.c_str());
      std::exit(1);
    }
    return argv[index++];
  };

  if (command == "write") {
    const auto path = argument();
    return write_file(path, argument()) || fail(command, path);
  }
  if (command == "replace") {
    const auto path = argument();
    const auto text = argument();
    const auto temporary = path + ".tmp";
    return (write_file(temporary, text) && ::rename(temporary.c_str(), path.c_str()) == 0) || fail(command, path);
  }
  if (command == "remove") {
    const auto path = argument();
    return ::unlink(path.c_str()) == 0 || fail(command, path);
  }
  if (command == "symlink") {
    const auto target = argument();
    const auto path = argument();
    return ::symlink(target.c_str(), path.c_str()) == 0 || fail(command, path);
  }
  if (command == "mkdir") {
    const auto path = argument();
    return ::mkdir(path.c_str(), 0755) == 0 || fail(command, path);
  }
  if (command == "rmdir") {
    const auto path = argument();
    return ::rmdir(path.c_str()) == 0 || fail(command, path);
  }
  if (command == "rename") {
    const auto from = argument();
    const auto to = argument();
    return ::rename(from.c_str(), to.c_str()) == 0 || fail(command, from);
  }
  if (command == "burst") {
    const auto path = argument();
    const long count = std::strtol(argument().c_str(), nullptr, 10);
    for (long i = 0; i < count; ++i) {
      if (!write_file(path, "burst " + std::to_string(i))) {
        return fail(command, path);
      }
    }
    return true;
  }
  std::fprintf(stderr, "file_writer_process: unknown command %s\n", command.c_str());
  return false;
}

} // namespace

int main(int argc, char** argv) {
  int index = 1;
  while (index < argc) {
    if (!run_command(argc, argv, index)) {
      return 1;
    }
  }
  return 0;
}
