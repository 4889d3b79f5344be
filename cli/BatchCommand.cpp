#include "cli/BatchCommand.h"

#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>

#include "batch/BatchRun.h"
#include "batch/RowsCsv.h"
#include "cli/BatchReport.h"
#include "cli/ProgressBar.h"
#include "cli/ResultsTable.h"
#include "cli/WorkingFolder.h"
#include "platform/Paths.h"
#include "store/Database.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

// The folder as the folder dialog gives it: absolute, without a final separator except for the root,
// so that the rows name folders that can be found again from anywhere.
std::string photoFolderOf(const std::string& argument) {
    if (argument.empty()) return argument;
    std::string folder = argument;
    if (folder.front() != PathSeparator) {
        std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
        if (!cwd) throw CommandFailed("Cannot determine the current folder");
        folder = std::string(cwd.get()) + PathSeparator + folder;
    }
    while (folder.size() > 1 && folder.back() == PathSeparator) folder.pop_back();
    return folder;
}

// Like the window at start, a bad value is shown and the thresholds read before it are kept.
DetectionParameters loadThresholds(const std::string& work, std::ostream& err) {
    DetectionParameters params;
    try {
        LoadParametersFromFile(work + ParameterFileName, params,
                               [&err](const std::string& message) { err << message << '\n'; });
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
    return params;
}

BatchEvents eventsFor(ProgressBar& bar) {
    BatchEvents events;
    events.onLogLine = [&bar](const std::string& line) { bar.printLine(line); };
    events.onProgressStart = [&bar](int total) { bar.start(total); };
    events.onPhotoDone = [&bar](int processed, const std::string& line) { bar.photoDone(processed, line); };
    return events;
}

// The rows the results show after the run: with the filter "全部", one row per file.
void writeCsv(const Query& results, const std::string& csvFile) {
    std::ofstream out(csvFile, std::ios::binary | std::ios::trunc);
    if (!out) throw CommandFailed("Cannot write the CSV file " + csvFile);
    writeRowsCsv(results, out);
    out.close();
    if (!out) throw CommandFailed("Cannot write the CSV file " + csvFile);
}

}  // namespace

int runBatchCommand(const BatchCommandOptions& options, std::ostream& out, std::ostream& err) {
    ProgressBar bar(out, options.terminal);
    try {
        const WorkingFolder working = openWorkingFolder(options.workFolder, err);
        const std::string& work = working.folder;
        const std::unique_ptr<Database>& db = working.database;

        BatchOptions run;
        run.photoFolder = photoFolderOf(options.folder);
        run.checks.cbEyesLets = options.pupils;
        run.checks.params = loadThresholds(work, err);
        run.verdictFilter = options.verdict;
        run.threads = options.threads;
        BatchEvents events = eventsFor(bar);
        const std::unique_ptr<RunReport> report = startReport(options.reportFile, run, events);
        Query adoPicMsg(*db);
        BatchState state;
        const BatchSummary summary = RunBatch(adoPicMsg, run, events, state);
        if (report) finishReport(*report, options.reportFile, run, summary, out);

        if (!options.csvFile.empty()) writeCsv(adoPicMsg, options.csvFile);
        if (options.showResults) printResultsTable(adoPicMsg, out);
        return 0;
    } catch (const std::exception& e) {
        bar.interrupt();
        out.flush();
        err << e.what() << '\n';
        return 1;
    }
}

}  // namespace photocheck
