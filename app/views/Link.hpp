#pragma once

#include <QLabel>
#include <QUrl>

namespace grellan {

// A text link that opens `url` in the default browser when activated.
QLabel* makeLink(const QString& title, const QUrl& url, QWidget* parent = nullptr);

} // namespace grellan
