#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"
#include "zunto/local_datagram/impl/client_impl.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace zunto::local_datagram {

// A datagram client for owners on the dispatcher thread: it keeps the connection parameters,
// re-emits the engine's events as its own (on the dispatcher thread) and, with a reconnect
// interval, connects again after a failure or a close.
class client final : public dispatcher::extra::dispatcher_client {
public:
  using endpoint = impl::base_impl::endpoint;

  nod::signal_type<nod::multithread_policy, void(const std::string& message)> warning_reported;
  nod::signal_type<nod::multithread_policy, void()> connected;
  nod::signal_type<nod::multithread_policy, void(const std::error_code& error)> connect_failed;
  nod::signal_type<nod::multithread_policy, void()> closed;
  nod::signal_type<nod::multithread_policy, void(const std::error_code& error)> error_occurred;
  nod::signal_type<nod::multithread_policy,
                   void(std::shared_ptr<std::vector<std::uint8_t>> buffer, std::shared_ptr<endpoint> sender_endpoint)>
      received;
  nod::signal_type<nod::multithread_policy, void(std::shared_ptr<endpoint> sender_endpoint)>
      next_heartbeat_deadline_exceeded;

  client(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, const std::filesystem::path& server_socket_file_path,
         const std::optional<std::filesystem::path>& client_socket_file_path, std::size_t buffer_size);
  ~client() override;

  // Set before async_start.
  void set_server_check_interval(std::optional<std::chrono::milliseconds> value) { server_check_interval_ = value; }
  // Announced in each heartbeat; none sends 0.
  void set_next_heartbeat_deadline(std::optional<std::chrono::milliseconds> value) { next_heartbeat_deadline_ = value; }
  void set_client_socket_check_interval(std::optional<std::chrono::milliseconds> value) {
    client_socket_check_interval_ = value;
  }
  void set_reconnect_interval(std::optional<std::chrono::milliseconds> value) { reconnect_interval_ = value; }
  // Asked for the server's path before every connect, so a server that moved is found.
  void set_server_socket_file_path_resolver(std::function<std::filesystem::path()> value) {
    server_socket_file_path_resolver_ = std::move(value);
  }

  void async_start();

  // Sends the bytes as one user-data datagram; `processed` runs on the dispatcher thread once the
  // datagram has left the queue (sent or given up), or at once after close.
  void async_send(const std::vector<std::uint8_t>& buffer, std::function<void()> processed);
  void async_send(std::shared_ptr<impl::send_entry> entry);

  // Dispatcher thread: destroys the engine (closing the socket and removing its bound file); the
  // client neither connects nor sends afterwards.
  void close();

private:
  void connect();
  void start_reconnect_timer();

  std::filesystem::path server_socket_file_path_;
  std::optional<std::filesystem::path> client_socket_file_path_;
  std::size_t buffer_size_;
  std::optional<std::chrono::milliseconds> server_check_interval_;
  std::optional<std::chrono::milliseconds> next_heartbeat_deadline_;
  std::optional<std::chrono::milliseconds> client_socket_check_interval_;
  std::optional<std::chrono::milliseconds> reconnect_interval_;
  std::function<std::filesystem::path()> server_socket_file_path_resolver_;
  std::shared_ptr<impl::base_impl::send_entry_queue> send_entries_;
  std::shared_ptr<impl::client_impl> client_impl_;
  dispatcher::extra::timer reconnect_timer_;
  // Set by the first failure or close, for good: the interval is cleared only on the way out.
  // Dispatcher thread only.
  bool reconnect_timer_armed_ = false;
};

} // namespace zunto::local_datagram
