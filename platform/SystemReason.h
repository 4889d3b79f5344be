#pragma once
#include <string>

namespace photocheck {

// The system's reason for an error number as the operator reads it: a Chinese explanation first, the
// system's own text after it, for example "文件或文件夹不存在：No such file or directory".
std::string systemReason(int error);

// The same for a reason the system gave in its own words (the Windows calls' messages), with the error
// number that means the same.
std::string explainedReason(int error, const std::string& systemText);

}  // namespace photocheck
