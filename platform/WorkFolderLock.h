#pragma once
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/OperatorError.h"

namespace photocheck {

inline const char* const LockFileName = "photocheck.lock";

// The lock is held elsewhere: another run works on the same working folder.
class WorkFolderBusy : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// A lock on a working folder, held while the object lives. It is the system's lock on the file
// "photocheck.lock" in that folder (flock on Linux, LockFileEx on Windows), so it ends with the
// process that holds it, however that process ends (a crash or a kill included); the file itself
// stays and means nothing on its own. Taking the lock never waits: a folder locked by another holder
// (another process, or another WorkFolderLock in this one) raises WorkFolderBusy; a lock file that
// cannot be opened raises OperatorError. Both messages are in Chinese and name the folder.
class WorkFolderLock {
  public:
    explicit WorkFolderLock(const std::string& workFolder);
    ~WorkFolderLock();
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

  private:
    struct Held;
    std::unique_ptr<Held> held_;
};

// The message of WorkFolderBusy for a folder (with its final separator).
std::string workFolderBusyMessage(const std::string& folder);

}  // namespace photocheck
