#pragma once
#include <exception>
#include <string>

namespace photocheck {

// The text the operator is shown for an error that ends a run or a command, in the program's own
// words: a message that is already the program's (Chinese) as it stands, otherwise a Chinese
// sentence for the kind of error with the system's own text after it, for example
// "数据库出错（no such table: pictureMsg）".
std::string operatorMessage(const std::exception& error);

}  // namespace photocheck
