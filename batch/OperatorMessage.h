#pragma once
#include <exception>
#include <string>

namespace photocheck {

// The text the operator is shown for an error that ends a run or a command, in the program's own
// words. An OperatorError is in them already and is shown as it stands; any other error gets a
// Chinese sentence for its kind with the system's or the engine's own text after it, for example
// "数据库出错（no such table: pictureMsg）".
std::string operatorMessage(const std::exception& error);

}  // namespace photocheck
