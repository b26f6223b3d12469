#pragma once

#include <functional>
#include <memory>
#include <string>

// Serial queues: each runs the blocks handed to it one at a time, in the order given. Queued blocks
// run on a thread of the queue's own, started with the first of them; a sync block finding the
// queue idle runs on its caller's thread.
namespace platform::dispatch {

class serial_queue final {
public:
  explicit serial_queue(std::string label);
  // Lets the blocks already queued run, then ends the thread. Safe from a block of this queue: the
  // thread then ends after that block.
  ~serial_queue();

  serial_queue(const serial_queue&) = delete;
  serial_queue& operator=(const serial_queue&) = delete;

  const std::string& label() const;

  // Queues the block and returns at once. An empty block is ignored.
  void async(std::function<void()> block);

  // Runs the block on the queue after the blocks queued before it and returns when it has run.
  // Called from a block of this queue, it runs the block at once instead of waiting for itself.
  void sync(const std::function<void()>& block);

  // True inside a block of this queue.
  bool current() const;

private:
  struct state;

  // Called with the state's mutex held.
  void start_thread();

  std::shared_ptr<state> state_;
};

} // namespace platform::dispatch
