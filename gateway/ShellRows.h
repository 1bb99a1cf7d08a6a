// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <span>

// The rows the shell prints: a unit separator after each field but the last, a record
// separator after each row, so that no text a value may hold can shift a field.
namespace ShellRows {

inline constexpr char kFieldEnd = 0x1F;
inline constexpr char kRowEnd = 0x1E;

// The one-field row that ends every answer Geofill relies on: the shell prints it only once
// everything before it has run, so an answer without it is not complete (a shell that
// stopped, or a program that only looks like one).
inline constexpr char kAnswerEnd[] = "geofill:end-of-answer";
// The statement that prints it, to go after the caller's own.
inline constexpr char kAnswerEndStatement[] = "SELECT 'geofill:end-of-answer';";

// Whether `fields` is that row.
bool isAnswerEnd(std::span<const QStringView> fields);
// Takes the end row off the shell's output; false when the output does not end with it.
bool takeAnswerEnd(QString& output);
bool takeAnswerEnd(QByteArray& output);

// Splits the shell's output into rows of fields, counted from 0.
QList<QStringList> parse(const QString& output);
// The same split without copies: `visit` sees each row's fields as views into `output`.
// A piece after the last row separator is not a row.
void forEach(QStringView output, const std::function<void(std::span<const QStringView>)>& visit);
// The same on the shell's UTF-8 bytes.
void forEachBytes(QByteArrayView output,
                  const std::function<void(std::span<const QByteArrayView>)>& visit);

} // namespace ShellRows
