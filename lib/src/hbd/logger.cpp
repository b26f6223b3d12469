#include "hbd/logger.hpp"

#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

namespace hbd {

std::shared_ptr<spdlog::logger> logger::logger_;
std::mutex logger::mutex_;

std::shared_ptr<spdlog::logger> logger::get_logger() {
  std::lock_guard lock(mutex_);

  if (logger_) {
    return logger_;
  }

  // Never freed: threads that outlive process exit (a dispatcher with queued jobs) still log.
  static auto* const stdout_logger_holder = new std::shared_ptr<spdlog::logger>();
  auto& stdout_logger = *stdout_logger_holder;
  if (!stdout_logger) {
    try {
      // The factory registers it, so it takes the registry's default pattern and level.
      stdout_logger = spdlog::stdout_logger_mt("hobbard");
    } catch (const spdlog::spdlog_ex&) {
      // Someone registered the name first: use theirs, or an unregistered one of our own.
      stdout_logger = spdlog::get("hobbard");
      if (!stdout_logger) {
        stdout_logger = std::make_shared<spdlog::logger>("hobbard", std::make_shared<spdlog::sinks::stdout_sink_mt>());
      }
    }
  }
  return stdout_logger;
}

} // namespace hbd
