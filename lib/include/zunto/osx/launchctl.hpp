#pragma once

#include <cstdint>
#include <string>
#include <utility>

// Command lines of the service manager's tool, run through the command runner. Exit statuses are
// ignored: none of these report failure.
namespace zunto::osx::launchctl {

namespace details {

// One string under its own type, so a name cannot stand where a path is expected.
template <typename tag>
class tagged_string final {
public:
  explicit tagged_string(std::string value) : value_(std::move(value)) {}

  const std::string& get() const { return value_; }

  bool operator==(const tagged_string&) const = default;

private:
  std::string value_;
};

} // namespace details

// A launchd domain, always ending in "/" (gui/501/).
using domain_target = details::tagged_string<struct domain_target_tag>;
// A launchd label.
using service_name = details::tagged_string<struct service_name_tag>;
// The path of a launch agent's property list.
using service_path = details::tagged_string<struct service_path_tag>;

enum class kickstart_flags : std::uint8_t {
  none = 0,
  kill = 1 << 0,
  background = 1 << 1,
};

constexpr kickstart_flags operator|(kickstart_flags left, kickstart_flags right) {
  return static_cast<kickstart_flags>(static_cast<std::uint8_t>(left) | static_cast<std::uint8_t>(right));
}

constexpr bool has_flag(kickstart_flags flags, kickstart_flags flag) {
  return (static_cast<std::uint8_t>(flags) & static_cast<std::uint8_t>(flag)) != 0;
}

// "gui/" + uid + "/".
domain_target make_gui_domain_target(std::uint32_t uid);

// enable the service, bootstrap its property list, enable again.
void enable(const domain_target& domain, const service_name& name, const service_path& path);
// bootout the property list, then disable the service.
void disable(const domain_target& domain, const service_name& name, const service_path& path);
void bootstrap(const domain_target& domain, const service_path& path);
void bootout(const domain_target& domain, const service_path& path);
// With the background flag the shell returns at once.
void kickstart(const domain_target& domain, const service_name& name, kickstart_flags flags);

} // namespace zunto::osx::launchctl
