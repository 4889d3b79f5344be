#pragma once
#include <cstdint>
#include <string>

#include "store/ResultsSchema.h"
#include "store/SqlText.h"

namespace photocheck {

// The result row of one photo: the display line for the log pane and the column and value lists of
// its INSERT into pictureMsg, kept in step. The row owns every fragment format, blanks included.
class ResultRow {
  public:
    std::string line;     // display line: fragments of the form "  " + value
    std::string columns;  // comma-led column names; only the first ("name") has no comma
    std::string values;   // the value list, parallel to columns
    std::string reason;   // the reason of a failed stage as the operator reads it; empty otherwise

    void clear();

    // "name" and " ' " + name + " ' ": the first column of every row.
    void beginWithName(const std::string& name);
    // ",column" and ", ' " + text + " ' " (a single quote in the text is doubled).
    void addText(const std::string& column, const std::string& text);
    // ",column" and "," + number.
    void addNumber(const std::string& column, int64_t number);
    // ",reason" and ",'" + reason + "'", followed by one blank where the reason's fragment has one.
    // Returns false, the verdict of the stage that fails.
    enum class Blank { None, After };
    bool fail(const std::string& reason, Blank blank);
    // ",result" and ",'合格' " or ",'不合格' ".
    void addVerdict(bool passed);

    // "insert into pictureMsg (" + columns + ") values (" + values + ")".
    std::string insertStatement() const;
};

}  // namespace photocheck
