#include "libhbd.h"
#include "support/c_callback_recorder.hpp"
#include "support/dispatcher_thread.hpp"
#include "support/file_writer_process.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace {

std::filesystem::path user_directory() { return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard"; }
std::filesystem::path user_file() { return user_directory() / "hobbard.json"; }
std::filesystem::path backups_directory() { return user_directory() / "automatic_backups"; }
std::filesystem::path system_directory() {
  return std::filesystem::path(std::getenv("HBD_SYSTEM_ROOT")) / "Library/Application Support/org.zunto/config";
}
std::filesystem::path system_file() { return system_directory() / "hobbard.json"; }

std::string profiles_json(const std::string& name) {
  return R"({"profiles": [{"name": ")" + name + R"(", "selected": true}]})";
}

// The profile names in the user configuration file.
std::vector<std::string> saved_profile_names() {
  std::vector<std::string> names;
  const auto json = nlohmann::json::parse(hbd_test::read_file(user_file()));
  for (const auto& profile : json.at("profiles")) {
    names.push_back(profile.at("name").get<std::string>());
  }
  return names;
}

// The application's side: each configuration is saved (unless told otherwise) and its handle
// released or kept, as the callback decides.
class configuration_receiver final {
public:
  struct received {
    std::string save_error;
    std::thread::id thread;
  };

  static void callback(void* handle, void* context) {
    auto* self = static_cast<configuration_receiver*>(context);
    received entry{"", std::this_thread::get_id()};
    if (self->save) {
      libhbd_core_configuration_save(handle);
      entry.save_error = libhbd_core_configuration_get_save_error_message();
    }
    if (self->disable) {
      libhbd_disable_configuration_monitor();
    }
    {
      std::lock_guard lock(self->mutex_);
      if (self->keep_handles) {
        self->kept_.push_back(handle);
      } else {
        libhbd_core_configuration_terminate(&handle);
        self->released_all_ = self->released_all_ && handle == nullptr;
      }
      self->received_.push_back(entry);
      self->changed_.notify_all();
    }
  }

  bool wait_for(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return received_.size() >= count; });
  }

  std::vector<received> all() {
    std::lock_guard lock(mutex_);
    return received_;
  }

  std::vector<void*> kept() {
    std::lock_guard lock(mutex_);
    return kept_;
  }

  bool released_all() {
    std::lock_guard lock(mutex_);
    return released_all_;
  }

  bool save = true;
  bool keep_handles = false;
  bool disable = false;

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<received> received_;
  std::vector<void*> kept_;
  bool released_all_ = true;
};

class libhbd_configuration_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::remove_all(user_directory());
    std::filesystem::remove_all(system_directory());
    libhbd_initialize();
    log_.clear();
  }

  void TearDown() override {
    libhbd_terminate();
    std::filesystem::remove_all(user_directory());
    std::filesystem::remove_all(system_directory());
  }

  // Receivers outlive the test body: the members calling them stop only in TearDown.
  configuration_receiver& make_receiver() { return receivers_.emplace_back(); }
  hbd_test::c_callback_recorder& make_recorder() { return recorders_.emplace_back(); }

  bool logged(const std::string& text) const {
    const auto texts = log_.texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }

  hbd_test::log_capture log_;

private:
  std::deque<configuration_receiver> receivers_;
  std::deque<hbd_test::c_callback_recorder> recorders_;
};

} // namespace

TEST_F(libhbd_configuration_monitor_test, the_first_configuration_is_handled_and_saved_before_enable_returns) {
  const struct {
    const char* name;
    const char* user;   // null: no file
    const char* system; // null: no file
    std::vector<std::filesystem::path> loaded;
    std::vector<std::string> saved_profiles;
  } cases[] = {
      {"no file", nullptr, nullptr, {}, {"Default profile"}},
      // Both files are reported at start, and each report of either loads the system file; the
      // second load is equal and announces nothing.
      {"only the system file",
       nullptr,
       R"({"profiles": [{"name": "system"}]})",
       {system_file(), system_file()},
       {"system"}},
      // The report of the system file is passed over.
      {"the user file hides the system file",
       R"({"profiles": [{"name": "mine"}]})",
       R"({"profiles": [{"name": "system"}]})",
       {user_file()},
       {"mine"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(user_directory());
    std::filesystem::remove_all(system_directory());
    if (c.user != nullptr) {
      std::filesystem::create_directories(user_directory());
      hbd_test::write_file(user_file(), c.user);
    }
    if (c.system != nullptr) {
      std::filesystem::create_directories(system_directory());
      hbd_test::write_file(system_file(), c.system);
    }
    log_.clear();

    auto& receiver = make_receiver();
    libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
    const auto received = receiver.all();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].save_error, "");
    EXPECT_NE(received[0].thread, std::this_thread::get_id());
    EXPECT_EQ(received[0].thread, hbd_test::shared_dispatcher_thread_id());
    EXPECT_TRUE(receiver.released_all());

    std::vector<std::string> loads;
    for (const auto& text : log_.texts()) {
      if (text.starts_with("Load ")) {
        loads.push_back(text);
      }
    }
    std::vector<std::string> expected_loads;
    for (const auto& path : c.loaded) {
      expected_loads.push_back("Load " + path.string() + "...");
    }
    EXPECT_EQ(loads, expected_loads);
    EXPECT_EQ(saved_profile_names(), c.saved_profiles);
    EXPECT_EQ(hbd_test::mode_of(user_file()), 0600u);
    EXPECT_EQ(hbd_test::mode_of(user_directory()), 0700u);
    if (c.system != nullptr) {
      EXPECT_EQ(hbd_test::read_file(system_file()), c.system);
    }

    libhbd_disable_configuration_monitor();
    // Logged before the monitor is released: a report handled at that moment may still log after it.
    EXPECT_THAT(log_.texts(), testing::Contains("~libhbd_configuration_monitor"));
  }
}

TEST_F(libhbd_configuration_monitor_test, enable_returns_with_defaults_whatever_the_user_file_is) {
  const struct {
    const char* name;
    hbd_test::hostile_file kind;
    std::string logged;
  } cases[] = {
      {"a FIFO", hbd_test::hostile_file::fifo, "failed to open " + user_file().string()},
      {"a link to a device", hbd_test::hostile_file::endless_device, "failed to open " + user_file().string()},
      {"a huge sparse file", hbd_test::hostile_file::sparse,
       "parse error in " + user_file().string() + ": larger than 33554432 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(user_directory());
    std::filesystem::create_directories(user_directory());
    hbd_test::make_hostile_file(user_file(), c.kind, std::uintmax_t{1} << 36);
    log_.clear();

    auto& receiver = make_receiver();
    receiver.save = false;
    {
      hbd_test::watchdog watchdog(std::string("enable with ") + c.name);
      libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
    }
    EXPECT_EQ(receiver.all().size(), 1u);
    EXPECT_TRUE(logged(c.logged)) << testing::PrintToString(log_.texts());
    libhbd_disable_configuration_monitor();
  }
}

TEST_F(libhbd_configuration_monitor_test, the_user_file_is_saved_with_a_backup_and_only_real_changes_follow) {
  std::filesystem::create_directories(user_directory());
  const auto original = profiles_json("mine") + "\n";
  hbd_test::write_file(user_file(), original);
  std::filesystem::create_directories(system_directory());
  hbd_test::write_file(system_file(), profiles_json("system"));

  auto& receiver = make_receiver();
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);
  EXPECT_EQ(saved_profile_names(), std::vector<std::string>{"mine"});
  // The day's backup holds the file as it was before the save.
  const auto backups = hbd_test::entry_names(backups_directory());
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(backups.begin()->starts_with("hobbard_") && backups.begin()->ends_with(".json")) << *backups.begin();
  EXPECT_EQ(hbd_test::read_file(backups_directory() / *backups.begin()), original);

  const auto run = [](const std::vector<std::string>& arguments) {
    return hbd_test::file_writer_process::run(arguments);
  };
  // The same content written otherwise, then a file that does not parse, then a system file that
  // a user file hides: none gives a configuration; the next real change does.
  ASSERT_TRUE(run({"write", user_file().string(), nlohmann::json::parse(original).dump()}));
  ASSERT_TRUE(run({"write", user_file().string(), "{ not json"}));
  ASSERT_TRUE(run({"replace", system_file().string(), profiles_json("system 2")}));
  ASSERT_TRUE(run({"replace", user_file().string(), profiles_json("theirs")}));
  ASSERT_TRUE(receiver.wait_for(2));
  EXPECT_EQ(receiver.all().size(), 2u);
  EXPECT_EQ(saved_profile_names(), std::vector<std::string>{"theirs"});

  // That save was the library's own write: no configuration for it, so the next one is the next
  // change by another process.
  ASSERT_TRUE(run({"replace", user_file().string(), profiles_json("theirs again")}));
  ASSERT_TRUE(receiver.wait_for(3));
  EXPECT_EQ(receiver.all().size(), 3u);
  EXPECT_TRUE(receiver.released_all());
}

TEST_F(libhbd_configuration_monitor_test, a_corrupt_user_file_stays_byte_for_byte_after_the_start_up_save) {
  std::filesystem::create_directories(user_directory());
  const std::string corrupt = "{\"profiles\": [ {\"name\": \"half";
  hbd_test::write_file(user_file(), corrupt);

  auto& receiver = make_receiver();
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);
  const auto error = receiver.all()[0].save_error;
  EXPECT_TRUE(error.starts_with("error: ")) << error;
  EXPECT_NE(error.find(user_file().string()), std::string::npos) << error;
  EXPECT_EQ(hbd_test::read_file(user_file()), corrupt);
  EXPECT_FALSE(std::filesystem::exists(backups_directory()));
}

TEST_F(libhbd_configuration_monitor_test, handles_outlive_the_monitor) {
  auto& receiver = make_receiver();
  receiver.save = false;
  receiver.keep_handles = true;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  libhbd_disable_configuration_monitor();
  ASSERT_EQ(receiver.kept().size(), 1u);

  void* handle = receiver.kept()[0];
  libhbd_core_configuration_save(handle);
  EXPECT_STREQ(libhbd_core_configuration_get_save_error_message(), "");
  EXPECT_EQ(saved_profile_names(), std::vector<std::string>{"Default profile"});
  libhbd_core_configuration_terminate(&handle);
  EXPECT_EQ(handle, nullptr);
  // A variable already null, and no variable at all, are left alone.
  libhbd_core_configuration_terminate(&handle);
  libhbd_core_configuration_terminate(nullptr);
}

TEST_F(libhbd_configuration_monitor_test, a_second_enable_hands_over_its_configuration_before_the_first_goes) {
  auto& first = make_receiver();
  auto& second = make_receiver();
  first.save = second.save = false;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &first);
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &second);
  EXPECT_EQ(first.all().size(), 1u);
  EXPECT_EQ(second.all().size(), 1u);
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"core_configuration is updated.", "core_configuration is updated.",
                                                    "~libhbd_configuration_monitor"}));
}

TEST_F(libhbd_configuration_monitor_test, a_null_callback_still_returns_after_the_first_configuration) {
  libhbd_enable_configuration_monitor(nullptr, nullptr);
  EXPECT_TRUE(logged("core_configuration is updated."));
  // Nothing was saved.
  EXPECT_FALSE(std::filesystem::exists(user_file()));
}

TEST_F(libhbd_configuration_monitor_test, enable_from_a_library_callback_is_refused_instead_of_waiting_forever) {
  auto& calls = make_recorder();
  calls.set_action([] { libhbd_enable_configuration_monitor(configuration_receiver::callback, nullptr); });
  libhbd_enable_observer_state_json_file_monitor(hbd_test::c_callback_recorder::path_callback, calls.context());
  ASSERT_TRUE(calls.wait_for(1));
  ASSERT_TRUE(log_.wait_for_text("libhbd_enable_configuration_monitor is refused on the dispatcher thread"));
  EXPECT_FALSE(logged("core_configuration is updated."));
}

TEST_F(libhbd_configuration_monitor_test, terminate_destroys_the_members_from_the_last_slot_to_the_first) {
  libhbd_enable_configuration_monitor(nullptr, nullptr);
  libhbd_enable_notification_message_json_file_monitor(nullptr, nullptr);
  libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
  libhbd_enable_manipulator_environment_json_file_monitor(nullptr, nullptr);
  libhbd_enable_grabber_state_json_file_monitor(nullptr, nullptr);
  libhbd_enable_device_details_json_file_monitor(nullptr, nullptr);
  log_.clear();
  libhbd_terminate();
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_terminate", "~libhbd_file_monitor", "~libhbd_file_monitor",
                                                    "~libhbd_file_monitor", "~libhbd_file_monitor",
                                                    "~libhbd_file_monitor", "~libhbd_configuration_monitor"}));
}

TEST(libhbd_configuration_monitor_uninitialized, enable_does_nothing_before_initialize) {
  hbd_test::log_capture log;
  configuration_receiver receiver;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  libhbd_disable_configuration_monitor();
  EXPECT_TRUE(receiver.all().empty());
  EXPECT_TRUE(log.texts().empty());
}

TEST_F(libhbd_configuration_monitor_test, after_start_the_user_file_is_chosen_whenever_it_exists) {
  std::filesystem::create_directories(user_directory());
  std::filesystem::create_directories(system_directory());
  hbd_test::write_file(system_file(), profiles_json("system"));
  const auto last_load = [&] {
    std::string last;
    for (const auto& text : log_.texts()) {
      if (text.starts_with("Load ")) {
        last = text;
      }
    }
    return last;
  };

  auto& receiver = make_receiver();
  receiver.save = false; // a save would make the user file
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);
  EXPECT_EQ(last_load(), "Load " + system_file().string() + "...");

  const struct {
    const char* name;
    std::vector<std::string> change;
    std::filesystem::path chosen;
  } steps[] = {
      {"the user file appears", {"write", user_file().string(), profiles_json("mine")}, user_file()},
      {"the user file is deleted", {"remove", user_file().string()}, system_file()},
  };
  std::size_t expected_count = 1;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(hbd_test::file_writer_process::run(step.change));
    ASSERT_TRUE(receiver.wait_for(++expected_count));
    EXPECT_EQ(last_load(), "Load " + step.chosen.string() + "...");
  }
  EXPECT_EQ(hbd_test::read_file(system_file()), profiles_json("system"));
}

TEST_F(libhbd_configuration_monitor_test, a_handle_edited_on_its_thread_while_the_file_changes_is_left_to_it) {
  std::filesystem::create_directories(user_directory());
  const auto original = profiles_json("mine");
  hbd_test::write_file(user_file(), original);

  auto& receiver = make_receiver();
  receiver.save = false;
  receiver.keep_handles = true;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);
  // An edit the application has not saved: the file still holds what was announced.
  libhbd_core_configuration_set_profile_name(receiver.kept().back(), 0, "edited");

  // The application's thread keeps editing the newest handle, its lists growing and shrinking.
  std::jthread editor([&](const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      void* handle = receiver.kept().back();
      libhbd_core_configuration_push_back_selected_profile_simple_modification(handle, nullptr);
      libhbd_core_configuration_replace_selected_profile_simple_modification(handle, 0, R"({"key_code":"a"})",
                                                                             R"([{"key_code":"b"}])", nullptr);
      libhbd_core_configuration_erase_selected_profile_simple_modification(handle, 0, nullptr);
    }
  });

  // Another process rewrites what was announced, reformatted; each is loaded and compared while the
  // edits go on, and none is a change.
  const auto load = "Load " + user_file().string() + "...";
  for (int i = 0; i < 10; ++i) {
    log_.clear();
    ASSERT_TRUE(hbd_test::file_writer_process::run(
        {"replace", user_file().string(), nlohmann::json::parse(original).dump(i % 2 == 0 ? -1 : 2)}));
    ASSERT_TRUE(log_.wait_for_text(load));
  }
  // A real change still comes through.
  ASSERT_TRUE(hbd_test::file_writer_process::run({"replace", user_file().string(), profiles_json("theirs")}));
  ASSERT_TRUE(receiver.wait_for(2));
  editor = {};
  EXPECT_EQ(receiver.all().size(), 2u);
  EXPECT_STREQ(libhbd_core_configuration_get_profile_name(receiver.kept().back(), 0), "theirs");

  for (void* handle : receiver.kept()) {
    libhbd_core_configuration_terminate(&handle);
  }
}

TEST_F(libhbd_configuration_monitor_test, a_disable_inside_the_first_callback_holds) {
  std::filesystem::create_directories(user_directory());
  hbd_test::write_file(user_file(), profiles_json("mine"));

  // The application's way: save, disable and release inside the first callback.
  auto& receiver = make_receiver();
  receiver.disable = true;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);
  // Gone inside the callback, so nothing of it is left to call again.
  EXPECT_TRUE(logged("~libhbd_configuration_monitor"));

  ASSERT_TRUE(hbd_test::file_writer_process::run({"replace", user_file().string(), profiles_json("theirs")}));
  // A new monitor finds their file; the first one is not called for it.
  auto& next = make_receiver();
  next.save = false;
  next.keep_handles = true;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &next);
  ASSERT_EQ(next.kept().size(), 1u);
  EXPECT_STREQ(libhbd_core_configuration_get_profile_name(next.kept()[0], 0), "theirs");
  EXPECT_EQ(receiver.all().size(), 1u);
  void* handle = next.kept()[0];
  libhbd_core_configuration_terminate(&handle);
}

TEST_F(libhbd_configuration_monitor_test, another_process_undoing_this_process_s_save_is_announced) {
  std::filesystem::create_directories(user_directory());
  const std::string original = R"({"global": {"check_for_updates_on_startup": false}, "profiles": [{"name": "mine"}]})";
  hbd_test::write_file(user_file(), original);

  auto& receiver = make_receiver();
  receiver.keep_handles = true;
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);
  void* handle = receiver.kept()[0];
  ASSERT_FALSE(libhbd_core_configuration_get_global_configuration_check_for_updates_on_startup(handle));
  libhbd_core_configuration_set_global_configuration_check_for_updates_on_startup(handle, true);
  libhbd_core_configuration_save(handle);
  ASSERT_STREQ(libhbd_core_configuration_get_save_error_message(), "");

  // What was announced comes back: for this process, which saved since, that is a change.
  ASSERT_TRUE(hbd_test::file_writer_process::run({"replace", user_file().string(), original}));
  ASSERT_TRUE(receiver.wait_for(2));
  EXPECT_FALSE(libhbd_core_configuration_get_global_configuration_check_for_updates_on_startup(receiver.kept().back()));

  for (void* kept : receiver.kept()) {
    libhbd_core_configuration_terminate(&kept);
  }
}

TEST_F(libhbd_configuration_monitor_test, a_change_behind_a_linked_user_file_is_announced) {
  // A dotfiles setup: the user file is a link into a folder of its own.
  const hbd_test::temporary_directory dotfiles;
  const auto target = dotfiles.path() / "hobbard.json";
  hbd_test::write_file(target, profiles_json("linked"));
  std::filesystem::create_directories(user_directory());
  std::filesystem::create_symlink(target, user_file());

  auto& receiver = make_receiver();
  libhbd_enable_configuration_monitor(configuration_receiver::callback, &receiver);
  ASSERT_EQ(receiver.all().size(), 1u);

  const struct {
    const char* way;
    const char* name;
  } changes[] = {{"replace", "replaced"}, {"write", "written in place"}};
  std::size_t expected = 1;
  for (const auto& change : changes) {
    SCOPED_TRACE(change.way);
    ASSERT_TRUE(hbd_test::file_writer_process::run({change.way, target.string(), profiles_json(change.name)}));
    ASSERT_TRUE(receiver.wait_for(++expected));
    // Saved by the callback through the link, which stays.
    EXPECT_EQ(saved_profile_names(), std::vector<std::string>{change.name});
  }
  EXPECT_TRUE(std::filesystem::is_symlink(user_file()));
  EXPECT_EQ(receiver.all().size(), expected);
  // Before the linked folder goes.
  libhbd_disable_configuration_monitor();
}
