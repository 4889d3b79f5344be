#pragma once
#include <stdexcept>

namespace photocheck {

// An error whose message is already in the operator's words (Chinese, naming what and why): it is
// shown as it stands. Other errors carry the system's or the engine's text and are put into the
// operator's words where they are shown (operatorMessage).
class OperatorError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace photocheck
