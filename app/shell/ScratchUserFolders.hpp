#pragma once

#include <QTemporaryDir>

namespace grellan {

// Points the user's configuration and data folders (XDG_CONFIG_HOME, XDG_DATA_HOME) at a fresh
// folder for as long as it lives, for a run that only takes pictures: its launch road saves the
// backend's configuration and settings like any launch, and none of that may reach the user's files.
// Made before anything computes a path from the environment.
class ScratchUserFolders final {
public:
  ScratchUserFolders();

  // False when no scratch folder could be made; the environment is then unchanged.
  bool isValid() const { return folder_.isValid(); }

  // For an end that runs no destructors.
  void remove() { folder_.remove(); }

private:
  QTemporaryDir folder_;
};

} // namespace grellan
