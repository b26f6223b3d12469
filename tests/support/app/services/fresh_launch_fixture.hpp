#pragma once

#include "platform/SoundPlayer.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "services/GrellanKit_.hpp"
#include "services/Hobbard.hpp"
#include "services/LaunchAtLogin.hpp"
#include "support/app/platform/indicator_fixture.hpp"
#include "support/app/platform/wait.hpp"
#include "support/app/services/backend_files.hpp"

#include <QFile>
#include <QStringList>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <memory>
#include <sstream>
#include <string>

namespace grellan_test {

// A fresh first launch: in-memory user defaults, one screen, no backend files, silent sounds. What is
// launched is the derived fixture's: the application or only its services.
class FreshLaunchFixture : public IndicatorFixture {
protected:
  FreshLaunchFixture()
      : previousSounds_(grellan::SoundPlayer::setShared(std::make_unique<grellan::RecordingSoundPlayer>())) {
    std::filesystem::create_directories(stateFile("").parent_path());
    QFile::remove(grellan::GRKJsonManager::filePath());
  }

  ~FreshLaunchFixture() override {
    grellan::SoundPlayer::setShared(std::move(previousSounds_));
    const std::filesystem::path root = std::getenv("HBD_SYSTEM_ROOT");
    std::filesystem::remove_all(root / "Library");
    std::filesystem::remove_all(root / "Applications");
    std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
    QFile::remove(grellan::GRKJsonManager::filePath());
    grellan::LaunchAtLogin::unregisterApp();
  }

  // Ends what runs, launches afresh and waits for the backend's first report of each state file.
  void start() {
    stop();
    output_.str("");
    launch(output_);
    EXPECT_TRUE(waitUntil([this] { return updates() == 2; }));
  }

  // How many reports the backend control wrote since the last start.
  std::size_t updates() const {
    const std::string text = output_.str();
    std::size_t found = 0;
    for (auto at = text.find("on hobbard update: "); at != std::string::npos;
         at = text.find("on hobbard update: ", at + 1)) {
      ++found;
    }
    return found;
  }

  virtual void stop() = 0;
  virtual void launch(std::ostream& output) = 0;
  virtual grellan::GrellanKit_& kit() = 0;
  virtual grellan::Hobbard& hobbard() = 0;

  grellan::GRKGrellanKit& engine() { return kit().kit(); }
  const QStringList& sounds() {
    return static_cast<grellan::RecordingSoundPlayer&>(grellan::SoundPlayer::shared()).played();
  }

  // The backend's state as this process reads it, without waiting for the file monitor.
  void report(const std::string& content) {
    const auto path = stateFile("report.json");
    std::ofstream(path) << content;
    hobbard().update(QString::fromStdString(path.string()));
  }

private:
  std::ostringstream output_;
  std::unique_ptr<grellan::SoundPlayer> previousSounds_;
};

} // namespace grellan_test
