#include "hbd/core_configuration/core_configuration.hpp"

#include "hbd/constants.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "platform/process_info/process_info.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using hbd::core_configuration::core_configuration;
using hbd_test::read_file;
using hbd_test::write_file;
using nlohmann::json;
using entry = hbd_test::log_capture::entry;

const fs::path& user_file() { return hbd::constants::get_user_core_configuration_file_path(); }

const fs::path& backups_directory() {
  return hbd::constants::get_user_core_configuration_automatic_backups_directory();
}

std::string today_backup_name() {
  return "hobbard_" + core_configuration::make_current_local_yyyymmdd_string() + ".json";
}

std::string parser_message(const std::string& text) {
  try {
    auto ignored = json::parse(text, nullptr, true, true);
  } catch (const json::parse_error& e) {
    return e.what();
  }
  return "parsed";
}

json default_global() { return hbd::core_configuration::details::global_configuration(json::object()).to_json(); }

struct sudden_termination_counts {
  std::uint64_t disabled = platform::process_info::sudden_termination_disable_calls();
  std::uint64_t enabled = platform::process_info::sudden_termination_enable_calls();

  // Each call of a save made one disable and one enable.
  void expect_balanced(std::uint64_t saves) const {
    EXPECT_EQ(platform::process_info::sudden_termination_disable_calls() - disabled, saves);
    EXPECT_EQ(platform::process_info::sudden_termination_enable_calls() - enabled, saves);
  }
};

// The user configuration paths are the same for every test of the process: each test starts and
// ends without that folder.
class core_configuration_test : public testing::Test {
protected:
  void SetUp() override { remove_user_configuration(); }
  void TearDown() override { remove_user_configuration(); }

  static void remove_user_configuration() {
    std::error_code ignored;
    fs::remove_all(hbd::constants::get_user_configuration_directory(), ignored);
  }

  static void write_user_file(const std::string& content) {
    fs::create_directories(user_file().parent_path());
    write_file(user_file(), content);
  }

  fs::path write_temporary_file(const std::string& content) const {
    auto path = directory_.path() / "hobbard.json";
    write_file(path, content);
    return path;
  }

  hbd_test::temporary_directory directory_;
  std::optional<hbd::dispatcher_utility::scoped_dispatcher_manager> manager_{std::in_place};
  const std::uint32_t uid_ = ::geteuid();
};

} // namespace

TEST_F(core_configuration_test, without_a_file_holds_the_defaults_and_is_not_loaded) {
  hbd_test::log_capture capture;
  core_configuration configuration((directory_.path() / "missing.json").string(), uid_);

  EXPECT_FALSE(configuration.is_loaded());
  ASSERT_EQ(configuration.get_profiles().size(), 1u);
  EXPECT_EQ(configuration.get_profiles()[0].get_name(), "Default profile");
  EXPECT_TRUE(configuration.get_profiles()[0].get_selected());
  const auto written = configuration.to_json();
  EXPECT_EQ(written.size(), 2u);
  EXPECT_EQ(written["global"], default_global());
  EXPECT_EQ(written["profiles"].size(), 1u);
  EXPECT_TRUE(capture.entries().empty());
}

TEST_F(core_configuration_test, reads_files_that_are_loaded) {
  const struct {
    const char* content;
    std::size_t profiles;
    bool default_global;
  } cases[] = {
      {R"({"profiles": []})", 1, true},
      {"null", 1, true},
      {"// line\n{/* block */ \"profiles\": [{\"name\": \"a\"}, {\"name\": \"b\"}], \"global\": {\"unsafe_ui\": true}}",
       2, false},
      {R"({"global": "text", "profiles": {"not": "an array"}})", 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    hbd_test::log_capture capture;
    core_configuration configuration(write_temporary_file(c.content).string(), uid_);
    EXPECT_TRUE(configuration.is_loaded());
    EXPECT_EQ(configuration.get_profiles().size(), c.profiles);
    EXPECT_EQ(configuration.to_json()["global"] == default_global(), c.default_global);
    EXPECT_TRUE(capture.entries().empty());
  }
}

TEST_F(core_configuration_test, a_file_that_does_not_read_keeps_the_defaults_and_is_never_saved_over) {
  const auto path = user_file().string();
  const std::string too_deep = std::string(100000, '[') + std::string(100000, ']');
  const struct {
    std::string content;
    std::string message;
  } cases[] = {
      {R"({"profiles": [)", parser_message(R"({"profiles": [)")},
      {"", parser_message("")},
      {"{\"profiles\": [{\"name\": \"caf\xc3\"}]}", parser_message("{\"profiles\": [{\"name\": \"caf\xc3\"}]}")},
      {"[]", "json must be object, but is `[]`"},
      {R"("text")", "json must be object, but is `\"text\"`"},
      {"42", "json must be object, but is `42`"},
      {too_deep, "JSON is nested deeper than 512 levels"},
      {R"({"profiles": [{"name": "ok", "parameters": [1]}]})", "`parameters` error: json must be object, but is `[1]`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    remove_user_configuration();
    write_user_file(c.content);
    const sudden_termination_counts counts;

    hbd_test::log_capture capture;
    core_configuration configuration(path, uid_);
    EXPECT_EQ(capture.entries(),
              std::vector<entry>({{spdlog::level::err, "parse error in " + path + ": " + c.message}}));
    EXPECT_FALSE(configuration.is_loaded());
    ASSERT_EQ(configuration.get_profiles().size(), 1u);
    EXPECT_EQ(configuration.get_profiles()[0].get_name(), "Default profile");
    EXPECT_EQ(configuration.to_json().size(), 2u);
    EXPECT_EQ(configuration.to_json()["global"], default_global());

    EXPECT_THAT([&] { configuration.sync_save_to_file(); },
                testing::ThrowsMessage<std::runtime_error>(
                    testing::StrEq("core_configuration was not loaded, so it does not replace " + path)));
    EXPECT_EQ(read_file(user_file()), c.content);
    EXPECT_FALSE(fs::exists(backups_directory()));
    counts.expect_balanced(1);
  }
}

TEST_F(core_configuration_test, a_failing_profile_keeps_the_ones_before_it_and_drops_the_rest) {
  const auto path = write_temporary_file(R"({
    "top": "dropped with the rest",
    "global": {"show_in_menu_bar": false},
    "profiles": [{"name": "first"}, {"name": 1}, {"name": "third"}]
  })");
  hbd_test::log_capture capture;
  core_configuration configuration(path.string(), uid_);

  EXPECT_EQ(capture.texts(),
            std::vector<std::string>({"parse error in " + path.string() + ": `name` must be string, but is `1`"}));
  EXPECT_FALSE(configuration.is_loaded());
  ASSERT_EQ(configuration.get_profiles().size(), 1u);
  EXPECT_EQ(configuration.get_profiles()[0].get_name(), "first");
  EXPECT_FALSE(configuration.get_global_configuration().get_show_in_menu_bar());
  const auto written = configuration.to_json();
  EXPECT_EQ(written.size(), 2u);
  EXPECT_EQ(written["profiles"].size(), 1u);
}

TEST_F(core_configuration_test, a_file_of_another_owner_is_not_read_and_not_saved_over) {
  const std::string content = R"({"profiles": [{"name": "theirs"}]})";
  write_user_file(content);
  if (::chown(user_file().c_str(), 4242, 4242) != 0) {
    GTEST_SKIP() << "changing the owner needs the superuser";
  }
  const auto path = user_file().string();

  {
    hbd_test::log_capture capture;
    core_configuration configuration(path, uid_ == 4243 ? 4244 : 4243);
    EXPECT_EQ(capture.entries(), std::vector<entry>({{spdlog::level::warn, path + " is not owned by a valid user."}}));
    EXPECT_FALSE(configuration.is_loaded());
    EXPECT_EQ(configuration.get_profiles()[0].get_name(), "Default profile");
    EXPECT_THROW(configuration.sync_save_to_file(), std::runtime_error);
    EXPECT_EQ(read_file(user_file()), content);
  }

  // The expected owner and the superuser are both valid.
  EXPECT_TRUE(core_configuration(path, 4242).is_loaded());
  ASSERT_EQ(::chown(user_file().c_str(), 0, 0), 0);
  EXPECT_TRUE(core_configuration(path, 4242).is_loaded());
}

TEST_F(core_configuration_test, what_is_not_a_regular_file_or_is_too_large_is_not_read) {
  const auto fifo = directory_.path() / "fifo.json";
  hbd_test::make_hostile_file(fifo, hbd_test::hostile_file::fifo);
  const auto folder = directory_.path() / "folder.json";
  fs::create_directory(folder);
  const auto device = directory_.path() / "device.json";
  hbd_test::make_hostile_file(device, hbd_test::hostile_file::endless_device);
  const auto huge = directory_.path() / "huge.json";
  hbd_test::make_hostile_file(huge, hbd_test::hostile_file::sparse, std::uintmax_t{1} << 36);

  const struct {
    fs::path path;
    std::string message;
  } cases[] = {
      {fifo, "failed to open " + fifo.string()},
      {folder, "failed to open " + folder.string()},
      {device, "failed to open " + device.string()},
      {huge, "parse error in " + huge.string() + ": larger than 33554432 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    hbd_test::log_capture capture;
    hbd_test::watchdog watchdog(c.path.string());
    core_configuration configuration(c.path.string(), uid_);
    EXPECT_EQ(capture.entries(), std::vector<entry>({{spdlog::level::err, c.message}}));
    EXPECT_FALSE(configuration.is_loaded());
    EXPECT_EQ(configuration.get_profiles().size(), 1u);
  }
}

TEST_F(core_configuration_test, a_first_save_creates_a_private_file_in_a_private_folder_and_makes_no_backup) {
  hbd_test::scoped_umask mask(0);
  const sudden_termination_counts counts;
  core_configuration configuration(user_file().string(), uid_);
  ASSERT_FALSE(configuration.is_loaded());

  configuration.sync_save_to_file();
  EXPECT_EQ(hbd_test::mode_of(user_file()), 0600u);
  EXPECT_EQ(hbd_test::mode_of(user_file().parent_path()), 0700u);
  const auto text = read_file(user_file());
  EXPECT_EQ(text, configuration.to_json().dump(4));
  EXPECT_EQ(text.substr(0, 16), "{\n    \"global\": ");
  EXPECT_FALSE(fs::exists(backups_directory()));

  // The file is this model's own now, so it goes on saving it.
  configuration.push_back_profile();
  configuration.sync_save_to_file();
  EXPECT_EQ(json::parse(read_file(user_file()))["profiles"].size(), 2u);
  counts.expect_balanced(2);
}

TEST_F(core_configuration_test, a_model_of_a_missing_file_does_not_replace_a_file_that_appeared_since) {
  core_configuration configuration(user_file().string(), uid_);
  write_user_file(R"({"profiles": [{"name": "written meanwhile"}]})");

  EXPECT_THROW(configuration.sync_save_to_file(), std::runtime_error);
  EXPECT_EQ(read_file(user_file()), R"({"profiles": [{"name": "written meanwhile"}]})");
}

TEST_F(core_configuration_test, a_model_read_from_another_file_saves_the_user_file) {
  core_configuration configuration(write_temporary_file(R"({"profiles": [{"name": "system"}]})").string(), uid_);
  ASSERT_TRUE(configuration.is_loaded());
  write_user_file("{}");

  configuration.sync_save_to_file();
  EXPECT_EQ(json::parse(read_file(user_file()))["profiles"][0]["name"], "system");
}

TEST_F(core_configuration_test, the_first_save_of_a_day_keeps_the_old_file_and_later_ones_keep_no_more) {
  hbd_test::scoped_umask mask(022);
  const std::string original = "// the user's own layout\n{\"profiles\": [{\"name\": \"mine\", \"selected\": true}]}\n";
  write_user_file(original);
  core_configuration configuration(user_file().string(), uid_);
  ASSERT_TRUE(configuration.is_loaded());

  configuration.sync_save_to_file();
  const auto backup = backups_directory() / today_backup_name();
  EXPECT_EQ(read_file(backup), original);
  EXPECT_EQ(hbd_test::mode_of(backup), 0600u);
  EXPECT_EQ(hbd_test::mode_of(backups_directory()), 0700u);
  EXPECT_EQ(read_file(user_file()), configuration.to_json().dump(4));

  configuration.get_selected_profile().set_name("renamed");
  configuration.sync_save_to_file();
  EXPECT_EQ(read_file(backup), original);
  EXPECT_EQ(json::parse(read_file(user_file()))["profiles"][0]["name"], "renamed");
  EXPECT_EQ(hbd_test::entry_names(backups_directory()), std::set<std::string>({today_backup_name()}));
}

TEST_F(core_configuration_test, sudden_termination_is_off_from_before_the_backup_until_the_file_is_written) {
  write_user_file(R"({"profiles": [{"name": "before"}]})");
  core_configuration configuration(user_file().string(), uid_);
  configuration.get_selected_profile().set_name("after");

  struct moment {
    bool disabled;
    bool backup_exists;
    std::string name_in_file;
    bool operator==(const moment&) const = default;
  };
  std::vector<moment> moments;
  platform::process_info::set_sudden_termination_observer([&](bool disabled) {
    moments.push_back({disabled, fs::exists(backups_directory() / today_backup_name()),
                       json::parse(read_file(user_file()))["profiles"][0]["name"].get<std::string>()});
  });
  configuration.sync_save_to_file();
  platform::process_info::set_sudden_termination_observer(nullptr);

  EXPECT_EQ(moments, std::vector<moment>({{true, false, "before"}, {false, true, "after"}}));
}

TEST_F(core_configuration_test, a_file_that_loads_loads_again_after_a_save_even_at_the_depth_limit) {
  // The "to" object sits 6 levels deep; a save makes it a list of one, a level deeper.
  const auto nested_to = [](std::size_t depth) {
    const auto arrays = depth - 6;
    return R"({"profiles": [{"simple_modifications": [{"from": {"key_code": "a"}, "to": {"key_code": "b", "n": )" +
           std::string(arrays, '[') + std::string(arrays, ']') + "}}]}]}";
  };
  const auto nested_unknown = [](std::size_t depth) {
    return R"({"deep": )" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
  };
  const struct {
    const char* name;
    std::string content;
    bool loads;
  } cases[] = {
      {"a single to one level below the limit", nested_to(511), true},
      {"a single to at the limit", nested_to(512), false},
      {"an unknown member at the limit", nested_unknown(512), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remove_user_configuration();
    write_user_file(c.content);
    hbd_test::log_capture capture;
    core_configuration configuration(user_file().string(), uid_);
    ASSERT_EQ(configuration.is_loaded(), c.loads);
    if (!c.loads) {
      EXPECT_EQ(capture.texts(), std::vector<std::string>({"parse error in " + user_file().string() +
                                                           ": JSON is nested deeper than 512 levels once saved"}));
      continue;
    }

    configuration.sync_save_to_file();
    core_configuration reloaded(user_file().string(), uid_);
    EXPECT_TRUE(reloaded.is_loaded());
    EXPECT_EQ(reloaded.to_json(), configuration.to_json());
  }
}

TEST_F(core_configuration_test, a_save_refuses_edits_that_would_not_load_again_and_touches_nothing) {
  // A rule within the depth limit on its own (508 levels), past it once it sits in the file's
  // profiles, five levels down.
  const auto deep_rule = json::parse(R"({"manipulators": [{"type": "basic", "from": {"key_code": "a"}, "deep": )" +
                                     std::string(505, '[') + std::string(505, ']') + "}]}");
  const struct {
    const char* name;
    std::function<void(core_configuration&)> edit;
    std::string message;
  } cases[] = {
      {"a rule nested past the limit in the file",
       [&](core_configuration& c) {
         c.get_selected_profile().get_complex_modifications().get_rules().emplace_back(
             deep_rule, hbd::core_configuration::details::complex_modifications_parameters());
       },
       "JSON is nested deeper than 512 levels once saved"},
      {"a profile name larger than a load reads",
       [](core_configuration& c) {
         c.get_selected_profile().set_name(std::string(core_configuration::maximum_file_size, 'x'));
       },
       "the file would be larger than 33554432 bytes"},
  };
  const std::string original = R"({"profiles": [{"name": "before"}]})";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remove_user_configuration();
    write_user_file(original);
    core_configuration configuration(user_file().string(), uid_);
    c.edit(configuration);

    EXPECT_THAT([&] { configuration.sync_save_to_file(); }, testing::ThrowsMessage<std::runtime_error>(testing::StrEq(
                                                                "core_configuration cannot be saved: " + c.message)));
    EXPECT_EQ(read_file(user_file()), original);
    EXPECT_FALSE(fs::exists(backups_directory()));
  }
}

TEST_F(core_configuration_test, a_file_of_exactly_the_size_a_load_reads_is_saved_and_loads_again) {
  core_configuration configuration(user_file().string(), uid_);
  configuration.get_selected_profile().set_name("");
  const auto other_bytes = configuration.to_json().dump(4).size();
  configuration.get_selected_profile().set_name(std::string(core_configuration::maximum_file_size - other_bytes, 'x'));

  configuration.sync_save_to_file();
  EXPECT_EQ(fs::file_size(user_file()), core_configuration::maximum_file_size);
  EXPECT_TRUE(core_configuration(user_file().string(), uid_).is_loaded());
}

TEST_F(core_configuration_test, a_file_changed_since_it_was_read_is_kept_aside_before_the_save) {
  const std::string original = R"({"profiles": [{"name": "read"}]})";
  const struct {
    const char* name;
    std::string changed;
    bool replace;
  } cases[] = {
      {"rewritten in place", R"({"profiles": [{"name": "edited in place, longer"}]})", false},
      {"replaced by another file", R"({"profiles": [{"name": "saved by an editor"}]})", true},
      {"left broken", R"({"profiles": [{"name": "half)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remove_user_configuration();
    write_user_file(original);
    core_configuration configuration(user_file().string(), uid_);
    ASSERT_TRUE(configuration.is_loaded());
    if (c.replace) {
      write_file(user_file().string() + ".editor", c.changed);
      fs::rename(user_file().string() + ".editor", user_file());
    } else {
      write_file(user_file(), c.changed);
    }

    hbd_test::scoped_umask mask(022);
    hbd_test::log_capture capture;
    configuration.sync_save_to_file();

    auto names = hbd_test::entry_names(backups_directory());
    ASSERT_EQ(names.erase(today_backup_name()), 1u);
    ASSERT_EQ(names.size(), 1u);
    const auto kept = backups_directory() / *names.begin();
    EXPECT_THAT(kept.filename().string(), testing::MatchesRegex("hobbard_[0-9]{8}_[0-9]{6}_changed\\.json"));
    EXPECT_EQ(read_file(kept), c.changed);
    EXPECT_EQ(hbd_test::mode_of(kept), 0600u);
    EXPECT_EQ(
        capture.entries(),
        std::vector<entry>(
            {{spdlog::level::warn,
              user_file().string() + " was changed since it was read; the changed file is kept as " + kept.string()}}));
    EXPECT_EQ(read_file(user_file()), configuration.to_json().dump(4));

    // The file it wrote itself is no stranger's.
    configuration.sync_save_to_file();
    EXPECT_EQ(hbd_test::entry_names(backups_directory()).size(), 2u);
  }
}

TEST_F(core_configuration_test, a_changed_file_that_cannot_be_kept_aside_stops_the_save_and_stays) {
  const struct {
    const char* name;
    std::function<void()> change;
    std::string reason;
    std::function<void()> expect_kept;
  } cases[] = {
      {"a FIFO nobody writes",
       [] {
         fs::remove(user_file());
         hbd_test::make_hostile_file(user_file(), hbd_test::hostile_file::fifo);
       },
       "it is not a regular file", [] { EXPECT_TRUE(fs::is_fifo(user_file())); }},
      // (A link to a device is refused the same way; it is not tried here, where a save that went
      // ahead would replace the device.)
      {"a folder",
       [] {
         fs::remove(user_file());
         fs::create_directory(user_file());
       },
       "it is not a regular file", [] { EXPECT_TRUE(fs::is_directory(user_file())); }},
      {"a backups folder that cannot be made",
       [] {
         write_file(user_file(), R"({"profiles": [{"name": "edited"}]})");
         write_file(backups_directory(), "in the way");
       },
       "Not a directory", [] { EXPECT_EQ(read_file(user_file()), R"({"profiles": [{"name": "edited"}]})"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remove_user_configuration();
    write_user_file(R"({"profiles": [{"name": "read"}]})");
    core_configuration configuration(user_file().string(), uid_);
    ASSERT_TRUE(configuration.is_loaded());
    c.change();

    hbd_test::watchdog watchdog(c.name);
    const sudden_termination_counts counts;
    EXPECT_THAT([&] { configuration.sync_save_to_file(); },
                testing::ThrowsMessage<std::runtime_error>(testing::StrEq(
                    "core_configuration did not replace " + user_file().string() +
                    ": it was changed since it was read and could not be kept aside (" + c.reason + ")")));
    counts.expect_balanced(1);
    c.expect_kept();
  }
}

TEST_F(core_configuration_test, a_save_through_a_symbolic_link_replaces_the_file_it_leads_to) {
  const auto dotfiles = directory_.path() / "dotfiles";
  const auto target = dotfiles / "hobbard.json";
  const auto beside = user_file().parent_path() / "linked.json";
  const struct {
    const char* name;
    std::vector<std::pair<fs::path, fs::path>> links; // link, what it holds
  } cases[] = {
      {"absolute link", {{user_file(), target}}},
      {"relative link to another link", {{user_file(), "linked.json"}, {beside, target}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remove_user_configuration();
    fs::remove_all(dotfiles);
    fs::create_directories(dotfiles);
    fs::create_directories(user_file().parent_path());
    write_file(target, R"({"profiles": [{"name": "dotfiles"}]})");
    for (const auto& [link, held] : c.links) {
      fs::create_symlink(held, link);
    }

    core_configuration configuration(user_file().string(), uid_);
    ASSERT_TRUE(configuration.is_loaded());
    configuration.get_selected_profile().set_name("saved");
    configuration.sync_save_to_file();

    for (const auto& [link, held] : c.links) {
      EXPECT_TRUE(fs::is_symlink(link));
      EXPECT_EQ(fs::read_symlink(link), held);
    }
    EXPECT_EQ(read_file(target), configuration.to_json().dump(4));
    EXPECT_EQ(hbd_test::mode_of(target), 0600u);
    EXPECT_EQ(hbd_test::entry_names(dotfiles), std::set<std::string>({"hobbard.json"}));
    EXPECT_EQ(read_file(backups_directory() / today_backup_name()), R"({"profiles": [{"name": "dotfiles"}]})");
  }
}

TEST_F(core_configuration_test, a_save_through_links_that_loop_throws_and_writes_nothing) {
  core_configuration configuration(write_temporary_file("{}").string(), uid_);
  fs::create_directories(user_file().parent_path());
  fs::create_symlink(user_file().filename(), user_file());

  EXPECT_THAT([&] { configuration.sync_save_to_file(); },
              testing::ThrowsMessage<std::runtime_error>(testing::StrEq(
                  "core_configuration cannot be saved: the links at " + user_file().string() + " lead nowhere")));
  EXPECT_TRUE(fs::is_symlink(user_file()));
}

TEST_F(core_configuration_test, a_save_leaves_the_twenty_backups_with_the_greatest_names) {
  write_user_file("{}");
  fs::create_directories(backups_directory());
  std::set<std::string> kept = {today_backup_name(), "hobbard_abcdefgh.json", "other.json"};
  for (int day = 1; day <= 24; ++day) {
    const auto name = "hobbard_200001" + std::string(day < 10 ? "0" : "") + std::to_string(day) + ".json";
    write_file(backups_directory() / name, "old");
    if (day > 6) {
      kept.insert(name);
    }
  }
  write_file(backups_directory() / "hobbard_abcdefgh.json", "stray");
  write_file(backups_directory() / "other.json", "not a backup name");

  core_configuration configuration(user_file().string(), uid_);
  configuration.sync_save_to_file();
  EXPECT_EQ(hbd_test::entry_names(backups_directory()), kept);
}

TEST_F(core_configuration_test, a_save_removes_what_killed_copies_into_the_backups_folder_left) {
  write_user_file("{}");
  fs::create_directories(backups_directory());
  const auto daily = hbd_test::stale_temporary_file(backups_directory() / "hobbard_20000101.json");
  const auto changed = hbd_test::stale_temporary_file(backups_directory() / "hobbard_20000101_120000_changed.json");
  const auto running = backups_directory() / ("hobbard_20000102.json.tmp." + std::to_string(::getpid()) + ".999999999");
  const auto not_ours = hbd_test::stale_temporary_file(backups_directory() / "notes.txt");
  for (const auto& path : {daily, changed, running, not_ours}) {
    write_file(path, "part of a copy");
  }

  core_configuration configuration(user_file().string(), uid_);
  configuration.sync_save_to_file();
  EXPECT_EQ(hbd_test::entry_names(backups_directory()),
            (std::set<std::string>{today_backup_name(), running.filename().string(), not_ours.filename().string()}));
}

TEST_F(core_configuration_test, members_it_does_not_know_survive_a_load_and_a_save) {
  write_user_file(R"({
    "future_top": {"a": [1, {"b": null}]},
    "global": {"future_global": "g", "unsafe_ui": true},
    "profiles": [{
      "name": "p", "future_profile": 1,
      "parameters": {"future_parameter": 2},
      "complex_modifications": {"future_cm": 3, "rules": [{"description": "r", "future_rule": 4,
        "manipulators": [{"type": "basic", "from": {"key_code": "a"}, "to": [{"key_code": "b"}]}]}]},
      "virtual_hid_keyboard": {"future_keyboard": 5},
      "devices": [{"identifiers": {"vendor_id": 1, "product_id": 2, "future_identifiers": 6}, "future_device": 7}]
    }]
  })");
  core_configuration configuration(user_file().string(), uid_);
  ASSERT_TRUE(configuration.is_loaded());
  configuration.sync_save_to_file();

  const auto saved = json::parse(read_file(user_file()));
  EXPECT_EQ(saved["future_top"], json::parse(R"({"a": [1, {"b": null}]})"));
  EXPECT_EQ(saved["global"]["future_global"], "g");
  EXPECT_EQ(saved["global"]["unsafe_ui"], true);
  const auto& p = saved["profiles"][0];
  EXPECT_EQ(p["future_profile"], 1);
  EXPECT_EQ(p["parameters"]["future_parameter"], 2);
  EXPECT_EQ(p["complex_modifications"]["future_cm"], 3);
  EXPECT_EQ(p["complex_modifications"]["rules"][0]["future_rule"], 4);
  EXPECT_EQ(p["virtual_hid_keyboard"]["future_keyboard"], 5);
  EXPECT_EQ(p["devices"][0]["identifiers"]["future_identifiers"], 6);
  EXPECT_EQ(p["devices"][0]["future_device"], 7);

  // Read again, the saved file gives the same model.
  EXPECT_EQ(core_configuration(user_file().string(), uid_).to_json(), configuration.to_json());
}

TEST_F(core_configuration_test, a_save_that_cannot_write_throws_and_keeps_sudden_termination_balanced) {
  core_configuration configuration(write_temporary_file("{}").string(), uid_);
  ASSERT_TRUE(configuration.is_loaded());
  // A regular file where the configuration folder belongs.
  fs::create_directories(hbd::constants::get_user_configuration_directory().parent_path());
  write_file(hbd::constants::get_user_configuration_directory(), "in the way");
  const sudden_termination_counts counts;

  EXPECT_THROW(configuration.sync_save_to_file(), std::runtime_error);
  counts.expect_balanced(1);
  EXPECT_EQ(read_file(hbd::constants::get_user_configuration_directory()), "in the way");
}

TEST_F(core_configuration_test, a_save_without_the_file_writer_is_written_on_the_calling_thread) {
  manager_.reset();
  core_configuration configuration(user_file().string(), uid_);
  const sudden_termination_counts counts;

  configuration.sync_save_to_file();
  counts.expect_balanced(1);
  EXPECT_EQ(read_file(user_file()), configuration.to_json().dump(4));
  EXPECT_EQ(hbd_test::mode_of(user_file()), 0600u);
}

TEST_F(core_configuration_test, profile_list_operations) {
  core_configuration configuration(
      write_temporary_file(
          R"({"profiles": [{"name": "a"}, {"name": "b", "selected": true}, {"name": "c", "selected": true}]})")
          .string(),
      uid_);
  const auto selected = [&] {
    std::vector<bool> flags;
    for (const auto& p : configuration.get_profiles()) {
      flags.push_back(p.get_selected());
    }
    return flags;
  };
  EXPECT_EQ(configuration.get_selected_profile().get_name(), "b");

  configuration.select_profile(2);
  EXPECT_EQ(selected(), std::vector<bool>({false, false, true}));
  configuration.select_profile(3);
  EXPECT_EQ(selected(), std::vector<bool>({false, false, true}));

  configuration.erase_profile(2);
  EXPECT_EQ(selected(), std::vector<bool>({false, false}));
  EXPECT_EQ(configuration.get_selected_profile().get_name(), "a");
  configuration.erase_profile(2);
  EXPECT_EQ(configuration.get_profiles().size(), 2u);

  configuration.push_back_profile();
  ASSERT_EQ(configuration.get_profiles().size(), 3u);
  const auto& added = configuration.get_profiles()[2];
  EXPECT_EQ(added.get_name(), "New profile");
  EXPECT_FALSE(added.get_selected());
  EXPECT_EQ(added.get_fn_function_keys().get_pairs().size(), 12u);
  EXPECT_EQ(configuration.get_selected_profile().get_name(), "a");

  configuration.erase_profile(0);
  configuration.erase_profile(0);
  configuration.erase_profile(0);
  ASSERT_EQ(configuration.get_profiles().size(), 1u);
  EXPECT_EQ(configuration.get_profiles()[0].get_name(), "New profile");
}

TEST(core_configuration_date, is_the_local_date_in_eight_digits) {
  const auto before = std::time(nullptr);
  const auto text = core_configuration::make_current_local_yyyymmdd_string();
  std::tm local{};
  ::localtime_r(&before, &local);
  char expected[16];
  std::strftime(expected, sizeof(expected), "%Y%m%d", &local);
  EXPECT_EQ(text, expected); // a test run across midnight may see this fail once
}

// The user paths are computed once per process, so the unknown home is tried in a fresh child.
TEST(core_configuration_death_test, a_save_without_a_user_folder_throws_and_writes_nothing) {
  const auto check = [] {
    setenv("XDG_CONFIG_HOME", "", 1);
    hbd::dispatcher_utility::scoped_dispatcher_manager manager;
    core_configuration configuration("", ::geteuid());
    const sudden_termination_counts counts;
    try {
      configuration.sync_save_to_file();
    } catch (const std::runtime_error& error) {
      const bool balanced = platform::process_info::sudden_termination_disable_calls() - counts.disabled == 1 &&
                            platform::process_info::sudden_termination_enable_calls() - counts.enabled == 1;
      std::exit(balanced && std::string(error.what()) ==
                                "core_configuration cannot be saved: the user configuration directory is unknown"
                    ? 0
                    : 1);
    }
    std::exit(2);
  };
  EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}

// A save where the file cannot be reached says why it cannot. Each case needs user paths of its
// own, so it runs in a fresh child.
TEST(core_configuration_death_test, a_save_where_the_file_cannot_be_reached_says_why) {
  const auto root = fs::path(std::getenv("HBD_TEST_ROOT")) / "unreachable";
  const struct {
    const char* name;
    fs::path configuration_home;
    std::string reason;
  } cases[] = {
      {"the configuration folder is a regular file", root / "file_folder", "Not a directory"},
      {"a folder name is too long", root / std::string(300, 'x'), "File name too long"},
  };
  fs::create_directories(root / "file_folder");
  write_file(root / "file_folder/hobbard", "in the way");

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto check = [&] {
      setenv("XDG_CONFIG_HOME", c.configuration_home.c_str(), 1);
      const auto path = user_file().string();
      hbd::dispatcher_utility::scoped_dispatcher_manager manager;
      core_configuration configuration(path, ::geteuid());
      const auto expected = "core_configuration cannot be saved: failed to open " + path + ": " + c.reason;
      try {
        configuration.sync_save_to_file();
      } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        std::exit(error.what() == expected ? 0 : 1);
      }
      std::exit(2);
    };
    EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
  }
  EXPECT_EQ(read_file(root / "file_folder/hobbard"), "in the way");
}
