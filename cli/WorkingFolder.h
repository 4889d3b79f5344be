#pragma once
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "store/Database.h"

namespace photocheck {

// A message a command cannot go on after; already in the operator's words.
class CommandFailed : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The working folder of a command, made ready as the window does at start: the given folder (the
// system's default one when empty; refused unless private, see prepareWorkFolder), the working files
// installed from the package beside the program where one is missing, under the folder's lock (an
// installation error is shown on err and passed over: the database may still be there), and the
// database opened; raises CommandFailed with DatabaseMissingMessage and the engine's reason when it
// does not open.
struct WorkingFolder {
    std::string folder;  // with its final separator
    std::unique_ptr<Database> database;
};
WorkingFolder openWorkingFolder(const std::string& workFolderOption, std::ostream& err);

// Refuses, before anything is written, an output file (`what` names it: "CSV 文件") that is one of
// the working files of the working folder the option names (the database, for one).
void refuseWorkingFileAsOutput(const std::string& path, const char* what,
                               const std::string& workFolderOption);

}  // namespace photocheck
