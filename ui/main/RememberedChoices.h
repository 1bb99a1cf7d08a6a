#pragma once

#include <QObject>

class QLineEdit;
class QRadioButton;
class ConversionPanel;
class SetupPanel;

// The choices kept between runs in the platform's usual settings place: the database, the
// temporary folder, the folder of the last GPX file and the output option. Restored when the
// window opens, written whenever one of them changes.
class RememberedChoices : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QLineEdit* TxtTemp;
        QRadioButton* Option1;
        QRadioButton* Option2;
        QRadioButton* Option3;
    };

    RememberedChoices(const Controls& controls, SetupPanel& setup, ConversionPanel& conversion,
                      QObject* parent);

    // Puts the remembered choices back; a remembered database is opened on the window's
    // worker and forgotten, with a note, when it no longer opens.
    void restore();

signals:
    void statusMessage(const QString& text);

private:
    void rememberOption();

    Controls m_ui;
    SetupPanel& m_setup;
    ConversionPanel& m_conversion;
};
