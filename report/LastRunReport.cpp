#include "report/LastRunReport.h"

#include <filesystem>
#include <stdexcept>

namespace photocheck {

void LastRunReport::startRun(bool collect, const std::string& workFolder, BatchOptions& run,
                             BatchEvents& events) {
    std::unique_ptr<RunReport> report;
    if (collect) report = std::make_unique<RunReport>(RunReport::PartsIn{workFolder}, run.photoFolder);
    report_ =
        std::move(report);  // when the folder cannot be made, the run does not start and nothing changes
    facts_.reset();
    if (report_) collectInto(*report_, run, events);
    photoFolder_ = run.photoFolder;
    checks_ = run.checks;
    state_ = State::Running;
}

void LastRunReport::runEnded(const std::optional<BatchSummary>& summary) {
    if (!summary) {
        report_.reset();
        state_ = State::Unfinished;
    } else if (!report_) {
        state_ = State::NotCollected;
    } else {
        facts_ = RunFacts{*summary, checks_, reportDateNow()};
        state_ = State::Ready;
    }
}

std::string LastRunReport::whyNoReport() const {
    switch (state_) {
        case State::NoRun:
            return NoRunYetMessage;
        case State::Running:
            return RunningMessage;
        case State::NotCollected:
            return NotCollectedMessage;
        case State::Unfinished:
            return UnfinishedRunMessage;
        case State::Ready:
            return "";
    }
    return "";
}

std::string LastRunReport::suggestedPath() const {
    const std::filesystem::path beside = std::filesystem::path(photoFolder_).parent_path();
    return (beside / "检测报告.html").string();
}

void LastRunReport::writeTo(const std::string& htmlPath) const {
    if (state_ != State::Ready) throw std::logic_error("no run report to write");
    report_->writeTo(htmlPath, *facts_);
}

}  // namespace photocheck
