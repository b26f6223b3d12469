#include "platform/command/command.hpp"

#include "support/stderr_capture.hpp"
#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

TEST(command, recorders_keep_the_exact_lines_and_nest) {
  platform::command::recorder outer;
  EXPECT_EQ(platform::command::run("open  -n 'a b' & "), 0);
  {
    platform::command::recorder inner(256);
    EXPECT_EQ(platform::command::run("killall x"), 256);
    EXPECT_EQ(inner.commands(), std::vector<std::string>{"killall x"});
  }
  platform::command::run("second");
  EXPECT_EQ(outer.commands(), (std::vector<std::string>{"open  -n 'a b' & ", "second"}));
}

TEST(command, without_a_runner_the_shell_runs_the_command) {
  hbd_test::temporary_directory directory;
  const auto file = directory.path() / "out";
  // The shared test main installs a runner that refuses real commands; lift it for this test.
  auto previous = platform::command::set_runner({});

  const int written = platform::command::run("printf 'ran here' > '" + file.string() + "'");
  const int failed = platform::command::run("exit 3");

  platform::command::set_runner(std::move(previous));
  ASSERT_TRUE(WIFEXITED(written));
  EXPECT_EQ(WEXITSTATUS(written), 0);
  std::string content;
  std::getline(std::ifstream(file), content);
  EXPECT_EQ(content, "ran here");
  ASSERT_TRUE(WIFEXITED(failed));
  EXPECT_EQ(WEXITSTATUS(failed), 3);
}

TEST(command, a_command_whose_program_is_missing_is_not_run_and_its_program_is_reported_once) {
  hbd_test::temporary_directory directory;
  const auto marker = directory.path() / "ran";
  std::vector<std::string> reported;
  auto previous_reporter = platform::command::set_missing_program_reporter(
      [&reported](const std::string& program) { reported.push_back(program); });
  auto previous = platform::command::set_runner({});
  hbd_test::stderr_capture errors;

  const struct {
    std::string command;
    int exit_status;
  } cases[] = {
      {"/bin/grellan-test-missing enable gui/0/x", 127},
      {"  /bin/grellan-test-missing kickstart  -k gui/0/x & ", 127},
      {"grellan-test-missing-too 'a b'", 127},
      // Programs that exist and the shell's own commands still run; so do lines that join commands.
      {"exit 3", 3},
      {"true", 0},
      {"/bin/sh -c 'exit 4'", 4},
      {"command -v grellan-test-missing-too || touch '" + marker.string() + "'", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const int status = platform::command::run(c.command);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.exit_status);
  }
  const std::string written = errors.text();

  platform::command::set_runner(std::move(previous));
  platform::command::set_missing_program_reporter(std::move(previous_reporter));
  EXPECT_EQ(written, "");
  EXPECT_TRUE(std::filesystem::exists(marker));
  EXPECT_EQ(reported, (std::vector<std::string>{"/bin/grellan-test-missing", "grellan-test-missing-too"}));
}
