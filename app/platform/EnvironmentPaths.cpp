#include "platform/EnvironmentPaths.hpp"

#include <QLoggingCategory>
#include <QString>

#include <sys/stat.h>

#include <cstdlib>

namespace grellan {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.main")

void drop(const char* name, const char* value, const char* reason) {
  qCWarning(logger, "%s=%s is %s; it is ignored", name, value, reason);
  ::unsetenv(name);
}

} // namespace

void dropUnusableEnvironmentPaths() {
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
      continue;
    }
    if (*value != '/') {
      drop(name, value, "not an absolute path");
    } else if (const QByteArray bytes(value); QString::fromLocal8Bit(bytes).toLocal8Bit() != bytes) {
      drop(name, value, "not UTF-8");
    }
  }
  struct stat status {};
  if (const char* value = std::getenv("TMPDIR");
      value != nullptr && *value != '\0' &&
      (*value != '/' || ::stat(value, &status) != 0 || !S_ISDIR(status.st_mode))) {
    drop("TMPDIR", value, "not a folder");
  }
}

} // namespace grellan
