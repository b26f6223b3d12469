#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace mapbox::eternal::impl {

constexpr std::uint64_t fnv1a_hash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// A name-to-value table laid out by the compiler: entries ordered by the name's hash, then by the
// name, and searched by exact name without allocating. Built only in constant evaluation (see
// make_map), so a repeated name stops the build.
template <typename Value, std::size_t N>
class map final {
public:
  struct element {
    std::uint64_t hash;
    std::string_view name;
    Value value;
  };

  consteval explicit map(const std::array<std::pair<std::string_view, Value>, N>& pairs) {
    for (std::size_t i = 0; i < N; ++i) {
      elements_[i] = element{fnv1a_hash(pairs[i].first), pairs[i].first, pairs[i].second};
    }
    std::sort(elements_.begin(), elements_.end(), less);
    for (std::size_t i = 1; i < N; ++i) {
      if (elements_[i - 1].name == elements_[i].name) {
        throw std::logic_error("a name appears twice in one table");
      }
    }
  }

  constexpr std::optional<Value> find(std::string_view name) const {
    const element key{fnv1a_hash(name), name, Value{}};
    const auto it = std::lower_bound(elements_.begin(), elements_.end(), key, less);
    if (it != elements_.end() && it->hash == key.hash && it->name == name) {
      return it->value;
    }
    return std::nullopt;
  }

  constexpr bool contains(std::string_view name) const { return find(name).has_value(); }
  constexpr std::size_t size() const { return N; }

private:
  static constexpr bool less(const element& a, const element& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.name < b.name;
  }

  std::array<element, N> elements_{};
};

template <typename Value, std::size_t N>
consteval map<Value, N> make_map(const std::array<std::pair<std::string_view, Value>, N>& pairs) {
  return map<Value, N>(pairs);
}

} // namespace mapbox::eternal::impl
