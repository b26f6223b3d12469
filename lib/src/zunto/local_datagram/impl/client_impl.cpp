#include "zunto/local_datagram/impl/client_impl.hpp"

#include <asio/error.hpp>
#include <asio/post.hpp>

#include <cstdint>
#include <vector>

namespace zunto::local_datagram::impl {

namespace {

constexpr std::size_t client_socket_checker_buffer_size = 32;

std::vector<std::uint8_t> heartbeat_payload(std::optional<std::chrono::milliseconds> deadline) {
  const auto value = static_cast<std::uint32_t>(deadline ? deadline->count() : 0);
  return {
      static_cast<std::uint8_t>(value & 0xff),
      static_cast<std::uint8_t>((value >> 8) & 0xff),
      static_cast<std::uint8_t>((value >> 16) & 0xff),
      static_cast<std::uint8_t>((value >> 24) & 0xff),
  };
}

} // namespace

client_impl::client_impl(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                         std::shared_ptr<send_entry_queue> send_entries)
    : base_impl(std::move(weak_dispatcher), mode::client, std::move(send_entries)),
      server_check_timer_(*this),
      client_socket_check_timer_(*this),
      client_socket_checker_send_entries_(std::make_shared<base_impl::send_entry_queue>()) {}

client_impl::~client_impl() {
  terminate_base_impl();
  client_socket_checker_ = nullptr;
}

void client_impl::async_connect(const std::filesystem::path& server_socket_file_path,
                                const std::optional<std::filesystem::path>& client_socket_file_path,
                                std::size_t buffer_size, std::optional<std::chrono::milliseconds> server_check_interval,
                                std::optional<std::chrono::milliseconds> next_heartbeat_deadline,
                                std::optional<std::chrono::milliseconds> client_socket_check_interval) {
  asio::post(io_context_, [=, this] {
    connect(server_socket_file_path, client_socket_file_path, buffer_size, server_check_interval,
            next_heartbeat_deadline, client_socket_check_interval);
  });
}

void client_impl::connect(const std::filesystem::path& server_socket_file_path,
                          const std::optional<std::filesystem::path>& client_socket_file_path, std::size_t buffer_size,
                          std::optional<std::chrono::milliseconds> server_check_interval,
                          std::optional<std::chrono::milliseconds> next_heartbeat_deadline,
                          std::optional<std::chrono::milliseconds> client_socket_check_interval) {
  if (socket_) {
    return;
  }
  socket_ = std::make_unique<asio::local::datagram_protocol::socket>(io_context_);
  connected_ = false;

  std::error_code error;
  if (client_socket_file_path) {
    std::filesystem::remove(*client_socket_file_path, error);
  }

  socket_->open(asio::local::datagram_protocol(), error);
  if (error) {
    enqueue_connect_failed(error);
    return;
  }
  set_socket_options(buffer_size);

  if (client_socket_file_path) {
    const auto client_endpoint = make_endpoint(client_socket_file_path->string(), error);
    if (client_endpoint) {
      socket_->bind(*client_endpoint, error);
    }
    if (error) {
      enqueue_connect_failed(error);
      return;
    }
    bound_path_ = *client_socket_file_path;
  }

  const auto server_endpoint = make_endpoint(server_socket_file_path.string(), error);
  if (!server_endpoint) {
    enqueue_connect_failed(error);
    return;
  }

  const auto generation = socket_generation_;
  socket_->async_connect(*server_endpoint, [=, this](const std::error_code& connect_error) {
    if (generation != socket_generation_ || !socket_) {
      return;
    }
    if (connect_error) {
      enqueue_connect_failed(connect_error);
      return;
    }
    connected_ = true;

    server_check_timer_.stop();
    if (server_check_interval) {
      server_check_timer_.start(
          [this, next_heartbeat_deadline] {
            asio::post(io_context_, [this, next_heartbeat_deadline] { check_server(next_heartbeat_deadline); });
          },
          *server_check_interval);
    }
    client_socket_check_timer_.stop();
    if (client_socket_file_path && client_socket_check_interval) {
      client_socket_check_timer_.start(
          [this, path = *client_socket_file_path] {
            asio::post(io_context_, [this, path] { check_client_socket(path); });
          },
          *client_socket_check_interval);
    }

    enqueue_to_dispatcher([this] { connected(); }, dispatcher::time_point(1));
    start_actors();
  });
}

void client_impl::enqueue_connect_failed(const std::error_code& error) {
  enqueue_to_dispatcher([this, error] { connect_failed(error); }, dispatcher::time_point(1));
}

void client_impl::check_server(std::optional<std::chrono::milliseconds> next_heartbeat_deadline) {
  if (!socket_ready()) {
    server_check_timer_.stop();
    return;
  }
  async_send(std::make_shared<send_entry>(send_entry::type::heartbeat, heartbeat_payload(next_heartbeat_deadline),
                                          nullptr, nullptr));
}

void client_impl::check_client_socket(const std::filesystem::path& client_socket_file_path) {
  if (!socket_ready()) {
    client_socket_check_timer_.stop();
    client_socket_checker_ = nullptr;
    return;
  }
  if (client_socket_checker_) {
    return;
  }

  client_socket_checker_ = std::make_unique<client_impl>(weak_dispatcher_, client_socket_checker_send_entries_);
  const client_impl* checker = client_socket_checker_.get();
  client_socket_checker_->connected.connect(
      [this, checker] { asio::post(io_context_, [this, checker] { release_client_socket_checker(checker); }); });
  client_socket_checker_->connect_failed.connect([this, checker](const std::error_code& error) {
    // A datagram socket that is connected refuses to be the peer of another one (EPERM): the file
    // still leads to a live socket, which is ours.
    if (error == asio::error::no_permission) {
      asio::post(io_context_, [this, checker] { release_client_socket_checker(checker); });
      return;
    }
    async_close();
  });
  client_socket_checker_->async_connect(client_socket_file_path, std::nullopt, client_socket_checker_buffer_size,
                                        std::nullopt, std::nullopt, std::nullopt);
}

void client_impl::release_client_socket_checker(const client_impl* checker) {
  if (client_socket_checker_.get() == checker) {
    client_socket_checker_ = nullptr;
  }
}

} // namespace zunto::local_datagram::impl
