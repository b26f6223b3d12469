#include "zunto/json/indented_writer.hpp"

#include "zunto/json/parse_with_depth_limit.hpp"

#include <algorithm>

namespace zunto::json {
namespace {

constexpr unsigned indent_step = 4;

} // namespace

indented_writer::indented_writer(std::string& output)
    : output_(output),
      serializer_(nlohmann::detail::output_adapter<char>(output), ' ', nlohmann::json::error_handler_t::ignore) {}

indented_writer::~indented_writer() = default;

void indented_writer::value(const nlohmann::json& json) { value(json, nesting_depth(json)); }

void indented_writer::value(const nlohmann::json& json, std::size_t depth) {
  enter(depth);
  serializer_.dump(json, true, false, indent_step, static_cast<unsigned>(level_ * indent_step));
}

void indented_writer::compact_text(std::string_view text) {
  // Compact text has no spaces between tokens, so layout goes in at brackets, commas and colons
  // outside strings; an empty array or object stays as it is.
  const auto start = level_;
  std::size_t deepest = 0;
  bool in_string = false;
  bool escaped = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      output_ += c;
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
      continue;
    }
    switch (c) {
      case '"':
        in_string = true;
        output_ += c;
        break;
      case '{':
      case '[':
        deepest = std::max(deepest, level_ - start + 1);
        output_ += c;
        if (i + 1 < text.size() && text[i + 1] == (c == '{' ? '}' : ']')) {
          output_ += text[++i];
        } else {
          output_ += '\n';
          ++level_;
          indent();
        }
        break;
      case '}':
      case ']':
        output_ += '\n';
        --level_;
        indent();
        output_ += c;
        break;
      case ',':
        output_ += ",\n";
        indent();
        break;
      case ':':
        output_ += ": ";
        break;
      default:
        output_ += c;
    }
  }
  level_ = start;
  enter(deepest);
}

void indented_writer::object(const nlohmann::json& kept, std::span<const member> members) {
  // Never destroyed: a save may run while the process exits.
  static const auto& empty = *new nlohmann::json(nlohmann::json::object());
  const auto& base = kept.is_object() ? kept : empty;
  enter(1);
  if (base.empty() && members.empty()) {
    output_ += "{}";
    return;
  }

  output_ += "{\n";
  ++level_;
  auto kept_it = base.begin();
  auto member_it = members.begin();
  bool first = true;
  const auto separate = [&] {
    if (!first) {
      output_ += ",\n";
    }
    first = false;
  };
  while (kept_it != base.end() || member_it != members.end()) {
    const bool take_member = member_it != members.end() && (kept_it == base.end() || member_it->key <= kept_it.key());
    separate();
    if (take_member) {
      // A kept member of the same name is replaced.
      if (kept_it != base.end() && member_it->key == kept_it.key()) {
        ++kept_it;
      }
      key(std::string(member_it->key));
      member_it->write(*this);
      ++member_it;
    } else {
      key(kept_it.key());
      value(*kept_it);
      ++kept_it;
    }
  }
  --level_;
  output_ += '\n';
  indent();
  output_ += '}';
}

void indented_writer::array(std::size_t count, const std::function<void(std::size_t)>& write) {
  enter(1);
  if (count == 0) {
    output_ += "[]";
    return;
  }
  output_ += "[\n";
  ++level_;
  for (std::size_t i = 0; i < count; ++i) {
    if (i != 0) {
      output_ += ",\n";
    }
    indent();
    write(i);
  }
  --level_;
  output_ += '\n';
  indent();
  output_ += ']';
}

void indented_writer::indent() { output_.append(level_ * indent_step, ' '); }

void indented_writer::key(const std::string& name) {
  indent();
  serializer_.dump(nlohmann::json(name), false, false, 0);
  output_ += ": ";
}

void indented_writer::enter(std::size_t nested) { deepest_ = std::max(deepest_, level_ + nested); }

} // namespace zunto::json
