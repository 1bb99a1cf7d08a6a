#pragma once

#include <QTest>
#include <QWidget>

// Controls are found the way a user names them: by their objectName.
template <typename T = QWidget> T* control(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control named %s", name);
    return found;
}

// twips of the layout to pixels: 15 twips are one pixel.
inline QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}
