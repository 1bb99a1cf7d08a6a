// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include "SvgPicture.h"

#include <QGuiApplication>

namespace {

// Drawn for the finest screen, so nothing is blown up at 200 % and more.
QPixmap picture(const QString& svgPath, QSize size)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap = QPixmap::fromImage(
        renderSvg(svgPath, qRound(size.width() * ratio), qRound(size.height() * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QIcon Pictures::windowIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(renderSvg(QStringLiteral(":/icons/geofill-16.svg"), 16, 16)));
    for (const int size : {24, 32, 48, 64, 128})
        icon.addPixmap(
            QPixmap::fromImage(renderSvg(QStringLiteral(":/icons/geofill.svg"), size, size)));
    return icon;
}

QPixmap Pictures::openButton()
{
    return picture(QStringLiteral(":/pictures/open.svg"), QSize(22, 22));
}

QPixmap Pictures::image1()
{
    return picture(QStringLiteral(":/pictures/image1.svg"), QSize(79, 44));
}
