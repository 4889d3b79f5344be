#include "cli/BatchReport.h"

#include <ostream>

namespace photocheck {

std::unique_ptr<RunReport> startReport(const std::string& reportFile, BatchOptions& run,
                                       BatchEvents& events) {
    if (reportFile.empty()) return nullptr;
    auto report = std::make_unique<RunReport>(reportFile, run.photoFolder);
    run.checks.keepMeasurements = true;
    events.onPhotoStored = [r = report.get()](const JudgedPhoto& photo) { r->add(photo); };
    return report;
}

void finishReport(RunReport& report, const std::string& reportFile, const BatchOptions& run,
                  const BatchSummary& summary, std::ostream& out) {
    report.finish({summary, run.checks, reportDateNow()});
    out << "检测报告：" << reportFile << '\n';
}

}  // namespace photocheck
