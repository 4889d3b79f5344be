#include "report/RunReport.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "batch/OperatorMessage.h"
#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SystemReason.h"
#include "report/HtmlText.h"
#include "report/Overlay.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

constexpr int ThumbnailQuality = 80;
const char* const UnknownReason = "（未记录原因）";

const char* const PageStyle = R"(
body { font-family: "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Microsoft YaHei", sans-serif; margin: 24px;
       color: #222; background: #fff; }
h1 { font-size: 22px; margin: 0 0 16px; }
h2 { font-size: 18px; border-bottom: 2px solid #ccc; padding-bottom: 4px; margin-top: 28px; }
h3 { font-size: 15px; margin: 20px 0 8px; }
table { border-collapse: collapse; margin: 8px 0; }
th, td { border: 1px solid #ccc; padding: 4px 10px; text-align: left; }
th { background: #f2f2f2; font-weight: normal; }
td.number { text-align: right; }
.summary { display: flex; flex-wrap: wrap; gap: 32px; }
.rate { font-size: 20px; font-weight: bold; }
.gallery { display: flex; flex-wrap: wrap; gap: 12px; }
figure { margin: 0; width: 195px; break-inside: avoid; page-break-inside: avoid; }
figure img { display: block; width: 195px; border: 1px solid #999; }
figcaption { font-size: 12px; margin-top: 3px; word-break: break-all; }
figcaption .name { font-weight: bold; }
figcaption .folder { color: #666; }
figcaption .reason { color: #c00; }
figcaption .measure { color: #c00; font-family: monospace; }
.legend { color: #555; font-size: 13px; }
.green { color: #1a8f2e; } .red { color: #d00; } .yellow { color: #b08800; }
@media print { body { margin: 0; } h2 { break-after: avoid; } }
)";

std::string cannotWrite(const std::string& path) {
    return "无法写入检测报告 " + path;
}

// A stream that failed, with the system's reason where it left one (a full disk).
void check(const std::ostream& out, const std::string& path) {
    if (out) return;
    const int error = errno;
    throw ReportError(cannotWrite(path) + (error != 0 ? "（" + systemReason(error) + "）" : ""));
}

std::string folderOf(const std::string& path) {
    const std::string folder = folderPartOf(path);
    return folder.empty() ? std::string(".") : withoutFinalSeparator(folder);
}

// A hidden name beside the page: "DIR/.PAGE.html" + what.
std::string besidePage(const std::string& htmlPath, const char* what) {
    return joinPath(folderOf(htmlPath), "." + fileNameOf(htmlPath) + what);
}

// A folder of our own for files on the way, named from `prefix`; the folders of the same name that a
// killed program left there go first. `shownPath` names the report in the error.
std::unique_ptr<HeldFolder> makeFolder(const std::string& prefix, const std::string& shownPath) {
    removeAbandonedFolders(prefix);
    try {
        return std::make_unique<HeldFolder>(prefix);
    } catch (const std::exception&) {
        throw ReportError(cannotWrite(shownPath) + "（" + folderOf(prefix) + " 中不能建立文件）");
    }
}

// Beside the page, so that the finished page is renamed into place.
std::unique_ptr<HeldFolder> makePartsFolderBeside(const std::string& htmlPath) {
    if (folderExists(htmlPath))
        throw ReportError("检测报告 " + htmlPath + " 是一个文件夹，请给出报告的文件名，例如 " +
                          joinPath(htmlPath, "检测报告.html"));
    return makeFolder(besidePage(htmlPath, ".parts-"), htmlPath);
}

std::string thumbnailUri(const JudgedPhoto& photo) {
    OverlayStyle style;
    style.halfSize = true;
    style.allLabels = false;
    style.withCaption = false;
    const Bitmap thumbnail = drawOverlay(*pictureOf(photo), photo.measurements, captionOf(photo), style);
    JpegWriteOptions jpeg;
    jpeg.quality = ThumbnailQuality;
    return "data:image/jpeg;base64," + base64(encodeJpeg(thumbnail, jpeg));
}

std::string tableRow(const std::string& label, const std::string& value, const char* cls = nullptr) {
    const std::string td = cls ? std::string("<td class=\"") + cls + "\">" : std::string("<td>");
    return "<tr><th>" + htmlEscaped(label) + "</th>" + td + htmlEscaped(value) + "</td></tr>\n";
}

std::string number(int64_t n) {
    return std::to_string(n);
}

void writeSummary(std::ostream& page, const std::string& photoFolder, const RunFacts& facts) {
    const BatchSummary& s = facts.summary;
    const DetectionParameters& p = facts.checks.params;
    page << "<h2>汇总</h2>\n<div class=\"summary\">\n<table>\n"
         << tableRow("照片文件夹", photoFolder) << tableRow("检测时间", facts.date)
         << tableRow("照片总数", number(s.total), "number") << tableRow("合格数", number(s.passed), "number")
         << tableRow("不合格数", number(s.failed), "number")
         << "<tr><th>照片合格率</th><td class=\"number rate\">" << s.passRate << "%</td></tr>\n";
    if (s.stopped) page << tableRow("说明", "检测被中止，以上为已记录的照片");
    page << "</table>\n<table>\n<tr><th colspan=\"2\">检测参数</th></tr>\n"
         << tableRow(KeyFileSizeKb, number(p.ParamFileSizeKb), "number")
         << tableRow(KeyBlueRatio, number(p.ParamBlueRatio), "number")
         << tableRow(KeyClarity, number(p.ParamClarity), "number")
         << tableRow(KeyRegularity, number(p.ParamRegularity), "number")
         << tableRow(KeyHeadRatio, number(p.ParamHeadRatio), "number")
         << tableRow("是否判断瞳孔", facts.checks.cbEyesLets ? "是" : "否") << "</table>\n</div>\n";
}

std::string percentOf(int part, int whole) {
    if (whole == 0) return "0%";
    return std::to_string((part * 1000 / whole + 5) / 10) + "%";
}

}  // namespace

RunReport::RunReport(std::string htmlPath, std::string photoFolder)
    : htmlPath_(std::move(htmlPath)),
      photoFolder_(std::move(photoFolder)),
      parts_(makePartsFolderBeside(htmlPath_)) {}

RunReport::RunReport(const PartsIn& partsParent, std::string photoFolder)
    : photoFolder_(std::move(photoFolder)),
      parts_(makeFolder(partsParent.folder + ".report-parts-", partsParent.folder)) {}

RunReport::~RunReport() {
    reasons_.clear();  // closes the parts before their folder goes
}

// The report as an error names it: its page, or its parts while no page is chosen.
const std::string& RunReport::partsName() const {
    return htmlPath_.empty() ? parts_->path() : htmlPath_;
}

void RunReport::abandon(const std::string& why) {
    reasons_.clear();
    parts_.reset();
    abandoned_ = why;
}

std::vector<std::string> RunReport::outputPaths() const {
    std::vector<std::string> paths;
    if (!htmlPath_.empty()) paths.push_back(htmlPath_);
    if (parts_) paths.push_back(parts_->path());
    return paths;
}

RunReport::Reason& RunReport::reasonOf(const std::string& text) {
    std::unique_ptr<Reason>& reason = reasons_[text];
    if (!reason) {
        reason = std::make_unique<Reason>();
        reason->text = text;
        reason->firstSeen = reasons_.size();
        reason->partPath = joinPath(parts_->path(), "part-" + std::to_string(reason->firstSeen) + ".html");
        reason->part.open(nativePath(reason->partPath), std::ios::binary | std::ios::trunc);
        check(reason->part, partsName());
    }
    return *reason;
}

// Where the photo lies below the photo folder, as the gallery names it.
std::string RunReport::shownName(const std::string& path) const {
    const std::string prefix = withFinalSeparator(photoFolder_);
    if (path.compare(0, prefix.size(), prefix) == 0) return path.substr(prefix.size());
    return path;
}

void RunReport::add(const JudgedPhoto& photo) {
    if (photo.passed || !abandoned_.empty()) return;
    Reason& reason = reasonOf(photo.row.reason.empty() ? UnknownReason : photo.row.reason);
    ++reason.count;
    const std::string shown = shownName(photo.path);
    const std::string name = fileNameOf(shown);
    const std::string folder = shown.substr(0, shown.size() - name.size());
    reason.part << "<figure><img src=\"" << thumbnailUri(photo) << "\" alt=\"" << htmlEscaped(name)
                << "\"><figcaption><span class=\"name\">" << htmlEscaped(name) << "</span>";
    if (!folder.empty()) reason.part << " <span class=\"folder\">" << htmlEscaped(folder) << "</span>";
    reason.part << "<br><span class=\"reason\">" << htmlEscaped(reason.text) << "</span>";
    if (const Measurement* failed = decidingFailure(photo.measurements))
        reason.part << "<br><span class=\"measure\">" << htmlEscaped(failed->label) << "</span>";
    reason.part << "</figcaption></figure>\n";
    check(reason.part, partsName());
}

std::vector<RunReport::Reason*> RunReport::reasonsByCount() {
    std::vector<Reason*> order;
    for (auto& entry : reasons_) order.push_back(entry.second.get());
    std::sort(order.begin(), order.end(), [](const Reason* a, const Reason* b) {
        return a->count != b->count ? a->count > b->count : a->firstSeen < b->firstSeen;
    });
    return order;
}

void RunReport::writePage(std::ostream& page, const RunFacts& facts, Parts parts) {
    const std::vector<Reason*> reasons = reasonsByCount();
    int failed = 0;
    for (const Reason* r : reasons) failed += r->count;

    page << "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>照片检测报告</title>\n<style>" << PageStyle << "</style>\n</head>\n<body>\n"
         << "<h1>照片检测报告</h1>\n";
    writeSummary(page, photoFolder_, facts);

    page << "<h2>不合格原因</h2>\n";
    if (reasons.empty())
        page << "<p>没有不合格的照片。</p>\n";
    else {
        page << "<table>\n<tr><th>原因</th><th>照片数</th><th>占不合格</th></tr>\n";
        for (const Reason* r : reasons)
            page << "<tr><td><a href=\"#reason-" << r->firstSeen << "\">" << htmlEscaped(r->text)
                 << "</a></td><td class=\"number\">" << r->count << "</td><td class=\"number\">"
                 << percentOf(r->count, failed) << "</td></tr>\n";
        page << "</table>\n";
    }

    page << "<h2>不合格照片</h2>\n"
         << "<p class=\"legend\">图中标记：<span class=\"green\">绿色</span>为通过的测量，"
         << "<span class=\"red\">红色</span>为未通过的测量，<span "
            "class=\"yellow\">黄色</span>为检测查看的位置；"
         << "红色标签写明测得的值与阈值。</p>\n";
    for (Reason* r : reasons) {
        if (parts == Parts::Remove)
            r->part.close();
        else
            r->part.flush();
        check(r->part, partsName());
        page << "<section class=\"reason-group\">\n<h3 id=\"reason-" << r->firstSeen << "\">"
             << htmlEscaped(r->text) << "（" << r->count << " 张）</h3>\n<div class=\"gallery\">\n";
        std::ifstream part(nativePath(r->partPath), std::ios::binary);
        if (r->count > 0) page << part.rdbuf();
        page << "</div>\n</section>\n";
        part.close();
        if (parts == Parts::Keep) continue;
        removeFile(r->partPath);  // the page holds it now; keep the disk use near one copy
    }
    page << "</body>\n</html>\n";
}

// The page into a file of its own, then renamed to pagePath, so that an existing page is replaced
// only by a complete one.
void RunReport::writePageFile(const std::string& pagePath, const RunFacts& facts, Parts parts) {
    if (!abandoned_.empty()) throw ReportError(abandoned_);
    std::unique_ptr<HeldFolder> writing;  // for another page than the report's own: beside that page
    if (parts == Parts::Keep) writing = makeFolder(besidePage(pagePath, ".writing-"), pagePath);
    const std::string written = joinPath(writing ? writing->path() : parts_->path(), "page.html");
    {
        std::ofstream page(nativePath(written), std::ios::binary | std::ios::trunc);
        check(page, pagePath);
        writePage(page, facts, parts);
        page.close();
        check(page, pagePath);
    }
    std::string reason;
    if (!replaceFile(written, pagePath, &reason))
        throw ReportError(cannotWrite(pagePath) + "（" + reason + "）");
}

void RunReport::finish(const RunFacts& facts) {
    writePageFile(htmlPath_, facts, Parts::Remove);
}

void RunReport::writeTo(const std::string& htmlPath, const RunFacts& facts) {
    writePageFile(htmlPath, facts, Parts::Keep);
}

void collectInto(RunReport& report, BatchOptions& run, BatchEvents& events) {
    run.checks.keepMeasurements = true;
    for (const std::string& path : report.outputPaths()) run.outputs.push_back(path);
    events.onPhotoStored = [r = &report, log = events.onLogLine](const JudgedPhoto& photo) {
        if (!r->abandoned().empty()) return;
        try {
            r->add(photo);
        } catch (const std::exception& e) {
            r->abandon(operatorMessage(e));
            if (log) log(r->abandoned() + "；检测报告已放弃，检测继续进行");
        }
    };
}

RunFacts factsOf(const BatchOptions& run, const BatchSummary& summary) {
    return {summary, run.checks, reportDateNow()};
}

std::string reportDateNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = localTimeOf(now);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

}  // namespace photocheck
