#include "shell/Snapshot.hpp"

#include "indicator/IndicatorWindow.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/SoundPlayer.hpp"
#include "platform/UserDefaults.hpp"
#include "settings/SettingsWindow.hpp"
#include "settings/Widget.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/DefaultsKeys.hpp"
#include "shell/WindowManager.hpp"
#include "tutorial/EnableVirtualHIDDevice.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

namespace grellan {
namespace {

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
}

bool save(const QImage& image, const QString& folder, const QString& name, QStringList& written) {
  const QString path = QDir(folder).filePath(name + ".png");
  if (!image.save(path)) {
    return false;
  }
  written.append(path);
  return true;
}

// The indicator where it sits on the chosen screen.
QImage onScreen(IndicatorWindow& window) {
  QElapsedTimer timer;
  timer.start();
  while (window.animating() && timer.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  settle();
  QRect screen = AppDelegate::screen();
  if (screen.isEmpty()) {
    screen = QRect(0, 0, 800, 600);
  }
  QImage image(screen.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(48, 52, 60));
  QPainter painter(&image);
  painter.drawPixmap(window.geometry().topLeft() - screen.topLeft(), window.grab());
  return image;
}

void writeIndicatorSnapshots(const QString& folder, QStringList& written) {
  // The pictures use settings of their own, so the user's stay as they are.
  auto userDefaults = UserDefaults::setStandard(std::make_unique<UserDefaults>(makeMemoryStorage()));
  {
    auto& defaults = UserDefaults::standard();
    IndicatorWindow window;
    window.show();
    const struct {
      int number;
      const char* name;
    } states[] = {{0, "insert"}, {1, "visual"}, {2, "vim"}};
    for (const IndicatorLocation location : allIndicatorLocations) {
      defaults.setValue(DefaultsKeys::indicatorLocation, rawValue(location));
      for (const auto& state : states) {
        NotificationCenter::defaultCenter().post("changeIndicator", state.number);
        save(onScreen(window), folder, QString("indicator-%1-%2").arg(caseName(location), state.name), written);
      }
    }
    defaults.setValue(DefaultsKeys::indicatorSize, 1.0);
    defaults.setValue(DefaultsKeys::topWidget, rawValue(Widget::Time));
    defaults.setValue(DefaultsKeys::bottomWidget, rawValue(Widget::CharacterAndLineCount));
    NotificationCenter::defaultCenter().post("changeIndicator", 2);
    window.imageView()->refreshWidgets();
    save(onScreen(window), folder, "indicator-widgets", written);
  }
  UserDefaults::setStandard(std::move(userDefaults));
}

// Waits for the window's animations to end, so pictures show where things come to rest.
void settle(const Tutorial& tutorial) {
  QElapsedTimer timer;
  timer.start();
  while (tutorial.animating() && timer.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  settle();
}

// Every page of the tutorial, in each of the layouts the backend's state chooses. The backend's flags
// come from state files of the pictures' own; they hold until the backend reports again.
void writeTutorialSnapshots(const QString& folder, QStringList& written) {
  auto* delegate = appDelegate();
  QTemporaryDir states;
  if (delegate == nullptr || !states.isValid()) {
    return;
  }
  auto report = [&delegate, &states](const char* content) {
    const QString path = states.filePath("state.json");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      file.write(content);
      file.close();
    }
    delegate->hobbard().update(path);
  };
  auto userDefaults = UserDefaults::setStandard(std::make_unique<UserDefaults>(makeMemoryStorage()));
  // The last page's sound stays silent.
  auto sounds = SoundPlayer::setShared(std::make_unique<RecordingSoundPlayer>());
  {
    Tutorial tutorial(delegate->kit(), delegate->hobbard());
    tutorial.show();
    auto picture = [&](int step, const QString& name) {
      tutorial.setTutorialStep(step);
      settle(tutorial);
      save(tutorial.grab().toImage(), folder, QString("tutorial-%1-%2").arg(step).arg(name), written);
    };
    report(R"({"driver_loaded": false, "hid_device_open_permitted": false})");
    picture(0, "welcome");
    picture(1, "activate");
    if (auto* driverPage = dynamic_cast<Tutorial::EnableVirtualHIDDevice*>(tutorial.page())) {
      driverPage->setActivatePressed(true);
    }
    picture(1, "allow");
    report(R"({"driver_loaded": true, "hid_device_open_permitted": false})");
    picture(1, "enabled");
    picture(2, "input-monitoring");
    report(R"({"driver_loaded": true, "hid_device_open_permitted": true})");
    picture(2, "enabled");
    picture(3, "location");
    picture(4, "vim-key");
    picture(5, "finished");
  }
  SoundPlayer::setShared(std::move(sounds));
  UserDefaults::setStandard(std::move(userDefaults));
}

// Every tab of settings, as after the tutorial.
void writeSettingsSnapshots(const QString& folder, QStringList& written) {
  auto* delegate = appDelegate();
  if (delegate == nullptr) {
    return;
  }
  auto userDefaults = UserDefaults::setStandard(std::make_unique<UserDefaults>(makeMemoryStorage()));
  {
    UserDefaults::standard().setValue(DefaultsKeys::tutorialPassed, true);
    SettingsWindow window(delegate->kit(), delegate->hobbard(), delegate->updater());
    window.show();
    for (int tab = 0; tab < window.tabs()->count(); ++tab) {
      window.tabs()->setCurrentIndex(tab);
      settle();
      save(window.grab().toImage(), folder, "settings-" + window.tabs()->tabText(tab).toLower(), written);
    }
  }
  UserDefaults::setStandard(std::move(userDefaults));
}

} // namespace

QStringList writeSnapshots(WindowManager& windowManager, const QString& folder) {
  QStringList written;
  if (!QDir().mkpath(folder)) {
    return written;
  }
  windowManager.showAboutWindow();
  settle();
  save(windowManager.aboutWindow()->grab().toImage(), folder, "about", written);
  windowManager.showActiveModificationsView();
  settle();
  save(windowManager.activeModificationsWindow()->grab().toImage(), folder, "active-modifications", written);
  writeTutorialSnapshots(folder, written);
  writeSettingsSnapshots(folder, written);
  writeIndicatorSnapshots(folder, written);
  return written;
}

} // namespace grellan
