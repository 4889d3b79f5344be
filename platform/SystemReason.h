#pragma once
#include <string>

namespace photocheck {

// The system's reason for an error number as the operator reads it: a Chinese explanation first, the
// system's own text after it, for example "文件或文件夹不存在：No such file or directory".
std::string systemReason(int error);

}  // namespace photocheck
