#include "zunto/local_datagram/impl/next_heartbeat_deadline_timer.hpp"

namespace zunto::local_datagram::impl {

next_heartbeat_deadline_timer::next_heartbeat_deadline_timer(
    std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
    std::shared_ptr<asio::local::datagram_protocol::endpoint> sender_endpoint, std::chrono::milliseconds deadline)
    : dispatcher_client(std::move(weak_dispatcher)), sender_endpoint_(std::move(sender_endpoint)), timer_(*this) {
  set_timer(deadline);
}

next_heartbeat_deadline_timer::~next_heartbeat_deadline_timer() { detach_from_dispatcher(); }

void next_heartbeat_deadline_timer::set_timer(std::chrono::milliseconds deadline) {
  armed_ = false;
  const auto generation = ++generation_;
  // The first tick comes at once and only arms; the second one is the deadline itself. Ticks of an
  // earlier start that were already queued die out.
  timer_.start(
      [this, generation] {
        if (generation != generation_) {
          return;
        }
        if (!armed_) {
          armed_ = true;
          return;
        }
        timer_.stop();
        next_heartbeat_deadline_exceeded();
      },
      deadline);
}

} // namespace zunto::local_datagram::impl
