#include "tutorial/EnableHobbardDaemons.hpp"

#include "services/Hobbard.hpp"

#include <QVBoxLayout>

namespace grellan {

Tutorial::EnableHobbardDaemons::EnableHobbardDaemons(Binding<int> tutorialStep, Hobbard& hobbard,
                                                     std::function<void()> showIndicator, QWidget* parent)
    : Page(std::move(tutorialStep), parent), hobbard_(hobbard) {
  notPermitted_ = column(
      {text(Tutorial::tr("Enable \"hobbard_grabber\" and \"hobbard_observer\" processes in Input Monitoring"), false),
       nullptr, image(ImageResource::inputMonitoring()), nullptr,
       buttonRow({button(Tutorial::tr("Back"), [this] { step(-1); })})});

  permitted_ = column({text(Tutorial::tr("Enable Hobbard daemons"), true), nullptr,
                       text(Tutorial::tr("\"hobbard_grabber\" and \"hobbard_observer\" enabled"), false), nullptr,
                       buttonRow({button(Tutorial::tr("Continue"),
                                         [this, showIndicator = std::move(showIndicator)] {
                                           step(+1);
                                           // The next page's choice moves a visible indicator.
                                           showIndicator();
                                         }),
                                  button(Tutorial::tr("Back"), [this] { step(-1); })})});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(notPermitted_);
  layout->addWidget(permitted_);
  showLayout();
  connections_.push_back(
      connect(&hobbard_, &Hobbard::inputMonitoringNotPermittedChanged, this, [this] { showLayout(); }));
}

void Tutorial::EnableHobbardDaemons::showLayout() {
  const bool notPermitted = hobbard_.inputMonitoringNotPermitted();
  notPermitted_->setVisible(notPermitted);
  permitted_->setVisible(!notPermitted);
}

} // namespace grellan
