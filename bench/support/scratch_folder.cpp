#include "support/scratch_folder.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace hbd_bench {

scratch_folder::scratch_folder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + ".XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  path_ = pattern;
}

scratch_folder::~scratch_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

} // namespace hbd_bench
