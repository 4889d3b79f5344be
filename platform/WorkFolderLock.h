#pragma once
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

// A lock on a working folder, held while the object lives. It is the kernel's lock (flock) on the
// file "photocheck.lock" in that folder, so it ends with the process that holds it, however that
// process ends (a crash or a kill included); the file itself stays and means nothing on its own.
// Taking the lock never waits: a folder locked by another holder (another process, or another
// WorkFolderLock in this one) raises WorkFolderBusy; a lock file that cannot be opened raises
// std::runtime_error. Both messages are in Chinese and name the folder.
class WorkFolderLock {
  public:
    explicit WorkFolderLock(const std::string& workFolder);
    ~WorkFolderLock();
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace photocheck
