#pragma once

#include <filesystem>

namespace hbd_test {

// The folder that this test process was given; HOME and the XDG and system roots point into it.
const std::filesystem::path& test_root();

// A fresh folder under the test root, removed with everything in it on destruction.
class temporary_directory final {
public:
  temporary_directory();
  ~temporary_directory();

  temporary_directory(const temporary_directory&) = delete;
  temporary_directory& operator=(const temporary_directory&) = delete;

  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

} // namespace hbd_test
