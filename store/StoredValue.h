// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

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

// The same as the shell's UTF-8 bytes, for listings passed on without ever becoming text:
// `text` views the shell's output, or `scratch` when it had to be changed.
struct StoredBytes
{
    StoredValue::Kind kind = StoredValue::Kind::Null;
    QByteArrayView text;

    // From the form StoredValue::select() prints.
    static StoredBytes fromShell(QByteArrayView printed, QByteArray& scratch);
    // From a value as the shell prints it by itself: a number when it reads as one, nothing
    // when empty, else a text.
    static StoredBytes fromPrinted(QByteArrayView printed);
    static StoredBytes ofText(QByteArrayView utf8) { return {StoredValue::Kind::Text, utf8}; }

    StoredValue value() const { return {kind, QString::fromUtf8(text)}; }
    // The number it holds when it is one within ±limit, such as a usable latitude.
    std::optional<double> number(double limit) const;
    // The whole number it holds, such as a category's number.
    std::optional<qint64> integer() const;
};

// A text the shell printed as hex(), so that no character of it could be taken for the shell's
// separators (bytes that are not UTF-8 become U+FFFD).
QString fromHexText(QStringView hex);
