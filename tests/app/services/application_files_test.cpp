// The files grellan writes (its settings, the engine's file, the autostart entry) on a full disk and
// under a careless umask.

#include "platform/UserDefaults.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "services/LaunchAtLogin.hpp"
#include "support/app/platform/file_size_limit.hpp"
#include "support/app/platform/message_capture.hpp"
#include "support/files.hpp"

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

struct WrittenFile {
  const char* name;
  fs::path path;
  std::string before;
  // Changes the file as the application does.
  std::function<void()> change;
};

fs::path configFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

std::vector<WrittenFile> writtenFiles() {
  return {
      {"settings", configFolder() / "grellan/grellan.conf", "[General]\ntutorialPassed=true\nvimKey=fn\n",
       [] { grellan::UserDefaults(grellan::makeSettingsStorage()).setValue("vimKey", "caps_lock"); }},
      {"engine", grellan::GRKJsonManager::filePath().toStdString(), R"({"vimKey":"caps_lock","ignoredApps":["vim"]})",
       [] { grellan::GRKJsonManager().setIgnoredAppsIgnoredApps({"org.example"}); }},
      {"autostart entry", grellan::LaunchAtLogin::entryPath().toStdString(),
       "[Desktop Entry]\nType=Application\nX-Grellan-LoginItem=true\nHidden=true\n",
       [] { grellan::LaunchAtLogin::setEnabled(true); }},
  };
}

class ApplicationFilesTest : public testing::Test {
protected:
  ApplicationFilesTest() { clear(); }
  ~ApplicationFilesTest() override { clear(); }

  static void clear() {
    fs::remove_all(configFolder() / "grellan");
    fs::remove_all(configFolder() / "autostart");
  }
};

TEST_F(ApplicationFilesTest, a_write_that_finds_no_room_keeps_the_old_file_and_says_so_once) {
  for (const rlim_t limit : {rlim_t{0}, rlim_t{5}}) {
    for (const auto& file : writtenFiles()) {
      SCOPED_TRACE(std::string(file.name) + ", room for " + std::to_string(limit) + " bytes");
      fs::create_directories(file.path.parent_path());
      hbd_test::write_file(file.path, file.before);
      const int warnings = grellan_test::exitStatusUnderFileSizeLimit(limit, [&file] {
        const grellan_test::MessageCapture messages;
        file.change();
        return static_cast<int>(messages.messages().size());
      });
      EXPECT_EQ(warnings, 1);
      EXPECT_EQ(hbd_test::read_file(file.path), file.before);
      // No half-written file is left beside it.
      EXPECT_EQ(hbd_test::entry_names(file.path.parent_path()), std::set<std::string>{file.path.filename().string()});
      clear();
    }
  }
}

TEST_F(ApplicationFilesTest, files_and_folders_are_made_for_the_user_alone_whatever_the_umask) {
  const hbd_test::scoped_umask umask(0);
  for (const auto& file : writtenFiles()) {
    SCOPED_TRACE(file.name);
    file.change();
    ASSERT_TRUE(fs::exists(file.path));
    EXPECT_EQ(hbd_test::mode_of(file.path) & (S_IWGRP | S_IWOTH), 0u);
    EXPECT_EQ(hbd_test::mode_of(file.path.parent_path()), 0700u);

    // Replacing a file others may write takes that right away.
    ::chmod(file.path.c_str(), 0666);
    file.change();
    EXPECT_EQ(hbd_test::mode_of(file.path) & (S_IWGRP | S_IWOTH), 0u);
    clear();
  }
}

} // namespace
