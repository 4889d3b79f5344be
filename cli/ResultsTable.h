#pragma once
#include <ostream>

#include "store/Database.h"

namespace photocheck {

// Prints the results as the window's grid shows them: file name, verdict and reason, one row per line,
// in columns that line up on a terminal (a Chinese character takes two columns).
void printResultsTable(const Query& results, std::ostream& out);

// Columns a text takes on a terminal.
int displayWidth(const std::string& utf8);

}  // namespace photocheck
