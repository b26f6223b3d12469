#include "zunto/local_datagram/impl/base_impl.hpp"

#include <asio/buffer.hpp>
#include <asio/post.hpp>
#include <asio/system_error.hpp>
#include <fmt/format.h>

#include <sys/socket.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zunto::local_datagram::impl {

namespace {

constexpr std::chrono::milliseconds send_deadline(5000);
constexpr std::chrono::milliseconds buffer_full_wait(100);
constexpr std::size_t buffer_full_retries = 10;
constexpr std::size_t buffer_full_retries_after_progress = 100;
// Room for the type byte and what the kernel adds to each datagram.
constexpr std::size_t receive_buffer_margin = 32;
constexpr std::size_t heartbeat_size = 5;

asio::const_buffer unsent_part(const send_entry& entry) {
  const auto& buffer = entry.get_buffer();
  return asio::buffer(buffer.data() + entry.get_sent_bytes(), buffer.size() - entry.get_sent_bytes());
}

bool unbound(const asio::local::datagram_protocol::endpoint& endpoint) {
  const auto path = endpoint.path();
  return path.empty() || path.front() == '\0';
}

} // namespace

base_impl::base_impl(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, mode m,
                     std::shared_ptr<send_entry_queue> send_entries)
    : dispatcher_client(std::move(weak_dispatcher)),
      mode_(m),
      send_entries_(std::move(send_entries)),
      work_guard_(asio::make_work_guard(io_context_)),
      send_timer_(io_context_, std::chrono::steady_clock::time_point::max()),
      send_deadline_timer_(io_context_, std::chrono::steady_clock::time_point::max()) {
  io_thread_ = std::thread([this] { io_context_.run(); });
}

base_impl::~base_impl() = default;

void base_impl::async_send(std::shared_ptr<send_entry> entry) {
  if (!entry) {
    return;
  }
  asio::post(io_context_, [this, entry = std::move(entry)] {
    send_entries_->push_back(entry);
    // Wakes a sender that waits on an empty queue.
    send_timer_.expires_at(std::chrono::steady_clock::now());
  });
}

void base_impl::async_close() {
  asio::post(io_context_, [this] { close(); });
}

void base_impl::terminate_base_impl() {
  if (std::this_thread::get_id() == io_thread_.get_id()) {
    std::fputs("zunto::local_datagram::impl::base_impl is released on its own I/O thread\n", stderr);
    std::abort();
  }
  async_close();
  asio::post(io_context_, [this] { work_guard_.reset(); });
  if (io_thread_.joinable()) {
    io_thread_.join();
  }
  detach_from_dispatcher();
}

void base_impl::set_socket_options(std::size_t buffer_size) {
  if (!socket_) {
    return;
  }
  receive_buffer_.resize(buffer_size + receive_buffer_margin);
  std::error_code ignored;
  socket_->set_option(asio::socket_base::receive_buffer_size(static_cast<int>(receive_buffer_.size())), ignored);
  socket_->set_option(asio::socket_base::send_buffer_size(static_cast<int>(buffer_size + 1)), ignored);
}

void base_impl::start_actors() {
  // Sends are tried at once and must not block the I/O thread; one the socket cannot take waits.
  std::error_code ignored;
  socket_->non_blocking(true, ignored);
  // Reset before the first send, so that the first send after a connect is watched too.
  send_deadline_ = std::chrono::steady_clock::time_point::max();
  send_deadline_timer_.expires_at(send_deadline_);
  await_send_entry(std::nullopt);
  if (mode_ == mode::client) {
    check_send_deadline();
  }
  async_receive();
}

void base_impl::enqueue_warning_reported(const std::string& message) {
  enqueue_to_dispatcher([this, message] { warning_reported(message); }, dispatcher::time_point(1));
}

std::optional<base_impl::endpoint> base_impl::make_endpoint(const std::string& path, std::error_code& error) {
  try {
    return endpoint(path);
  } catch (const asio::system_error& e) {
    error = e.code();
    return std::nullopt;
  }
}

void base_impl::close() {
  if (!socket_) {
    return;
  }
  std::error_code ignored;
  socket_->cancel(ignored);
  socket_->close(ignored);
  socket_ = nullptr;
  ++socket_generation_;
  send_timer_.cancel();
  send_deadline_timer_.cancel();
  // The timers belong to the dispatcher thread; the owner may be joining this thread from there.
  enqueue_to_dispatcher([this] { heartbeat_timers_.clear(); }, dispatcher::time_point(1));

  // A socket bound but never connected leaves no file behind either.
  if (!bound_path_.empty()) {
    std::filesystem::remove(bound_path_, ignored);
    bound_path_.clear();
  }
  if (connected_) {
    connected_ = false;
    enqueue_to_dispatcher([this] { closed(); }, dispatcher::time_point(1));
  }
}

void base_impl::await_send_entry(std::optional<std::chrono::milliseconds> wait) {
  if (!socket_ready()) {
    return;
  }
  const auto generation = socket_generation_;
  auto resume = [this, generation](const std::error_code&) {
    if (generation == socket_generation_) {
      await_send_entry(std::nullopt);
    }
  };

  if (wait) {
    send_timer_.expires_after(*wait);
    send_timer_.async_wait(resume);
    return;
  }

  // What the socket takes at once is sent in this loop, one entry after the other, rather than one
  // entry per round through the I/O loop; only an entry the socket cannot take now waits for it.
  while (!send_entries_->empty()) {
    auto entry = send_entries_->front();
    const auto rest = unsent_part(*entry);
    const auto& destination = entry->get_destination();
    std::error_code error;
    const std::size_t bytes =
        destination ? socket_->send_to(rest, *destination, 0, error) : socket_->send(rest, 0, error);
    // An interrupted send is tried again as the asynchronous send would.
    if (error == asio::error::would_block || error == asio::error::interrupted) {
      async_send_entry(entry, generation);
      return;
    }
    if (!handle_send(error, bytes, entry)) {
      return;
    }
  }

  send_timer_.expires_at(std::chrono::steady_clock::time_point::max());
  send_timer_.async_wait(resume);
}

void base_impl::async_send_entry(const std::shared_ptr<send_entry>& entry, std::uint64_t generation) {
  send_deadline_ = std::chrono::steady_clock::now() + send_deadline;
  // A timer already due no later than the deadline stays as it is; the check it wakes re-arms it
  // for the deadline then in force, so a stream of sends does not reset the timer per datagram.
  if (send_deadline_timer_.expiry() > send_deadline_) {
    send_deadline_timer_.expires_at(send_deadline_);
  }
  const auto rest = unsent_part(*entry);
  auto handler = [this, generation, entry](const std::error_code& error, std::size_t bytes) {
    if (generation == socket_generation_) {
      send_deadline_ = std::chrono::steady_clock::time_point::max();
      if (handle_send(error, bytes, entry)) {
        await_send_entry(std::nullopt);
      }
    }
  };
  if (const auto& destination = entry->get_destination()) {
    socket_->async_send_to(rest, *destination, handler);
  } else {
    socket_->async_send(rest, handler);
  }
}

bool base_impl::handle_send(const std::error_code& error, std::size_t bytes, const std::shared_ptr<send_entry>& entry) {
  entry->add_sent_bytes(bytes);

  if (error == asio::error::no_buffer_space) {
    entry->increment_buffer_full_count();
    const auto count = entry->get_buffer_full_count();
    const bool retry =
        count <= buffer_full_retries || (entry->get_sent_bytes() > 0 && count <= buffer_full_retries_after_progress);
    if (!retry) {
      entry->mark_complete();
      enqueue_to_dispatcher([this, error] { error_occurred(error); }, dispatcher::time_point(1));
    }
    if (entry->transfer_complete()) {
      pop_front_send_entry();
    }
    await_send_entry(buffer_full_wait);
    return false;
  }

  if (error == asio::error::message_size) {
    entry->mark_complete();
    enqueue_to_dispatcher([this, error] { error_occurred(error); }, dispatcher::time_point(1));
    pop_front_send_entry();
    return true;
  }

  if (error) {
    enqueue_to_dispatcher([this, error] { error_occurred(error); }, dispatcher::time_point(1));
    if (mode_ == mode::client) {
      // The entry stays in front and goes out after the next connection.
      async_close();
      return false;
    }
    entry->mark_complete();
    pop_front_send_entry();
    return true;
  }

  // A datagram is taken whole or not at all; the rest of one sent in part would arrive as a
  // datagram of its own, so it is given up instead.
  if (!entry->transfer_complete()) {
    enqueue_warning_reported(fmt::format("datagram was sent in part ({0} of {1} bytes); the rest is dropped",
                                         entry->get_sent_bytes(), entry->get_buffer().size()));
    entry->mark_complete();
  }
  pop_front_send_entry();
  return true;
}

void base_impl::pop_front_send_entry() {
  if (send_entries_->empty()) {
    return;
  }
  if (const auto& processed = send_entries_->front()->get_processed()) {
    enqueue_to_dispatcher(processed, dispatcher::time_point(1));
  }
  send_entries_->pop_front();
}

void base_impl::check_send_deadline() {
  if (!socket_ready()) {
    return;
  }
  if (send_deadline_ <= std::chrono::steady_clock::now()) {
    async_close();
    return;
  }
  if (send_deadline_timer_.expiry() != send_deadline_) {
    send_deadline_timer_.expires_at(send_deadline_);
  }
  const auto generation = socket_generation_;
  send_deadline_timer_.async_wait([this, generation](const std::error_code&) {
    if (generation == socket_generation_) {
      check_send_deadline();
    }
  });
}

void base_impl::async_receive() {
  if (!socket_ready()) {
    return;
  }
  const auto generation = socket_generation_;
  // MSG_TRUNC makes the kernel report a datagram's whole length, so one cut to fit is recognised.
  socket_->async_receive_from(asio::buffer(receive_buffer_), receive_sender_endpoint_, MSG_TRUNC,
                              [this, generation](const std::error_code& error, std::size_t bytes) {
                                if (generation == socket_generation_) {
                                  handle_receive(error, bytes);
                                }
                              });
}

void base_impl::handle_receive(const std::error_code& error, std::size_t bytes) {
  if (!error && bytes > 0) {
    if (bytes > receive_buffer_.size()) {
      enqueue_warning_reported(
          fmt::format("a datagram of {0} bytes exceeds the receive buffer ({1} bytes) and is dropped", bytes,
                      receive_buffer_.size()));
    } else if (receive_buffer_[0] == static_cast<std::uint8_t>(send_entry::type::user_data)) {
      auto payload = std::make_shared<std::vector<std::uint8_t>>(
          receive_buffer_.begin() + 1, receive_buffer_.begin() + static_cast<std::ptrdiff_t>(bytes));
      auto sender = std::make_shared<endpoint>(receive_sender_endpoint_);
      enqueue_to_dispatcher([this, payload, sender] { received(payload, sender); }, dispatcher::time_point(1));
    } else if (receive_buffer_[0] == static_cast<std::uint8_t>(send_entry::type::heartbeat) &&
               bytes >= heartbeat_size) {
      const std::uint32_t deadline = static_cast<std::uint32_t>(receive_buffer_[1]) |
                                     (static_cast<std::uint32_t>(receive_buffer_[2]) << 8) |
                                     (static_cast<std::uint32_t>(receive_buffer_[3]) << 16) |
                                     (static_cast<std::uint32_t>(receive_buffer_[4]) << 24);
      if (deadline > 0) {
        if (unbound(receive_sender_endpoint_)) {
          enqueue_warning_reported("sender endpoint is required when next_heartbeat_deadline is specified");
        } else {
          auto sender = std::make_shared<endpoint>(receive_sender_endpoint_);
          enqueue_to_dispatcher(
              [this, sender, deadline] { update_heartbeat_timer(sender, std::chrono::milliseconds(deadline)); },
              dispatcher::time_point(1));
        }
      }
    }
  }
  if (error == asio::error::operation_aborted) {
    return;
  }
  async_receive();
}

void base_impl::update_heartbeat_timer(const std::shared_ptr<endpoint>& sender_endpoint,
                                       std::chrono::milliseconds deadline) {
  for (const auto& t : heartbeat_timers_) {
    if (*t->get_sender_endpoint() == *sender_endpoint) {
      t->set_timer(deadline);
      return;
    }
  }
  auto t = std::make_shared<next_heartbeat_deadline_timer>(weak_dispatcher_, sender_endpoint, deadline);
  t->next_heartbeat_deadline_exceeded.connect(
      [this, sender_endpoint] { handle_next_heartbeat_deadline_exceeded(sender_endpoint); });
  heartbeat_timers_.push_back(std::move(t));
}

void base_impl::handle_next_heartbeat_deadline_exceeded(const std::shared_ptr<endpoint>& sender_endpoint) {
  next_heartbeat_deadline_exceeded(sender_endpoint);

  std::vector<std::shared_ptr<next_heartbeat_deadline_timer>> removed;
  std::erase_if(heartbeat_timers_, [&](const auto& t) {
    if (*t->get_sender_endpoint() == *sender_endpoint) {
      removed.push_back(t);
      return true;
    }
    return false;
  });
  // The emitting timer is still on the stack: it goes in a later job.
  enqueue_to_dispatcher([removed = std::move(removed)] {}, dispatcher::time_point(1));
}

} // namespace zunto::local_datagram::impl
