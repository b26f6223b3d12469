#include "zunto/local_datagram/impl/send_entry.hpp"

namespace zunto::local_datagram::impl {

send_entry::send_entry(type t, const std::vector<std::uint8_t>& payload,
                       std::shared_ptr<asio::local::datagram_protocol::endpoint> destination,
                       std::function<void()> processed)
    : destination_(std::move(destination)), processed_(std::move(processed)) {
  buffer_.reserve(payload.size() + 1);
  buffer_.push_back(static_cast<std::uint8_t>(t));
  buffer_.insert(buffer_.end(), payload.begin(), payload.end());
}

} // namespace zunto::local_datagram::impl
