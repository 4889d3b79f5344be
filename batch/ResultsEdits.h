#pragma once
#include <string>
#include <vector>

#include "platform/OperatorError.h"
#include "store/Database.h"

namespace photocheck {

// An edit of the grid that was not written; the message says why, the engine's text after it where the
// engine refused.
class EditNotSaved : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// Edits of the results grid written back into pictureMsg. The rows are found by their row ids
// (Query::rowId); the values are bound to the statements, never written into them. Every failure
// raises EditNotSaved and leaves the table as it was.

// Changes one cell: the column is one of ResultsColumns (letter case ignored), stored by its kind:
// - Number: a whole number (as the range filters read one, blanks around it allowed), or an empty
//   text for no value (NULL);
// - PaddedText: as the batch run stores it, the trimmed text between one leading and one trailing
//   blank, so every reader that trims finds it (an empty text too, as the run stores an empty name);
// - Text: trimmed, NULL when empty (a passed photo has no reason).
// Returns the value the table holds now, for the grid to show.
SqlValue updateResultCell(Database& db, RowId row, const std::string& column, const std::string& text);

// Deletes the rows with these row ids, all of them or, on an error, none. Row ids that are no longer
// in the table are passed over. Returns the number of rows deleted.
size_t deleteResultRows(Database& db, const std::vector<RowId>& rows);

}  // namespace photocheck
