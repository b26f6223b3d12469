#pragma once

#include <spdlog/common.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace spdlog {
class logger;
}

namespace hbd_test {

// While it exists, every message that reaches the "hobbard" logger is kept (the formatted text
// without the pattern, and its level). Create it before starting the threads that log and destroy
// it after they stop: a logger's sink list is not meant to change while it is in use.
class log_capture final {
public:
  struct entry {
    spdlog::level::level_enum level;
    std::string text;

    bool operator==(const entry&) const = default;
    friend std::ostream& operator<<(std::ostream& stream, const entry& value);
  };

  log_capture();
  ~log_capture();

  log_capture(const log_capture&) = delete;
  log_capture& operator=(const log_capture&) = delete;

  std::vector<entry> entries() const;
  std::vector<std::string> texts() const;
  void clear();

  // Blocks until a message with exactly this text has been kept; false when the time runs out.
  bool wait_for_text(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
  class sink;

  std::shared_ptr<spdlog::logger> logger_;
  std::shared_ptr<sink> sink_;
};

} // namespace hbd_test
