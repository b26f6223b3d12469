#include "shell/Snapshot.hpp"

#include "indicator/IndicatorWindow.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/UserDefaults.hpp"
#include "resources/Assets.hpp"
#include "settings/SettingsWindow.hpp"
#include "settings/Widget.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/DefaultsKeys.hpp"
#include "shell/WindowManager.hpp"
#include "views/PercentageRing.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
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

// The tutorial's progress ring at each of its six steps.
void writeRingSnapshots(const QString& folder, QStringList& written) {
  constexpr int totalSteps = 6;
  const QColor primary = toColor(ColorResource::primary());
  auto faded = [&primary](float opacity) {
    QColor colour = primary;
    colour.setAlphaF(opacity);
    return colour;
  };
  for (int step = 0; step < totalSteps; ++step) {
    PercentageRing ring(8.0, static_cast<double>(step) / (totalSteps - 1), faded(0.03f), {faded(0.4f), primary});
    ring.setFixedSize(45, 45);
    save(ring.grab().toImage(), folder, QString("ring-step-%1").arg(step), written);
  }
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
  windowManager.showTutorialWindow();
  settle();
  save(windowManager.tutorialWindow()->grab().toImage(), folder, "tutorial", written);
  windowManager.showAboutWindow();
  settle();
  save(windowManager.aboutWindow()->grab().toImage(), folder, "about", written);
  windowManager.showActiveModificationsView();
  settle();
  save(windowManager.activeModificationsWindow()->grab().toImage(), folder, "active-modifications", written);
  writeRingSnapshots(folder, written);
  writeSettingsSnapshots(folder, written);
  writeIndicatorSnapshots(folder, written);
  return written;
}

} // namespace grellan
