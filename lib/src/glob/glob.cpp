#include "glob/glob.hpp"

#include <array>
#include <cstdlib>
#include <regex>
#include <stdexcept>
#include <system_error>

namespace glob {

namespace {

namespace fs = std::filesystem;

// Bytes that mean something to an ECMAScript expression (or might one day), each escaped by a backslash.
constexpr std::string_view special_characters = "()[]{}?*+-|^$\\.&~# \t\n\r\v\f";

const std::array<std::string, 256>& special_characters_map() {
  // Function-local static: built once, safely, by whichever thread comes first.
  static const std::array<std::string, 256> map = [] {
    std::array<std::string, 256> result;
    for (char c : special_characters) {
      result[static_cast<unsigned char>(c)] = std::string{'\\', c};
    }
    return result;
  }();
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
std::string translate_class(std::string_view text) {
  bool negated = false;
  if (!text.empty() && text.front() == '!') {
    negated = true;
    text.remove_prefix(1);
  }
  std::string members;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 2 < text.size() && text[i + 1] == '-') {
      // The matcher compares bytes as signed chars; keep its order so a range never fails to compile.
      const char low = text[i];
      const char high = text[i + 2];
      if (low <= high) {
        append_class_member(members, low);
        members += '-';
        append_class_member(members, high);
      }
      i += 2;
    } else {
      append_class_member(members, text[i]);
    }
  }
  if (members.empty()) {
    return negated ? "." : "(?!)";
  }
  return (negated ? "[^" : "[") + members + "]";
}

bool exists_quietly(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool is_directory_quietly(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
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

std::vector<fs::path> join_all(const std::vector<fs::path>& directories,
                               const std::string& basename,
                               bool recursive,
                               bool dironly) {
  std::vector<fs::path> result;
  for (const auto& directory : directories) {
    std::vector<fs::path> names;
    if (recursive && basename == "**") {
      names = glob2(directory, dironly);
    } else if (has_magic(basename)) {
      names = glob1(directory, basename, dironly);
    } else {
      names = glob0(directory, basename, dironly);
    }
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
  if (dirname != path && has_magic(dirname.native())) {
    directories = glob(dirname.string(), recursive, true);
  } else {
    directories.push_back(dirname);
  }
  return join_all(directories, basename, recursive, dironly);
}

bool has_magic(std::string_view text) {
  return text.find_first_of("*?[") != std::string_view::npos;
}

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
      std::size_t j = i;
      if (j < n && pattern[j] == '!') {
        ++j;
      }
      if (j < n && pattern[j] == ']') {
        ++j;
      }
      const std::size_t close = pattern.find(']', j);
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
  const auto slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
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
  const auto entries = iter_directory(directory, dironly);
  if (entries.empty()) {
    return {};
  }
  const std::regex expression(translate(pattern), std::regex::ECMAScript);
  std::vector<fs::path> result;
  for (const auto& entry : entries) {
    if (is_hidden(entry.native())) {
      continue;
    }
    fs::path name = entry.filename();
    if (std::regex_match(name.native(), expression)) {
      result.push_back(std::move(name));
    }
  }
  return result;
}

std::vector<fs::path> iter_directory(const fs::path& directory, bool dironly) {
  std::vector<fs::path> result;
  const fs::path base = directory.empty() ? fs::path(".") : directory;
  std::error_code error;
  fs::directory_iterator it(base, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code status_error;
    if (dironly && !it->is_directory(status_error)) {
      continue;
    }
    result.push_back(directory.empty() ? it->path().filename() : it->path());
  }
  return result;
}

void string_replace(std::string& text, std::string_view search, std::string_view replacement) {
  const auto position = text.find(search);
  if (position != std::string::npos) {
    text.replace(position, search.size(), replacement);
  }
}

} // namespace glob
