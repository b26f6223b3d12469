// Every test process works inside one fresh folder: HOME, the XDG folders and the backend's
// system root all point there before the first path is computed.

#include "platform/command/command.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class test_root_owner final {
public:
  test_root_owner() {
    // Death-test children and helper processes inherit the parent's folder.
    if (const char* inherited = std::getenv("HBD_TEST_ROOT"); inherited != nullptr && *inherited != '\0') {
      return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "hbd_test.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    root_ = pattern;
    const std::filesystem::path home = root_ / "home";
    const std::filesystem::path system_root = root_ / "system";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(system_root);
    setenv("HBD_TEST_ROOT", root_.c_str(), 1);
    setenv("HBD_SYSTEM_ROOT", system_root.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
  }

  ~test_root_owner() {
    if (!root_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(root_, ignored);
    }
  }

  test_root_owner(const test_root_owner&) = delete;
  test_root_owner& operator=(const test_root_owner&) = delete;

private:
  std::filesystem::path root_;
};

} // namespace

int main(int argc, char** argv) {
  test_root_owner root;
  testing::InitGoogleMock(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // No test may really run launchctl, open or killall: a test that needs commands installs a recorder.
  platform::command::set_runner([](const std::string& command) {
    ADD_FAILURE() << "a test ran a real command: " << command;
    return 127 << 8;
  });
  return RUN_ALL_TESTS();
}
