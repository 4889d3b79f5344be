#pragma once
#include <ostream>

#include "store/Database.h"

namespace photocheck {

// Prints the rows of the statement open on a query as the window's grid shows them: file name, verdict
// and reason, one row per line, in columns that line up on a terminal (a Chinese character takes two
// columns). The rows are gone through twice, for the widths and for the lines, and never kept.
// Control characters are shown escaped ("\n", "\r", "\t", "\x1B" for the other C0 ones and DEL,
// "\u009B" for the C1 ones), so that a file name cannot move the cursor, colour the terminal or break
// a line; bytes that are not UTF-8 show as U+FFFD. The stored rows are not changed.
void printResultsTable(const Query& results, std::ostream& out);

// Columns a text takes on a terminal.
int displayWidth(const std::string& utf8);

}  // namespace photocheck
