// SPDX-License-Identifier: GPL-3.0-or-later
#include "Prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {

class DialogPrompts final : public Prompts
{
public:
    Answer message(QWidget* parent, const Message& m) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(m.title);
        box.setText(m.text);
        box.setIcon(QMessageBox::NoIcon);
        if (!m.detail.isEmpty())
            box.setDetailedText(m.detail);
        if (m.buttons == Buttons::Choices) {
            QPushButton* first = box.addButton(m.choices.value(0), QMessageBox::AcceptRole);
            QPushButton* second = box.addButton(m.choices.value(1), QMessageBox::AcceptRole);
            QPushButton* cancel = box.addButton(QMessageBox::Cancel);
            box.setDefaultButton(cancel);
            box.setEscapeButton(cancel);
            box.exec();
            return box.clickedButton() == first    ? Answer::Ok
                   : box.clickedButton() == second ? Answer::Alternative
                                                   : Answer::Cancel;
        }
        if (m.buttons == Buttons::OkCancel) {
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            // A question defaults to the safe answer: Enter, like Escape, is Cancel.
            box.setDefaultButton(QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }

    QString openFile(QWidget* parent, const FileRequest& r) override
    {
        return chooseFile(parent, r, QFileDialog::AcceptOpen);
    }

    QString saveFile(QWidget* parent, const FileRequest& r) override
    {
        return chooseFile(parent, r, QFileDialog::AcceptSave);
    }

private:
    static QString chooseFile(QWidget* parent, const FileRequest& r, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, r.title, r.directory);
        setUpOpenDialog(dialog, r);
        if (mode == QFileDialog::AcceptSave) {
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
        }
        dialog.setDefaultSuffix(r.defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

DialogPrompts g_dialogs;
Prompts* g_current = nullptr;

} // namespace

Prompts& Prompts::current()
{
    return g_current ? *g_current : g_dialogs;
}

void Prompts::install(Prompts* prompts)
{
    g_current = prompts;
}

void showMessage(QWidget* parent, const QString& text, const QString& detail)
{
    Prompts::Message m;
    m.text = text;
    m.detail = detail;
    Prompts::current().message(parent, m);
}

void showProblem(QWidget* parent, const Problem& problem)
{
    showMessage(parent, problem.message, problem.detail);
}

Prompts::Answer askChoice(QWidget* parent, const QString& text, const QString& first,
                          const QString& second)
{
    Prompts::Message m;
    m.text = text;
    m.buttons = Prompts::Buttons::Choices;
    m.choices = {first, second};
    return Prompts::current().message(parent, m);
}

Prompts::Answer askOkCancel(QWidget* parent, const QString& text, const QString& title)
{
    Prompts::Message m;
    m.text = text;
    m.title = title;
    m.buttons = Prompts::Buttons::OkCancel;
    return Prompts::current().message(parent, m);
}

void setUpOpenDialog(QFileDialog& dialog, const Prompts::FileRequest& request)
{
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The dialog matches each entry by the patterns of its last parentheses and shows the text
    // before them: every entry gets its patterns added, so it shows as written. There "*.*"
    // becomes "*", which matches names without a dot as well.
    static const QRegularExpression patterns(QStringLiteral(R"(\(([^()]*)\)\s*$)"));
    QStringList filters;
    for (const QString& filter : request.filters) {
        const QRegularExpressionMatch match = patterns.match(filter);
        QStringList matched = match.hasMatch() ? match.captured(1).split(u' ', Qt::SkipEmptyParts)
                                               : QStringList{QStringLiteral("*")};
        for (QString& pattern : matched)
            if (pattern == u"*.*")
                pattern = QStringLiteral("*");
        filters << filter + QStringLiteral(" (") + matched.join(u' ') + u')';
    }
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < filters.size())
        dialog.selectNameFilter(filters.at(request.selectedFilter));
}

QStringList filtersFromList(const QString& filterList)
{
    const QStringList parts = filterList.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            continue;
        const QString description = parts.at(i);
        const QString pattern =
            QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses; keep a description that already names
        // them.
        filters << (description.endsWith(QLatin1Char(')')) && description.contains(pattern)
                        ? description
                        : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}
