#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"

#include <asio/local/datagram_protocol.hpp>

#include <chrono>
#include <cstdint>
#include <memory>

namespace zunto::local_datagram::impl {

// Fires once when a sender lets the deadline it announced pass without another heartbeat.
// Created, restarted and destroyed on the dispatcher thread.
class next_heartbeat_deadline_timer final : public dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy, void()> next_heartbeat_deadline_exceeded;

  next_heartbeat_deadline_timer(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                                std::shared_ptr<asio::local::datagram_protocol::endpoint> sender_endpoint,
                                std::chrono::milliseconds deadline);
  ~next_heartbeat_deadline_timer() override;

  const std::shared_ptr<asio::local::datagram_protocol::endpoint>& get_sender_endpoint() const {
    return sender_endpoint_;
  }

  // Starts the deadline anew.
  void set_timer(std::chrono::milliseconds deadline);

private:
  std::shared_ptr<asio::local::datagram_protocol::endpoint> sender_endpoint_;
  dispatcher::extra::timer timer_;
  bool armed_ = false;
  std::uint64_t generation_ = 0;
};

} // namespace zunto::local_datagram::impl
