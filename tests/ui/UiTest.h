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
