#pragma once
#include <stdexcept>

namespace photocheck {

// A file or folder that cannot be created, opened or examined; the message names the path and the
// system's reason.
class FileSystemError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace photocheck
