#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

namespace grellan {

// The About window's content: the version, the credit to the backend with a link to its home page,
// and how to open settings.
class AboutView final : public QWidget {
  Q_OBJECT

public:
  explicit AboutView(QWidget* parent = nullptr);

  const QString& appVersion() const { return appVersion_; }
  static QUrl backendHomePage();

private:
  QString appVersion_;
};

} // namespace grellan
