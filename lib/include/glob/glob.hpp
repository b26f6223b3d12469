#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glob {

// Paths that exist and match a shell-style pattern ("*", "?", "[...]"), one path level at a time,
// in directory order (not sorted). A leading "~" or "~/" expands to $HOME; "~user" is kept as it is.
// Throws std::invalid_argument when "~" must be expanded and HOME is not set.
// With recursive, a "**" component matches any number of directory levels (none included).
std::vector<std::filesystem::path> glob(const std::string& pathname, bool recursive = false, bool dironly = false);

// A pattern for one name, matched in time proportional to the name's length times the pattern's
// (no backtracking), with exactly the meaning of translate's expression matched against a whole name.
class name_pattern final {
public:
  explicit name_pattern(std::string_view pattern);

  bool matches(std::string_view name) const;

private:
  struct token {
    enum class kind { byte, any_byte, any_run, byte_set };
    kind what;
    char byte;
    bool negated;
    // Inclusive ranges of a set, compared as the platform's char.
    std::vector<std::pair<char, char>> ranges;
  };

  static bool one_byte_matches(const token& t, char c);

  std::vector<token> tokens_;
};

// True when the text holds "*", "?" or "[".
bool has_magic(std::string_view text);

// The ECMAScript expression that matches exactly the names the pattern matches.
std::string translate(std::string_view pattern);

// True when the last component (trailing slashes ignored) is "." followed by one or more
// characters none of which is "." or "/".
bool is_hidden(std::string_view path);

// The literal name alone when directory/name exists; for an empty name, the empty name alone when
// the directory is an existing directory.
std::vector<std::filesystem::path> glob0(const std::filesystem::path& directory, const std::string& name, bool dironly);

// The names of the directory's visible entries that match the pattern, in listing order.
std::vector<std::filesystem::path> glob1(const std::filesystem::path& directory, const std::string& pattern,
                                         bool dironly);

// The entries of a directory (the current one when empty); an unreadable or missing directory
// yields none, and a listing error keeps what was listed so far.
std::vector<std::filesystem::path> iter_directory(const std::filesystem::path& directory, bool dironly);

// Replaces the first occurrence of search; an empty search inserts the replacement at the front.
void string_replace(std::string& text, std::string_view search, std::string_view replacement);

} // namespace glob
