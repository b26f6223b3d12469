#include "support/log_capture.hpp"

#include "hbd/logger.hpp"

#include <spdlog/sinks/base_sink.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace hbd_test {

class log_capture::sink final : public spdlog::sinks::base_sink<std::mutex> {
public:
  std::vector<entry> entries() const {
    std::lock_guard lock(entries_mutex_);
    return entries_;
  }

  void clear() {
    std::lock_guard lock(entries_mutex_);
    entries_.clear();
  }

  bool wait_for_text(const std::string& text, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(entries_mutex_);
    return changed_.wait_for(lock, timeout, [&] {
      return std::any_of(entries_.begin(), entries_.end(), [&](const entry& e) { return e.text == text; });
    });
  }

protected:
  void sink_it_(const spdlog::details::log_msg& message) override {
    {
      std::lock_guard lock(entries_mutex_);
      entries_.push_back(entry{message.level, std::string(message.payload.begin(), message.payload.end())});
    }
    changed_.notify_all();
  }

  void flush_() override {}

private:
  mutable std::mutex entries_mutex_;
  mutable std::condition_variable changed_;
  std::vector<entry> entries_;
};

std::ostream& operator<<(std::ostream& stream, const log_capture::entry& value) {
  const auto level = spdlog::level::to_string_view(value.level);
  return stream << '[' << std::string_view(level.data(), level.size()) << "] " << value.text;
}

log_capture::log_capture() : logger_(hbd::logger::get_logger()), sink_(std::make_shared<sink>()) {
  logger_->sinks().push_back(sink_);
}

log_capture::~log_capture() {
  auto& sinks = logger_->sinks();
  sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
}

std::vector<log_capture::entry> log_capture::entries() const { return sink_->entries(); }

std::vector<std::string> log_capture::texts() const {
  std::vector<std::string> result;
  for (auto& e : sink_->entries()) {
    result.push_back(std::move(e.text));
  }
  return result;
}

void log_capture::clear() { sink_->clear(); }

bool log_capture::wait_for_text(const std::string& text, std::chrono::milliseconds timeout) const {
  return sink_->wait_for_text(text, timeout);
}

} // namespace hbd_test
