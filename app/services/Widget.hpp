#pragma once

#include <QString>

#include <array>
#include <optional>

namespace grellan {

// The small texts the indicator can show above and below its letter.
enum class Widget { Time, CharacterCount, LineCount, CharacterAndLineCount, None };

// In the order every list of widgets shows them.
inline constexpr std::array<Widget, 5> allWidgets = {Widget::Time, Widget::CharacterCount, Widget::LineCount,
                                                     Widget::CharacterAndLineCount, Widget::None};

// The text shown to the user and stored under "topWidget" and "bottomWidget".
QString rawValue(Widget widget);
// Exactly one of the five raw values (case matters), else nothing.
std::optional<Widget> widgetFromRawValue(const QString& rawValue);

} // namespace grellan
