// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqlText.h"

#include "ShellRows.h"

#include <QCoreApplication>

namespace SqlText {

QString literal(const QString& value)
{
    QString literal;
    literal.reserve(value.size() + 2);
    literal += u'\'';
    for (const QChar c : value) {
        // The shell reads its input by lines and drops a carriage return before a line feed,
        // so line breaks inside a value are spelled out.
        if (c == u'\r' || c == u'\n') {
            literal +=
                c == u'\r' ? QStringLiteral("'||char(13)||'") : QStringLiteral("'||char(10)||'");
            continue;
        }
        if (c == u'\'')
            literal += u'\'';
        literal += c;
    }
    literal += u'\'';
    return literal;
}

Outcome<> checkSendable(QByteArrayView statement)
{
    for (const char c : statement) {
        if (c == '\0' || c == ShellRows::kFieldEnd || c == ShellRows::kRowEnd)
            return Problem{QCoreApplication::translate(
                               "SqlText", "The text holds a control character (code %1) that the "
                                          "database cannot take; nothing was changed.")
                               .arg(int(c)),
                           {},
                           0};
    }
    return {};
}

} // namespace SqlText
