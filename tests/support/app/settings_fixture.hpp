#pragma once

#include "platform/OpenPanel.hpp"
#include "platform/Screens.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "shell/GrellanApp.hpp"
#include "support/app/scoped_defaults.hpp"
#include "support/temporary_directory.hpp"

#include <QComboBox>
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

// Fresh user defaults, one 1920 x 1080 screen, the running application (without launching it), an
// empty engine list, and an open panel that answers with `chosen` (nothing: cancelled).
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
    app_.reset();
    QFile::remove(grellan::GRKJsonManager::filePath());
    std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
    grellan::OpenPanel::setRunner(std::move(previousRunner_));
    grellan::Screens::setShared(std::move(previousScreens_));
  }

  grellan::UserDefaults& defaults() { return defaults_.defaults(); }
  grellan::GrellanApp& app() {
    if (!app_) {
      app_ = std::make_unique<grellan::GrellanApp>(output_);
    }
    return *app_;
  }
  grellan::AppDelegate& delegate() { return app().appDelegate(); }

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

private:
  ScopedMemoryDefaults defaults_;
  std::unique_ptr<grellan::Screens> previousScreens_;
  grellan::OpenPanel::Runner previousRunner_;
  std::ostringstream output_;
  std::unique_ptr<grellan::GrellanApp> app_;
};

// Picks the entry showing `text` in the pop-up the way a user does: opens it and clicks the entry.
void pick(QComboBox& picker, const QString& text);

} // namespace grellan_test
