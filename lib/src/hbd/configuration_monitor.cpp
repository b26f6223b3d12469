#include "hbd/configuration_monitor.hpp"

#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/guard_exceptions.hpp"

#include <sys/stat.h>

#include <optional>
#include <string_view>
#include <utility>

namespace hbd {
namespace {

bool file_exists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

// Runs a dispatcher job's work so that nothing it throws reaches the dispatcher.
template <typename Function>
void guarded(Function&& function) noexcept {
  zunto::guard_exceptions(std::forward<Function>(function), [](std::string_view message) {
    logger::get_logger()->error("configuration_monitor: {0}", message);
  });
}

} // namespace

configuration_monitor::configuration_monitor(const std::string& user_core_configuration_file_path, uid_t expected_user,
                                             const std::string& system_core_configuration_file_path)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()),
      user_core_configuration_file_path_(user_core_configuration_file_path),
      system_core_configuration_file_path_(system_core_configuration_file_path),
      expected_user_(expected_user) {
  file_monitor_ = std::make_unique<zunto::osx::file_monitor>(
      weak_dispatcher_,
      std::vector<std::string>{user_core_configuration_file_path_, system_core_configuration_file_path_},
      logger::get_logger());
  // The file monitor goes before this object's members, so the slot may use them.
  file_monitor_->file_changed.connect(
      [this](const std::string& changed_file_path, const std::shared_ptr<std::vector<std::uint8_t>>&) {
        guarded([&] { file_changed(changed_file_path); });
      });
}

configuration_monitor::~configuration_monitor() {
  detach_from_dispatcher([this] { file_monitor_ = nullptr; });
  // Not attached (the dispatcher is gone): nothing else can run the file monitor now.
  file_monitor_ = nullptr;
}

void configuration_monitor::async_start() { file_monitor_->async_start(); }

void configuration_monitor::async_note_saved(std::string saved_text) {
  // Otherwise another process bringing back the bytes the file monitor read before the save would
  // not even be reported.
  file_monitor_->async_forget_file_body(user_core_configuration_file_path_);
  enqueue_to_dispatcher(
      [this, saved_text = std::move(saved_text)]() mutable {
        if (core_configuration_text_) {
          core_configuration_text_ = std::move(saved_text);
        }
      },
      zunto::dispatcher::time_point(1));
}

void configuration_monitor::file_changed(const std::string& changed_file_path) {
  // A user file takes precedence over the system file; the system file stands in while there is no
  // user file.
  std::string file_path = changed_file_path;
  if (file_exists(user_core_configuration_file_path_)) {
    if (changed_file_path == system_core_configuration_file_path_) {
      return;
    }
  } else if (changed_file_path == user_core_configuration_file_path_) {
    if (file_exists(system_core_configuration_file_path_)) {
      file_path = system_core_configuration_file_path_;
    }
  }

  if (file_exists(file_path)) {
    logger::get_logger()->info("Load {0}...", file_path);
  }

  std::shared_ptr<core_configuration::core_configuration> new_core_configuration;
  try {
    new_core_configuration = std::make_shared<core_configuration::core_configuration>(file_path, expected_user_);
  } catch (const std::exception& e) {
    logger::get_logger()->error("configuration_monitor: {0}", e.what());
  }

  // After the first, a file that does not load, or loads to the content announced, changes nothing.
  if (core_configuration_text_ && (!new_core_configuration || !new_core_configuration->is_loaded())) {
    return;
  }
  std::optional<std::string> new_core_configuration_text;
  if (new_core_configuration) {
    new_core_configuration_text = new_core_configuration->to_text().first;
  }
  if (core_configuration_text_ && new_core_configuration_text == core_configuration_text_) {
    return;
  }

  // The first announcement comes even without a configuration (an expired reference), since
  // whoever waits for it must not wait forever.
  if (new_core_configuration) {
    core_configuration_text_ = std::move(new_core_configuration_text);
    logger::get_logger()->info("core_configuration is updated.");
  }

  enqueue_to_dispatcher(
      [this, new_core_configuration] { guarded([&] { core_configuration_updated(new_core_configuration); }); },
      zunto::dispatcher::time_point(1));
}

} // namespace hbd
