#include "complex_modifications_assets_manager.hpp"

#include "components_manager.hpp"
#include "core_configuration_editing.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "libhbd.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

libhbd_complex_modifications_assets_manager::libhbd_complex_modifications_assets_manager() {
  hbd::logger::get_logger()->info("libhbd_complex_modifications_assets_manager");
}

libhbd_complex_modifications_assets_manager::~libhbd_complex_modifications_assets_manager() {
  hbd::logger::get_logger()->info("~libhbd_complex_modifications_assets_manager");
}

namespace {

using hbd::complex_modifications_assets_file;

// Runs an entry point's body on the manager's asset list, with the member kept alive for the call;
// `fallback` without a component manager or with an empty slot.
template <typename Result, typename Function>
Result with_manager(std::string_view entry_point, Result fallback, Function&& function) noexcept {
  return libhbd::guard_entry_point(entry_point, fallback, [&]() -> Result {
    libhbd::components_manager_use use;
    if (!use) {
      return fallback;
    }
    const auto member = (*use).complex_modifications_assets_manager.get();
    if (!member) {
      return fallback;
    }
    return member->with_manager(function);
  });
}

// The same on the file at the index; `fallback` also when it is out of range.
template <typename Result, typename Function>
Result with_file(std::string_view entry_point, std::size_t file_index, Result fallback, Function&& function) noexcept {
  return with_manager(entry_point, fallback, [&](const hbd::complex_modifications_assets_manager& manager) -> Result {
    const auto& files = manager.get_files();
    return file_index < files.size() ? function(files[file_index]) : fallback;
  });
}

} // namespace

void libhbd_enable_complex_modifications_assets_manager(void) {
  libhbd::guard_entry_point(__func__, [] {
    libhbd::enable_member(&libhbd_components_manager::complex_modifications_assets_manager,
                          [] { return std::make_shared<libhbd_complex_modifications_assets_manager>(); });
  });
}

void libhbd_disable_complex_modifications_assets_manager(void) {
  libhbd::guard_entry_point(
      __func__, [] { libhbd::disable_member(&libhbd_components_manager::complex_modifications_assets_manager); });
}

void libhbd_complex_modifications_assets_manager_reload(void) {
  with_manager(__func__, false, [](hbd::complex_modifications_assets_manager& manager) {
    manager.reload(hbd::constants::get_user_complex_modifications_assets_directory().string(), true);
    return true;
  });
}

size_t libhbd_complex_modifications_assets_manager_get_files_size(void) {
  return with_manager(__func__, std::size_t{0}, [](const hbd::complex_modifications_assets_manager& manager) {
    return manager.get_files().size();
  });
}

const char* libhbd_complex_modifications_assets_manager_get_file_title(size_t index) {
  return with_file(__func__, index, static_cast<const char*>(nullptr),
                   [](const complex_modifications_assets_file& file) { return file.get_title().c_str(); });
}

int64_t libhbd_complex_modifications_assets_manager_get_file_last_write_time(size_t index) {
  return with_file(__func__, index, std::int64_t{0}, [](const complex_modifications_assets_file& file) -> std::int64_t {
    const auto time = file.last_write_time();
    return time ? time->count() / 1000000000 : 0;
  });
}

size_t libhbd_complex_modifications_assets_manager_get_rules_size(size_t file_index) {
  return with_file(__func__, file_index, std::size_t{0},
                   [](const complex_modifications_assets_file& file) { return file.get_rules().size(); });
}

const char* libhbd_complex_modifications_assets_manager_get_rule_description(size_t file_index, size_t index) {
  return with_file(__func__, file_index, static_cast<const char*>(nullptr),
                   [&](const complex_modifications_assets_file& file) -> const char* {
                     const auto& rules = file.get_rules();
                     return index < rules.size() ? rules[index].get_description().c_str() : nullptr;
                   });
}

void libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(
    size_t file_index, size_t index, void* core_configuration_handle) {
  with_file(__func__, file_index, false, [&](const complex_modifications_assets_file& file) {
    const auto& rules = file.get_rules();
    if (index < rules.size()) {
      libhbd_cpp::core_configuration_push_front_selected_profile_complex_modifications_rule(core_configuration_handle,
                                                                                            rules[index]);
    }
    return true;
  });
}

bool libhbd_complex_modifications_assets_manager_user_file(size_t file_index) {
  return with_file(__func__, file_index, false,
                   [](const complex_modifications_assets_file& file) { return file.user_file(); });
}

void libhbd_complex_modifications_assets_manager_erase_file(size_t file_index) {
  with_file(__func__, file_index, false, [](const complex_modifications_assets_file& file) {
    // Only the user's own files: the example and other system files belong to the backend.
    if (!file.user_file()) {
      return false;
    }
    if (::unlink(file.get_file_path().c_str()) != 0) {
      hbd::logger::get_logger()->error("failed to erase {0}: {1}", file.get_file_path(), std::strerror(errno));
      return false;
    }
    return true;
  });
}
