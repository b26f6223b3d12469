#include "shell/ScratchUserFolders.hpp"

#include <QDir>
#include <QFile>

namespace grellan {

ScratchUserFolders::ScratchUserFolders() {
  if (!folder_.isValid()) {
    return;
  }
  const QDir root(folder_.path());
  for (const auto& [name, folder] : {std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_DATA_HOME", "data"}}) {
    qputenv(name, QFile::encodeName(root.filePath(folder)));
  }
}

} // namespace grellan
