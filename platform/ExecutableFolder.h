#pragma once
#include <string>

namespace photocheck {

// The folder of the running executable, with its final separator.
std::string executableFolder();

}  // namespace photocheck
