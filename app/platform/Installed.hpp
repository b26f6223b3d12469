#pragma once

#include <memory>
#include <utility>

namespace grellan {

// The process-wide instance of a replaceable service: tests install fakes, null brings back the
// default, made on first use.
template <typename Service>
class Installed final {
public:
  template <typename MakeDefault>
  static Service& get(MakeDefault makeDefault) {
    auto& current = instance();
    if (!current) {
      current = makeDefault();
    }
    return *current;
  }

  static std::unique_ptr<Service> replace(std::unique_ptr<Service> replacement) {
    return std::exchange(instance(), std::move(replacement));
  }

private:
  static std::unique_ptr<Service>& instance() {
    static std::unique_ptr<Service> current;
    return current;
  }
};

} // namespace grellan
