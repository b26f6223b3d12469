#include "support/temporary_directory.hpp"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace hbd_test {

const std::filesystem::path& test_root() {
  static const std::filesystem::path root = [] {
    const char* value = std::getenv("HBD_TEST_ROOT");
    if (value == nullptr || *value == '\0') {
      throw std::logic_error("HBD_TEST_ROOT is not set; link the shared test main");
    }
    return std::filesystem::path(value);
  }();
  return root;
}

temporary_directory::temporary_directory() {
  std::string pattern = (test_root() / "tmp.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp");
  }
  path_ = pattern;
}

temporary_directory::~temporary_directory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

} // namespace hbd_test
