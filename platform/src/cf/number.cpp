#include "platform/cf/number.hpp"

namespace platform::cf {
namespace {

class stored_number final : public number {
public:
  explicit stored_number(std::int64_t value) : value_(value) {}

  std::int64_t value() const { return value_; }

private:
  std::int64_t value_;
};

} // namespace

number_ref number_create_int64(std::int64_t value) { return new stored_number(value); }

std::optional<std::int64_t> number_get_int64(number_ref number) {
  if (number == nullptr) {
    return std::nullopt;
  }
  return static_cast<const stored_number*>(number)->value();
}

} // namespace platform::cf
