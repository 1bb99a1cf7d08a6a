#include "Pictures.h"

QIcon Pictures::windowIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/geofill-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/geofill-16.png"), QSize(16, 16));
    return icon;
}

QPixmap Pictures::openButton()
{
    return QPixmap(QStringLiteral(":/pictures/open.png"));
}

QPixmap Pictures::image1()
{
    return QPixmap(QStringLiteral(":/pictures/image1.png"));
}
