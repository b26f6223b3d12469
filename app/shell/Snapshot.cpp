#include "shell/Snapshot.hpp"

#include "indicator/IndicatorWindow.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/ReplaceableFile.hpp"
#include "platform/SoundPlayer.hpp"
#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/GrellanKit_.hpp"
#include "services/Widget.hpp"
#include "settings/SettingsWindow.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/WindowManager.hpp"
#include "tutorial/EnableVirtualHIDDevice.hpp"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <utility>

namespace grellan {
namespace {

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
}

// The folder the pictures go into, and how writing them went.
struct Pictures {
  explicit Pictures(QString into) : folder(std::move(into)) {}

  QString folder;
  QStringList written;
  bool failed = false;

  // Through a new file, as every write of the application: a disk that fills up leaves no half picture.
  void save(const QImage& image, const QString& name) {
    const QString path = QDir(folder).filePath(name + ".png");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") && !ReplaceableFile::write(path, bytes)) {
      written.append(path);
    } else {
      failed = true;
    }
  }
};

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

void writeIndicatorSnapshots(Pictures& pictures) {
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
        pictures.save(onScreen(window), QString("indicator-%1-%2").arg(caseName(location), state.name));
      }
    }
    defaults.setValue(DefaultsKeys::indicatorSize, 1.0);
    defaults.setValue(DefaultsKeys::topWidget, rawValue(Widget::Time));
    defaults.setValue(DefaultsKeys::bottomWidget, rawValue(Widget::CharacterAndLineCount));
    NotificationCenter::defaultCenter().post("changeIndicator", 2);
    window.imageView()->refreshWidgets();
    pictures.save(onScreen(window), "indicator-widgets");
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
// come from state files in the pictures' scratch folder; they hold until the backend reports again.
void writeTutorialSnapshots(Pictures& pictures, GrellanKit_& kit, const QTemporaryDir& scratch) {
  auto* delegate = appDelegate();
  if (delegate == nullptr) {
    return;
  }
  auto report = [&delegate, &scratch](const char* content) {
    const QString path = scratch.filePath("state.json");
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
    Tutorial tutorial(kit, delegate->hobbard());
    tutorial.show();
    auto picture = [&](int step, const QString& name) {
      tutorial.setTutorialStep(step);
      settle(tutorial);
      pictures.save(tutorial.grab().toImage(), QString("tutorial-%1-%2").arg(step).arg(name));
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
void writeSettingsSnapshots(Pictures& pictures, GrellanKit_& kit) {
  auto* delegate = appDelegate();
  if (delegate == nullptr) {
    return;
  }
  auto userDefaults = UserDefaults::setStandard(std::make_unique<UserDefaults>(makeMemoryStorage()));
  {
    UserDefaults::standard().setValue(DefaultsKeys::tutorialPassed, true);
    SettingsWindow window(kit, delegate->hobbard(), delegate->updater());
    window.addMainMenu([delegate](QMenuBar& menuBar) { delegate->windowManager().menuItems().addTo(menuBar); });
    window.show();
    for (int tab = 0; tab < window.tabs()->count(); ++tab) {
      window.tabs()->setCurrentIndex(tab);
      settle();
      pictures.save(window.grab().toImage(), "settings-" + window.tabs()->tabText(tab).toLower());
    }
  }
  UserDefaults::setStandard(std::move(userDefaults));
}

} // namespace

std::optional<QStringList> writeSnapshots(WindowManager& windowManager, const QString& folder) {
  Pictures pictures(folder);
  // The windows' engine keeps its file here, the backend's state files too: the tutorial's Vim-key page
  // sets the key, and the pictures leave the user's files as they were.
  const QTemporaryDir scratch;
  if (!QDir().mkpath(folder) || !scratch.isValid()) {
    return std::nullopt;
  }
  GrellanKit_ kit(scratch.filePath("engine.json"));
  windowManager.showAboutWindow();
  settle();
  pictures.save(windowManager.aboutWindow()->grab().toImage(), "about");
  windowManager.showActiveModificationsView();
  settle();
  pictures.save(windowManager.activeModificationsWindow()->grab().toImage(), "active-modifications");
  writeTutorialSnapshots(pictures, kit, scratch);
  writeSettingsSnapshots(pictures, kit);
  writeIndicatorSnapshots(pictures);
  if (pictures.failed) {
    return std::nullopt;
  }
  return pictures.written;
}

} // namespace grellan
