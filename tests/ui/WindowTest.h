#pragma once

#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "UiTest.h"

#include "LockableComboBox.h"
#include "SortedListModel.h"
#include "frmMain.h"
#include "ui_frmMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

// A real main window over a real database, every prompt answered from a script.
// Test classes call openWindow() in init() and closeWindow() in cleanup().
class WindowTest : public QObject
{
protected:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmMain> m_window;

    Ui::frmMain& ui() { return m_window->ui(); }
    QStringList list1() { return m_window->list1Rows().items(); }

    bool openWindow()
    {
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
    }

    void chooseDatabase(const QString& path)
    {
        m_prompts->files.enqueue(path);
        QTest::mouseClick(ui().cmdPoiOpen, Qt::LeftButton);
    }
    void chooseDatabase() { chooseDatabase(m_db->path()); }

    // Picks entry `index` while the chooser has the focus, then moves the focus on.
    void pickCategory(int index, bool leave = true)
    {
        ui().cmbCat->setFocus();
        ui().cmbCat->setCurrentIndex(index);
        if (leave)
            ui().txtPoiPath->setFocus();
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
};
