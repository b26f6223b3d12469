#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/local_datagram/impl/next_heartbeat_deadline_timer.hpp"
#include "zunto/local_datagram/impl/send_entry.hpp"

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <asio/local/datagram_protocol.hpp>
#include <asio/steady_timer.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace zunto::local_datagram::impl {

// The socket engine: one datagram socket served by an I/O thread of its own, a queue of outgoing
// entries sent one at a time, the receive loop and the heartbeat deadlines of the senders. Every
// signal is emitted on the dispatcher thread.
//
// Wire format of a datagram: one type byte (0 heartbeat, 1 user data), then the payload. A
// heartbeat's payload is the sender's next deadline in milliseconds, 32-bit little-endian (0: none).
class base_impl : public dispatcher::extra::dispatcher_client {
public:
  enum class mode {
    server,
    client,
  };

  using endpoint = asio::local::datagram_protocol::endpoint;
  using send_entry_queue = std::deque<std::shared_ptr<send_entry>>;

  nod::signal_type<nod::multithread_policy, void(const std::string& message)> warning_reported;
  nod::signal_type<nod::multithread_policy,
                   void(std::shared_ptr<std::vector<std::uint8_t>> buffer, std::shared_ptr<endpoint> sender_endpoint)>
      received;
  nod::signal_type<nod::multithread_policy, void()> closed;
  nod::signal_type<nod::multithread_policy, void(std::shared_ptr<endpoint> sender_endpoint)>
      next_heartbeat_deadline_exceeded;
  nod::signal_type<nod::multithread_policy, void(const std::error_code& error)> error_occurred;

  // The queue belongs to the owner, so that entries outlive a rebuilt socket.
  base_impl(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, mode m,
            std::shared_ptr<send_entry_queue> send_entries);
  // A subclass has called terminate_base_impl before.
  ~base_impl() override;

  // Queues the entry; a null entry is ignored. Safe from any thread.
  void async_send(std::shared_ptr<send_entry> entry);

  // Closes the socket on the I/O thread: the bound socket file is removed and, when the socket was
  // connected, `closed` is emitted. Safe from any thread.
  void async_close();

protected:
  // I/O thread only.
  void set_socket_options(std::size_t buffer_size);
  void start_actors();
  bool socket_ready() const { return socket_ && connected_; }

  // Closes the socket, lets the I/O thread end, joins it and detaches from the dispatcher. Called
  // once, by the subclass's destructor, never on the I/O thread itself.
  void terminate_base_impl();

  void enqueue_warning_reported(const std::string& message);

  // An endpoint for the path, or none with the error (a path too long for an address).
  static std::optional<endpoint> make_endpoint(const std::string& path, std::error_code& error);

  // Run by the one I/O thread only.
  asio::io_context io_context_{1};
  std::unique_ptr<asio::local::datagram_protocol::socket> socket_;
  bool connected_ = false;
  std::filesystem::path bound_path_;
  // Counts sockets; a completion of an earlier socket finds another value and does nothing.
  std::uint64_t socket_generation_ = 0;

private:
  void close();
  void await_send_entry(std::optional<std::chrono::milliseconds> wait);
  // Sends the entry once the socket can take it, under the send deadline.
  void async_send_entry(const std::shared_ptr<send_entry>& entry, std::uint64_t generation);
  // True when the next entry is to be sent at once; otherwise a wait or the close is under way.
  bool handle_send(const std::error_code& error, std::size_t bytes, const std::shared_ptr<send_entry>& entry);
  void pop_front_send_entry();
  void check_send_deadline();
  void async_receive();
  void handle_receive(const std::error_code& error, std::size_t bytes);
  // Dispatcher thread.
  void update_heartbeat_timer(const std::shared_ptr<endpoint>& sender_endpoint, std::chrono::milliseconds deadline);
  void handle_next_heartbeat_deadline_exceeded(const std::shared_ptr<endpoint>& sender_endpoint);

  mode mode_;
  std::shared_ptr<send_entry_queue> send_entries_;
  asio::executor_work_guard<asio::io_context::executor_type> work_guard_;
  std::thread io_thread_;
  std::vector<std::uint8_t> receive_buffer_;
  endpoint receive_sender_endpoint_;
  // Dispatcher thread only.
  std::vector<std::shared_ptr<next_heartbeat_deadline_timer>> heartbeat_timers_;
  asio::steady_timer send_timer_;
  // When the send in progress must have completed; the far future while none is outstanding. The
  // deadline timer wakes the check at or before it.
  std::chrono::steady_clock::time_point send_deadline_ = std::chrono::steady_clock::time_point::max();
  asio::steady_timer send_deadline_timer_;
};

} // namespace zunto::local_datagram::impl
