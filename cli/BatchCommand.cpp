#include "cli/BatchCommand.h"

#include <exception>
#include <fstream>
#include <memory>
#include <ostream>

#include "batch/BatchRun.h"
#include "batch/OperatorMessage.h"
#include "batch/Workspace.h"
#include "cli/BatchReport.h"
#include "cli/CsvFile.h"
#include "cli/ProgressBar.h"
#include "cli/ResultsTable.h"
#include "platform/StopSignals.h"
#include "platform/Utf8.h"
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
    const StopSignals stop;
    try {
        const WorkspacePrompts prompts = promptsOn(err);
        const Workspace workspace = Workspace::open(options.workFolder, prompts);
        workspace.refuseAsOutput(options.csvFile, "CSV 文件");
        workspace.refuseAsOutput(options.reportFile, "检测报告");
        std::unique_ptr<CsvFile> csv;
        if (!options.csvFile.empty()) csv = std::make_unique<CsvFile>(options.csvFile);

        BatchOptions run;
        run.photoFolder = chosenPhotoFolder(options.folder);
        run.checks.cbEyesLets = options.pupils;
        run.checks.params = workspace.readThresholds(prompts.tell);
        run.verdictFilter = options.verdict;
        run.threads = options.threads;
        run.workFolder = workspace.folder();
        run.stopRequested = [&stop] { return stop.received() != 0; };
        if (csv) run.outputs = csv->pathsWritten();
        BatchEvents events = eventsFor(bar);
        const std::unique_ptr<RunReport> report = startReport(options.reportFile, run, events);
        Query adoPicMsg(workspace.database());
        BatchState state;
        const auto interrupted = [&](int checked) {
            bar.interrupt();
            err << "检测已中止（" << stop.receivedName() << "）：已检测的 " << checked
                << " 张照片的记录和副本保留；检测报告和 CSV 文件没有写出\n";
            return 128 + stop.received();
        };
        if (stop.received() != 0) return interrupted(0);  // before the run touched anything
        const BatchSummary summary = RunBatch(adoPicMsg, run, events, state);
        if (stop.received() != 0) return interrupted(summary.passed + summary.failed);
        const bool reportWritten =
            !report || finishReport(*report, options.reportFile, run, summary, out, err);

        if (csv) csv->write(adoPicMsg);
        if (options.showResults) printResultsTable(adoPicMsg, out);
        return summary.missingCopies > 0 || summary.undeletedFiles > 0 || !reportWritten ? 2 : 0;
    } catch (const std::exception& e) {
        bar.interrupt();
        out.flush();
        err << withControlsEscaped(operatorMessage(e)) << '\n';
        return 1;
    }
}

}  // namespace photocheck
