#include "batch/BatchRun.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "batch/EarlyCopies.h"
#include "batch/OrderedChecks.h"
#include "batch/PassRate.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

const char* const InsideResultFolderMessage =
    "照片文件夹不能是“合格照片”或“不合格照片”文件夹，也不能位于其中，请选择其他文件夹";

template <typename Callback, typename... Args>
void notify(const Callback& callback, Args&&... args) {
    if (callback) callback(std::forward<Args>(args)...);
}

bool stopRequested(const BatchOptions& options) {
    return options.stopRequested && options.stopRequested();
}

void refuseUnusableFolder(const std::string& photoFolder, const ResultFolders& folders) {
    if (liesInResultFolder(photoFolder, folders)) throw BatchRefused(InsideResultFolderMessage);
}

void prepareResultFolders(const ResultFolders& folders) {
    if (!folderExists(folders.failed)) createFolder(folders.failed);
    if (!folderExists(folders.passed)) createFolder(folders.passed);
    EmptyFolderTree(folders.failed);
    EmptyFolderTree(folders.passed);
}

void emptyResultTable(Query& adoPicMsg) {
    if (OpenSql(adoPicMsg, "select * from pictureMsg")) ExecSql(adoPicMsg, "delete * from pictureMsg");
}

struct Tally {
    int passed = 0;
    int failed = 0;
    int processed = 0;
};

void storePhoto(Query& adoPicMsg, const JudgedPhoto& photo, bool copied, const ResultFolders& folders,
                const BatchEvents& events, Tally& tally) {
    if (photo.unreadable) notify(events.onLogLine, unreadableLine(photo.path, *photo.unreadable));
    if (photo.passed)
        ++tally.passed;
    else
        ++tally.failed;
    if (!copied) copyIntoResultFolder(photo, folders);
    ExecSql(adoPicMsg, photo.row.insertStatement());
    notify(events.onPhotoStored, photo);
    ++tally.processed;
    notify(events.onPhotoDone, tally.processed, photoDoneLine(tally.processed));
}

}  // namespace

int defaultBatchThreads() {
    constexpr unsigned MostThreadsByDefault = 8;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, MostThreadsByDefault));
}

std::string countLine(int total) {
    return "此文件夹照片一共有 " + std::to_string(total) + " 张";
}

std::string photoDoneLine(int processed) {
    return "。。。。。。。。。。。。。。。已检测照片" + std::to_string(processed) + "张";
}

std::string unreadableLine(const std::string& path, const std::string& message) {
    return "照片文件无法读取：" + path + "（" + message + "）";
}

std::string summaryLine(int32_t passRate, int passed, int failed) {
    return "照片合格率=" + std::to_string(passRate) + "%   其中合格数=" + std::to_string(passed) +
           "  ,  不合格数=" + std::to_string(failed);
}

std::string resultsStatement(const std::string& verdictFilter) {
    if (verdictFilter == AllVerdicts) return "select * from pictureMsg";
    return "select * from pictureMsg where Result='" + quoteSql(trimmed(verdictFilter)) + "'";
}

BatchSummary RunBatch(Query& adoPicMsg, const BatchOptions& options, const BatchEvents& events,
                      BatchState& state) {
    state.PreviewEnabled = false;
    if (options.checks.cbDebug) {
        state.PreviewEnabled = true;
        throw BatchRefused(LeaveDebugModeMessage);
    }
    notify(events.onCleared);
    if (options.photoFolder.empty()) throw BatchRefused(ChooseFolderMessage);

    const ResultFolders folders = options.resultFolders.value_or(resultFoldersBeside(options.photoFolder));
    refuseUnusableFolder(options.photoFolder, folders);
    prepareResultFolders(folders);
    emptyResultTable(adoPicMsg);

    const std::vector<std::string> paths = ListFilesRecursive(options.photoFolder, ".*");
    const int total = static_cast<int>(paths.size());
    notify(events.onLogLine, countLine(total));
    notify(events.onProgressStart, total);

    EarlyCopies early(paths, folders);
    Tally tally;
    size_t index = 0;
    try {
        OrderedChecks checks(paths, options.threads, options.checks,
                             [&early](const JudgedPhoto& photo, size_t i) { early.copy(photo, i); });
        for (; index < paths.size() && !stopRequested(options); ++index)
            storePhoto(adoPicMsg, checks.next(), early.copiesEarly(index), folders, events, tally);
    } catch (...) {
        early.takeBackFrom(index + 1);  // the judging threads have stopped; this photo's copy stays
        throw;
    }
    if (index < paths.size()) {
        early.takeBackFrom(index);
        return {total, tally.passed, tally.failed, PassRate(tally.passed, tally.failed), true};
    }

    OpenSql(adoPicMsg, resultsStatement(options.verdictFilter));
    const int32_t rate = PassRate(tally.passed, tally.failed);
    notify(events.onCounts, tally.passed, tally.failed);
    notify(events.onLogLine, summaryLine(rate, tally.passed, tally.failed));
    state.PreviewEnabled = true;
    return {total, tally.passed, tally.failed, rate};
}

}  // namespace photocheck
