#pragma once

#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/event_queue/queue.hpp"
#include "hbd/manipulator/manipulators/base.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hbd_test {

// Holds the library's dispatchers for as long as the harness lives.
struct dispatcher_manager_holder {
  hbd::dispatcher_utility::scoped_dispatcher_manager manager;
};

// Drives one manipulator the way the library does: every call into it, like its timers, runs on
// the shared dispatcher's thread. Times are milliseconds from an arbitrary start.
class manipulator_harness final : private dispatcher_manager_holder,
                                  public zunto::dispatcher::extra::dispatcher_client {
public:
  manipulator_harness();
  ~manipulator_harness() override;

  manipulator_harness(const manipulator_harness&) = delete;
  manipulator_harness& operator=(const manipulator_harness&) = delete;

  static zunto::osx::chrono::absolute_time_point at(std::int64_t milliseconds);

  void set_manipulator(std::shared_ptr<hbd::manipulator::manipulators::base> manipulator);

  // Queues a key of usage page 7 as grabbed input.
  void key(std::int32_t usage, hbd::event_type type, std::int64_t milliseconds);

  // Offers the input entries to the manipulator in order, as of `now_milliseconds`; a passed entry
  // goes to the output unchanged. Stops at a wait.
  hbd::manipulator::manipulate_result process(std::int64_t now_milliseconds);

  // Runs on the dispatcher thread and returns after it ran.
  void run(const std::function<void()>& function);

  // Returns once every job due before `milliseconds` from now has run.
  void wait_for(std::int64_t milliseconds);

  // The output as "<key> <down|up|single>" lines, lazy entries marked with " lazy"; read on the
  // dispatcher thread.
  std::vector<std::string> output();

  std::shared_ptr<hbd::event_queue::queue> input_queue() const { return input_; }
  std::shared_ptr<hbd::event_queue::queue> output_queue() const { return output_; }

private:
  std::shared_ptr<hbd::event_queue::queue> input_ = std::make_shared<hbd::event_queue::queue>();
  std::shared_ptr<hbd::event_queue::queue> output_ = std::make_shared<hbd::event_queue::queue>();
  std::shared_ptr<hbd::manipulator::manipulators::base> manipulator_;
};

} // namespace hbd_test
