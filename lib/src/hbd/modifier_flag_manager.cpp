#include "hbd/modifier_flag_manager.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace hbd {

namespace {

using record = modifier_flag_manager::active_modifier_flag;
using record_type = record::type;

std::optional<record_type> partner(record_type type) {
  switch (type) {
    case record_type::increase:
      return record_type::decrease;
    case record_type::decrease:
      return record_type::increase;
    case record_type::increase_lock:
      return record_type::decrease_lock;
    case record_type::decrease_lock:
      return record_type::increase_lock;
    case record_type::increase_led_lock:
      return record_type::decrease_led_lock;
    case record_type::decrease_led_lock:
      return record_type::increase_led_lock;
    case record_type::increase_sticky:
      return record_type::decrease_sticky;
    case record_type::decrease_sticky:
      return record_type::increase_sticky;
  }
  return std::nullopt;
}

bool sticky(record_type type) { return type == record_type::increase_sticky || type == record_type::decrease_sticky; }

} // namespace

bool record::is_paired(const active_modifier_flag& other) const {
  return partner(type_) == other.type_ && modifier_flag_ == other.modifier_flag_ && device_id_ == other.device_id_;
}

void modifier_flag_manager::push_back_active_modifier_flag(const active_modifier_flag& record) {
  switch (record.get_type()) {
    case record_type::increase:
    case record_type::decrease:
    case record_type::increase_sticky:
    case record_type::decrease_sticky:
      active_modifier_flags_.push_back(record);
      erase_pairs();
      return;
    case record_type::increase_lock:
    case record_type::decrease_lock:
    case record_type::increase_led_lock:
      std::erase(active_modifier_flags_, record);
      active_modifier_flags_.push_back(record);
      erase_pairs();
      return;
    case record_type::decrease_led_lock:
      std::erase_if(active_modifier_flags_, [&](const auto& existing) { return existing.is_paired(record); });
      return;
  }
}

void modifier_flag_manager::erase_all_sticky_modifier_flags() {
  std::erase_if(active_modifier_flags_, [](const auto& existing) { return sticky(existing.get_type()); });
}

void modifier_flag_manager::erase_pairs() {
  for (;;) {
    bool erased = false;
    for (std::size_t i = 0; i < active_modifier_flags_.size() && !erased; ++i) {
      for (std::size_t j = i + 1; j < active_modifier_flags_.size(); ++j) {
        if (active_modifier_flags_[i].is_paired(active_modifier_flags_[j])) {
          active_modifier_flags_.erase(active_modifier_flags_.begin() + static_cast<std::ptrdiff_t>(j));
          active_modifier_flags_.erase(active_modifier_flags_.begin() + static_cast<std::ptrdiff_t>(i));
          erased = true;
          break;
        }
      }
    }
    if (!erased) {
      return;
    }
  }
}

bool modifier_flag_manager::is_pressed(modifier_flag flag) const {
  int key_count = 0;
  bool key_records = false;
  int led_count = 0;
  for (const auto& existing : active_modifier_flags_) {
    if (existing.get_modifier_flag() != flag) {
      continue;
    }
    switch (existing.get_type()) {
      case record_type::increase:
      case record_type::increase_lock:
      case record_type::increase_sticky:
        key_records = true;
        ++key_count;
        break;
      case record_type::decrease:
      case record_type::decrease_lock:
      case record_type::decrease_sticky:
        key_records = true;
        --key_count;
        break;
      case record_type::increase_led_lock:
        ++led_count;
        break;
      case record_type::decrease_led_lock:
        --led_count;
        break;
    }
  }
  return key_records ? key_count > 0 : led_count > 0;
}

} // namespace hbd
