// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: draws the icon's SVG source as the square PNG files of the icon theme.
//   render-icon ICON.svg SIZE OUT.png [SIZE OUT.png ...]
#include "SvgPicture.h"

#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 4 || argc % 2 != 0) {
        std::fputs("usage: render-icon ICON.svg SIZE OUT.png [SIZE OUT.png ...]\n", stderr);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; i += 2) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QImage image = renderSvg(source, size, size);
        if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "render-icon: cannot draw %s as %s\n", argv[1], argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
