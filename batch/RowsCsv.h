#pragma once
#include <ostream>

#include "store/Database.h"

namespace photocheck {

// Writes the open result set of a query as CSV for spreadsheet programs: UTF-8 with a byte order
// mark, a header row with the column names, one line per row with every column in the order of the
// result set, text trimmed, NULL as an empty field, numbers in decimal. Fields that hold a comma, a
// quote or a line break are quoted, quotes doubled; lines end with CR LF.
void writeRowsCsv(const Query& rows, std::ostream& out);

// One CSV field, quoted when it has to be.
std::string csvField(const std::string& text);

}  // namespace photocheck
