#include "services/GrellanKit_.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"

namespace grellan {

GrellanKit_::GrellanKit_(const QString& engineFile) : kit_(engineFile) { kit_.setVimKeyVimKey(storedVimKey()); }

QString GrellanKit_::storedVimKey() {
  return UserDefaults::standard().stringValue(DefaultsKeys::vimKey).value_or(defaultVimKey);
}

} // namespace grellan
