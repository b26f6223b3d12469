#pragma once

#include "indicator/TextLayer.hpp"
#include "platform/ObservationToken.hpp"
#include "services/AccessibilityHelpers.hpp"
#include "services/Widget.hpp"

#include <QStringList>
#include <QTime>

#include <functional>
#include <vector>

namespace grellan {

class IndicatorImageView;

// The two small texts above and below the badge's letter: which widgets are chosen (followed live
// in the user defaults), their values, their layers, and how much room the letter keeps.
class Widgets final {
public:
  explicit Widgets(IndicatorImageView& parent);

  Widgets(const Widgets&) = delete;
  Widgets& operator=(const Widgets&) = delete;

  void commonInit();
  void updateWidgetsFromDefaults();
  void updateElectronAppsFromDefaults();
  void updateElectronAppsPermissions();
  // Gathers the chosen widgets' values and writes both layers.
  void refreshWidgets();

  QStringList enabledElectronApps;
  TextLayer topWidgetText;
  TextLayer bottomWidgetText;
  UserSelectedTextGrabber selectedTextGrabber;
  QString selectedText;
  QString time;
  QString characterCount;
  QString lineCount;
  QString lineAndCharCount;
  std::vector<ObservationToken> subscriptions;
  Widget topWidget = Widget::None;
  Widget bottomWidget = Widget::None;
  double moveUp = 0.0;
  double fontSizeMultiplier = 0.0;
  // The time of day the clock widget shows; tests fix it.
  std::function<QTime()> clock = [] { return QTime::currentTime(); };

private:
  QString textFor(Widget widget) const;

  IndicatorImageView& parent_;
  const std::vector<Widget> characterWidgets_ = {Widget::CharacterCount, Widget::CharacterAndLineCount};
  const std::vector<Widget> lineWidgets_ = {Widget::LineCount, Widget::CharacterAndLineCount};
};

} // namespace grellan
