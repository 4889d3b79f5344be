#pragma once
#include <memory>
#include <optional>
#include <string>

#include "batch/BatchRun.h"
#include "report/RunReport.h"

namespace photocheck {

// The run report of the window's last batch run, written when the operator asks for it after the
// run. The page needs what the checks measured on every failed photo, so a run collects it only when
// the operator asked for it before the run started (the toggle "显示测量区域"); a run without it costs
// nothing extra.
class LastRunReport {
  public:
    // Before a run: the report of an earlier run goes. With `collect`, the run's photos keep their
    // measurements and the thumbnails of the failed ones go to part files in a folder inside
    // workFolder (with its final separator) while the run works. Raises ReportError when that
    // folder cannot be made; nothing has changed then.
    void startRun(bool collect, const std::string& workFolder, BatchOptions& run, BatchEvents& events);

    // After the run: its summary when it ran to its end or was stopped, none after a refusal or an
    // error.
    void runEnded(const std::optional<BatchSummary>& summary);

    // Why no page can be written now, in the operator's words (a report given up during the run: why);
    // empty when one can.
    std::string whyNoReport() const;

    // Where the page is offered: "检测报告.html" beside the photo folder, with the result folders.
    std::string suggestedPath() const;

    // Writes the page; as often as asked, to any path but a working file of the working folder.
    // Raises ReportError, or std::logic_error when there is no report (see whyNoReport).
    void writeTo(const std::string& htmlPath) const;

  private:
    enum class State { NoRun, Running, NotCollected, Unfinished, Abandoned, Ready };
    State state_ = State::NoRun;
    std::string workFolder_;
    std::string photoFolder_;
    CheckSettings checks_;
    std::unique_ptr<RunReport> report_;
    std::optional<RunFacts> facts_;
};

inline const char* const NoRunYetMessage = "还没有批量检测，没有可导出的检测报告。";
inline const char* const RunningMessage = "批量检测正在进行，结束后才能导出检测报告。";
inline const char* const NotCollectedMessage =
    "上次批量检测时没有勾选“显示测量区域”，检测报告所需的测量结果没有记下。"
    "请勾选“显示测量区域”后重新批量检测，再导出报告。";
inline const char* const UnfinishedRunMessage = "上次批量检测没有完成，无法导出检测报告。";
inline const char* const AbandonedReportMessage = "上次批量检测时检测报告无法写入，已经放弃：";

}  // namespace photocheck
