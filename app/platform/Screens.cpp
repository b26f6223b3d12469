#include "platform/Screens.hpp"

#include "platform/Installed.hpp"
#include "platform/NotificationCenter.hpp"

#include <QGuiApplication>
#include <QScreen>

#include <utility>

namespace grellan {
namespace {

void postChange() { NotificationCenter::defaultCenter().post(screenParametersChangedNotification); }

class QtScreens final : public Screens {
public:
  QtScreens() {
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
      QObject::connect(application, &QGuiApplication::screenAdded, application, [](QScreen* screen) {
        watch(screen);
        postChange();
      });
      QObject::connect(application, &QGuiApplication::screenRemoved, application, [] { postChange(); });
      for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
      }
    }
  }

  std::vector<QRect> frames() const override {
    std::vector<QRect> result;
    for (const QScreen* screen : QGuiApplication::screens()) {
      result.push_back(screen->geometry());
    }
    return result;
  }

private:
  static void watch(QScreen* screen) {
    QObject::connect(screen, &QScreen::geometryChanged, screen, [] { postChange(); });
  }
};

} // namespace

Screens& Screens::shared() {
  return Installed<Screens>::get([] { return std::make_unique<QtScreens>(); });
}

std::unique_ptr<Screens> Screens::setShared(std::unique_ptr<Screens> replacement) {
  return Installed<Screens>::replace(std::move(replacement));
}

void FixedScreens::setFrames(std::vector<QRect> frames) {
  frames_ = std::move(frames);
  postChange();
}

} // namespace grellan
