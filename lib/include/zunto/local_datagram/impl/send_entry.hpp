#pragma once

#include <asio/local/datagram_protocol.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zunto::local_datagram::impl {

// One outgoing datagram: its type byte and payload, where it goes, and what to run once it has
// left the send queue.
class send_entry final {
public:
  enum class type : std::uint8_t {
    heartbeat = 0,
    user_data = 1,
  };

  // A null destination sends on the connected socket. `processed` runs on the dispatcher thread.
  send_entry(type t, const std::vector<std::uint8_t>& payload,
             std::shared_ptr<asio::local::datagram_protocol::endpoint> destination, std::function<void()> processed);

  const std::vector<std::uint8_t>& get_buffer() const { return buffer_; }
  const std::shared_ptr<asio::local::datagram_protocol::endpoint>& get_destination() const { return destination_; }
  const std::function<void()>& get_processed() const { return processed_; }

  std::size_t get_sent_bytes() const { return sent_bytes_; }
  void add_sent_bytes(std::size_t bytes) { sent_bytes_ += bytes; }
  bool transfer_complete() const { return sent_bytes_ >= buffer_.size(); }
  // Gives the entry up: it leaves the queue as if it had been sent.
  void mark_complete() { sent_bytes_ = buffer_.size(); }

  std::size_t get_buffer_full_count() const { return buffer_full_count_; }
  void increment_buffer_full_count() { ++buffer_full_count_; }

private:
  std::vector<std::uint8_t> buffer_;
  std::shared_ptr<asio::local::datagram_protocol::endpoint> destination_;
  std::function<void()> processed_;
  std::size_t sent_bytes_ = 0;
  std::size_t buffer_full_count_ = 0;
};

} // namespace zunto::local_datagram::impl
