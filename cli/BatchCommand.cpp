#include "cli/BatchCommand.h"

#include <exception>
#include <memory>
#include <ostream>

#include "batch/BatchRun.h"
#include "batch/OperatorMessage.h"
#include "batch/Workspace.h"
#include "cli/BatchReport.h"
#include "cli/CsvFile.h"
#include "cli/ProgressBar.h"
#include "cli/ResultsTable.h"
#include "store/Database.h"

namespace photocheck {
namespace {

// No one to ask: a file the package would replace and that could not be deleted is kept.
WorkspacePrompts promptsOn(std::ostream& err) {
    WorkspacePrompts prompts;
    prompts.zipError = [&err](const std::string& caption, const std::string& text) {
        err << caption << "：" << text << '\n';
    };
    prompts.tell = [&err](const std::string& message) { err << message << '\n'; };
    return prompts;
}

BatchEvents eventsFor(ProgressBar& bar) {
    BatchEvents events;
    events.onLogLine = [&bar](const std::string& line) { bar.printLine(line); };
    events.onProgressStart = [&bar](int total) { bar.start(total); };
    events.onPhotoDone = [&bar](int processed, const std::string& line) { bar.photoDone(processed, line); };
    return events;
}

}  // namespace

int runBatchCommand(const BatchCommandOptions& options, std::ostream& out, std::ostream& err) {
    ProgressBar bar(out, options.terminal);
    try {
        std::unique_ptr<CsvFile> csv;
        if (!options.csvFile.empty()) csv = std::make_unique<CsvFile>(options.csvFile);
        const WorkspacePrompts prompts = promptsOn(err);
        const Workspace workspace = Workspace::open(options.workFolder, prompts);

        BatchOptions run;
        run.photoFolder = chosenPhotoFolder(options.folder);
        run.checks.cbEyesLets = options.pupils;
        run.checks.params = workspace.readThresholds(prompts.tell);
        run.verdictFilter = options.verdict;
        run.threads = options.threads;
        run.workFolder = workspace.folder();
        BatchEvents events = eventsFor(bar);
        const std::unique_ptr<RunReport> report = startReport(options.reportFile, run, events);
        Query adoPicMsg(workspace.database());
        BatchState state;
        const BatchSummary summary = RunBatch(adoPicMsg, run, events, state);
        if (report) finishReport(*report, options.reportFile, run, summary, out);

        if (csv) csv->write(adoPicMsg);
        if (options.showResults) printResultsTable(adoPicMsg, out);
        return summary.missingCopies > 0 || summary.undeletedFiles > 0 ? 2 : 0;
    } catch (const std::exception& e) {
        bar.interrupt();
        out.flush();
        err << operatorMessage(e) << '\n';
        return 1;
    }
}

}  // namespace photocheck
