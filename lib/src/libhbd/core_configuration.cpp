#include "components_manager.hpp"
#include "configuration_monitor.hpp"
#include "core_configuration_handle.hpp"
#include "entry_point.hpp"
#include "libhbd.h"

#include <fmt/format.h>

#include <exception>
#include <string>

namespace libhbd {

void* make_core_configuration_handle(std::shared_ptr<hbd::core_configuration::core_configuration> configuration) {
  return new core_configuration_handle(std::move(configuration));
}

hbd::core_configuration::core_configuration* get_core_configuration(void* handle) {
  if (handle == nullptr) {
    return nullptr;
  }
  return static_cast<core_configuration_handle*>(handle)->get();
}

} // namespace libhbd

namespace {

// The text of the last failed save on this thread: each caller sees how its own save went.
thread_local std::string save_error_message;

// The configuration monitor compares the files it loads with what this process saved last, so
// that another process bringing back an older file is a change. The text written is handed over,
// since the monitor never reads the caller's object.
void note_saved(std::string saved_text) {
  libhbd::components_manager_use use;
  if (!use) {
    return;
  }
  (*use).configuration_monitor.with_member(
      [&](libhbd_configuration_monitor& monitor) { monitor.async_note_saved(std::move(saved_text)); });
}

} // namespace

void libhbd_core_configuration_save(void* core_configuration_handle) {
  libhbd::guard_entry_point("libhbd_core_configuration_save", [&] {
    std::string message;
    if (auto core_configuration = libhbd::get_core_configuration(core_configuration_handle)) {
      try {
        note_saved(core_configuration->sync_save_to_file());
      } catch (const std::exception& e) {
        message = fmt::format("error: {0}", e.what());
      }
    }
    save_error_message = std::move(message);
  });
}

const char* libhbd_core_configuration_get_save_error_message(void) {
  return libhbd::guard_entry_point("libhbd_core_configuration_get_save_error_message", "", [] {
    // A copy, so the text stays until this call comes again, whatever this thread saves meanwhile.
    thread_local std::string given;
    given = save_error_message;
    return given.c_str();
  });
}

void libhbd_core_configuration_terminate(void** core_configuration_handle) {
  libhbd::guard_entry_point("libhbd_core_configuration_terminate", [&] {
    if (core_configuration_handle == nullptr || *core_configuration_handle == nullptr) {
      return;
    }
    delete static_cast<libhbd::core_configuration_handle*>(*core_configuration_handle);
    *core_configuration_handle = nullptr;
  });
}
