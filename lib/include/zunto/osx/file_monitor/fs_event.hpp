#pragma once

#include "zunto/osx/file_monitor.hpp"

#include <cstdint>
#include <string>
#include <utility>

namespace zunto::osx {

// One change the stream reported: the path and the stream's event flags.
class file_monitor::fs_event final {
public:
  fs_event(std::string path, std::uint32_t flags) : path_(std::move(path)), flags_(flags) {}

  const std::string& get_path() const { return path_; }
  std::uint32_t get_flags() const { return flags_; }

private:
  std::string path_;
  std::uint32_t flags_;
};

} // namespace zunto::osx
