#include "platform/command/command.hpp"

#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

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
