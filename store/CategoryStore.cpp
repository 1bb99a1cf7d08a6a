#include "CategoryStore.h"

namespace CategoryStore {

ShellResult list(const QString& dbPath)
{
    return DatabaseShell::runStatement(dbPath, QStringLiteral("select * from category ;"));
}

QString insertStatement(const QString& label, const QString& description)
{
    return QStringLiteral("insert into category(label,desc,enabled) values(") +
           DatabaseShell::sqlLiteral(label) + u',' + DatabaseShell::sqlLiteral(description) +
           QStringLiteral(",1);");
}

ShellResult insert(const QString& dbPath, const QString& label, const QString& description)
{
    return DatabaseShell::runStatement(dbPath, insertStatement(label, description));
}

bool isEnabled(const QString& enabledField)
{
    return enabledField.trimmed() != u"0";
}

} // namespace CategoryStore
