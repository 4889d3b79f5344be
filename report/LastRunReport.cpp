#include "report/LastRunReport.h"

#include <stdexcept>

#include "platform/Paths.h"
#include "store/PackageInstall.h"

namespace photocheck {

void LastRunReport::startRun(bool collect, const std::string& workFolder, BatchOptions& run,
                             BatchEvents& events) {
    // Made first: when its folder cannot be made, nothing has changed.
    std::unique_ptr<RunReport> report;
    if (collect) report = std::make_unique<RunReport>(RunReport::PartsIn{workFolder}, run.photoFolder);
    report_ = std::move(report);
    facts_.reset();
    if (report_) collectInto(*report_, run, events);
    photoFolder_ = run.photoFolder;
    workFolder_ = workFolder;
    checks_ = run.checks;
    state_ = State::Running;
}

void LastRunReport::runEnded(const std::optional<BatchSummary>& summary) {
    if (!summary) {
        report_.reset();
        state_ = State::Unfinished;
    } else if (!report_) {
        state_ = State::NotCollected;
    } else if (!report_->abandoned().empty()) {
        state_ = State::Abandoned;
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
        case State::Abandoned:
            return AbandonedReportMessage + report_->abandoned();
        case State::Ready:
            return "";
    }
    return "";
}

std::string LastRunReport::suggestedPath() const {
    return folderPartOf(cleanPath(photoFolder_)) + "检测报告.html";  // "photos/" names "photos" too
}

void LastRunReport::writeTo(const std::string& htmlPath) const {
    if (state_ != State::Ready) throw std::logic_error("no run report to write");
    if (isWorkingFile(htmlPath, workFolder_))
        throw ReportError("不能把检测报告写到工作文件夹的工作文件 " + htmlPath + " 上，请换一个文件名");
    report_->writeTo(htmlPath, *facts_);
}

}  // namespace photocheck
