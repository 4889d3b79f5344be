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

bool finishReport(RunReport& report, const std::string& reportFile, const BatchOptions& run,
                  const BatchSummary& summary, std::ostream& out, std::ostream& err) {
    try {
        report.finish(factsOf(run, summary));
    } catch (const ReportError& e) {
        out.flush();
        err << "检测报告没有写出：" << e.what() << '\n';
        return false;
    }
    out << "检测报告：" << reportFile << '\n';
    return true;
}

}  // namespace photocheck
