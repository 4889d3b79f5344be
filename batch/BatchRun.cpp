#include "batch/BatchRun.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <utility>

#include "batch/EarlyCopies.h"
#include "batch/OrderedChecks.h"
#include "batch/PassRate.h"
#include "batch/ResultsRun.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemReason.h"
#include "platform/Utf8.h"
#include "platform/WorkFolderLock.h"

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

std::unique_ptr<WorkFolderLock> lockWorkFolder(const std::string& workFolder) {
    if (workFolder.empty()) return nullptr;
    try {
        return std::make_unique<WorkFolderLock>(workFolder);
    } catch (const std::exception& e) {
        throw BatchRefused(e.what());
    }
}

// A folder that is missing or no folder is a typing error; running over it would empty the results
// of the last run for nothing.
void refuseMissingPhotoFolder(const std::string& photoFolder) {
    const PathStatus status = statusOf(photoFolder);
    if (!status.found())
        throw BatchRefused("照片文件夹 " + photoFolder + " 不存在或无法访问，请选择其他文件夹（" +
                           status.reason + "）");
    if (status.kind != PathStatus::Kind::Folder)
        throw BatchRefused("所选的 " + photoFolder + " 不是文件夹，请选择照片所在的文件夹");
}

void refuseUnusableFolders(const std::string& photoFolder, const ResultFolders& folders) {
    if (liesInResultFolder(photoFolder, folders)) throw BatchRefused(InsideResultFolderMessage);
    if (const auto link = linkedResultFolder(folders))
        throw BatchRefused("结果文件夹 " + *link +
                           " 是一个链接；为免删除它所指向的文件，检测没有开始。请删除这个链接后再试");
}

// Asks the table for a row and writes nothing, so that a database that cannot be read or written
// stops the run before the result folders are emptied.
void refuseUnusableTable(Query& adoPicMsg) {
    try {
        OpenSql(adoPicMsg, std::string(AllRowsStatement) + " limit 1");
        ExecSql(adoPicMsg, "delete from pictureMsg where 0");
    } catch (const DatabaseError& e) {
        throw BatchRefused(std::string("数据库中的表 pictureMsg 无法读写，检测没有开始，什么也没有改动（") +
                           e.what() + "）");
    }
}

struct Tally {
    int passed = 0;
    int failed = 0;
    int processed = 0;
    int missingCopies = 0;
    int undeletedFiles = 0;
};

void prepareResultFolders(const ResultFolders& folders, const BatchOptions& options,
                          const BatchEvents& events, Tally& tally) {
    if (!folderExists(folders.failed)) createFolder(folders.failed);
    if (!folderExists(folders.passed)) createFolder(folders.passed);
    const PassedOverReport undeleted = [&](const std::string& path, const std::string& reason) {
        ++tally.undeletedFiles;
        notify(events.onLogLine, undeletedLine(path, reason));
    };
    const StopRequest stop = [&options] { return stopRequested(options); };
    EmptyFolderTree(folders.failed, undeleted, stop);
    EmptyFolderTree(folders.passed, undeleted, stop);
}

// The rows of the last run go, and the rows from now on belong to a new run: a grid still showing the
// old ones can no longer write to the new rows that are given their row ids.
void emptyResultTable(Query& adoPicMsg) {
    Transaction transaction(adoPicMsg.database());
    if (OpenSql(adoPicMsg, AllRowsStatement)) ExecSql(adoPicMsg, DeleteAllRowsStatement);
    adoPicMsg.close();
    beginNewResultsRun(adoPicMsg.database());
    transaction.commit();
}

FileList listPhotos(const BatchOptions& options, const BatchEvents& events) {
    FolderWalk walk;
    if (!options.workFolder.empty()) walk.leftOut.push_back(options.workFolder);
    walk.leftOut.insert(walk.leftOut.end(), options.outputs.begin(), options.outputs.end());
    walk.onPassedOver = [&](const std::string& path, const std::string& reason) {
        notify(events.onLogLine, passedOverLine(path, reason));
    };
    walk.stopRequested = [&options] { return stopRequested(options); };
    return listFiles(options.photoFolder, ".*", walk);
}

void storePhoto(Query& adoPicMsg, const JudgedPhoto& photo, size_t index, EarlyCopies& copies,
                const BatchEvents& events, Tally& tally) {
    if (photo.unreadable) notify(events.onLogLine, unreadableLine(photo.path, *photo.unreadable));
    if (photo.passed)
        ++tally.passed;
    else
        ++tally.failed;
    if (const auto missing = copies.copyAtItsTurn(photo, index)) {
        ++tally.missingCopies;
        notify(events.onLogLine, missingCopyLine(photo.path, photo.passed, *missing));
    }
    ExecSql(adoPicMsg, photo.row.insertStatement());
    notify(events.onPhotoStored, photo);
    ++tally.processed;
    notify(events.onPhotoDone, tally.processed, photoDoneLine(tally.processed));
}

BatchSummary summaryOf(int total, const Tally& tally, int32_t rate, bool stopped) {
    BatchSummary summary;
    summary.total = total;
    summary.passed = tally.passed;
    summary.failed = tally.failed;
    summary.passRate = rate;
    summary.stopped = stopped;
    summary.missingCopies = tally.missingCopies;
    summary.undeletedFiles = tally.undeletedFiles;
    return summary;
}

void noticeCopies(const BatchSummary& summary, const BatchEvents& events) {
    const std::string notice = copiesNotice(summary);
    if (!notice.empty()) notify(events.onLogLine, notice);
}

// A run stopped before its first photo: nothing judged, old files that could not be deleted counted.
BatchSummary stoppedInPreparation(const Tally& tally, const BatchEvents& events) {
    const BatchSummary summary = summaryOf(0, tally, 0, true);
    noticeCopies(summary, events);
    return summary;
}

// The refusals that go beyond the one for no folder chosen; each gives the preview back as it was.
void refuseUnusableRun(Query& adoPicMsg, const BatchOptions& options, const ResultFolders& folders) {
    refuseMissingPhotoFolder(options.photoFolder);
    refuseUnusableFolders(options.photoFolder, folders);
    refuseUnusableTable(adoPicMsg);
}

}  // namespace

int defaultBatchThreads() {
    constexpr unsigned MostThreadsByDefault = 8;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, MostThreadsByDefault));
}

std::string chosenPhotoFolder(const std::string& folder) {
    return folder.empty() ? folder : absolutePath(folder);
}

std::string countLine(int total) {
    return "此文件夹照片一共有 " + std::to_string(total) + " 张";
}

std::string photoDoneLine(int processed) {
    return "。。。。。。。。。。。。。。。已检测照片" + std::to_string(processed) + "张";
}

std::string unreadableLine(const std::string& path, const std::string& message) {
    return withControlsEscaped("照片文件无法读取：" + path + "（" + message + "）");
}

std::string summaryLine(int32_t passRate, int passed, int failed) {
    return "照片合格率=" + std::to_string(passRate) + "%   其中合格数=" + std::to_string(passed) +
           "  ,  不合格数=" + std::to_string(failed);
}

std::string passedOverLine(const std::string& path, const std::string& reason) {
    return withControlsEscaped("未检测：" + path + "，" + reason);
}

std::string missingCopyLine(const std::string& path, bool passed, const std::string& reason) {
    return withControlsEscaped(std::string("照片未能复制到“") +
                               (passed ? PassedFolderName : FailedFolderName) + "”：" + path + "，" + reason);
}

std::string undeletedLine(const std::string& path, const std::string& reason) {
    return withControlsEscaped("结果文件夹中的旧文件未能删除：" + path + "，" + reason);
}

std::string copiesNotice(const BatchSummary& summary) {
    const std::string missing = std::to_string(summary.missingCopies);
    const std::string undeleted = std::to_string(summary.undeletedFiles);
    if (summary.missingCopies > 0 && summary.undeletedFiles > 0)
        return "注意：有 " + missing + " 张照片未能复制到结果文件夹，另有 " + undeleted +
               " 个旧文件未能删除，原因见上面的记录";
    if (summary.missingCopies > 0)
        return "注意：有 " + missing + " 张照片未能复制到结果文件夹，原因见上面的记录";
    if (summary.undeletedFiles > 0)
        return "注意：结果文件夹中有 " + undeleted + " 个旧文件未能删除，原因见上面的记录";
    return {};
}

std::string resultsStatement(const std::string& verdictFilter) {
    if (verdictFilter == AllVerdicts) return AllRowsStatement;
    return RowsWhereStatement + ("Result='" + quoteSql(trimmed(verdictFilter)) + "'");
}

BatchSummary RunBatch(Query& adoPicMsg, const BatchOptions& options, const BatchEvents& events,
                      BatchState& state) {
    const bool previewBefore = state.PreviewEnabled;
    state.PreviewEnabled = false;
    if (options.checks.cbDebug) {
        state.PreviewEnabled = true;
        throw BatchRefused(LeaveDebugModeMessage);
    }
    notify(events.onCleared);
    if (options.photoFolder.empty()) throw BatchRefused(ChooseFolderMessage);

    const ResultFolders folders = options.resultFolders.value_or(resultFoldersBeside(options.photoFolder));
    std::unique_ptr<WorkFolderLock> lock;
    try {
        lock = lockWorkFolder(options.workFolder);
        refuseUnusableRun(adoPicMsg, options, folders);
    } catch (const BatchRefused&) {
        state.PreviewEnabled = previewBefore;
        throw;
    }

    Tally tally;
    if (stopRequested(options)) return stoppedInPreparation(tally, events);
    notify(events.onPreparing, EmptyingResultFoldersStep);
    prepareResultFolders(folders, options, events, tally);
    if (stopRequested(options)) return stoppedInPreparation(tally, events);
    emptyResultTable(adoPicMsg);

    notify(events.onPreparing, ListingPhotosStep);
    const FileList paths = listPhotos(options, events);
    if (stopRequested(options)) return stoppedInPreparation(tally, events);
    const int total = static_cast<int>(paths.size());
    notify(events.onLogLine, countLine(total));
    notify(events.onProgressStart, total);

    EarlyCopies copies(paths, folders);
    size_t index = 0;
    try {
        OrderedChecks checks(paths, options.threads, options.checks,
                             [&copies](const JudgedPhoto& photo, size_t i) { copies.copy(photo, i); });
        for (; index < paths.size() && !stopRequested(options); ++index)
            storePhoto(adoPicMsg, checks.next(), index, copies, events, tally);
    } catch (...) {
        copies.takeBackFrom(index + 1);  // the judging threads have stopped; this photo's copy stays
        throw;
    }
    if (index < paths.size()) {
        copies.takeBackFrom(index);
        const BatchSummary summary = summaryOf(total, tally, PassRate(tally.passed, tally.failed), true);
        noticeCopies(summary, events);
        return summary;
    }

    OpenSql(adoPicMsg, resultsStatement(options.verdictFilter));
    const int32_t rate = PassRate(tally.passed, tally.failed);
    notify(events.onCounts, tally.passed, tally.failed);
    notify(events.onLogLine, summaryLine(rate, tally.passed, tally.failed));
    const BatchSummary summary = summaryOf(total, tally, rate, false);
    noticeCopies(summary, events);
    state.PreviewEnabled = true;
    return summary;
}

}  // namespace photocheck
