#pragma once
#include <ostream>

#include "store/Database.h"

namespace photocheck {

// Writes the rows of the statement open on a query as CSV for spreadsheet programs, going through them
// once without keeping them: UTF-8 with a byte order mark (bytes of a text that are not UTF-8 become
// U+FFFD), a header row with the column names, one line per row with every column in the order of the
// result set, text trimmed, NULL as an empty field, numbers in decimal. A text that begins with
// "=", "+", "-", "@", a tab or a carriage return gets an apostrophe in front, so that a spreadsheet
// shows it instead of running it as a formula (a file named "=HYPERLINK(...).jpg"). Fields that hold a
// comma, a quote or a line break are quoted, quotes doubled; lines end with CR LF.
void writeRowsCsv(const Query& rows, std::ostream& out);

// One CSV field, quoted when it has to be.
std::string csvField(const std::string& text);
// A text value's field: with the apostrophe in front where a spreadsheet would see a formula, quoted
// when it has to be.
std::string csvTextField(const std::string& text);

}  // namespace photocheck
