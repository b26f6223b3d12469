#include "hbd/grabber_client.hpp"

#include "hbd/constants.hpp"
#include "hbd/filesystem_utility.hpp"
#include "hbd/logger.hpp"
#include "hbd/operation_type.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

namespace hbd {

namespace {

constexpr std::size_t buffer_size = 32 * 1024;
constexpr std::chrono::milliseconds server_check_interval(3000);
constexpr std::chrono::milliseconds client_socket_check_interval(3000);
constexpr std::chrono::milliseconds reconnect_interval(1000);
constexpr auto now = zunto::dispatcher::time_point(1);

std::filesystem::path find_grabber_socket_file_path() {
  return filesystem_utility::find_socket_file_path(constants::get_grabber_socket_directory_path());
}

} // namespace

grabber_client::grabber_client(const std::optional<std::string>& client_socket_file_path)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()),
      client_socket_file_path_(client_socket_file_path) {}

grabber_client::~grabber_client() {
  detach_from_dispatcher([this] { stop(); });
  client_ = nullptr;
}

void grabber_client::async_start() {
  enqueue_to_dispatcher([this] { start(); }, now);
}

void grabber_client::start() {
  if (client_) {
    logger::get_logger()->warn("grabber_client is already started.");
    return;
  }

  std::optional<std::filesystem::path> client_socket_file_path;
  if (client_socket_file_path_) {
    client_socket_file_path = *client_socket_file_path_;
  }
  client_ = std::make_unique<zunto::local_datagram::client>(weak_dispatcher_, find_grabber_socket_file_path(),
                                                            client_socket_file_path, buffer_size);
  client_->set_server_check_interval(server_check_interval);
  client_->set_client_socket_check_interval(client_socket_check_interval);
  client_->set_reconnect_interval(reconnect_interval);
  client_->set_server_socket_file_path_resolver(find_grabber_socket_file_path);

  // A datagram dropped on arrival is worth a line in the log.
  client_->warning_reported.connect(
      [](const std::string& message) { logger::get_logger()->warn("grabber_client warning: {0}", message); });
  client_->connected.connect([this] {
    logger::get_logger()->info("grabber_client is connected.");
    enqueue_to_dispatcher([this] { connected(); }, now);
  });
  client_->connect_failed.connect([this](const std::error_code& error) {
    logger::get_logger()->error("grabber_client connect_failed: {0}", error.message());
    enqueue_to_dispatcher([this, error] { connect_failed(error); }, now);
  });
  client_->closed.connect([this] {
    logger::get_logger()->info("grabber_client is closed.");
    enqueue_to_dispatcher([this] { closed(); }, now);
  });
  client_->error_occurred.connect(
      [](const std::error_code& error) { logger::get_logger()->error("grabber_client error: {0}", error.message()); });
  client_->received.connect([this](std::shared_ptr<std::vector<std::uint8_t>> buffer,
                                   std::shared_ptr<zunto::local_datagram::client::endpoint> sender_endpoint) {
    enqueue_to_dispatcher([this, buffer, sender_endpoint] { received(buffer, sender_endpoint); }, now);
  });
  client_->next_heartbeat_deadline_exceeded.connect([this](std::shared_ptr<zunto::local_datagram::client::endpoint>) {
    logger::get_logger()->info("grabber_client next heartbeat deadline exceeded");
    enqueue_to_dispatcher([this] { next_heartbeat_deadline_exceeded(); }, now);
  });

  client_->async_start();
  logger::get_logger()->info("grabber_client is started.");
}

void grabber_client::stop() {
  client_ = nullptr;
  logger::get_logger()->info("grabber_client is stopped.");
}

void grabber_client::async_set_app_icon(int number) const {
  enqueue_to_dispatcher(
      [this, number] {
        send(nlohmann::json::object({{"operation_type", operation_type::set_app_icon}, {"number", number}}), nullptr);
      },
      now);
}

void grabber_client::async_set_keyboard_type(zunto::hid::country_code::value_t country_code,
                                             zunto::osx::iokit_keyboard_type::value_t keyboard_type) const {
  enqueue_to_dispatcher(
      [this, country_code, keyboard_type] {
        send(nlohmann::json::object({{"operation_type", operation_type::set_keyboard_type},
                                     {"country_code", country_code},
                                     {"keyboard_type", keyboard_type}}),
             nullptr);
      },
      now);
}

void grabber_client::async_set_variables(const nlohmann::json& variables, std::function<void()> processed) const {
  enqueue_to_dispatcher(
      [this, variables, processed = std::move(processed)] {
        send(nlohmann::json::object({{"operation_type", operation_type::set_variables}, {"variables", variables}}),
             processed);
      },
      now);
}

void grabber_client::send(const nlohmann::json& message, std::function<void()> processed) const {
  if (client_) {
    client_->async_send(nlohmann::json::to_msgpack(message), std::move(processed));
  }
}

} // namespace hbd
