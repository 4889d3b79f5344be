#pragma once
#include <string>

namespace photocheck {

// Conversions between UTF-8 and the GBK code page (936), the code page of the parameter file and of
// ZIP member names. Bytes that cannot be converted raise std::runtime_error.
std::string utf8ToGbk(const std::string& utf8);
std::string gbkToUtf8(const std::string& gbk);

}  // namespace photocheck
