#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/counter.hpp"

#include "hbd/logger.hpp"
#include "zunto/json/number.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>

namespace hbd::manipulator::manipulators::mouse_motion_to_scroll {

namespace {

using namespace std::chrono_literals;

int sign_class(std::int64_t value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

std::int32_t clamp32(std::int64_t value) {
  return zunto::json::saturating_number<std::int32_t>(static_cast<double>(value));
}

// Sums of one axis over a chunk of motion.
struct axis_sums {
  std::int64_t positive = 0;
  std::int64_t negative = 0;
  int last_sign = 0;
  std::int64_t absolute = 0;

  void add(std::int32_t value) {
    if (value > 0) {
      positive += value;
    } else if (value < 0) {
      negative += value;
    }
    if (value != 0) {
      last_sign = sign_class(value);
    }
    absolute += std::abs(static_cast<std::int64_t>(value));
  }

  // The larger side wins; a tie goes to the side of the last movement.
  std::int32_t chunk_value() const {
    if (positive > -negative) {
      return clamp32(positive);
    }
    if (-negative > positive) {
      return clamp32(negative);
    }
    return clamp32(last_sign > 0 ? positive : last_sign < 0 ? negative : 0);
  }
};

// Away from zero: 2.5 gives 3 and -2.5 gives -3.
std::int32_t round_away_from_zero(double value) {
  return zunto::json::saturating_number<std::int32_t>(value > 0 ? std::ceil(value) : std::floor(value));
}

std::int32_t toward_zero(std::int32_t value, std::int32_t step) {
  const auto magnitude = std::min(std::abs(static_cast<std::int64_t>(value)), static_cast<std::int64_t>(step));
  return clamp32(value > 0 ? value - magnitude : value + magnitude);
}

} // namespace

counter::counter(std::weak_ptr<zunto::dispatcher::dispatcher> weak_dispatcher,
                 const core_configuration::details::complex_modifications_parameters& parameters,
                 const options& options)
    : dispatcher_client(std::move(weak_dispatcher)), parameters_(parameters), options_(options), timer_(*this) {}

counter::~counter() {
  detach_from_dispatcher([this] { timer_.stop(); });
}

void counter::update(const pointing_motion& motion, zunto::dispatcher::time_point time) {
  enqueue_to_dispatcher(
      [this, motion, time] {
        entries_.push_back({motion.x, motion.y, time});
        timer_.start([this] { tick(); }, 20ms);
      },
      zunto::dispatcher::time_point(1));
}

void counter::async_reset() {
  enqueue_to_dispatcher(
      [this] {
        entries_.clear();
        x_chunk_values_.clear();
        y_chunk_values_.clear();
        last_scroll_time_.reset();
        direction_ = direction::none;
        accumulated_x_ = 0;
        accumulated_y_ = 0;
        wheel_remainder_x_ = 0;
        wheel_remainder_y_ = 0;
        scroll_count_ = 0;
        wait_count_ = 0;
      },
      zunto::dispatcher::time_point(1));
}

void counter::tick() {
  const bool processing = process_entries();
  const bool scrolling = scroll();
  if (!processing && !scrolling) {
    timer_.stop();
  }
}

bool counter::process_entries() {
  if (entries_.empty()) {
    return false;
  }
  const auto recent = options_.get_recent_time_duration_milliseconds();
  const auto first = entries_.front().time;
  if (when_now() - first <= recent) {
    return true;
  }

  erase_chunk_accumulated_values(x_chunk_values_, first);
  erase_chunk_accumulated_values(y_chunk_values_, first);

  bool restart = false;
  if (x_chunk_values_.empty() && y_chunk_values_.empty()) {
    direction_ = direction::none;
    restart = true;
  }

  axis_sums x;
  axis_sums y;
  while (!entries_.empty() && entries_.front().time - first <= recent) {
    x.add(entries_.front().x);
    y.add(entries_.front().y);
    entries_.pop_front();
  }

  auto chunk_x = x.chunk_value();
  auto chunk_y = y.chunk_value();
  x_chunk_values_.emplace_back(first, chunk_x);
  y_chunk_values_.emplace_back(first, chunk_y);
  const auto ax = accumulate_abs_chunk_accumulated_values(x_chunk_values_);
  const auto ay = accumulate_abs_chunk_accumulated_values(y_chunk_values_);

  const auto threshold = options_.get_threshold();
  if (direction_ == direction::none || (direction_ == direction::vertical && ax > ay) ||
      (direction_ == direction::horizontal && ay > ax)) {
    direction_ = x.absolute > y.absolute ? direction::horizontal : direction::vertical;
    accumulated_x_ = 0;
    accumulated_y_ = 0;
    wheel_remainder_x_ = 0;
    wheel_remainder_y_ = 0;
    dynamic_threshold_ = threshold;
  }
  if (direction_ == direction::vertical) {
    chunk_x = 0;
  } else {
    chunk_y = 0;
  }

  if (chunk_x != 0 && sign_class(chunk_x) != sign_class(accumulated_x_)) {
    accumulated_x_ = 0;
    wheel_remainder_x_ = 0;
    dynamic_threshold_ = threshold;
    restart = true;
  }
  if (chunk_y != 0 && sign_class(chunk_y) != sign_class(accumulated_y_)) {
    accumulated_y_ = 0;
    wheel_remainder_y_ = 0;
    dynamic_threshold_ = threshold;
    restart = true;
  }

  const double factor = parameters_.get_mouse_motion_to_scroll_speed() / 100.0 * options_.get_speed_multiplier();
  accumulated_x_ = clamp32(static_cast<std::int64_t>(accumulated_x_) +
                           zunto::json::saturating_number<std::int32_t>(chunk_x * factor));
  accumulated_y_ = clamp32(static_cast<std::int64_t>(accumulated_y_) +
                           zunto::json::saturating_number<std::int32_t>(chunk_y * factor));
  if (accumulated_x_ == 0 && accumulated_y_ == 0) {
    return true;
  }

  if (restart) {
    // The first step of a new movement fires at once.
    for (auto* accumulated : {&accumulated_x_, &accumulated_y_}) {
      if (*accumulated > 0) {
        *accumulated = std::max(*accumulated, threshold);
      } else if (*accumulated < 0) {
        *accumulated = std::min(*accumulated, -threshold);
      }
    }
  }

  // Faster motion lowers the threshold.
  const auto m = std::max(std::abs(static_cast<std::int64_t>(accumulated_x_)),
                          std::abs(static_cast<std::int64_t>(accumulated_y_)));
  const double r = std::min(static_cast<double>(m) / threshold, 10.0);
  const auto n = std::max(zunto::json::saturating_number<std::int32_t>(threshold / std::pow(r, 4)), 1);
  dynamic_threshold_ = std::min(n, dynamic_threshold_);

  last_scroll_time_.reset();
  scroll_count_ = 0;
  wait_count_ = 0;
  return true;
}

bool counter::scroll() {
  if (wait_count_ > 0) {
    --wait_count_;
    return true;
  }

  ++scroll_count_;
  const auto now = when_now();
  if (last_scroll_time_ && now - *last_scroll_time_ > options_.get_scroll_event_interval_milliseconds_threshold()) {
    return false;
  }

  const bool momentum = options_.get_momentum_scroll_enabled();
  const double f = momentum ? 1.0 / scroll_count_ : scroll_count_ == 1 ? 1.0 : 0.0;
  wheel_remainder_x_ =
      clamp32(static_cast<std::int64_t>(wheel_remainder_x_) + round_away_from_zero(accumulated_x_ * f));
  wheel_remainder_y_ =
      clamp32(static_cast<std::int64_t>(wheel_remainder_y_) + round_away_from_zero(accumulated_y_ * f));

  const auto sx = convert(wheel_remainder_x_);
  const auto sy = convert(wheel_remainder_y_);
  if (sx != 0 || sy != 0) {
    const pointing_motion motion{0, 0, -sy, sx};
    enqueue_to_dispatcher(
        [this, motion] {
          try {
            scrolled(motion);
          } catch (const std::exception& e) {
            logger::get_logger()->error("mouse_motion_to_scroll: {0}", e.what());
          }
        },
        zunto::dispatcher::time_point(1));
    last_scroll_time_ = now;
  }

  accumulated_x_ = toward_zero(accumulated_x_, dynamic_threshold_);
  accumulated_y_ = toward_zero(accumulated_y_, dynamic_threshold_);

  if (accumulated_x_ == 0 && accumulated_y_ == 0) {
    return false;
  }
  if (momentum) {
    wait_count_ = std::min(scroll_count_, 10);
  }
  return true;
}

void counter::erase_chunk_accumulated_values(chunk_values& values, zunto::dispatcher::time_point first) const {
  const auto oldest =
      first - options_.get_direction_lock_threshold() * options_.get_recent_time_duration_milliseconds();
  std::erase_if(values, [&](const auto& value) { return value.first < oldest; });
}

std::int32_t counter::accumulate_abs_chunk_accumulated_values(const chunk_values& values) const {
  std::int64_t sum = 0;
  for (const auto& [time, value] : values) {
    sum += std::abs(static_cast<std::int64_t>(value));
  }
  return clamp32(sum);
}

std::int32_t counter::convert(std::int32_t& value) const {
  const auto threshold = options_.get_threshold();
  const bool momentum = options_.get_momentum_scroll_enabled();
  std::int32_t steps = 0;
  while (value >= threshold) {
    value -= threshold;
    ++steps;
    if (momentum) {
      break;
    }
  }
  while (value <= -threshold) {
    value += threshold;
    --steps;
    if (momentum) {
      break;
    }
  }
  return steps;
}

} // namespace hbd::manipulator::manipulators::mouse_motion_to_scroll
