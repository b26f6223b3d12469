#include "hbd/dispatcher_utility/file_writer_holder.hpp"
#include "hbd/logger.hpp"
#include "libhbd.h"
#include "support/c_callback_recorder.hpp"
#include "support/log_capture.hpp"
#include "support/process_counts.hpp"
#include "support/watchdog.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

using hbd_test::descriptor_count;
using hbd_test::thread_count;
using hbd_test::thread_count_down_to;

// The first cycle may start process-wide helpers that stay (a sanitizer's own thread, say); the
// counts are taken after it, once the threads it ended are gone. Gives the thread count then.
std::size_t warm_up() {
  const auto before = thread_count();
  libhbd_initialize();
  libhbd_terminate();
  return thread_count_down_to(before);
}

// The grabber client's failed connections, counted where a process that is exiting still finds them.
class connect_attempts final {
public:
  static void failed() {
    auto& self = get();
    {
      std::lock_guard lock(self.mutex_);
      ++self.count_;
    }
    self.changed_.notify_all();
  }

  // Waits for `more` attempts after the call; ends the process with 3 when they do not come.
  static void wait_for_more(int more) {
    auto& self = get();
    std::unique_lock lock(self.mutex_);
    const int goal = self.count_ + more;
    if (!self.changed_.wait_for(lock, std::chrono::seconds(10), [&] { return self.count_ >= goal; })) {
      std::_Exit(3);
    }
  }

private:
  static connect_attempts& get() {
    static auto& attempts = *new connect_attempts();
    return attempts;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

} // namespace

TEST(libhbd_frame, initialize_terminate_cycles_return_threads_and_descriptors) {
  const auto threads = warm_up();
  const auto descriptors = descriptor_count();

  for (int cycle = 0; cycle < 3; ++cycle) {
    SCOPED_TRACE(cycle);
    libhbd_initialize();
    EXPECT_GT(thread_count(), threads);
    // Members that hold streams, descriptors and queues go with terminate.
    libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
    libhbd_enable_grabber_state_json_file_monitor(nullptr, nullptr);
    libhbd_enable_device_details_json_file_monitor(nullptr, nullptr);
    libhbd_enable_manipulator_environment_json_file_monitor(nullptr, nullptr);
    libhbd_enable_notification_message_json_file_monitor(nullptr, nullptr);
    libhbd_terminate();
    EXPECT_EQ(thread_count_down_to(threads), threads);
    EXPECT_EQ(descriptor_count(), descriptors);
  }
}

TEST(libhbd_frame, initialize_twice_logs_twice_and_terminate_twice_is_harmless) {
  const auto threads = warm_up();
  hbd_test::log_capture log;

  libhbd_initialize();
  const auto running = thread_count();
  libhbd_initialize();
  EXPECT_EQ(thread_count(), running);
  libhbd_terminate();
  libhbd_terminate();
  EXPECT_EQ(thread_count_down_to(threads), threads);

  EXPECT_EQ(log.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_initialize", "libhbd_terminate",
                                                   "libhbd_terminate"}));
}

TEST(libhbd_frame, logging_level_switches) {
  hbd_test::log_capture log;
  libhbd_set_logging_level_off();
  libhbd_initialize();
  libhbd_terminate();
  EXPECT_TRUE(log.texts().empty());

  libhbd_set_logging_level_info();
  libhbd_initialize();
  libhbd_terminate();
  EXPECT_EQ(log.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_terminate"}));
}

TEST(libhbd_frame, initialize_from_a_library_callback_is_refused_so_a_terminate_meanwhile_ends) {
  hbd_test::log_capture log;
  libhbd_initialize();
  hbd_test::c_callback_recorder calls;
  auto called = zunto::make_thread_wait();
  calls.set_action([&log, called] {
    called->notify();
    // The terminate below is under way (it waits for this callback to end).
    EXPECT_TRUE(log.wait_for_text("libhbd_terminate"));
    libhbd_initialize();
  });
  libhbd_enable_observer_state_json_file_monitor(hbd_test::c_callback_recorder::path_callback, calls.context());
  called->wait_notice();
  {
    hbd_test::watchdog watchdog("terminate while a callback initializes");
    libhbd_terminate();
  }
  EXPECT_EQ(calls.size(), 1u);
  const auto texts = log.texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "libhbd_initialize is refused on the dispatcher thread"),
            texts.end());
}

// Nothing of the library is torn down at process exit: threads still running then (a job still
// writing, or the very thread that calls exit) find everything in place, and the process ends.
TEST(libhbd_frame_death_test, the_process_may_exit_without_terminate) {
  const struct {
    const char* name;
    std::function<void()> run;
  } cases[] = {
      {"while the file writer runs a job",
       [] {
         libhbd_initialize();
         libhbd_set_logging_level_off();
         auto started = zunto::make_thread_wait();
         hbd::dispatcher_utility::enqueue_to_file_writer_dispatcher([started] {
           started->notify();
           for (;;) {
             hbd::logger::get_logger()->info("still writing");
           }
         });
         started->wait_notice();
         std::exit(0);
       }},
      {"while the grabber client reconnects after the exit handlers",
       [] {
         // Registered before the library's first use, the handler runs after the library's own
         // statics would have been destroyed, and the client goes on looking for its socket.
         std::atexit([] { connect_attempts::wait_for_more(2); });
         libhbd_initialize();
         libhbd_set_logging_level_off();
         libhbd_enable_grabber_client(nullptr, connect_attempts::failed, nullptr);
         connect_attempts::wait_for_more(1);
         std::exit(0);
       }},
      {"from inside a library callback",
       [] {
         libhbd_initialize();
         libhbd_enable_observer_state_json_file_monitor([](const char*, void*) { std::exit(0); }, nullptr);
         zunto::make_thread_wait()->wait_notice();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          hbd_test::watchdog watchdog(c.name);
          c.run();
        },
        testing::ExitedWithCode(0), "");
  }
}
