// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

// The window icon and the two pictures of the windows, compiled into the program as SVG and
// drawn at the screen's scale.
class Pictures
{
public:
    static QIcon windowIcon();   // 16 x 16 up to 128 x 128
    static QPixmap openButton(); // 22 x 22, on the file chooser buttons
    static QPixmap image1();     // 79 x 44, the main window's Image1 and the About box
};
