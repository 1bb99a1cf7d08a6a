// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class Workspace;

// The choices kept between runs in the platform's usual settings place: the database, the
// temporary folder, the folder of the last GPX file and the output option. Put back into the
// workspace when the window opens, written whenever one of them changes there.
class RememberedChoices : public QObject
{
    Q_OBJECT

public:
    RememberedChoices(Workspace& workspace, QObject* parent);

    // Puts the remembered choices back; a remembered database is opened on the window's
    // worker and forgotten, with a note, when it no longer opens.
    void restore();

signals:
    void statusMessage(const QString& text);

private:
    Workspace& m_workspace;
};
