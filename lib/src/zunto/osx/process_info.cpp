#include "zunto/osx/process_info.hpp"

#include "platform/process_info/process_info.hpp"

#include <algorithm>
#include <cstring>
#include <string>

extern "C" {

void zunto_osx_process_info_create_globally_unique_string(char* buffer, int32_t buffer_size) {
  if (buffer == nullptr || buffer_size < 1) {
    return;
  }
  try {
    const std::string text = platform::process_info::globally_unique_string();
    const auto length = std::min(text.size(), static_cast<std::size_t>(buffer_size) - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
  } catch (...) {
    // Nothing may cross the C boundary; an empty string is the least surprising answer.
    buffer[0] = '\0';
  }
}

int32_t zunto_osx_process_info_process_identifier(void) {
  return static_cast<int32_t>(platform::process_info::process_identifier());
}

void zunto_osx_process_info_disable_sudden_termination(void) { platform::process_info::disable_sudden_termination(); }

void zunto_osx_process_info_enable_sudden_termination(void) { platform::process_info::enable_sudden_termination(); }

} // extern "C"
