#include "platform/FontConfiguration.hpp"

#include <fontconfig/fontconfig.h>

namespace grellan {

std::shared_future<void> loadFontConfiguration() {
  // Qt's own load then finds it done. Another load running beside it would read it all again.
  return std::async(std::launch::async, [] { FcInit(); }).share();
}

} // namespace grellan
