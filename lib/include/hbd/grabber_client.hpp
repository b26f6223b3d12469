#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/hid/country_code.hpp"
#include "zunto/local_datagram/client.hpp"
#include "zunto/osx/iokit_keyboard_type.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace hbd {

// The library's client of the grabber daemon: keeps a datagram connection to the grabber's socket
// (found anew before every connect), logs its events and sends requests as MessagePack.
class grabber_client final : public zunto::dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy, void()> connected;
  nod::signal_type<nod::multithread_policy, void(const std::error_code& error)> connect_failed;
  nod::signal_type<nod::multithread_policy, void()> closed;
  nod::signal_type<nod::multithread_policy,
                   void(std::shared_ptr<std::vector<std::uint8_t>> buffer,
                        std::shared_ptr<zunto::local_datagram::client::endpoint> sender_endpoint)>
      received;
  nod::signal_type<nod::multithread_policy, void()> next_heartbeat_deadline_exceeded;

  // With a client socket path the connection binds there (so the grabber can answer) and checks
  // that the file stays.
  explicit grabber_client(const std::optional<std::string>& client_socket_file_path);
  ~grabber_client() override;

  void async_start();
  // Dispatcher thread (or after detaching): closes the connection.
  void stop();

  void async_set_app_icon(int number) const;
  void async_set_keyboard_type(zunto::hid::country_code::value_t country_code,
                               zunto::osx::iokit_keyboard_type::value_t keyboard_type) const;
  // `processed` runs on the dispatcher thread once the request has left the send queue; a request
  // made while stopped is dropped with it.
  void async_set_variables(const nlohmann::json& variables, std::function<void()> processed) const;

private:
  void start();
  void send(const nlohmann::json& message, std::function<void()> processed) const;

  std::optional<std::string> client_socket_file_path_;
  // Dispatcher thread only.
  std::unique_ptr<zunto::local_datagram::client> client_;
};

} // namespace hbd
