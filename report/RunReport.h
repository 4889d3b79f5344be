#pragma once
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "batch/JudgePhoto.h"
#include "platform/HeldFolder.h"
#include "platform/OperatorError.h"

namespace photocheck {

// A report that cannot be written; the message names the file.
class ReportError : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// What the page says about the run besides its photos.
struct RunFacts {
    BatchSummary summary;  // the counts and the pass rate as the run gave them
    CheckSettings checks;  // the thresholds used and whether pupils were judged
    std::string date;      // when the run ended, as the page shows it
};

// The run report: one self-contained HTML page (styles inline, pictures as data: URIs, nothing
// fetched) with the summary, a table of the reasons with their counts and a gallery of every failed
// photo as its overlay thumbnail with name and reason, grouped by reason, the most frequent first,
// each group in the order of the run. The thumbnails are written as they come to one part file per
// reason in a hidden folder of the report's own (HeldFolder), so a run of any length holds none of
// them in memory; the page is put together from the parts. The folder goes away with the report
// object; one left behind by a program that was killed goes when the next report is started there.
// A page replaces an existing file only once it is complete.
//
// A report is an extra of the run: when a part cannot be written (a full disk), the report is
// abandoned (its parts removed) and the run goes on; finish() and writeTo() then raise ReportError
// with the reason.
class RunReport {
  public:
    // A report for the page htmlPath, written by finish(); its parts lie in a folder beside the page.
    // Raises ReportError when htmlPath is a folder or nothing can be written beside the page.
    RunReport(std::string htmlPath, std::string photoFolder);

    // A report whose page is chosen after the run and written by writeTo(); its parts lie in a
    // folder inside partsParent (a folder with its final separator). Raises ReportError when nothing
    // can be written there.
    struct PartsIn {
        std::string folder;
    };
    RunReport(const PartsIn& partsParent, std::string photoFolder);

    ~RunReport();
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;

    // A stored photo, in the order of the run. A failed one needs its measurements (the run's
    // checks.keepMeasurements) for the marks of its thumbnail. Raises ReportError when its part cannot
    // be written; the report is to be abandoned then.
    void add(const JudgedPhoto& photo);

    // Gives the report up: its parts go, and why is kept for finish() and writeTo().
    void abandon(const std::string& why);
    // Why the report was given up; empty while it goes on.
    const std::string& abandoned() const { return abandoned_; }

    // Where the report writes while the run works: the page (none for PartsIn) and the parts' folder.
    std::vector<std::string> outputPaths() const;

    // Writes the page to the path given at construction; each part is removed once the page holds
    // it, so the report is done. Raises ReportError when it cannot.
    void finish(const RunFacts& facts);

    // Writes the page to htmlPath, by way of a file beside it; the parts stay for another page.
    // Raises ReportError when it cannot.
    void writeTo(const std::string& htmlPath, const RunFacts& facts);

  private:
    struct Reason {
        std::string text;
        int count = 0;
        size_t firstSeen = 0;
        std::string partPath;
        std::ofstream part;
    };
    enum class Parts { Keep, Remove };

    Reason& reasonOf(const std::string& text);
    std::vector<Reason*> reasonsByCount();
    void writePage(std::ostream& page, const RunFacts& facts, Parts parts);
    void writePageFile(const std::string& pagePath, const RunFacts& facts, Parts parts);
    std::string shownName(const std::string& path) const;
    const std::string& partsName() const;

    const std::string htmlPath_;
    const std::string photoFolder_;
    std::unique_ptr<HeldFolder> parts_;
    std::map<std::string, std::unique_ptr<Reason>> reasons_;
    std::string abandoned_;
};

// Makes a run collect for the report: every photo keeps its measurements, each stored photo is handed
// to the report, and the report's files are left out of the folder walk. A report that cannot be
// written is abandoned with a line in the run's log (events.onLogLine as it is set now), and the run
// goes on.
void collectInto(RunReport& report, BatchOptions& run, BatchEvents& events);

// What the page says about a run that has just ended.
RunFacts factsOf(const BatchOptions& run, const BatchSummary& summary);

// The date and time now, as the report shows it: "2024-05-01 14:03".
std::string reportDateNow();

}  // namespace photocheck
