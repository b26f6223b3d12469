#pragma once

#include "hbd/event_queue/entry.hpp"
#include "hbd/manipulator/manipulator_environment.hpp"
#include "hbd/modifier_flag_manager.hpp"
#include "hbd/pointing_button_manager.hpp"
#include "zunto/osx/chrono/absolute_time_duration.hpp"

#include <cstddef>
#include <deque>

namespace hbd::event_queue {

// Entries in time order, with what they imply: held and locked modifiers, held buttons and the
// environment that conditions test. Its users serialise access (no lock of its own).
class queue final {
public:
  queue() = default;
  explicit queue(zunto::osx::chrono::absolute_time_duration time_stamp_delay) : time_stamp_delay_(time_stamp_delay) {}

  queue(const queue&) = delete;
  queue& operator=(const queue&) = delete;

  // Appends an entry, its time stamp moved by the time-stamp delay, and applies its effects.
  void emplace_back_entry(zunto::osx::iokit_registry_entry_id::value_t device_id, const event_time_stamp& time_stamp,
                          const event& queued_event, event_type type, const event& original_event, event_origin origin,
                          state entry_state, bool lazy = false, validity entry_validity = validity::valid);
  void push_back_entry(const entry& value);

  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }
  const std::deque<entry>& get_entries() const { return entries_; }
  // Only the front leaves, so the remaining entries stay in order.
  const entry& get_front_entry() const { return entries_.front(); }
  entry& get_front_entry() { return entries_.front(); }
  void erase_front_entry() { entries_.pop_front(); }
  void clear_entries() { entries_.clear(); }

  // Among entries of one time stamp, modifier presses move ahead of other keys and modifier
  // releases after them; everything else keeps its order.
  void sort_events();
  static bool needs_swap(const entry& a, const entry& b);

  zunto::osx::chrono::absolute_time_duration get_time_stamp_delay() const { return time_stamp_delay_; }
  // Entries already queued keep their time stamps.
  void increase_time_stamp_delay(zunto::osx::chrono::absolute_time_duration value) { time_stamp_delay_ += value; }

  const modifier_flag_manager& get_modifier_flag_manager() const { return modifier_flag_manager_; }
  modifier_flag_manager& get_modifier_flag_manager() { return modifier_flag_manager_; }
  const pointing_button_manager& get_pointing_button_manager() const { return pointing_button_manager_; }
  pointing_button_manager& get_pointing_button_manager() { return pointing_button_manager_; }
  const manipulator::manipulator_environment& get_manipulator_environment() const { return manipulator_environment_; }
  manipulator::manipulator_environment& get_manipulator_environment() { return manipulator_environment_; }

private:
  // The exchange walk from index `start`; every pair before it is known to be in order.
  void sort_events_from(std::size_t start);
  void apply_effects(zunto::osx::iokit_registry_entry_id::value_t device_id, const event& queued_event, event_type type,
                     event_origin origin, validity entry_validity);

  std::deque<entry> entries_;
  modifier_flag_manager modifier_flag_manager_;
  pointing_button_manager pointing_button_manager_;
  manipulator::manipulator_environment manipulator_environment_;
  zunto::osx::chrono::absolute_time_duration time_stamp_delay_;
};

} // namespace hbd::event_queue
