#include "Prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        dialog.setAcceptMode(mode);
        dialog.setDefaultSuffix(r.defaultSuffix);
        dialog.setNameFilters(r.filters);
        if (r.selectedFilter >= 0 && r.selectedFilter < r.filters.size())
            dialog.selectNameFilter(r.filters.at(r.selectedFilter));
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

QStringList filtersFromList(const QString& filterList)
{
    const QStringList parts = filterList.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            continue;
        const QString description = parts.at(i);
        const QString pattern = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses; keep a description that already names them.
        filters << (description.endsWith(QLatin1Char(')')) && description.contains(pattern)
                        ? description
                        : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}
