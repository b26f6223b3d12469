#include "shell/StartupWarmUp.hpp"

#include "resources/Assets.hpp"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace grellan {

StartupWarmUp::StartupWarmUp()
    : thread_([] {
        QFontDatabase::families();
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setFont(QGuiApplication::font());
        painter.drawText(image.rect(), "grellan");
        QSvgRenderer(assetPath(ImageResource::menubarV())).render(&painter);
        // Loads the icon engine plugin that the menu-bar extra's icon needs.
        QIcon(assetPath(ImageResource::menubarV()));
      }) {}

} // namespace grellan
