#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/options.hpp"
#include "hbd/pointing_motion.hpp"
#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"
#include "zunto/dispatcher/time_point.hpp"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

namespace hbd::manipulator::manipulators::mouse_motion_to_scroll {

// Collects pointer motion in short chunks, locks it to one direction, scales it and emits whole
// wheel steps, with momentum after the motion stops. All state lives on the dispatcher's thread.
class counter final : private zunto::dispatcher::extra::dispatcher_client {
public:
  counter(std::weak_ptr<zunto::dispatcher::dispatcher> weak_dispatcher,
          const core_configuration::details::complex_modifications_parameters& parameters, const options& options);
  ~counter() override;

  counter(const counter&) = delete;
  counter& operator=(const counter&) = delete;

  // Both only queue work, from any thread.
  void update(const pointing_motion& motion, zunto::dispatcher::time_point time);
  void async_reset();

  // Emitted on the dispatcher's thread with the wheel steps.
  nod::signal_type<nod::multithread_policy, void(const pointing_motion&)> scrolled;

private:
  enum class direction : std::uint32_t {
    none,
    vertical,
    horizontal,
  };

  struct counter_entry {
    std::int32_t x;
    std::int32_t y;
    zunto::dispatcher::time_point time;
  };

  using chunk_values = std::deque<std::pair<zunto::dispatcher::time_point, std::int32_t>>;

  void tick();
  bool process_entries();
  bool scroll();
  void erase_chunk_accumulated_values(chunk_values& values, zunto::dispatcher::time_point first) const;
  std::int32_t accumulate_abs_chunk_accumulated_values(const chunk_values& values) const;
  std::int32_t convert(std::int32_t& value) const;

  core_configuration::details::complex_modifications_parameters parameters_;
  options options_;
  std::deque<counter_entry> entries_;
  std::optional<zunto::dispatcher::time_point> last_scroll_time_;
  direction direction_ = direction::none;
  chunk_values x_chunk_values_;
  chunk_values y_chunk_values_;
  std::int32_t accumulated_x_ = 0;
  std::int32_t accumulated_y_ = 0;
  std::int32_t wheel_remainder_x_ = 0;
  std::int32_t wheel_remainder_y_ = 0;
  std::int32_t dynamic_threshold_ = 0;
  std::int32_t scroll_count_ = 0;
  std::int32_t wait_count_ = 0;
  zunto::dispatcher::extra::timer timer_;
};

} // namespace hbd::manipulator::manipulators::mouse_motion_to_scroll
