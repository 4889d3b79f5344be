#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace photocheck {

inline const char* const IniReadErrorMessage = "读取配置文件出错!";
inline const char* const NotGbkReason =
    "文件不是 GBK 编码（它看来是 UTF-8 的）：请把它存为 GBK，例如 iconv -f UTF-8 -t GBK 原文件 > 新文件";

// The largest profile file that is read; a larger one counts as unreadable.
inline constexpr uint64_t MaxProfileBytes = 1024 * 1024;

// Receives the message of a profile file that exists but cannot be read.
using IniErrorReport = std::function<void(const std::string& message)>;

// Reads one key of a profile (INI) file written in the GBK code page. The section and the key are
// given in UTF-8 and found without regard to ASCII letter case; the value comes back in UTF-8 with
// the blanks around it removed. A missing file, section or key gives the empty text. A file that
// exists but cannot be read (no regular file, larger than MaxProfileBytes, holding a value that is not
// GBK, or written in UTF-8: the key is missing but there in its UTF-8 bytes, NotGbkReason) reports
// IniReadErrorMessage, followed by the file and the reason in brackets, and gives the empty text.
std::string ReadIniString(const std::string& fileName, const std::string& section, const std::string& key,
                          const IniErrorReport& report = {});

}  // namespace photocheck
