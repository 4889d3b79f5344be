#pragma once
#include <stdexcept>
#include <string>

#include "batch/Workspace.h"
#include "platform/OperatorError.h"

namespace photocheck {

// Start-up cannot go on; the operator has been told why.
class ProgramEnds : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// The data module: the working folder and the one database connection, created before any window.
class Tdm {
  public:
    // DataModuleCreate: the window's start through Workspace::open, its questions and messages in
    // message boxes. An installation error is shown and passed over, as the database may still be
    // there; a database that does not open shows "找不到数据库，程序将退出" with the engine's reason
    // and raises ProgramEnds, as does a working folder that is refused.
    Tdm(const std::string& requestedWorkFolder, const std::string& packagePath);

    const std::string& workFolder() const { return workspace_.folder(); }  // with its final separator
    Database& ADOConnection1() { return workspace_.database(); }

  private:
    Workspace workspace_;
};

}  // namespace photocheck
