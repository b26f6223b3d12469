#include "platform/cf/boolean.hpp"

namespace platform::cf {
namespace {

class stored_boolean final : public boolean {
public:
  explicit stored_boolean(bool value) : value_(value) {}

  bool value() const { return value_; }

private:
  bool value_;
};

} // namespace

boolean_ref boolean_get(bool value) {
  // Never released, so their count never reaches zero whatever callers do.
  static const boolean_ref true_object = new stored_boolean(true);
  static const boolean_ref false_object = new stored_boolean(false);
  return value ? true_object : false_object;
}

bool boolean_get_value(boolean_ref boolean) {
  return boolean != nullptr && static_cast<const stored_boolean*>(boolean)->value();
}

} // namespace platform::cf
