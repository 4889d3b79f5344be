#include "cli/BatchReport.h"

#include <ostream>

namespace photocheck {

std::unique_ptr<RunReport> startReport(const std::string& reportFile, BatchOptions& run,
                                       BatchEvents& events) {
    if (reportFile.empty()) return nullptr;
    auto report = std::make_unique<RunReport>(reportFile, run.photoFolder);
    collectInto(*report, run, events);
    return report;
}

void finishReport(RunReport& report, const std::string& reportFile, const BatchOptions& run,
                  const BatchSummary& summary, std::ostream& out) {
    report.finish(factsOf(run, summary));
    out << "检测报告：" << reportFile << '\n';
}

}  // namespace photocheck
