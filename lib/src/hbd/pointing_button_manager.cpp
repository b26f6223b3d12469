#include "hbd/pointing_button_manager.hpp"

#include <algorithm>

namespace hbd {

void pointing_button_manager::push_back_active_pointing_button(const active_pointing_button& record) {
  if (record.get_usage_pair().get_usage() == zunto::hid::usage::value_t{0}) {
    return;
  }
  switch (record.get_type()) {
    case active_pointing_button::type::increase:
      active_pointing_buttons_.push_back(record);
      return;
    case active_pointing_button::type::decrease:
      std::erase_if(active_pointing_buttons_, [&](const auto& existing) {
        return existing.get_type() == active_pointing_button::type::increase &&
               existing.get_usage_pair() == record.get_usage_pair();
      });
      return;
  }
}

} // namespace hbd
