#pragma once
#include "platform/OperatorError.h"

namespace photocheck {

// A file or folder that cannot be created, opened or examined; the message names the path and the
// system's reason.
class FileSystemError : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

}  // namespace photocheck
