#include "hbd/core_configuration/core_configuration.hpp"
#include "libhbd.h"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/spawned_program.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path user_directory() { return fs::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard"; }
fs::path user_file() { return user_directory() / "hobbard.json"; }

// A profile beside a member the library does not know, large enough that two programs' saves
// overlap.
std::string configuration_named(const std::string& name) {
  return nlohmann::json{{"padding", std::string(std::size_t{512} * 1024, 'p')}, {"profiles", {{{"name", name}}}}}
      .dump();
}

std::string first_profile_name() {
  return nlohmann::json::parse(hbd_test::read_file(user_file())).at("/profiles/0/name"_json_pointer);
}

// Another program saving the user configuration (programs/configuration_saver.c); true when all it
// checks held.
bool run_saver(const std::vector<std::string>& arguments) {
  return hbd_test::spawned_program(HBD_CONFIGURATION_SAVER, arguments).wait();
}

class libhbd_core_configuration_save_test : public testing::Test {
protected:
  void SetUp() override {
    fs::remove_all(user_directory());
    fs::create_directories(user_directory());
    hbd_test::write_file(user_file(), configuration_named("start"));
  }
  void TearDown() override { fs::remove_all(user_directory()); }

  hbd_test::log_capture log_;
};

} // namespace

TEST_F(libhbd_core_configuration_save_test,
       two_programs_saving_at_once_each_save_lands_whole_and_the_file_always_loads) {
  hbd_test::spawned_program first(HBD_CONFIGURATION_SAVER, {"saves", "first", "40"});
  hbd_test::spawned_program second(HBD_CONFIGURATION_SAVER, {"saves", "second", "40"});
  std::optional<std::string> unloadable;
  while (!first.ended() || !second.ended()) {
    if (!unloadable && !hbd::core_configuration::core_configuration(user_file().string(), ::geteuid()).is_loaded()) {
      unloadable = hbd_test::read_file(user_file()).substr(0, 200);
    }
  }

  EXPECT_TRUE(first.wait());
  EXPECT_TRUE(second.wait());
  EXPECT_EQ(unloadable, std::nullopt);
  // Whichever program wrote last, its last save is what the file holds.
  EXPECT_THAT(first_profile_name(), testing::AnyOf("first 39", "second 39"));
  EXPECT_EQ(hbd_test::entry_names(user_directory()), (std::set<std::string>{"automatic_backups", "hobbard.json"}));
  for (const auto& name : hbd_test::entry_names(user_directory() / "automatic_backups")) {
    EXPECT_THAT(name, testing::Not(testing::HasSubstr(".tmp")));
  }
}

TEST_F(libhbd_core_configuration_save_test, a_save_larger_than_a_load_reads_fails_for_its_thread_and_keeps_the_file) {
  EXPECT_TRUE(run_saver({"refused", user_file().string()}));
  EXPECT_EQ(first_profile_name(), "saved on another thread");
}

TEST_F(libhbd_core_configuration_save_test, a_save_after_terminate_is_written) {
  EXPECT_TRUE(run_saver({"terminated", "saved after terminate"}));
  EXPECT_EQ(first_profile_name(), "saved after terminate");
}

// The outcome stays the saving thread's, and the text it was given stays in place, whatever
// another thread's save does.
TEST_F(libhbd_core_configuration_save_test, a_failed_save_stays_failed_for_its_thread) {
  const auto load = [] {
    void* handle = nullptr;
    libhbd_enable_configuration_monitor([](void* loaded, void* context) { *static_cast<void**>(context) = loaded; },
                                        &handle);
    libhbd_disable_configuration_monitor();
    return handle;
  };
  libhbd_initialize();
  hbd_test::write_file(user_file(), "{\"profiles\": [");
  void* not_loaded = load();
  hbd_test::write_file(user_file(), configuration_named("loaded"));
  void* loaded = load();
  EXPECT_NE(not_loaded, nullptr);
  EXPECT_NE(loaded, nullptr);

  std::promise<std::string> failure;
  std::promise<void> other_saved;
  std::string kept_text;
  std::string read_again;
  std::thread failing([&] {
    libhbd_core_configuration_save(not_loaded);
    const char* text = libhbd_core_configuration_get_save_error_message();
    failure.set_value(text);
    other_saved.get_future().wait();
    kept_text = text;
    read_again = libhbd_core_configuration_get_save_error_message();
  });
  const auto error = failure.get_future().get();
  libhbd_core_configuration_save(loaded);
  EXPECT_STREQ(libhbd_core_configuration_get_save_error_message(), "");
  other_saved.set_value();
  failing.join();

  EXPECT_EQ(error, "error: core_configuration was not loaded, so it does not replace " + user_file().string());
  EXPECT_EQ(kept_text, error);
  EXPECT_EQ(read_again, error);
  libhbd_core_configuration_terminate(&not_loaded);
  libhbd_core_configuration_terminate(&loaded);
  libhbd_terminate();
}
