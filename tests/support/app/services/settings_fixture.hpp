#pragma once

#include "platform/OpenPanel.hpp"
#include "platform/Screens.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "support/app/platform/scoped_defaults.hpp"
#include "support/app/services/app_services.hpp"
#include "support/temporary_directory.hpp"

#include <QFile>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace grellan_test {

// Fresh user defaults, one 1920 x 1080 screen, the application's services, an empty engine list, and
// an open panel that answers with `chosen` (nothing: cancelled).
class SettingsFixture : public testing::Test {
protected:
  SettingsFixture()
      : previousScreens_(grellan::Screens::setShared(
            std::make_unique<grellan::FixedScreens>(std::vector<QRect>{QRect(0, 0, 1920, 1080)}))),
        previousRunner_(grellan::OpenPanel::setRunner([this](const grellan::OpenPanel& panel) {
          panels_.push_back(panel);
          return chosen;
        })) {
    QFile::remove(grellan::GRKJsonManager::filePath());
  }

  ~SettingsFixture() override {
    services_.reset();
    QFile::remove(grellan::GRKJsonManager::filePath());
    std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
    grellan::OpenPanel::setRunner(std::move(previousRunner_));
    grellan::Screens::setShared(std::move(previousScreens_));
  }

  grellan::UserDefaults& defaults() { return defaults_.defaults(); }
  grellan::GrellanKit_& kit() { return services().kit; }
  grellan::Hobbard& hobbard() { return services().hobbard; }
  grellan::Updater& updater() { return services().updater; }

  // Installs a desktop entry named `name` in the user's application folder; returns its path.
  std::string installApplication(const std::string& name, const std::string& type = "Application") {
    const auto folder = std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "applications";
    std::filesystem::create_directories(folder);
    const auto path = folder / name;
    QFile file(QString::fromStdString(path.string()));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[Desktop Entry]\nType=" + type + "\nName=Some app\nExec=true\n").c_str());
    return path.string();
  }

  // The user picks the file at `path` in the panel.
  void choose(const std::string& path) { chosen = QUrl::fromLocalFile(QString::fromStdString(path)); }

  std::optional<QUrl> chosen;
  std::vector<grellan::OpenPanel> panels_;
  // What the backend control writes.
  std::ostringstream output_;

private:
  ScopedMemoryDefaults defaults_;
  std::unique_ptr<grellan::Screens> previousScreens_;
  grellan::OpenPanel::Runner previousRunner_;
  std::unique_ptr<AppServices> services_;

  AppServices& services() {
    if (!services_) {
      services_ = std::make_unique<AppServices>(output_);
    }
    return *services_;
  }
};

} // namespace grellan_test
