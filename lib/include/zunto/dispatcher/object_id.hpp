#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_set>

namespace zunto::dispatcher {

// The identity under which an object queues jobs. The value is unique among the ids alive in the
// process and is given back when the id is destroyed.
class object_id final {
public:
  class manager final {
  public:
    manager() = delete;

    // Throws std::runtime_error when every value is in use.
    static std::uint64_t make();
    static void erase(std::uint64_t value);

  private:
    static std::mutex& mutex();
    static std::unordered_set<std::uint64_t>& set();
    static std::uint64_t& last_value();
  };

  object_id();
  ~object_id();

  object_id(const object_id&) = delete;
  object_id& operator=(const object_id&) = delete;

  std::uint64_t get() const { return value_; }

private:
  std::uint64_t value_;
};

} // namespace zunto::dispatcher
