#include "grabber_client.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/logger.hpp"
#include "zunto/scoped_notify.hpp"
#include "zunto/thread_wait.hpp"

libhbd_grabber_client::libhbd_grabber_client(libhbd_grabber_client_connected_callback connected,
                                             libhbd_grabber_client_connect_failed_callback connect_failed,
                                             libhbd_grabber_client_closed_callback closed) {
  hbd::logger::get_logger()->info("libhbd_grabber_client");

  grabber_client_ = std::make_unique<hbd::grabber_client>(std::nullopt);
  grabber_client_->connected.connect([connected] {
    if (connected != nullptr) {
      connected();
    }
  });
  grabber_client_->connect_failed.connect([connect_failed](const std::error_code&) {
    if (connect_failed != nullptr) {
      connect_failed();
    }
  });
  grabber_client_->closed.connect([closed] {
    if (closed != nullptr) {
      closed();
    }
  });
  grabber_client_->async_start();
}

libhbd_grabber_client::~libhbd_grabber_client() {
  hbd::logger::get_logger()->info("~libhbd_grabber_client");
  grabber_client_ = nullptr;
}

void libhbd_grabber_client::async_set_app_icon(int number) const { grabber_client_->async_set_app_icon(number); }

void libhbd_grabber_client::async_set_keyboard_type(std::uint64_t country_code, std::uint64_t keyboard_type) const {
  grabber_client_->async_set_keyboard_type(zunto::hid::country_code::value_t(country_code),
                                           zunto::osx::iokit_keyboard_type::value_t(keyboard_type));
}

void libhbd_grabber_client::async_set_variable(const std::string& name, std::int32_t value,
                                               std::function<void()> processed) const {
  grabber_client_->async_set_variables(nlohmann::json::object({{name, value}}), std::move(processed));
}

namespace {

std::shared_ptr<libhbd_grabber_client> find_grabber_client(const libhbd::components_manager_use& use) {
  if (!use) {
    return nullptr;
  }
  return (*use).grabber_client.get();
}

} // namespace

void libhbd_enable_grabber_client(libhbd_grabber_client_connected_callback connected,
                                  libhbd_grabber_client_connect_failed_callback connect_failed,
                                  libhbd_grabber_client_closed_callback closed) {
  libhbd::guard_entry_point("libhbd_enable_grabber_client", [&] {
    libhbd::enable_member(&libhbd_components_manager::grabber_client,
                          [&] { return std::make_shared<libhbd_grabber_client>(connected, connect_failed, closed); });
  });
}

void libhbd_disable_grabber_client(void) {
  libhbd::guard_entry_point("libhbd_disable_grabber_client",
                            [] { libhbd::disable_member(&libhbd_components_manager::grabber_client); });
}

void libhbd_grabber_client_async_set_app_icon(int32_t number) {
  libhbd::guard_entry_point("libhbd_grabber_client_async_set_app_icon", [&] {
    libhbd::components_manager_use use;
    if (auto client = find_grabber_client(use)) {
      client->async_set_app_icon(number);
    }
  });
}

void libhbd_grabber_client_async_set_keyboard_type(uint64_t country_code, uint64_t keyboard_type) {
  libhbd::guard_entry_point("libhbd_grabber_client_async_set_keyboard_type", [&] {
    libhbd::components_manager_use use;
    if (auto client = find_grabber_client(use)) {
      client->async_set_keyboard_type(country_code, keyboard_type);
    }
  });
}

void libhbd_grabber_client_async_set_variable(const char* name, int32_t value) {
  libhbd::guard_entry_point("libhbd_grabber_client_async_set_variable", [&] {
    if (name == nullptr) {
      return;
    }
    libhbd::components_manager_use use;
    if (auto client = find_grabber_client(use)) {
      client->async_set_variable(name, value, nullptr);
    }
  });
}

void libhbd_grabber_client_sync_set_variable(const char* name, int32_t value) {
  libhbd::guard_entry_point("libhbd_grabber_client_sync_set_variable", [&] {
    if (name == nullptr) {
      return;
    }
    // The request leaves the queue on the dispatcher thread, which would wait for itself.
    if (libhbd::on_shared_dispatcher_thread()) {
      hbd::logger::get_logger()->error("libhbd_grabber_client_sync_set_variable is refused on the dispatcher thread");
      return;
    }

    auto wait = zunto::make_thread_wait();
    {
      // Neither the member nor the manager is held while waiting, so that disable and terminate
      // go ahead and release the wait.
      libhbd::components_manager_use use;
      auto client = find_grabber_client(use);
      if (!client) {
        return;
      }
      // The last copy of the function also goes when the request is dropped unsent (the client
      // stopped, the member disabled, the library terminated), which releases the wait too.
      auto notifier = std::make_shared<zunto::scoped_notify>(wait);
      client->async_set_variable(name, value, [notifier] { notifier->notify(); });
    }
    if (!wait->wait_notice_for(libhbd_grabber_client::sync_set_variable_timeout)) {
      hbd::logger::get_logger()->error("libhbd_grabber_client_sync_set_variable: {0} was not sent in time", name);
    }
  });
}
