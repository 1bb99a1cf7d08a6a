// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>

// Entity and blank handling for the text of a <name> or <desc>.
namespace valuetext {

// Appends `text` to `out` with each line break, and the blanks and tabs around it, made one
// blank, so a value spread over several lines reads as one. Entity and character references
// are decoded unless the text is CDATA (`decodeReferences` false); blanks already in `out`
// before this call are left alone.
void append(std::string& out, std::string_view text, bool decodeReferences);

// Decodes the reference at text[0] == '&' into `out` and returns the bytes it used. Anything
// that is not a known reference stays as it stands (one '&' used); a character XML forbids
// becomes a NUL, for the waypoint's check to refuse.
qsizetype decodeReference(std::string& out, std::string_view text);

} // namespace valuetext
