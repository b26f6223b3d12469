#pragma once

#include <string>

namespace hbd_bench {

// A fresh folder under the system's temporary folder, removed with its content on destruction.
class scratch_folder final {
public:
  // `prefix` starts the folder's name.
  explicit scratch_folder(const std::string& prefix);
  ~scratch_folder();

  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;

  const std::string& path() const { return path_; }

private:
  std::string path_;
};

} // namespace hbd_bench
