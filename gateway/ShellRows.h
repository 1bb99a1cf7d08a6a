#pragma once

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

// Splits the shell's output into rows of fields, counted from 0.
QList<QStringList> parse(const QString& output);
// The same split without copies: `visit` sees each row's fields as views into `output`.
// A piece after the last row separator is not a row.
void forEach(QStringView output, const std::function<void(std::span<const QStringView>)>& visit);

} // namespace ShellRows
