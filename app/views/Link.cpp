#include "views/Link.hpp"

#include "platform/Workspace.hpp"

namespace grellan {

QLabel* makeLink(const QString& title, const QUrl& url, QWidget* parent) {
  auto* link =
      new QLabel(QString("<a href=\"%1\">%2</a>").arg(url.toString().toHtmlEscaped(), title.toHtmlEscaped()), parent);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  QObject::connect(link, &QLabel::linkActivated, link,
                   [](const QString& address) { Workspace::openUrl(QUrl(address)); });
  return link;
}

} // namespace grellan
