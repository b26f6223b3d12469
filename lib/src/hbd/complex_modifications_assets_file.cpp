#include "hbd/complex_modifications_assets_file.hpp"

#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "zunto/filesystem/filesystem.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace hbd {

namespace {

// The whole file, refused when it is not a regular file or is too large.
std::string read_regular_file(const std::string& file_path, std::size_t maximum_size) {
  auto text = zunto::filesystem::read_regular_file(file_path, maximum_size);
  if (!text) {
    if (errno == EINVAL) {
      throw std::runtime_error(fmt::format("{0} is not a regular file", file_path));
    }
    if (errno == EFBIG) {
      throw std::runtime_error(fmt::format("{0} is larger than {1} bytes", file_path, maximum_size));
    }
    throw std::runtime_error(fmt::format("failed to open {0}", file_path));
  }
  return std::move(*text);
}

} // namespace

complex_modifications_assets_file::complex_modifications_assets_file(const std::string& file_path)
    : file_path_(file_path) {
  const auto json = zunto::json::parse_with_depth_limit(read_regular_file(file_path, maximum_file_size));

  zunto::json::requires_object(json, "json");

  for (const auto& [key, value] : json.items()) {
    if (key == "maintainers") {
      zunto::json::requires_array(value, "`maintainers`");
    } else if (key == "rules") {
      zunto::json::requires_array(value, "`rules`");
      const core_configuration::details::complex_modifications_parameters parameters;
      rules_.reserve(value.size());
      for (const auto& rule : value) {
        try {
          rules_.emplace_back(rule, parameters);
        } catch (const zunto::json::unmarshal_error& e) {
          throw zunto::json::unmarshal_error(fmt::format("`{0}` entry error: {1}", key, e.what()));
        }
      }
    } else if (key == "title") {
      zunto::json::requires_string(value, "`title`");
      title_ = value.get<std::string>();
    }
  }
}

std::optional<std::chrono::nanoseconds> complex_modifications_assets_file::last_write_time() const {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(file_path_, error);
  if (error) {
    logger::get_logger()->error("Failed to get last_write_time of {0}: {1}.", file_path_, error.message());
    return std::nullopt;
  }
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::file_clock::to_sys(time).time_since_epoch());
}

bool complex_modifications_assets_file::user_file() const {
  const auto& user_directory = constants::get_user_complex_modifications_assets_directory();
  if (user_directory.empty()) {
    return false;
  }

  // Whole components, after "." and ".." are resolved in the text: "assets_x/f.json" is not in
  // "assets", and "assets/../f.json" is not either.
  auto directory = user_directory.lexically_normal();
  if (!directory.has_filename()) {
    directory = directory.parent_path();
  }
  const auto file = std::filesystem::path(file_path_).lexically_normal();
  const auto [directory_end, file_rest] = std::mismatch(directory.begin(), directory.end(), file.begin(), file.end());
  return directory_end == directory.end() && file_rest != file.end() && !file_rest->empty();
}

} // namespace hbd
