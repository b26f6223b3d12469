#include "glob/glob.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace glob {

namespace {

namespace fs = std::filesystem;

// Bytes that mean something to an ECMAScript expression (or might one day), each escaped by a backslash.
constexpr std::string_view special_characters = "()[]{}?*+-|^$\\.&~# \t\n\r\v\f";

const std::array<std::string, 256>& special_characters_map() {
  // Function-local static: built once, safely, by whichever thread comes first. Never destroyed:
  // a member left running (the grabber client looking for its socket) may match while the process exits.
  static const auto& map = *new std::array<std::string, 256>([] {
    std::array<std::string, 256> result;
    for (char c : special_characters) {
      result[static_cast<unsigned char>(c)] = std::string{'\\', c};
    }
    return result;
  }());
  return map;
}

void append_literal(std::string& out, char c) {
  const auto& escaped = special_characters_map()[static_cast<unsigned char>(c)];
  if (escaped.empty()) {
    out += c;
  } else {
    out += escaped;
  }
}

void append_class_member(std::string& out, char c) {
  switch (c) {
    case '\\':
    case ']':
    case '[':
    case '^':
    case '-':
      out += '\\';
      break;
    default:
      break;
  }
  out += c;
}

// The members of a bracket expression (the text between "[" and "]") with their plain meaning:
// single bytes and ranges; "!" first negates. A range whose ends are reversed holds nothing.
struct bracket_member {
  char low;
  char high;
  bool range;
};

struct bracket_expression {
  bool negated = false;
  std::vector<bracket_member> members;
};

bracket_expression parse_bracket(std::string_view text) {
  bracket_expression result;
  if (!text.empty() && text.front() == '!') {
    result.negated = true;
    text.remove_prefix(1);
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 2 < text.size() && text[i + 1] == '-') {
      // Compared as signed chars, as the expression matcher does.
      if (text[i] <= text[i + 2]) {
        result.members.push_back({text[i], text[i + 2], true});
      }
      i += 2;
    } else {
      result.members.push_back({text[i], text[i], false});
    }
  }
  return result;
}

// For a "[" just before index i: the index of the "]" that closes it ("!" and then "]" right after
// the "[" are members), or npos when nothing closes it and the "[" stands for itself.
std::size_t bracket_end(std::string_view pattern, std::size_t i) {
  std::size_t j = i;
  if (j < pattern.size() && pattern[j] == '!') {
    ++j;
  }
  if (j < pattern.size() && pattern[j] == ']') {
    ++j;
  }
  return pattern.find(']', j);
}

std::string translate_class(std::string_view text) {
  const auto bracket = parse_bracket(text);
  std::string members;
  for (const auto& member : bracket.members) {
    append_class_member(members, member.low);
    if (member.range) {
      members += '-';
      append_class_member(members, member.high);
    }
  }
  if (members.empty()) {
    return bracket.negated ? "." : "(?!)";
  }
  return (bracket.negated ? "[^" : "[") + members + "]";
}

bool line_break(char c) { return c == '\n' || c == '\r'; }

bool exists_quietly(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool is_directory_quietly(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// The text after the last "/" (the whole text when there is none).
std::string_view last_component(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Calls visit with each entry of a directory (the current one when empty), following directory
// symbolic links; an unreadable or missing directory has none, and a listing error ends the listing.
template <typename Visit>
void for_each_entry(const fs::path& directory, bool dironly, Visit visit) {
  const fs::path base = directory.empty() ? fs::path(".") : directory;
  std::error_code error;
  fs::directory_iterator it(base, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code status_error;
    if (dironly && !it->is_directory(status_error)) {
      continue;
    }
    visit(*it);
  }
}

std::string expand_home(const std::string& pathname) {
  if (pathname.empty() || pathname.front() != '~') {
    return pathname;
  }
  // Other users' homes are not looked up: "~user/x" stays a literal relative path.
  if (pathname.size() > 1 && pathname[1] != '/') {
    return pathname;
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    throw std::invalid_argument("error: Unable to expand `~` - HOME environment variable not set.");
  }
  return home + pathname.substr(1);
}

// "" and every visible path below the directory, relative to it; symbolic links to directories are
// listed but not entered, so link cycles end.
std::vector<fs::path> glob2(const fs::path& directory, bool dironly) {
  std::vector<fs::path> result{fs::path{}};
  const fs::path base = directory.empty() ? fs::path(".") : directory;
  std::error_code error;
  fs::recursive_directory_iterator it(base, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path& entry = it->path();
    if (is_hidden(entry.native())) {
      it.disable_recursion_pending();
      continue;
    }
    std::error_code status_error;
    if (dironly && !it->is_directory(status_error)) {
      continue;
    }
    result.push_back(entry.lexically_relative(base));
  }
  return result;
}

// Calls take(entry, name) with each visible entry whose name matches the pattern, in listing order.
// Names are matched where the listing holds them: a path per entry would copy every component of
// a deep directory.
template <typename Take>
void for_each_match(const fs::path& directory, const std::string& pattern, bool dironly, Take take) {
  const name_pattern matcher(pattern);
  for_each_entry(directory, dironly, [&](const fs::directory_entry& entry) {
    const std::string_view name = last_component(entry.path().native());
    if (!is_hidden(name) && matcher.matches(name)) {
      take(entry, name);
    }
  });
}

std::vector<fs::path> join_all(const std::vector<fs::path>& directories, const std::string& basename, bool recursive,
                               bool dironly) {
  std::vector<fs::path> result;
  for (const auto& directory : directories) {
    if (!(recursive && basename == "**") && has_magic(basename)) {
      // The listing's own path of an entry is the directory joined with its name.
      for_each_match(directory, basename, dironly, [&](const fs::directory_entry& entry, std::string_view name) {
        result.push_back(directory.empty() ? fs::path(name) : entry.path());
      });
      continue;
    }
    const auto names = recursive && basename == "**" ? glob2(directory, dironly) : glob0(directory, basename, dironly);
    for (const auto& name : names) {
      result.push_back(directory / name);
    }
  }
  return result;
}

} // namespace

std::vector<fs::path> glob(const std::string& pathname, bool recursive, bool dironly) {
  const fs::path path = expand_home(pathname);
  const fs::path dirname = path.parent_path();
  const std::string basename = path.filename().string();

  if (!has_magic(pathname)) {
    if (dironly) {
      return is_directory_quietly(path) ? std::vector<fs::path>{path} : std::vector<fs::path>{};
    }
    if (!basename.empty()) {
      return exists_quietly(path) ? std::vector<fs::path>{path} : std::vector<fs::path>{};
    }
    return is_directory_quietly(dirname) ? std::vector<fs::path>{path} : std::vector<fs::path>{};
  }

  if (dirname.empty()) {
    if (recursive && basename == "**") {
      return glob2(fs::path{}, dironly);
    }
    return glob1(fs::path{}, basename, dironly);
  }

  std::vector<fs::path> directories;
  if (has_magic(dirname.native()) && dirname != path) {
    directories = glob(dirname.string(), recursive, true);
  } else {
    directories.push_back(dirname);
  }
  return join_all(directories, basename, recursive, dironly);
}

name_pattern::name_pattern(std::string_view pattern) {
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i++];
    if (c == '*') {
      tokens_.push_back({token::kind::any_run, '\0', false, {}});
    } else if (c == '?') {
      tokens_.push_back({token::kind::any_byte, '\0', false, {}});
    } else if (const std::size_t close = c == '[' ? bracket_end(pattern, i) : std::string_view::npos;
               close != std::string_view::npos) {
      const auto bracket = parse_bracket(pattern.substr(i, close - i));
      i = close + 1;
      if (bracket.negated && bracket.members.empty()) {
        // Nothing excluded: any byte, with the line breaks that "?" leaves out too.
        tokens_.push_back({token::kind::any_byte, '\0', false, {}});
        continue;
      }
      token set{token::kind::byte_set, '\0', bracket.negated, {}};
      for (const auto& member : bracket.members) {
        set.ranges.emplace_back(member.low, member.high);
      }
      tokens_.push_back(std::move(set));
    } else {
      tokens_.push_back({token::kind::byte, c, false, {}});
    }
  }
}

bool name_pattern::one_byte_matches(const token& t, char c) {
  switch (t.what) {
    case token::kind::byte:
      return c == t.byte;
    case token::kind::any_byte:
    case token::kind::any_run:
      return !line_break(c);
    case token::kind::byte_set:
      break;
  }
  const bool member = std::any_of(t.ranges.begin(), t.ranges.end(),
                                  [c](const auto& range) { return range.first <= c && c <= range.second; });
  return member != t.negated;
}

bool name_pattern::matches(std::string_view name) const {
  // Every token position the name so far can have reached, walked forward a byte at a time.
  const std::size_t count = tokens_.size();
  std::vector<char> current(count + 1, 0);
  std::vector<char> next(count + 1, 0);
  // A run may match nothing, so reaching it also reaches what follows it.
  const auto close_over_runs = [&](std::vector<char>& states) {
    for (std::size_t k = 0; k < count; ++k) {
      if (states[k] != 0 && tokens_[k].what == token::kind::any_run) {
        states[k + 1] = 1;
      }
    }
  };
  current[0] = 1;
  close_over_runs(current);
  for (const char c : name) {
    std::fill(next.begin(), next.end(), 0);
    bool any = false;
    for (std::size_t k = 0; k < count; ++k) {
      if (current[k] == 0 || !one_byte_matches(tokens_[k], c)) {
        continue;
      }
      next[tokens_[k].what == token::kind::any_run ? k : k + 1] = 1;
      any = true;
    }
    if (!any) {
      return false;
    }
    close_over_runs(next);
    current.swap(next);
  }
  return current[count] != 0;
}

bool has_magic(std::string_view text) { return text.find_first_of("*?[") != std::string_view::npos; }

std::string translate(std::string_view pattern) {
  std::string body;
  const std::size_t n = pattern.size();
  for (std::size_t i = 0; i < n;) {
    const char c = pattern[i++];
    if (c == '*') {
      body += ".*";
    } else if (c == '?') {
      body += '.';
    } else if (c == '[') {
      const std::size_t close = bracket_end(pattern, i);
      if (close == std::string_view::npos) {
        body += "\\[";
      } else {
        body += translate_class(pattern.substr(i, close - i));
        i = close + 1;
      }
    } else {
      append_literal(body, c);
    }
  }
  return "(?:" + body + ")$";
}

bool is_hidden(std::string_view path) {
  // Plain scanning: a backtracking expression over every component is exponential on deep paths.
  while (!path.empty() && path.back() == '/') {
    path.remove_suffix(1);
  }
  const std::string_view name = last_component(path);
  return name.size() >= 2 && name.front() == '.' && name.find('.', 1) == std::string_view::npos;
}

std::vector<fs::path> glob0(const fs::path& directory, const std::string& name, bool dironly) {
  if (name.empty()) {
    if (is_directory_quietly(directory)) {
      return {fs::path{}};
    }
    return {};
  }
  const fs::path joined = directory / name;
  if (dironly ? is_directory_quietly(joined) : exists_quietly(joined)) {
    return {fs::path(name)};
  }
  return {};
}

std::vector<fs::path> glob1(const fs::path& directory, const std::string& pattern, bool dironly) {
  std::vector<fs::path> result;
  for_each_match(directory, pattern, dironly,
                 [&](const fs::directory_entry&, std::string_view name) { result.emplace_back(name); });
  return result;
}

std::vector<fs::path> iter_directory(const fs::path& directory, bool dironly) {
  std::vector<fs::path> result;
  for_each_entry(directory, dironly, [&](const fs::directory_entry& entry) {
    result.push_back(directory.empty() ? entry.path().filename() : entry.path());
  });
  return result;
}

void string_replace(std::string& text, std::string_view search, std::string_view replacement) {
  const auto position = text.find(search);
  if (position != std::string::npos) {
    text.replace(position, search.size(), replacement);
  }
}

} // namespace glob
