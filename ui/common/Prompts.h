// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Problem.h>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Every message box and the one file-open dialog of the program pass through here, so that
// tests can answer them without a modal window ever blocking.
class Prompts
{
public:
    // Choices: two buttons named by `choices` and Cancel; the first answers Ok, the second
    // Alternative.
    enum class Buttons
    {
        Ok,
        OkCancel,
        Choices
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Alternative
    };

    struct Message
    {
        QString text;
        QString title = QStringLiteral("Geofill");
        Buttons buttons = Buttons::Ok;
        QString detail;      // the underlying tool's own message, shown as detail text
        QStringList choices; // the captions of the two choices, with Buttons::Choices
    };

    struct FileRequest
    {
        QString title = QCoreApplication::translate("Prompts", "Open");
        QStringList filters; // Qt notation: "Database Files (*.db)"
        int selectedFilter = 0;
        QString directory;     // where the dialog starts; empty for its own choice
        QString defaultSuffix; // added to a name typed without one (save dialogs)
    };

    virtual ~Prompts() = default;

    // Escape and the close box count as Cancel; Cancel is a question's default button.
    virtual Answer message(QWidget* parent, const Message& message) = 0;
    // The chosen full path, or an empty string when the dialog was cancelled.
    virtual QString openFile(QWidget* parent, const FileRequest& request) = 0;
    // The same for a file to be written; an existing file is confirmed by the dialog.
    virtual QString saveFile(QWidget* parent, const FileRequest& request) = 0;

    // The prompts in use: real dialogs unless a test installed its own.
    static Prompts& current();
    // Installs `prompts` (not owned); nullptr restores the real dialogs.
    static void install(Prompts* prompts);
};

// Shorthands for the common cases.
void showMessage(QWidget* parent, const QString& text, const QString& detail = {});
// The problem's message, with what the tool said as the detail.
void showProblem(QWidget* parent, const Problem& problem);
Prompts::Answer askOkCancel(QWidget* parent, const QString& text, const QString& title);
// Two choices and Cancel, Cancel the default.
Prompts::Answer askChoice(QWidget* parent, const QString& text, const QString& first,
                          const QString& second);

// Sets up the open-file dialog for `request`: each filter shows as written, and "*.*" lists
// every file, names without a dot included.
void setUpOpenDialog(QFileDialog& dialog, const Prompts::FileRequest& request);

// "description|pattern|description|pattern|" into Qt's "description (pattern)" entries.
QStringList filtersFromList(const QString& filterList);
