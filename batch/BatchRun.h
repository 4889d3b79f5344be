#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/JudgePhoto.h"
#include "batch/ResultFolders.h"
#include "batch/ResultsQuery.h"
#include "platform/OperatorError.h"
#include "store/Database.h"

namespace photocheck {

inline const char* const LeaveDebugModeMessage = "请退出调试模式";
inline const char* const ChooseFolderMessage = "请选择照片路径的文件夹！！";
inline const char* const EmptyingResultFoldersStep = "正在准备检测：清空“合格照片”和“不合格照片”文件夹……";
inline const char* const ListingPhotosStep = "正在准备检测：查找照片文件夹中的文件……";

// A run that does not start; the message is for the operator.
class BatchRefused : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// The photo folder as a run takes it, whether chosen in the folder dialog or named on a command line:
// absolute and cleaned as written (absolutePath: no "." or "..", no final separator except for the
// root), so that the rows of a run name the same folders either way; empty when none is chosen.
std::string chosenPhotoFolder(const std::string& folder);

struct BatchOptions {
    std::string photoFolder;                     // as chosenPhotoFolder gives it; empty when none is chosen
    std::optional<ResultFolders> resultFolders;  // beside the photo folder unless given
    CheckSettings checks;                        // with debug mode on the run refuses to start
    std::string verdictFilter = AllVerdicts;     // the verdict filter the results are reopened with
    int threads = 1;                             // photos judged side by side (see defaultBatchThreads)
    // Asked before each photo is stored; once true, the run stops after the photos in work (see RunBatch).
    std::function<bool()> stopRequested;
    // The working folder that holds the database. The run holds its lock (WorkFolderLock) from
    // before it touches anything until it returns, so a second run on it is refused; the folder is
    // also left out of the walk. Empty: no lock is taken (tests that do not care).
    std::string workFolder;
    // Where the run's outputs are written (a CSV file, a report page and its parts' folder): they
    // are left out of the walk where they lie below the photo folder, existing yet or not.
    std::vector<std::string> outputs;
};

// What the run shows while it works, in the order it happens. Every callback may be left empty.
struct BatchEvents {
    std::function<void()> onCleared;  // the log pane and the two count panels
    // A step of the preparation begins (EmptyingResultFoldersStep, then ListingPhotosStep); it may
    // take long and adds no line to the log.
    std::function<void(const std::string& step)> onPreparing;
    std::function<void(const std::string& line)> onLogLine;  // a line added to the log pane
    std::function<void(int total)> onProgressStart;          // progress from 0 to total, at 0
    // A photo is done: its line "。。。已检测照片" + processed + "张" goes to the log pane and the
    // progress advances by one.
    std::function<void(int processed, const std::string& line)> onPhotoDone;
    std::function<void(int passed, int failed)> onCounts;  // the two count panels
    // A photo's row has been written, in the order of the rows; with checks.keepMeasurements the photo
    // carries its measurements and picture (a run report).
    std::function<void(const JudgedPhoto& photo)> onPhotoStored;
};

// State of the window that the run switches: while PreviewEnabled is false, moving through the
// results shows no photo.
struct BatchState {
    bool PreviewEnabled = true;
};

struct BatchSummary {
    int total = 0;
    int passed = 0;
    int failed = 0;
    int32_t passRate = 0;
    bool stopped = false;  // ended by stopRequested: the counts are those of the rows written
    // Copies that should be in the result folders and are not: the copy failed (a full disk, a
    // folder that cannot be written, a file that vanished) or its target held something that is no
    // copy of this run. A copy left out because a file of the same name came first is no missing
    // copy. Each has a log line naming the file and the reason.
    int missingCopies = 0;
    // Files of earlier runs that could not be deleted from the result folders, each with a log line;
    // not counted in missingCopies (an old file is no copy of this run).
    int undeletedFiles = 0;
};

// The batch run over every file below the photo folder: the result folders are created when missing
// and emptied of files, the table pictureMsg is emptied, and every file is judged, copied into the
// passed or the failed folder (never overwriting) and written as one row, in the order of the folder
// walk. At the end the results are reopened on the query with the verdict filter.
//
// Refused with BatchRefused (a Chinese message for the operator), before any file is deleted or the
// table is touched: debug mode, no folder chosen, another run holding the working folder's lock, a
// photo folder that does not exist or is no folder, a photo folder inside a result folder (its own, or
// any folder named "合格照片" or "不合格照片"), a result folder that is a link, and a table pictureMsg that
// cannot be read and written (the message then ends with the engine's). A result folder that cannot be
// created raises FileSystemError, also before anything is deleted. A database error later ends the run with
// the rows written so far kept. A file that cannot be read fails with its own reason and the run goes on.
//
// Copies that fail and old files that cannot be deleted do not stop the run: each gets a log line,
// they are counted in the summary, and the last log line says how many (see copiesNotice). Entries
// the walk passes over (a folder that cannot be read, a path too long for the system, a special
// file) get a log line before the count line.
//
// A stop request ends the run before the next photo is stored: every row written so far stays, the
// photos judged ahead leave neither row nor copy, and the closing steps (results reopened, counts,
// summary line, preview) are left out; the copies notice, when there is one, still ends the log. The
// preparation honours it too, between its steps and within the emptying of the result folders and the
// folder walk: what it had not reached yet (old files, the table's rows) stays as it was.
//
// PreviewEnabled: false from the start; true again after the refusal for debug mode and at the end of a
// completed run. A refusal for no folder chosen leaves it false; the other refusals give it back the
// value it had when the run was asked for.
BatchSummary RunBatch(Query& adoPicMsg, const BatchOptions& options, const BatchEvents& events,
                      BatchState& state);

// Photos judged side by side unless the operator says otherwise: one per core, but not so many that
// the photos in work outgrow a small memory.
int defaultBatchThreads();

// The lines of the log pane. A line that names a file shows the control characters of the name
// escaped (withControlsEscaped): a name can neither drive a terminal nor make a line of its own.
std::string countLine(int total);
std::string photoDoneLine(int processed);
std::string unreadableLine(const std::string& path, const std::string& message);
std::string summaryLine(int32_t passRate, int passed, int failed);
std::string passedOverLine(const std::string& path, const std::string& reason);
std::string missingCopyLine(const std::string& path, bool passed, const std::string& reason);
std::string undeletedLine(const std::string& path, const std::string& reason);

// What the operator must be told after a run whose result folders are not as they should be: how
// many copies are missing and how many old files stayed; empty when both counts are 0. The run ends
// its log with it; the window also shows it in a message box, the command line exits with status 2.
std::string copiesNotice(const BatchSummary& summary);

// The statement that reopens the results: all rows for "全部", otherwise the rows of one verdict.
std::string resultsStatement(const std::string& verdictFilter);

}  // namespace photocheck
