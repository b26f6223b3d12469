#include "support/manipulator_harness.hpp"

#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/osx/chrono/conversion.hpp"
#include "zunto/thread_wait.hpp"

#include <nlohmann/json.hpp>

#include <chrono>

namespace hbd_test {

manipulator_harness::manipulator_harness()
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {}

manipulator_harness::~manipulator_harness() {
  // The manipulator goes on the dispatcher thread, where its jobs run.
  run([this] { manipulator_ = nullptr; });
  detach_from_dispatcher();
}

zunto::osx::chrono::absolute_time_point manipulator_harness::at(std::int64_t milliseconds) {
  return zunto::osx::chrono::absolute_time_point(
      zunto::osx::chrono::make_absolute_time_duration(std::chrono::milliseconds(milliseconds)).count());
}

void manipulator_harness::set_manipulator(std::shared_ptr<hbd::manipulator::manipulators::base> manipulator) {
  run([&] { manipulator_ = std::move(manipulator); });
}

void manipulator_harness::key(std::int32_t usage, hbd::event_type type, std::int64_t milliseconds) {
  const hbd::event_queue::event e(
      hbd::momentary_switch_event(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{usage}));
  run([&] {
    input_->emplace_back_entry(zunto::osx::iokit_registry_entry_id::value_t{1},
                               hbd::event_queue::event_time_stamp(at(milliseconds)), e, type, e,
                               hbd::event_origin::grabbed_device, hbd::event_queue::state::original);
  });
}

hbd::manipulator::manipulate_result manipulator_harness::process(std::int64_t now_milliseconds) {
  auto result = hbd::manipulator::manipulate_result::passed;
  run([&] {
    while (!input_->empty()) {
      auto& front = input_->get_front_entry();
      // Keys a manipulator already took together with an earlier one are dropped.
      if (manipulator_->already_manipulated(front)) {
        front.set_validity(hbd::validity::invalid);
      }
      result = manipulator_->manipulate(front, *input_, output_, at(now_milliseconds));
      if (result == hbd::manipulator::manipulate_result::wait) {
        return;
      }
      if (front.get_valid()) {
        output_->push_back_entry(front);
      }
      input_->erase_front_entry();
    }
  });
  return result;
}

void manipulator_harness::run(const std::function<void()>& function) {
  auto done = zunto::make_thread_wait();
  enqueue_to_dispatcher(
      [&function, done] {
        function();
        done->notify();
      },
      zunto::dispatcher::time_point(1));
  done->wait_notice();
}

void manipulator_harness::wait_for(std::int64_t milliseconds) {
  auto done = zunto::make_thread_wait();
  enqueue_to_dispatcher([done] { done->notify(); }, when_now() + std::chrono::milliseconds(milliseconds));
  done->wait_notice();
  // Jobs those timers queued due at once.
  run([] {});
}

std::vector<std::string> manipulator_harness::output() {
  std::vector<std::string> lines;
  run([&] {
    for (const auto& entry : output_->get_entries()) {
      std::string name = "?";
      if (const auto key = entry.get_event().get_momentary_switch_event()) {
        nlohmann::json json;
        to_json(json, *key);
        name = json.is_object() ? json.begin().value().get<std::string>() : "unsupported";
      } else if (const auto sticky = entry.get_event().get_sticky_modifier()) {
        name = "sticky " + std::string(*hbd::make_modifier_flag_name(sticky->first)) +
               (sticky->second == hbd::sticky_modifier_type::on ? " on" : " off");
      } else if (entry.get_event().get_type() == hbd::event_queue::event::type::wait_marker) {
        name = "wait";
      }
      const auto type = entry.get_event_type();
      std::string line = name + (type == hbd::event_type::key_down ? " down"
                                 : type == hbd::event_type::key_up ? " up"
                                                                   : " single");
      if (entry.get_lazy()) {
        line += " lazy";
      }
      lines.push_back(line);
    }
  });
  return lines;
}

} // namespace hbd_test
