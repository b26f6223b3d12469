#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/timer.hpp"
#include "zunto/local_datagram/impl/base_impl.hpp"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace zunto::local_datagram::impl {

// The connecting side of the engine: opens a socket, binds it to the client socket path when one
// is given, connects it to the server and, once connected, sends a heartbeat every server check
// interval and checks every client socket check interval that its own socket file still answers.
class client_impl final : public base_impl {
public:
  nod::signal_type<nod::multithread_policy, void()> connected;
  nod::signal_type<nod::multithread_policy, void(const std::error_code& error)> connect_failed;

  client_impl(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, std::shared_ptr<send_entry_queue> send_entries);
  // Closes, ends the I/O thread and detaches; never call it on this engine's I/O thread.
  ~client_impl() override;

  // Does nothing while a socket exists (connected or not yet closed after a failure).
  void async_connect(const std::filesystem::path& server_socket_file_path,
                     const std::optional<std::filesystem::path>& client_socket_file_path, std::size_t buffer_size,
                     std::optional<std::chrono::milliseconds> server_check_interval,
                     std::optional<std::chrono::milliseconds> next_heartbeat_deadline,
                     std::optional<std::chrono::milliseconds> client_socket_check_interval);

private:
  // I/O thread.
  void connect(const std::filesystem::path& server_socket_file_path,
               const std::optional<std::filesystem::path>& client_socket_file_path, std::size_t buffer_size,
               std::optional<std::chrono::milliseconds> server_check_interval,
               std::optional<std::chrono::milliseconds> next_heartbeat_deadline,
               std::optional<std::chrono::milliseconds> client_socket_check_interval);
  void enqueue_connect_failed(const std::error_code& error);
  void check_server(std::optional<std::chrono::milliseconds> next_heartbeat_deadline);
  void check_client_socket(const std::filesystem::path& client_socket_file_path);
  void release_client_socket_checker(const client_impl* checker);

  dispatcher::extra::timer server_check_timer_;
  dispatcher::extra::timer client_socket_check_timer_;
  // I/O thread only, apart from the destructor.
  std::unique_ptr<client_impl> client_socket_checker_;
  std::shared_ptr<send_entry_queue> client_socket_checker_send_entries_;
};

} // namespace zunto::local_datagram::impl
