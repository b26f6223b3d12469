#include "support/app/services/fresh_launch_fixture.hpp"

#include "services/LaunchAtLogin.hpp"
#include "support/app/platform/wait.hpp"
#include "support/app/services/backend_files.hpp"

#include <QFile>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace grellan_test {

FreshLaunchFixture::FreshLaunchFixture()
    : previousSounds_(grellan::SoundPlayer::setShared(std::make_unique<grellan::RecordingSoundPlayer>())) {
  std::filesystem::create_directories(stateFile("").parent_path());
  QFile::remove(grellan::GRKJsonManager::filePath());
}

FreshLaunchFixture::~FreshLaunchFixture() {
  grellan::SoundPlayer::setShared(std::move(previousSounds_));
  const std::filesystem::path root = std::getenv("HBD_SYSTEM_ROOT");
  std::filesystem::remove_all(root / "Library");
  std::filesystem::remove_all(root / "Applications");
  std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
  QFile::remove(grellan::GRKJsonManager::filePath());
  grellan::LaunchAtLogin::unregisterApp();
}

void FreshLaunchFixture::start() {
  stop();
  output_.str("");
  launch(output_);
  EXPECT_TRUE(waitUntil([this] { return updates() == 2; }));
}

std::size_t FreshLaunchFixture::updates() const {
  const std::string text = output_.str();
  std::size_t found = 0;
  for (auto at = text.find("on hobbard update: "); at != std::string::npos;
       at = text.find("on hobbard update: ", at + 1)) {
    ++found;
  }
  return found;
}

const QStringList& FreshLaunchFixture::sounds() {
  return static_cast<grellan::RecordingSoundPlayer&>(grellan::SoundPlayer::shared()).played();
}

void FreshLaunchFixture::report(const std::string& content) {
  const auto path = stateFile("report.json");
  std::ofstream(path) << content;
  hobbard().update(QString::fromStdString(path.string()));
}

} // namespace grellan_test
