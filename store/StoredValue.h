#pragma once

#include <QString>
#include <QStringView>

// A value as the database holds it, read back with its kind: a number stays a number (its
// text is the shortest that gives it back exactly), a text a text, and NULL is neither.
struct StoredValue
{
    enum class Kind
    {
        Null,
        Number,
        Text
    };
    Kind kind = Kind::Null;
    QString text; // the number's digits, or the text; empty for NULL

    bool operator==(const StoredValue&) const = default;

    // SQL that prints `column` in the form fromShell() reads.
    static QString select(const QString& column);
    static StoredValue fromShell(QStringView printed);
    static StoredValue number(qint64 value) { return {Kind::Number, QString::number(value)}; }
};

// Texts are printed hex-encoded, so that no character of theirs can be taken for the shell's
// separators; this is the SQL for that and its reading (bytes that are not UTF-8 become U+FFFD).
QString hexText(const QString& column);
QString fromHexText(QStringView hex);
