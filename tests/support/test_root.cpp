#include "support/test_root.hpp"

#include "platform/command/command.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace hbd_test {

test_root::test_root() {
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

test_root::~test_root() {
  if (!root_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
}

void refuse_real_commands() {
  platform::command::set_runner([](const std::string& command) {
    ADD_FAILURE() << "a test ran a real command: " << command;
    return 127 << 8;
  });
}

} // namespace hbd_test
