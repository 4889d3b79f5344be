#pragma once
#include <cstdint>

#include "store/Database.h"

namespace photocheck {

// Which batch run's rows the table pictureMsg holds, as a number that every run raises when it
// empties the table. The engine gives the row ids of deleted rows out again, so a row id alone does
// not say which row a grid read: the grid keeps the number read before it opened its statement, and
// every write from the grid compares it, in the same transaction, with the number now.
//
// The number lives in the table resultsRun. A database installed from an older data package has no
// such table: it reads as run 0 until the first run creates the table.
using ResultsRun = int64_t;

// The run whose rows pictureMsg holds now.
ResultsRun currentResultsRun(Database& db);

// Within the transaction of a run that empties pictureMsg: the rows from now on belong to a new run.
void beginNewResultsRun(Database& db);

}  // namespace photocheck
