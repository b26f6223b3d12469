#include "zunto/local_datagram/client.hpp"

namespace zunto::local_datagram {

namespace {

constexpr auto now = dispatcher::time_point(1);

} // namespace

client::client(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
               const std::filesystem::path& server_socket_file_path,
               const std::optional<std::filesystem::path>& client_socket_file_path, std::size_t buffer_size)
    : dispatcher_client(weak_dispatcher),
      server_socket_file_path_(server_socket_file_path),
      client_socket_file_path_(client_socket_file_path),
      buffer_size_(buffer_size),
      send_entries_(std::make_shared<impl::base_impl::send_entry_queue>()),
      client_impl_(std::make_shared<impl::client_impl>(weak_dispatcher, send_entries_)),
      reconnect_timer_(*this) {
  client_impl_->warning_reported.connect([this](const std::string& message) {
    enqueue_to_dispatcher([this, message] { warning_reported(message); }, now);
  });
  client_impl_->connected.connect([this] { enqueue_to_dispatcher([this] { connected(); }, now); });
  client_impl_->connect_failed.connect([this](const std::error_code& error) {
    enqueue_to_dispatcher([this, error] { connect_failed(error); }, now);
    if (client_impl_) {
      client_impl_->async_close();
    }
    start_reconnect_timer();
  });
  client_impl_->closed.connect([this] {
    enqueue_to_dispatcher([this] { closed(); }, now);
    start_reconnect_timer();
  });
  client_impl_->error_occurred.connect(
      [this](const std::error_code& error) { enqueue_to_dispatcher([this, error] { error_occurred(error); }, now); });
  client_impl_->received.connect(
      [this](std::shared_ptr<std::vector<std::uint8_t>> buffer, std::shared_ptr<endpoint> sender_endpoint) {
        enqueue_to_dispatcher([this, buffer, sender_endpoint] { received(buffer, sender_endpoint); }, now);
      });
  client_impl_->next_heartbeat_deadline_exceeded.connect([this](std::shared_ptr<endpoint> sender_endpoint) {
    enqueue_to_dispatcher([this, sender_endpoint] { next_heartbeat_deadline_exceeded(sender_endpoint); }, now);
  });
}

client::~client() {
  detach_from_dispatcher([this] {
    reconnect_interval_ = std::nullopt;
    close();
  });
  // Without a dispatcher the final step did not run.
  client_impl_ = nullptr;
}

void client::async_start() {
  enqueue_to_dispatcher([this] { connect(); }, dispatcher::time_point(1));
}

void client::async_send(const std::vector<std::uint8_t>& buffer, std::function<void()> processed) {
  async_send(
      std::make_shared<impl::send_entry>(impl::send_entry::type::user_data, buffer, nullptr, std::move(processed)));
}

void client::async_send(std::shared_ptr<impl::send_entry> entry) {
  enqueue_to_dispatcher(
      [this, entry = std::move(entry)] {
        if (client_impl_) {
          client_impl_->async_send(entry);
        } else if (entry && entry->get_processed()) {
          enqueue_to_dispatcher(entry->get_processed(), dispatcher::time_point(1));
        }
      },
      dispatcher::time_point(1));
}

void client::close() { client_impl_ = nullptr; }

void client::connect() {
  if (!client_impl_) {
    return;
  }
  const auto path = server_socket_file_path_resolver_ ? server_socket_file_path_resolver_() : server_socket_file_path_;
  client_impl_->async_connect(path, client_socket_file_path_, buffer_size_, server_check_interval_,
                              next_heartbeat_deadline_, client_socket_check_interval_);
}

void client::start_reconnect_timer() {
  if (!reconnect_interval_) {
    reconnect_timer_.stop();
    return;
  }
  // Once armed the timer goes on ticking through later failures and closes; arming it again
  // would add a second attempt to every interval.
  if (reconnect_timer_armed_) {
    return;
  }
  reconnect_timer_armed_ = true;
  enqueue_to_dispatcher(
      [this] {
        if (!reconnect_interval_) {
          return;
        }
        reconnect_timer_.start(
            [this] {
              if (!reconnect_interval_) {
                reconnect_timer_.stop();
                return;
              }
              connect();
            },
            *reconnect_interval_);
      },
      when_now() + *reconnect_interval_);
}

} // namespace zunto::local_datagram
