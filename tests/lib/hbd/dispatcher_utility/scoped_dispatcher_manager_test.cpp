#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"

#include "hbd/dispatcher_utility/file_writer_holder.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>

namespace {

using hbd::dispatcher_utility::enqueue_to_file_writer_dispatcher;
using hbd::dispatcher_utility::scoped_dispatcher_manager;
using zunto::dispatcher::extra::shared_dispatcher;

std::shared_ptr<hbd::dispatcher_utility::file_writer> current_file_writer() {
  std::lock_guard lock(hbd::dispatcher_utility::get_file_writer_mutex());
  return hbd::dispatcher_utility::get_file_writer();
}

// What a "wait until the queued writes are done" does: it returns at once when nothing can run.
bool wait_for_file_writer() {
  auto done = zunto::make_thread_wait();
  if (!enqueue_to_file_writer_dispatcher([done] { done->notify(); })) {
    return false;
  }
  done->wait_notice();
  return true;
}

TEST(scoped_dispatcher_manager, second_manager_shares_and_either_ends_both) {
  std::optional<scoped_dispatcher_manager> first(std::in_place);
  auto dispatcher = shared_dispatcher::get_shared_dispatcher()->get_dispatcher();
  auto writer = current_file_writer();
  ASSERT_NE(dispatcher, nullptr);
  ASSERT_NE(writer, nullptr);

  std::optional<scoped_dispatcher_manager> second(std::in_place);
  EXPECT_EQ(shared_dispatcher::get_shared_dispatcher()->get_dispatcher(), dispatcher);
  EXPECT_EQ(current_file_writer(), writer);
  writer.reset();
  dispatcher.reset();
  EXPECT_TRUE(wait_for_file_writer());

  first.reset();
  EXPECT_EQ(shared_dispatcher::get_shared_dispatcher()->get_dispatcher(), nullptr);
  EXPECT_EQ(current_file_writer(), nullptr);
  EXPECT_FALSE(wait_for_file_writer());

  second.reset();
  EXPECT_EQ(shared_dispatcher::get_shared_dispatcher()->get_dispatcher(), nullptr);

  scoped_dispatcher_manager again; // the library can start anew
  EXPECT_NE(shared_dispatcher::get_shared_dispatcher()->get_dispatcher(), nullptr);
  EXPECT_TRUE(wait_for_file_writer());
}

TEST(scoped_dispatcher_manager, file_writer_jobs_are_dropped_without_a_manager) {
  bool ran = false;
  EXPECT_FALSE(enqueue_to_file_writer_dispatcher([&] { ran = true; }));
  EXPECT_FALSE(ran);
}

} // namespace
