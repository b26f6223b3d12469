#pragma once

#include "platform/ObservationToken.hpp"
#include "views/Binding.hpp"

#include <QMargins>
#include <QPointer>
#include <QSize>
#include <QWidget>

class QVariantAnimation;
class QVBoxLayout;

namespace grellan {

class GrellanKit_;
class Hobbard;
class PercentageRing;

// The onboarding tutorial's window content: a progress ring over the page of the current step. The
// pages move the step through the binding the frame hands them, and every change is animated.
class Tutorial final : public QWidget {
  Q_OBJECT

public:
  class Page;
  class FirstStep;
  class EnableVirtualHIDDevice;
  class EnableHobbardDaemons;
  class ChooseIndicatorLocation;
  class ChooseVimKey;
  class Finished;

  static constexpr int totalSteps = 6;
  // Left, top, right, bottom.
  static constexpr QMargins padding{10, 20, 10, 20};
  static constexpr QSize contentSize{500, 500};
  static constexpr QSize ringSize{45, 45};
  static constexpr double ringWidth = 8.0;

  // The pages after the greeting use the engine wrapper and the backend control.
  Tutorial(GrellanKit_& kit, Hobbard& hobbard, QWidget* parent = nullptr);
  ~Tutorial() override;

  int tutorialStep() const { return tutorialStep_; }
  // The step binding: a change shows the step's page and moves the ring, both animated.
  void setTutorialStep(int step);

  // The ring's fraction on a step: the step over the last step, in floating point.
  static double progress(int step);

  PercentageRing* ring() const { return ring_; }
  // The current page; null on a step outside 0 to 5.
  Page* page() const;
  // While the ring or a page is still moving.
  bool animating() const;

signals:
  // The user went on from the daemons' page: the indicator should show, so the next page's choice
  // moves a visible one.
  void indicatorWindowWanted();
  // The user pressed "Finish"; the tutorial is passed.
  void finished();

private:
  Page* makePage();
  void showPage(bool animated);

  GrellanKit_& kit_;
  Hobbard& hobbard_;
  int tutorialStep_ = 0;
  Binding<int> stepBinding_;
  QWidget* content_;
  QVBoxLayout* contentLayout_;
  PercentageRing* ring_;
  QVariantAnimation* ringAnimation_;
  QPointer<Page> page_;
  ObservationToken indicatorLocationObservation_;
};

} // namespace grellan
