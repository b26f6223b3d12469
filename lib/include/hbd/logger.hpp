#pragma once

#include <spdlog/logger.h>

#include <memory>
#include <mutex>

namespace hbd {

// The process logger every part of the library writes through.
class logger final {
public:
  logger() = delete;

  // The logger named "hobbard" that writes to standard output with the logging library's default
  // pattern and level, created on first use. Never null; safe from any thread.
  static std::shared_ptr<spdlog::logger> get_logger();

private:
  // Takes precedence over the standard-output logger while set.
  static std::shared_ptr<spdlog::logger> logger_;
  static std::mutex mutex_;
};

} // namespace hbd
