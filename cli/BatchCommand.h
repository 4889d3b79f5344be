#pragma once
#include <ostream>
#include <string>

#include "batch/ResultsQuery.h"

namespace photocheck {

// "photocheck-cli batch": the batch run over a folder without the window.
struct BatchCommandOptions {
    std::string folder;                 // as typed; the run takes it through chosenPhotoFolder
    bool pupils = false;                // as the check box "是否判断瞳孔"
    std::string verdict = AllVerdicts;  // the verdict filter the results are reopened with
    std::string csvFile;                // where to write the run's rows as CSV; none when empty
    std::string reportFile;             // where to write the run report (HTML); none when empty
    bool showResults = false;           // print the results as the grid shows them after the run
    std::string workFolder;             // the default working folder when empty
    int threads = 1;
    bool terminal = false;  // draw a progress bar instead of the per-photo lines
};

// Starts as the window does (Workspace::open: when one of the four working files is missing, all four
// are installed afresh from the package; then the database opens and the thresholds are read), runs
// the batch and prints the log pane's lines. The installation and the run each hold the working
// folder's lock, so neither happens while another run works on that folder. The working files stay
// in place. Messages are the operator's, in Chinese.
// Ctrl+C (SIGINT) or SIGTERM stops the run after the photos in work; the rows and copies made stay, the
// report and the CSV are not written and nothing is left of them.
// Returns the exit status: 0 after a completed run, 2 after a completed run whose result folders are
// not as they should be (missing copies, old files that stayed) or whose report could not be written,
// 1 after a refusal or an error, 128 + the signal's number after a stop by a signal (130, 143).
int runBatchCommand(const BatchCommandOptions& options, std::ostream& out, std::ostream& err);

}  // namespace photocheck
