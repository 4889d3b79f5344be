#pragma once
#include <string>
#include <vector>

#include "batch/RowsCsv.h"
#include "platform/WholeFile.h"
#include "store/Database.h"

namespace photocheck {

// The CSV file of a command (--csv). Opened before the command changes anything, so that a path that
// cannot be written stops it at once; then the rows of a query are written into it (writeRowsCsv).
// An existing file is replaced only once the new content is complete: a command that fails, before or
// while it writes, leaves it as it was. Failures raise FileSystemError "无法写入 CSV 文件 FILE（reason）".
class CsvFile {
  public:
    explicit CsvFile(const std::string& path) : file_(path, "CSV 文件") {}

    // Where it writes, for the run to leave out of its walk.
    std::vector<std::string> pathsWritten() const { return file_.pathsWritten(); }

    void write(const Query& rows) {
        writeRowsCsv(rows, file_.stream());
        file_.commit();
    }

  private:
    WholeFile file_;
};

}  // namespace photocheck
