#pragma once
#include <string>
#include <vector>

#include "batch/ResultsRun.h"
#include "platform/OperatorError.h"
#include "store/Database.h"

namespace photocheck {

// An edit of the grid that was not written; the message says why, the engine's text after it where the
// engine refused.
class EditNotSaved : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// The rows the grid shows are no longer in the table: a batch run (another window's, or
// "photocheck-cli batch" on the same working folder) has replaced them since the grid read them.
class StaleResults : public EditNotSaved {
  public:
    using EditNotSaved::EditNotSaved;
};

// Edits of the results grid written back into pictureMsg. The rows are found by their row ids
// (Query::rowId) together with the run whose rows the grid read (currentResultsRun before the grid
// opened its statement); the values are bound to the statements, never written into them. Every
// failure raises EditNotSaved and leaves the table as it was.

// A cell typed into: its column, one of ResultsColumns (letter case ignored), and the text typed,
// stored by the column's kind:
// - Number: a whole number (as the range filters read one, blanks around it allowed), or an empty
//   text for no value (NULL);
// - PaddedText: as the batch run stores it, the trimmed text between one leading and one trailing
//   blank, so every reader that trims finds it (an empty text too, as the run stores an empty name);
// - Text: trimmed, NULL when empty (a passed photo has no reason).
struct CellEdit {
    std::string column;
    std::string text;
};

// Writes the cells typed into one row, all of them or none, in one transaction. Refused with
// StaleResults when the table holds the rows of another run than `run`, and with a message when the
// row is no longer in the table (deleted from another window). Returns the values the table holds
// now, one per edit, for the grid to show.
std::vector<SqlValue> updateResultRow(Database& db, ResultsRun run, RowId row,
                                      const std::vector<CellEdit>& edits);

// Deletes the rows with these row ids, all of them or, on an error, none; refused with StaleResults
// when the table holds the rows of another run than `run`. Row ids that are no longer in the table
// are passed over. Returns the number of rows deleted.
size_t deleteResultRows(Database& db, ResultsRun run, const std::vector<RowId>& rows);

}  // namespace photocheck
