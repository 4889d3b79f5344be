#pragma once
#include <memory>
#include <stdexcept>
#include <string>

#include "store/Database.h"

namespace photocheck {

// Start-up cannot go on; the operator has been told why.
class ProgramEnds : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The data module: the working folder and the one database connection, created before any window.
class Tdm {
  public:
    // DataModuleCreate: prepares the working folder (the system's one when none is asked for),
    // installs the working files from the package when one is missing (under the folder's lock, so
    // never while a run works there), then opens the database. An installation error, a busy folder
    // included, is shown and passed over, as the database may still be there; a database that does not
    // open shows "找不到数据库，程序将退出" with the engine's reason and raises ProgramEnds, as does a
    // working folder that is refused (see prepareWorkFolder).
    Tdm(const std::string& requestedWorkFolder, const std::string& packagePath);

    const std::string& workFolder() const { return workFolder_; }  // with its final separator
    Database& ADOConnection1() { return *connection_; }

  private:
    std::string workFolder_;
    std::unique_ptr<Database> connection_;
};

}  // namespace photocheck
