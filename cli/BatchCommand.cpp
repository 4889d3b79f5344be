#include "cli/BatchCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <ostream>
#include <streambuf>

#include "batch/BatchRun.h"
#include "batch/OperatorMessage.h"
#include "batch/RowsCsv.h"
#include "batch/Workspace.h"
#include "cli/BatchReport.h"
#include "cli/ProgressBar.h"
#include "cli/ResultsTable.h"
#include "platform/OperatorError.h"
#include "store/Database.h"

namespace photocheck {
namespace {

// No one to ask: a file the package would replace and that could not be deleted is kept.
WorkspacePrompts promptsOn(std::ostream& err) {
    WorkspacePrompts prompts;
    prompts.zipError = [&err](const std::string& caption, const std::string& text) {
        err << caption << "：" << text << '\n';
    };
    prompts.tell = [&err](const std::string& message) { err << message << '\n'; };
    return prompts;
}

BatchEvents eventsFor(ProgressBar& bar) {
    BatchEvents events;
    events.onLogLine = [&bar](const std::string& line) { bar.printLine(line); };
    events.onProgressStart = [&bar](int total) { bar.start(total); };
    events.onPhotoDone = [&bar](int processed, const std::string& line) { bar.photoDone(processed, line); };
    return events;
}

// Writes what a stream is given to a file descriptor in blocks; a failed write is kept in `error`.
class DescriptorBuffer : public std::streambuf {
  public:
    explicit DescriptorBuffer(int fd) : fd_(fd) { setp(block_, block_ + sizeof block_); }
    int error = 0;

  protected:
    int overflow(int c) override {
        if (!drain()) return traits_type::eof();
        if (c != traits_type::eof()) sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        for (const char* at = pbase(); at < pptr();) {
            const ssize_t n = ::write(fd_, at, static_cast<size_t>(pptr() - at));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = errno;
                return false;
            }
            at += n;
        }
        setp(block_, block_ + sizeof block_);
        return true;
    }

    int fd_;
    char block_[64 * 1024];
};

// The CSV file, opened before the run so that a path that cannot be written stops the command before
// the run replaces rows and copies. It is emptied when the rows are written, which go to it as they
// are read, none kept; a file this command created and never wrote is removed again.
class CsvFile {
  public:
    explicit CsvFile(const std::string& path) : path_(path) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created_ = fd_ >= 0;
        if (!created_ && errno == EEXIST) fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) fail();
    }
    ~CsvFile() {
        if (fd_ >= 0) ::close(fd_);
        if (created_ && !written_) ::unlink(path_.c_str());
    }
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    void write(const Query& results) {
        struct stat st {};
        if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(fd_, 0) != 0) fail();
        DescriptorBuffer buffer(fd_);
        std::ostream csv(&buffer);
        writeRowsCsv(results, csv);
        csv.flush();
        if (!csv) {
            errno = buffer.error;
            fail();
        }
        written_ = true;
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail();
    }

  private:
    [[noreturn]] void fail() const {
        throw OperatorError("无法写入 CSV 文件 " + path_ + "（" + std::strerror(errno) + "）");
    }

    std::string path_;
    int fd_ = -1;
    bool created_ = false;
    bool written_ = false;
};

}  // namespace

int runBatchCommand(const BatchCommandOptions& options, std::ostream& out, std::ostream& err) {
    ProgressBar bar(out, options.terminal);
    try {
        std::unique_ptr<CsvFile> csv;
        if (!options.csvFile.empty()) csv = std::make_unique<CsvFile>(options.csvFile);
        const WorkspacePrompts prompts = promptsOn(err);
        const Workspace workspace = Workspace::open(options.workFolder, prompts);

        BatchOptions run;
        run.photoFolder = chosenPhotoFolder(options.folder);
        run.checks.cbEyesLets = options.pupils;
        run.checks.params = workspace.readThresholds(prompts.tell);
        run.verdictFilter = options.verdict;
        run.threads = options.threads;
        run.workFolder = workspace.folder();
        BatchEvents events = eventsFor(bar);
        const std::unique_ptr<RunReport> report = startReport(options.reportFile, run, events);
        Query adoPicMsg(workspace.database());
        BatchState state;
        const BatchSummary summary = RunBatch(adoPicMsg, run, events, state);
        if (report) finishReport(*report, options.reportFile, run, summary, out);

        if (csv) csv->write(adoPicMsg);
        if (options.showResults) printResultsTable(adoPicMsg, out);
        return summary.missingCopies > 0 || summary.undeletedFiles > 0 ? 2 : 0;
    } catch (const std::exception& e) {
        bar.interrupt();
        out.flush();
        err << operatorMessage(e) << '\n';
        return 1;
    }
}

}  // namespace photocheck
