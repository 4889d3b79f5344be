#pragma once
#include <ostream>
#include <string>

#include "batch/ResultsQuery.h"

namespace photocheck {

// "photocheck-cli query": the results browser's query without the window.
struct QueryCommandOptions {
    std::string verdict = AllVerdicts;  // as the verdict box starts
    std::string name;                   // the file-name text
    // The four ranges as FROM-TO (see rangeEnds); empty leaves both ends empty.
    std::string blue, clarity, head, regular;
    std::string csvFile;  // write the rows as CSV into this file instead of the table
    bool json = false;    // print the rows as JSON lines instead of the table
    bool sql = false;     // print the statement only
    std::string workFolder;
};

struct RangeEnds {
    std::string from, to;
};
// The two edits of a range from "FROM-TO", split at the last "-": "20-80" fills both, "20-" and "20"
// FROM only, "-80" TO only, "-5-20" gives FROM "-5".
RangeEnds rangeEnds(const std::string& text);

// The ten texts of the window's filter controls that the options type in.
ResultsFilter filterOf(const QueryCommandOptions& options);

// Builds the statement as the window's query button does. Where the window shows a message instead,
// prints it on err and returns 1. With sql, prints the statement and returns 0 without opening anything.
// Otherwise opens it on the working database as it stands (Workspace::openForReading: nothing is
// installed or changed; incomplete working files end the command with a message) and prints its rows:
// as the grid shows them, as CSV into csvFile, or as one JSON object per row with every column (text
// trimmed, NULL as null). Returns 0 then, 1 after an error (the message says which).
int runQueryCommand(const QueryCommandOptions& options, std::ostream& out, std::ostream& err);

}  // namespace photocheck
