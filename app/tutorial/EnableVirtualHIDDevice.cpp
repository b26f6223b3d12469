#include "tutorial/EnableVirtualHIDDevice.hpp"

#include "services/Hobbard.hpp"
#include "views/AboutView.hpp"
#include "views/Animation.hpp"
#include "views/Link.hpp"

#include <QVBoxLayout>

#include <cstdint>

namespace grellan {

Tutorial::EnableVirtualHIDDevice::EnableVirtualHIDDevice(Binding<int> tutorialStep, Hobbard& hobbard, QWidget* parent)
    : Page(std::move(tutorialStep), parent), hobbard_(hobbard) {
  activate_ =
      column({row({text(Tutorial::tr("grellan runs on"), false),
                   makeLink(Tutorial::tr("Hobbard"), AboutView::backendHomePage()),
                   text(Tutorial::tr("daemons. They need to be allowed."), false)}),
              nullptr, text(Tutorial::tr("First, \".Hobbard-VirtualHIDDevice-Manager\" needs to be activated"), false),
              nullptr,
              buttonRow({button(Tutorial::tr("Activate VirtualHIDDevice-Manager"),
                                [this] {
                                  // The outcome shows through the backend's state, not here.
                                  hobbard_.activateDriver([](std::int32_t) {});
                                  setActivatePressed(true);
                                }),
                         button(Tutorial::tr("Back"), [this] { step(-1); })})});

  allow_ = column(
      {text(Tutorial::tr("This process needs to be allowed in Security & Privacy System Preferences"), false), nullptr,
       image(ImageResource::dextAllow()), nullptr, buttonRow({button(Tutorial::tr("Back"), [this] { step(-1); })})});

  notLoaded_ = new QWidget;
  auto* notLoadedLayout = new QVBoxLayout(notLoaded_);
  notLoadedLayout->setContentsMargins(defaultPadding, defaultPadding, defaultPadding, defaultPadding);
  notLoadedLayout->addWidget(activate_);
  notLoadedLayout->addWidget(allow_);

  enabled_ = column({text(Tutorial::tr("Enable Hobbard daemons"), true), nullptr,
                     text(Tutorial::tr("\".Hobbard-VirtualHIDDevice-Manager\" enabled"), false), nullptr,
                     buttonRow({button(Tutorial::tr("Continue"),
                                       [this] {
                                         step(+1);
                                         hobbard_.startServerAndMonitor();
                                       }),
                                button(Tutorial::tr("Back"), [this] { step(-1); })})});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(notLoaded_);
  layout->addWidget(enabled_);
  showLayout(false);
  connections_.push_back(connect(&hobbard_, &Hobbard::driverNotLoadedChanged, this, [this] { showLayout(true); }));
}

void Tutorial::EnableVirtualHIDDevice::setActivatePressed(bool pressed) {
  activatePressed_ = pressed;
  showLayout(true);
}

void Tutorial::EnableVirtualHIDDevice::showLayout(bool animated) {
  const bool notLoaded = hobbard_.driverNotLoaded();
  QWidget* shown = !notLoaded ? enabled_ : activatePressed_ ? allow_ : activate_;
  const bool changed = shown->isHidden() || (notLoaded && notLoaded_->isHidden());
  notLoaded_->setVisible(notLoaded);
  enabled_->setVisible(!notLoaded);
  activate_->setVisible(!activatePressed_);
  allow_->setVisible(activatePressed_);
  if (animated && changed) {
    DefaultAnimation::fadeIn(*shown);
  }
}

} // namespace grellan
