#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "batch/JudgePhoto.h"
#include "batch/ResultFolders.h"
#include "store/Database.h"

namespace photocheck {

inline const char* const AllVerdicts = "全部";
inline const char* const LeaveDebugModeMessage = "请退出调试模式";
inline const char* const ChooseFolderMessage = "请选择照片路径的文件夹！！";

// A run that does not start; the message is for the operator.
class BatchRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct BatchOptions {
    std::string photoFolder;  // as chosen: no final separator except for a root; empty when none is chosen
    std::optional<ResultFolders> resultFolders;  // beside the photo folder unless given
    CheckSettings checks;                        // with debug mode on the run refuses to start
    std::string verdictFilter = AllVerdicts;     // the verdict filter the results are reopened with
    int threads = 1;                             // photos judged side by side (see defaultBatchThreads)
    // Asked before each photo is stored; once true, the run stops after the photos in work (see RunBatch).
    std::function<bool()> stopRequested;
};

// What the run shows while it works, in the order it happens. Every callback may be left empty.
struct BatchEvents {
    std::function<void()> onCleared;                         // the log pane and the two count panels
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
};

// The batch run over every file below the photo folder: the result folders are created when missing
// and emptied of files, the table pictureMsg is emptied, and every file is judged, copied into the
// passed or the failed folder (never overwriting) and written as one row, in the order of the folder
// walk. At the end the results are reopened on the query with the verdict filter. Raises BatchRefused
// for debug mode, a missing choice or a photo folder inside a result folder, FileSystemError when the
// photo folder is missing or a result folder cannot be created, and the database's errors, which end
// the run with the rows written so far kept. A file that cannot be read fails with its own reason and
// the run goes on. A stop request ends the run before the next photo is stored: every row written so
// far stays, the photos judged ahead leave neither row nor copy, and the closing steps (results
// reopened, counts, summary line, preview) are left out.
BatchSummary RunBatch(Query& adoPicMsg, const BatchOptions& options, const BatchEvents& events,
                      BatchState& state);

// Photos judged side by side unless the operator says otherwise: one per core, but not so many that
// the photos in work outgrow a small memory.
int defaultBatchThreads();

// The lines of the log pane.
std::string countLine(int total);
std::string photoDoneLine(int processed);
std::string unreadableLine(const std::string& path, const std::string& message);
std::string summaryLine(int32_t passRate, int passed, int failed);

// The statement that reopens the results: all rows for "全部", otherwise the rows of one verdict.
std::string resultsStatement(const std::string& verdictFilter);

}  // namespace photocheck
