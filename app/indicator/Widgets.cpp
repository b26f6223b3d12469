#include "indicator/Widgets.hpp"

#include "indicator/IndicatorImageView.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/IndicatorTypes.hpp"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cstdio>

namespace grellan {
namespace {

bool contains(const std::vector<Widget>& widgets, Widget widget) {
  return std::find(widgets.begin(), widgets.end(), widget) != widgets.end();
}

Widget storedWidget(const QString& key) {
  return widgetFromRawValue(UserDefaults::standard().stringValue(key).value_or(QString())).value_or(Widget::None);
}

// User-perceived characters: a composed letter or an emoji counts once.
qsizetype characterCountOf(const QString& text) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  qsizetype count = 0;
  while (finder.toNextBoundary() > 0) {
    ++count;
  }
  return count;
}

qsizetype lineCountOf(const QString& text) {
  const qsizetype pieces = text.split('\n', Qt::SkipEmptyParts).size();
  return pieces + (text.endsWith('\n') ? 1 : 0);
}

} // namespace

Widgets::Widgets(IndicatorImageView& parent)
    : enabledElectronApps(
          UserDefaults::standard().stringListValue(DefaultsKeys::enabledElectronApps).value_or(QStringList())),
      parent_(parent) {
  updateWidgetsFromDefaults();
  auto& defaults = UserDefaults::standard();
  subscriptions.push_back(
      defaults.observe(DefaultsKeys::topWidget, true, [this](const auto&) { updateWidgetsFromDefaults(); }));
  subscriptions.push_back(
      defaults.observe(DefaultsKeys::bottomWidget, true, [this](const auto&) { updateWidgetsFromDefaults(); }));
  subscriptions.push_back(NotificationCenter::defaultCenter().addObserver(
      didActivateApplicationNotification, [this](const QVariant&) { updateElectronAppsPermissions(); }));
  subscriptions.push_back(defaults.observe(DefaultsKeys::enabledElectronApps, true,
                                           [this](const auto&) { updateElectronAppsFromDefaults(); }));
  selectedTextGrabber.callback = [this](const QString& text) { selectedText = text; };
}

void Widgets::commonInit() {
  topWidgetText.string = characterCount;
  topWidgetText.foregroundColor = Qt::white;
  topWidgetText.contentsScale = scale();
  bottomWidgetText.string = time;
  bottomWidgetText.foregroundColor = Qt::white;
  bottomWidgetText.contentsScale = scale();
  bottomWidgetText.wrapped = true;
}

void Widgets::updateWidgetsFromDefaults() {
  topWidget = storedWidget(DefaultsKeys::topWidget);
  bottomWidget = storedWidget(DefaultsKeys::bottomWidget);
}

void Widgets::updateElectronAppsFromDefaults() {
  enabledElectronApps =
      UserDefaults::standard().stringListValue(DefaultsKeys::enabledElectronApps).value_or(QStringList());
}

void Widgets::updateElectronAppsPermissions() {
  const auto frontmost = Workspace::frontmostApplication();
  if (!frontmost || frontmost->bundleIdentifier.isEmpty()) {
    return;
  }
  if (enabledElectronApps.contains(frontmost->bundleIdentifier)) {
    std::printf("set AX\n");
    std::fflush(stdout);
    AXEnhancedUserInterfaceActivator::activate(*frontmost);
  }
}

QString Widgets::textFor(Widget widget) const {
  switch (widget) {
    case Widget::Time:
      return time;
    case Widget::CharacterCount:
      return characterCount;
    case Widget::LineCount:
      return lineCount;
    case Widget::CharacterAndLineCount:
      return lineAndCharCount;
    case Widget::None:
      break;
  }
  return {};
}

void Widgets::refreshWidgets() {
  moveUp = 0.0;
  fontSizeMultiplier = 0.0;
  const auto either = [this](const std::vector<Widget>& kinds) {
    return contains(kinds, topWidget) || contains(kinds, bottomWidget);
  };
  if (topWidget != Widget::None || bottomWidget != Widget::None) {
    if (either(characterWidgets_) || either(lineWidgets_)) {
      selectedTextGrabber.get();
    }
    if (either({Widget::Time})) {
      const QTime now = clock();
      time = QString::asprintf("%02d:%02d", now.hour(), now.minute());
    }
    if (either(characterWidgets_)) {
      characterCount = QString::number(characterCountOf(selectedText));
    }
    if (either(lineWidgets_)) {
      lineCount = QString::number(lineCountOf(selectedText));
    }
    if (either({Widget::CharacterAndLineCount})) {
      lineAndCharCount = characterCount + ":" + lineCount;
    }
  }

  const QSizeF bounds = parent_.bounds();
  const double width = bounds.width();
  topWidgetText.string = textFor(topWidget);
  if (topWidget == Widget::None) {
    fontSizeMultiplier += 0.25;
    moveUp += -0.08;
  }
  bottomWidgetText.string = textFor(bottomWidget);
  if (bottomWidget == Widget::None) {
    fontSizeMultiplier += 0.25;
    moveUp += 0.08;
  }

  const double size = width / 3.5;
  topWidgetText.fontSize = size;
  topWidgetText.frame = QRectF(QPointF(), bounds);
  bottomWidgetText.fontSize = size;
  bottomWidgetText.frame = QRectF(0.0, 4.4, width, size);
}

} // namespace grellan
