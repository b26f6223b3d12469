#include "hbd/filesystem_utility.hpp"

#include "glob/glob.hpp"

#include <algorithm>

namespace hbd {

std::filesystem::path filesystem_utility::find_socket_file_path(const std::filesystem::path& directory) {
  // Matched inside the directory, so a directory name holding "*", "?" or "[" is taken literally.
  auto names = glob::glob1(directory, "*.sock", false);
  if (names.empty()) {
    return directory / "not_found.sock";
  }
  std::vector<std::filesystem::path> paths;
  paths.reserve(names.size());
  for (const auto& name : names) {
    paths.push_back(directory / name);
  }
  return *std::max_element(paths.begin(), paths.end());
}

} // namespace hbd
