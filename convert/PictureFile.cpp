// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFile.h"

#include "OutputFile.h"

#include <QBuffer>

namespace {

// Qt's PNG quality: 100 is no compression, 0 the most; this one gives zlib's quick level,
// much quicker than the default on a crowded picture for a few more bytes.
constexpr int kQuickCompression = 80;

} // namespace

Outcome<> writePicture(const QImage& image, const QString& path, std::FILE* standardOutput,
                       bool* readerGone)
{
    const bool printed = path == QLatin1String("-");
    const QString cannot =
        printed ? QStringLiteral("The picture cannot be written to standard output.")
                : QStringLiteral("The picture cannot be written to %1.").arg(path);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG", kQuickCompression))
        return Problem{cannot, QStringLiteral("Not enough memory for a picture of that size."), 0};
    OutputFile file;
    Outcome<> written;
    if (printed)
        file.open(standardOutput);
    else
        written = file.open(path);
    if (written && file.write(png))
        written = file.commit();
    else if (written)
        written = file.status();
    *readerGone = file.readerGone();
    if (!written)
        return Problem{cannot, written.problemText(), 0};
    return {};
}
