// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryStore.h"

#include <SqlText.h>

#include <QLocale>
#include <QRegularExpression>

namespace CategoryStore {

Outcome<ShellRowList> list(const QString& dbPath, const StopCheck& stop, const ShellOptions& shell)
{
    return DatabaseShell::runStatement(dbPath, QStringLiteral("select * from category ;"), stop,
                                       shell);
}

QString insertStatement(const QString& label, const QString& description)
{
    return QStringLiteral("insert into category(label,desc,enabled) values(") +
           SqlText::literal(label) + u',' + SqlText::literal(description) + QStringLiteral(",1);");
}

Outcome<> insert(const QString& dbPath, const QString& label, const QString& description,
                 const ShellOptions& shell)
{
    return DatabaseShell::runInTransaction(dbPath, {insertStatement(label, description)}, {},
                                           shell);
}

bool isEnabled(const QString& enabledField)
{
    // Read as a number the way the table's own tools do: the leading numeric part counts,
    // and a field without one reads as 0.
    static const QRegularExpression leadingNumber(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const QRegularExpressionMatch match = leadingNumber.match(enabledField);
    return match.hasMatch() && QLocale::c().toDouble(match.captured().trimmed()) != 0.0;
}

} // namespace CategoryStore
