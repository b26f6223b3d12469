#include "shell/StartupWarmUp.hpp"

#include "resources/Assets.hpp"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace grellan {

StartupWarmUp::StartupWarmUp()
    : thread_([this] {
        // First: the main thread may be waiting for it.
        menuBarIconPromise_.set_value(toIcon(ImageResource::menubarV()));
        QFontDatabase::families();
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setFont(QGuiApplication::font());
        painter.drawText(image.rect(), "grellan");
        QSvgRenderer(assetPath(ImageResource::menubarV())).render(&painter);
      }) {}

} // namespace grellan
