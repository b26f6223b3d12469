#pragma once

#include "hbd/complex_modifications_assets_file.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace hbd {

// The asset files of one folder, sorted by title. Used from one thread at a time.
class complex_modifications_assets_manager final {
public:
  // Rebuilds the list: the backend's example file first when asked, then the regular files and
  // symbolic links of the folder (not its subfolders). A file that fails is logged
  // ("Error in {0}: {1}") and left out.
  void reload(const std::string& directory, bool load_example_file);

  const std::vector<complex_modifications_assets_file>& get_files() const { return files_; }

  // The example file the backend installs, under the system root.
  static const std::filesystem::path& get_example_file_path();

private:
  void add(const std::string& file_path);

  std::vector<complex_modifications_assets_file> files_;
};

} // namespace hbd
