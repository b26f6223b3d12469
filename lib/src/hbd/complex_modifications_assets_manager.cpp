#include "hbd/complex_modifications_assets_manager.hpp"

#include "hbd/logger.hpp"
#include "hbd/path_environment.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <memory>

namespace hbd {

namespace {

struct directory_closer final {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

// The entry's type, asking the file system when the listing does not tell.
unsigned char entry_type(const std::string& path, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) {
    return entry.d_type;
  }
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) {
    return DT_UNKNOWN;
  }
  if (S_ISREG(status.st_mode)) {
    return DT_REG;
  }
  if (S_ISLNK(status.st_mode)) {
    return DT_LNK;
  }
  return DT_UNKNOWN;
}

} // namespace

const std::filesystem::path& complex_modifications_assets_manager::get_example_file_path() {
  // Never destroyed, like the other backend paths: a reload may run while the process exits.
  static const auto& path = *new std::filesystem::path(path_environment::from_process().system_path(
      "/Library/Application Support/org.zunto/Hobbard-Suite/complex_modifications_rules_example.json"));
  return path;
}

void complex_modifications_assets_manager::reload(const std::string& directory, bool load_example_file) {
  files_.clear();

  if (load_example_file) {
    add(get_example_file_path().string());
  }

  if (std::unique_ptr<DIR, directory_closer> listing(::opendir(directory.c_str())); listing) {
    while (const dirent* entry = ::readdir(listing.get())) {
      auto path = directory + "/" + entry->d_name;
      // Other kinds (folders, FIFOs, devices, sockets) are passed over; a link is followed when read.
      const auto type = entry_type(path, *entry);
      if (type == DT_REG || type == DT_LNK) {
        add(path);
      }
    }
  }

  std::stable_sort(files_.begin(), files_.end(),
                   [](const complex_modifications_assets_file& left, const complex_modifications_assets_file& right) {
                     return left.get_title() < right.get_title();
                   });
}

void complex_modifications_assets_manager::add(const std::string& file_path) {
  try {
    files_.emplace_back(file_path);
  } catch (const std::exception& e) {
    logger::get_logger()->error("Error in {0}: {1}", file_path, e.what());
  }
}

} // namespace hbd
