#pragma once
#include <string>
#include <vector>

#include "batch/ResultsRun.h"
#include "store/Database.h"

namespace photocheck {

// Edits of the results grid written back into pictureMsg. The rows are found by their row ids
// (Query::rowId) together with the run whose rows the grid read (currentResultsRun before the grid
// opened its statement); the values are bound to the statements, never written into them. Every
// failure raises DatabaseError with a message for the operator, followed by the engine's text where
// the engine refused, and leaves the table as it was.

// The rows the grid shows are no longer in the table: a batch run (another window's, or
// "photocheck-cli batch" on the same working folder) has replaced them since the grid read them.
class StaleResults : public DatabaseError {
  public:
    using DatabaseError::DatabaseError;
};

// A cell typed into: its column, one of the thirteen of pictureMsg (letter case ignored), and the
// text typed.
// - Picsize, bluePercent, clarityPercent, headPercent, regularPercent, eyeLeftlet, eyeRightlet take a
//   whole number (as the range filters read one, blanks around it allowed), or an empty text for no
//   value (NULL).
// - name, mode, pix, folderPath are stored as the batch run stores them: the trimmed text between one
//   leading and one trailing blank, so every reader that trims finds it (an empty text too, as the run
//   stores an empty name).
// - reason and result are stored trimmed, NULL when empty (a passed photo has no reason).
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
