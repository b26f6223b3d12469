#include "services/Widget.hpp"

namespace grellan {

QString rawValue(Widget widget) {
  switch (widget) {
    case Widget::Time:
      return "Time";
    case Widget::CharacterCount:
      return "Selected character count";
    case Widget::LineCount:
      return "Selected lines count";
    case Widget::CharacterAndLineCount:
      return "Character and line count";
    case Widget::None:
      break;
  }
  return "None";
}

std::optional<Widget> widgetFromRawValue(const QString& text) {
  for (const Widget widget : allWidgets) {
    if (rawValue(widget) == text) {
      return widget;
    }
  }
  return std::nullopt;
}

} // namespace grellan
