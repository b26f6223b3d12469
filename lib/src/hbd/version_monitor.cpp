#include "hbd/version_monitor.hpp"

#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/string/trim.hpp"

#include <exception>

namespace hbd {

version_monitor::version_monitor(const std::string& version_file_path)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()),
      version_file_path_(version_file_path),
      version_file_body_(zunto::osx::file_monitor::read_file(version_file_path)) {
  file_monitor_ = std::make_unique<zunto::osx::file_monitor>(
      weak_dispatcher_, std::vector<std::string>{version_file_path_}, logger::get_logger());
  // The file monitor goes before this object's members, so the slot may use them.
  file_monitor_->file_changed.connect(
      [this](const std::string&, std::shared_ptr<std::vector<std::uint8_t>> changed_file_body) {
        try {
          file_changed(changed_file_body);
        } catch (const std::exception& e) {
          logger::get_logger()->error("version_monitor: {0}", e.what());
        }
      });
}

version_monitor::~version_monitor() {
  detach_from_dispatcher([this] { file_monitor_ = nullptr; });
  // Not attached (the dispatcher is gone): nothing else can run the file monitor now.
  file_monitor_ = nullptr;
}

void version_monitor::async_start() { file_monitor_->async_start(); }

void version_monitor::file_changed(const std::shared_ptr<std::vector<std::uint8_t>>& changed_file_body) {
  // A removed file keeps the last content, so writing it back unchanged is no change either.
  if (!changed_file_body) {
    return;
  }
  if (version_file_body_ && *version_file_body_ == *changed_file_body) {
    return;
  }

  std::string version(changed_file_body->begin(), changed_file_body->end());
  zunto::string::trim(version);

  logger::get_logger()->info("Version is changed to {0}", version);

  version_file_body_ = changed_file_body;

  enqueue_to_dispatcher(
      [this, version] {
        try {
          version_changed(version);
        } catch (const std::exception& e) {
          logger::get_logger()->error("version_monitor: {0}", e.what());
        }
      },
      zunto::dispatcher::time_point(1));
}

} // namespace hbd
