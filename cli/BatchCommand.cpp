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
#include "platform/ExecutableFolder.h"
#include "platform/Paths.h"
#include "platform/WorkFolder.h"
#include "store/Database.h"
#include "store/PackageInstall.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

// A message the run cannot go on after.
class CommandFailed : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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

std::string workFolderOf(const BatchCommandOptions& options) {
    return options.workFolder.empty() ? defaultWorkFolder() : prepareWorkFolder(options.workFolder);
}

// Like the window at start, a working file that is already there is kept, and an installation
// error is shown and passed over: the database may still be there.
void installWorkFiles(const std::string& work, std::ostream& err) {
    try {
        InstallWorkFiles(work, executableFolder() + PackageFileName,
                         [](const std::string&) { return false; });
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
}

std::unique_ptr<Database> openDatabase(const std::string& work) {
    try {
        return openWorkDatabase(work);
    } catch (const std::exception&) {
        throw CommandFailed(DatabaseMissingMessage);
    }
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
        const std::string work = workFolderOf(options);
        installWorkFiles(work, err);
        const std::unique_ptr<Database> db = openDatabase(work);

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
