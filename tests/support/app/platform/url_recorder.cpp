#include "support/app/platform/url_recorder.hpp"

#include <QDesktopServices>

namespace grellan_test {

UrlRecorder::UrlRecorder(QString scheme) : scheme_(std::move(scheme)) {
  QDesktopServices::setUrlHandler(scheme_, this, "open");
}

UrlRecorder::~UrlRecorder() { QDesktopServices::unsetUrlHandler(scheme_); }

void UrlRecorder::open(const QUrl& url) { opened_.append(url); }

} // namespace grellan_test
