#include "shell/StartupWarmUp.hpp"

#include "resources/Assets.hpp"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <utility>

namespace grellan {

StartupWarmUp::StartupWarmUp(std::shared_future<void> fontConfigurationLoaded)
    : thread_([this, fontConfigurationLoaded = std::move(fontConfigurationLoaded)] {
        // First: the main thread may be waiting for it.
        menuBarIconPromise_.set_value(toIcon(ImageResource::menubarV()));
        // Loaded beside this, the font configuration would be read twice.
        fontConfigurationLoaded.wait();
        QFontDatabase::families();
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setFont(QGuiApplication::font());
        painter.drawText(image.rect(), "grellan");
        QSvgRenderer(assetPath(ImageResource::menubarV())).render(&painter);
      }) {}

} // namespace grellan
