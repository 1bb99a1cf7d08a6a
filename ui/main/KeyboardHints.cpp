#include "KeyboardHints.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace {

// objectName, and the letter of its caption that becomes the access key. Each letter is
// used once in the window; F and A belong to the menu bar.
struct AccessKey
{
    const char* name;
    char16_t letter;
};

constexpr AccessKey kButtons[] = {
    {"cmdNewCat", u'N'}, {"cmdDispEd", u'E'},   {"Option1", u'D'},        {"Option2", u'V'},
    {"Option3", u'S'},   {"cmdConv", u'C'},     {"cmdViewPoi", u'P'},     {"cmdViewCat", u'g'},
    {"Command4", u'x'},  {"optDisp", u'y'},     {"optdelselected", u'l'}, {"optdelall", u't'},
    {"optadnew", u'w'},  {"cmdActiondb", u'i'}, {"optCatAction", u'o'},   {"optPoiAction", u'r'},
};

constexpr AccessKey kMenuItems[] = {
    {"mnu", u'F'}, {"mnuAbout", u'A'}, {"mnuNewDb", u'N'}, {"mnuExport", u'E'},
    {"Bab", u'G'}, {"adb", u'A'},      {"mnuExit", u'x'},
};

// Labels and the fields their access key leads to.
struct Buddy
{
    const char* label;
    const char* field;
    char16_t letter;
};
constexpr Buddy kLabels[] = {{"Label2", "TxtTemp", u'm'}, {"Label1", "txtDb", u'b'}};

// The caption with "&" before the first `letter`; unchanged when it has an access key
// already or lacks the letter.
QString withAccessKey(const QString& caption, char16_t letter)
{
    if (caption.contains(u'&'))
        return caption;
    const qsizetype at = caption.indexOf(QChar(letter));
    if (at < 0)
        return caption;
    return caption.left(at) + u'&' + caption.mid(at);
}

} // namespace

void addKeyboardHints(QWidget* window)
{
    for (const AccessKey& key : kButtons) {
        if (auto* button = window->findChild<QAbstractButton*>(QLatin1String(key.name)))
            button->setText(withAccessKey(button->text(), key.letter));
    }
    for (const AccessKey& key : kMenuItems) {
        if (auto* menu = window->findChild<QMenu*>(QLatin1String(key.name)))
            menu->setTitle(withAccessKey(menu->title(), key.letter));
        else if (auto* action = window->findChild<QAction*>(QLatin1String(key.name)))
            action->setText(withAccessKey(action->text(), key.letter));
    }
    for (const Buddy& buddy : kLabels) {
        auto* label = window->findChild<QLabel*>(QLatin1String(buddy.label));
        auto* field = window->findChild<QWidget*>(QLatin1String(buddy.field));
        if (label && field) {
            label->setText(withAccessKey(label->text(), buddy.letter));
            label->setBuddy(field);
        }
    }
    if (auto* button = window->findChild<QWidget*>(QStringLiteral("cmdPoiOpen")))
        button->setToolTip(QStringLiteral("Choose the POI database"));
    if (auto* button = window->findChild<QWidget*>(QStringLiteral("cmdpFileOpen")))
        button->setToolTip(QStringLiteral("Choose a GPX file"));
}
