#include "glob/glob.hpp"

#include "support/environment_guard.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

void touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

class working_directory_guard final {
public:
  explicit working_directory_guard(const fs::path& path) : saved_(fs::current_path()) { fs::current_path(path); }
  ~working_directory_guard() { fs::current_path(saved_); }
  working_directory_guard(const working_directory_guard&) = delete;
  working_directory_guard& operator=(const working_directory_guard&) = delete;

private:
  fs::path saved_;
};

std::vector<std::string> strings(const std::vector<fs::path>& paths) {
  std::vector<std::string> result;
  for (const auto& path : paths) {
    result.push_back(path.string());
  }
  return result;
}

std::vector<std::string> sorted(std::vector<std::string> values) {
  std::sort(values.begin(), values.end());
  return values;
}

} // namespace

TEST(glob_translate, builds_whole_name_expressions) {
  const struct {
    const char* pattern;
    const char* expression;
  } cases[] = {
      {"*.sock", R"((?:.*\.sock)$)"},
      {"hobbard_????????.json", R"((?:hobbard_........\.json)$)"},
      {"**", R"((?:.*.*)$)"},
      {"[!a]bc", R"((?:[^a]bc)$)"},
      {"[ab", R"((?:\[ab)$)"},
      {"[]a]", R"((?:[\]a])$)"},
      {"[!]", R"((?:\[!\])$)"},
      {"[a-c]", R"((?:[a-c])$)"},
      {"[z-a]", R"((?:(?!))$)"},
      {"[!z-a]", R"((?:.)$)"},
      {"[^\\[-]", R"((?:[\^\\\[\-])$)"},
      {"a b(c)", R"((?:a\ b\(c\))$)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(glob::translate(c.pattern), c.expression) << c.pattern;
  }
}

TEST(glob_translate, matches_names) {
  const struct {
    const char* pattern;
    std::string name;
    bool matches;
  } cases[] = {
      {"*.sock", "a.sock", true},
      {"*.sock", ".x.sock", true},
      {"*.sock", "a.sockx", false},
      {"*", "", true},
      {"*", "a\nb", false},
      {"*", "\n", false}, // a lone line break is not a match for everything
      {"x", "\r", false},
      {"?", "\xc3\xa9", false}, // one byte, not one character
      {"??", "\xc3\xa9", true},
      {"hobbard_????????.json", "hobbard_20240102.json", true},
      {"hobbard_????????.json", "hobbard_2024010.json", false},
      {"hobbard_????????.json", "hobbard_202401021.json", false},
      {"[!a]bc", "xbc", true},
      {"[!a]bc", "abc", false},
      {"[ab", "[ab", true},
      {"[ab", "a", false},
      {"[]]", "]", true},
      {"[a-c]", "b", true},
      {"[a-c]", "d", false},
      {"[a-]", "-", true},
      {"[^]", "^", true},
      {"[^]", "a", false},
      {"[\\]", "\\", true},
      {"[z-a]", "m", false},
      {"[!z-a]", "m", true},
      {"A*", "abc", false},
      {"a.b", "axb", false},
      {"a+", "aa", false},
      {"a+", "a+", true},
      {"{a,b}", "{a,b}", true},
      {"$x^|&~#", "$x^|&~#", true},
      {"tab\there", "tab\there", true},
      {"[!a]", "\n", true},
      {"[!]x", "\r", false},
      {"*[!b]c*", "ac\nc", true}, // the first star has to take more once the last cannot
      {"*a*b", "xaxbxb", true},
      {"*a*b", "xaxbx", false},
      {"a*a*a*b", "aaaa", false},
      {"[\x80-\xff]", "\xc3", true}, // bytes compare as the platform's (signed) char
      {"[\x01-\xff]", "\x41", false},
  };
  // The linear matcher and the expression agree on every name.
  for (const auto& c : cases) {
    const std::regex expression(glob::translate(c.pattern), std::regex::ECMAScript);
    EXPECT_EQ(std::regex_match(c.name, expression), c.matches) << c.pattern << " vs " << c.name;
    EXPECT_EQ(glob::name_pattern(c.pattern).matches(c.name), c.matches) << c.pattern << " vs " << c.name;
  }
}

TEST(glob_name_pattern, many_stars_against_a_long_name_answer_at_once) {
  const std::string name(60, 'a');
  hbd_test::watchdog watchdog("matching many stars");
  for (const auto* pattern : {"*a*a*a*a*a*a*b", "*a*a*a*a*a*a*a*a*b", "*?*?*?*?*?*?*?*?*?*?*[b]"}) {
    EXPECT_FALSE(glob::name_pattern(pattern).matches(name)) << pattern;
    EXPECT_TRUE(glob::name_pattern(pattern).matches(name + "b")) << pattern;
  }
  // Listing a directory matches the same way.
  hbd_test::temporary_directory directory;
  touch(directory.path() / name);
  touch(directory.path() / (name + "b"));
  EXPECT_EQ(strings(glob::glob((directory.path() / "*a*a*a*a*a*a*a*a*b").string())),
            std::vector<std::string>{(directory.path() / (name + "b")).string()});
}

TEST(glob_helpers, has_magic_is_hidden_and_string_replace) {
  EXPECT_TRUE(glob::has_magic("/d/*.sock"));
  EXPECT_TRUE(glob::has_magic("a?"));
  EXPECT_TRUE(glob::has_magic("/x[/y"));
  EXPECT_FALSE(glob::has_magic("/plain/path]{}"));

  const struct {
    std::string path;
    bool hidden;
  } cases[] = {
      {".config", true}, {".DS_Store", true}, {"/a/b/.x", true},  {"a/.x//", true}, {".x.sock", false},
      {".a.b", false},   {"..x", false},      {".", false},       {"..", false},    {"", false},
      {"/", false},      {"/.x/y", false},    {"/a\nb/.x", true}, {".a\nb", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(glob::is_hidden(c.path), c.hidden) << c.path;
  }

  // Deep paths used to take exponential time; now they are a plain scan.
  std::string deep;
  for (int i = 0; i < 64; ++i) {
    deep += "component/";
  }
  EXPECT_TRUE(glob::is_hidden(deep + ".hidden"));
  EXPECT_FALSE(glob::is_hidden(deep + "visible.x"));

  std::string text = "a-b-c";
  glob::string_replace(text, "-", "--");
  EXPECT_EQ(text, "a--b-c");
  glob::string_replace(text, "", ">");
  EXPECT_EQ(text, ">a--b-c");
  glob::string_replace(text, "zz", "y");
  EXPECT_EQ(text, ">a--b-c");
}

class glob_directory : public testing::Test {
protected:
  hbd_test::temporary_directory temporary;
  fs::path root() const { return temporary.path(); }
  std::vector<std::string> run(const fs::path& pattern) const { return strings(glob::glob(pattern.string())); }
};

TEST_F(glob_directory, star_keeps_directory_order_and_skips_hidden_names) {
  for (const char* name : {"a.sock", "b.txt", ".x.sock", ".y", "c.sock"}) {
    touch(root() / name);
  }
  std::vector<std::string> expected;
  for (const auto& entry : glob::iter_directory(root(), false)) {
    const auto name = entry.filename().string();
    if (name == "a.sock" || name == ".x.sock" || name == "c.sock") {
      expected.push_back((root() / name).string());
    }
  }
  EXPECT_EQ(expected.size(), 3u);
  EXPECT_EQ(run(root() / "*.sock"), expected);
  // A leading dot in the pattern does not bring hidden names back.
  EXPECT_EQ(run(root() / ".*"), std::vector<std::string>{(root() / ".x.sock").string()});
}

TEST_F(glob_directory, literal_paths) {
  touch(root() / ".hidden");
  fs::create_directory(root() / "dir");
  EXPECT_EQ(run(root() / ".hidden"), std::vector<std::string>{(root() / ".hidden").string()});
  EXPECT_EQ(run(root() / "missing"), std::vector<std::string>{});
  EXPECT_EQ(run(root().string() + "/dir/"), std::vector<std::string>{root().string() + "/dir/"});
  EXPECT_EQ(run(root().string() + "/.hidden/"), std::vector<std::string>{}); // not a directory

  // Status failures other than absence count as absent instead of throwing.
  fs::create_symlink("loop", root() / "loop");
  EXPECT_EQ(run(root() / "loop" / "x"), std::vector<std::string>{});
  EXPECT_EQ(run(root() / std::string(300, 'n')), std::vector<std::string>{});
  EXPECT_EQ(run(root() / "loop" / "*"), std::vector<std::string>{});
  EXPECT_EQ(run(root() / "*" / std::string(300, 'n')), std::vector<std::string>{});
}

TEST_F(glob_directory, question_marks_and_brackets) {
  for (const char* name :
       {"hobbard_20240102.json", "hobbard_2024010.json", "hobbard_202401021.json", "xbc", "abc", "[ab", "a"}) {
    touch(root() / name);
  }
  EXPECT_EQ(run(root() / "hobbard_????????.json"),
            std::vector<std::string>{(root() / "hobbard_20240102.json").string()});
  EXPECT_EQ(run(root() / "[!a]bc"), std::vector<std::string>{(root() / "xbc").string()});
  EXPECT_EQ(run(root() / "[ab"), std::vector<std::string>{(root() / "[ab").string()});
}

TEST_F(glob_directory, wildcard_directories) {
  touch(root() / "a/x/f");
  touch(root() / "a/y/g");
  touch(root() / "a/z/f");
  touch(root() / "a/.h/f");
  touch(root() / "a/file");
  EXPECT_EQ(sorted(run(root() / "a/*/f")),
            (std::vector<std::string>{(root() / "a/x/f").string(), (root() / "a/z/f").string()}));
  EXPECT_EQ(
      sorted(run(root().string() + "/a/*/")),
      (std::vector<std::string>{root().string() + "/a/x/", root().string() + "/a/y/", root().string() + "/a/z/"}));
  EXPECT_EQ(sorted(run(root() / "*/?/[fg]")),
            (std::vector<std::string>{(root() / "a/x/f").string(), (root() / "a/y/g").string(),
                                      (root() / "a/z/f").string()}));
  EXPECT_EQ(run(root() / "missing/*.sock"), std::vector<std::string>{});
  EXPECT_EQ(run(root() / "missing/*/f"), std::vector<std::string>{});
  EXPECT_EQ(run(root() / "a/file/*"), std::vector<std::string>{});
}

TEST_F(glob_directory, relative_patterns_yield_relative_paths) {
  touch(root() / "one.sock");
  touch(root() / "sub/two.sock");
  const working_directory_guard cwd(root());
  EXPECT_EQ(run("*.sock"), std::vector<std::string>{"one.sock"});
  EXPECT_EQ(run("*/*.sock"), std::vector<std::string>{"sub/two.sock"});
  EXPECT_EQ(run("sub/*.sock"), std::vector<std::string>{"sub/two.sock"});
}

TEST_F(glob_directory, recursive_double_star) {
  touch(root() / "r/a.json");
  touch(root() / "r/d/b.json");
  touch(root() / "r/d/e/c.json");
  touch(root() / "r/.h/hidden.json");
  touch(root() / "r/d/notes.txt");
  fs::create_directory_symlink(root() / "r", root() / "r/d/cycle");
  EXPECT_EQ(sorted(strings(glob::glob((root() / "r/**/*.json").string(), true))),
            (std::vector<std::string>{(root() / "r/a.json").string(), (root() / "r/d/b.json").string(),
                                      (root() / "r/d/cycle/a.json").string(), (root() / "r/d/e/c.json").string()}));
  // Without the flag "**" is one level, like "*".
  EXPECT_EQ(sorted(run(root() / "r/**/*.json")), (std::vector<std::string>{(root() / "r/d/b.json").string()}));
}

TEST_F(glob_directory, home_expansion) {
  const hbd_test::environment_guard home_guard("HOME");
  touch(root() / "home/s.sock");
  touch(root() / "~user/s.sock");
  setenv("HOME", (root() / "home").c_str(), 1);
  EXPECT_EQ(run("~/*.sock"), std::vector<std::string>{(root() / "home/s.sock").string()});
  EXPECT_EQ(run("~"), std::vector<std::string>{(root() / "home").string()});

  // Another user's home is not looked up; the name stays literal.
  const working_directory_guard cwd(root());
  EXPECT_EQ(run("~user/*.sock"), std::vector<std::string>{"~user/s.sock"});

  unsetenv("HOME");
  try {
    glob::glob("~/*.sock");
    FAIL() << "no exception";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "error: Unable to expand `~` - HOME environment variable not set.");
  }
  EXPECT_THROW(glob::glob("~"), std::invalid_argument);
  EXPECT_EQ(run("~user/*.sock"), std::vector<std::string>{"~user/s.sock"});
}

TEST_F(glob_directory, runs_on_several_threads_at_once) {
  for (const char* name : {"a.sock", "b.sock", "c.txt"}) {
    touch(root() / name);
  }
  const auto expected = sorted(run(root() / "[ab].sock"));
  ASSERT_EQ(expected.size(), 2u);
  std::vector<std::vector<std::string>> results(4);
  std::vector<std::thread> threads;
  for (auto& result : results) {
    threads.emplace_back([&] { result = sorted(run(root() / "[ab].sock")); });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  for (const auto& result : results) {
    EXPECT_EQ(result, expected);
  }
}
