#pragma once
#include <memory>
#include <string>

#include "batch/BatchRun.h"
#include "report/RunReport.h"

namespace photocheck {

// The run report of "photocheck-cli batch --report FILE": none for an empty file name. Otherwise the
// run is set to keep each photo's measurements and the events hand every stored photo to the report.
std::unique_ptr<RunReport> startReport(const std::string& reportFile, BatchOptions& run, BatchEvents& events);

// Writes the page of a run that ended and says where it is; false, with the reason on err, when the
// page could not be written (the report was given up during the run, or the page cannot be written).
bool finishReport(RunReport& report, const std::string& reportFile, const BatchOptions& run,
                  const BatchSummary& summary, std::ostream& out, std::ostream& err);

}  // namespace photocheck
