// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"

#include <QByteArrayView>
#include <QString>

// Statement text as the shell takes it.
namespace SqlText {

// A standard SQL string literal: 'O''Brien'. Nothing else in the value changes; carriage
// returns and line feeds are joined in as char(13) and char(10), so the statement stays on
// one line.
QString literal(const QString& value);

// The shell's line reader stops at a NUL and reads the rest of the line as more SQL, and the
// two row separators would split a listed row: text holding one of them is never sent.
Outcome<> checkSendable(QByteArrayView statement);

} // namespace SqlText
