#pragma once

#include <filesystem>

namespace hbd_test {

// Makes one fresh folder for the whole test process and points HOME, the XDG folders and the
// backend's system root there before the first path is computed; removes it on destruction.
// Death-test children and helper processes inherit the parent's folder.
class test_root final {
public:
  test_root();
  ~test_root();

  test_root(const test_root&) = delete;
  test_root& operator=(const test_root&) = delete;

private:
  std::filesystem::path root_;
};

// Installs a command runner that fails the test which would run a real shell command (launchctl,
// open, killall): a test that needs commands installs a recorder.
void refuse_real_commands();

} // namespace hbd_test
