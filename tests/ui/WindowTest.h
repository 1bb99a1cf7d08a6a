// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ScriptedPrompts.h"
#include "TempSettings.h"
#include "TestDatabase.h"

#include "SortedListModel.h"
#include "TaskRunner.h"
#include "frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <memory>

// A real main window over a real database, every prompt answered from a script. Controls
// are found the way a user names them: by their objectName.
class WindowTest : public QObject
{
protected:
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmMain> m_window;

    template <typename T = QWidget> T* w(const char* name) const
    {
        T* found = m_window->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no control named %s", name);
        return found;
    }
    SortedListModel& rows(const char* list) const
    {
        return *static_cast<SortedListModel*>(w<QListView>(list)->model());
    }
    QStringList list1() const { return rows("List1").items(); }
    bool idle() const { return !m_window->runner().isRunning(); }

    bool openWindow()
    {
        m_settings = std::make_unique<TempSettings>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_db = std::make_unique<TestDatabase>();
        m_window = std::make_unique<frmMain>();
        m_window->show();
        // The category chooser acts on focus changes, which need an active window.
        return m_db->isValid() && QTest::qWaitForWindowActive(m_window.get());
    }
    void closeWindow()
    {
        m_window.reset();
        m_db.reset();
        m_prompts.reset();
        m_settings.reset();
    }

    // Clicks a control and waits for whatever run it started to end.
    void click(const char* name)
    {
        QTest::mouseClick(w(name), Qt::LeftButton);
        QTRY_VERIFY(idle());
    }
    void chooseDatabase(const QString& path)
    {
        m_prompts->files.enqueue(path);
        click("cmdPoiOpen");
    }
    // Picks entry `index` while the chooser has the focus, then moves the focus on.
    void pickCategory(int index, bool leave = true)
    {
        auto* chooser = w<QComboBox>("cmbCat");
        chooser->setFocus();
        chooser->setCurrentIndex(index);
        if (leave)
            w("txtPoiPath")->setFocus();
    }
    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = m_db->folder() + u'/' + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(content);
        return path;
    }
    static QByteArray waypoints(int count)
    {
        QByteArray gpx = "<gpx>\n";
        for (int i = 0; i < count; ++i)
            gpx += "<wpt lat=\"51.5\" lon=\"-0.12\"><name>P" + QByteArray::number(i) +
                   "</name></wpt>\n";
        return gpx + "</gpx>\n";
    }
};
