#pragma once
#include <memory>
#include <string>

#include "batch/BatchRun.h"
#include "report/RunReport.h"

namespace photocheck {

// The run report of "photocheck-cli batch --report FILE": none for an empty file name. Otherwise the
// run is set to keep each photo's measurements and the events hand every stored photo to the report.
std::unique_ptr<RunReport> startReport(const std::string& reportFile, BatchOptions& run, BatchEvents& events);

// Writes the page of a completed run and says where it is.
void finishReport(RunReport& report, const std::string& reportFile, const BatchOptions& run,
                  const BatchSummary& summary, std::ostream& out);

}  // namespace photocheck
