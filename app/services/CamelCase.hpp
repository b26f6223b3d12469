#pragma once

#include <QString>

namespace grellan {

// Splits a camel-case identifier into lower-case words: every upper-case letter becomes a space and
// its lower-case form ("topLeft" gives "top left", "TopLeft" gives " top left").
QString camelCaseToWords(const QString& text);

} // namespace grellan
