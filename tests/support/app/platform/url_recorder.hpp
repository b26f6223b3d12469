#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

namespace grellan_test {

// While it exists, pages of the scheme opened through the desktop are recorded instead of shown.
class UrlRecorder final : public QObject {
  Q_OBJECT

public:
  explicit UrlRecorder(QString scheme = "https");
  ~UrlRecorder() override;

  const QList<QUrl>& opened() const { return opened_; }

public slots:
  void open(const QUrl& url);

private:
  QString scheme_;
  QList<QUrl> opened_;
};

} // namespace grellan_test
