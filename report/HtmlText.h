#pragma once
#include <string>

namespace photocheck {

// Text for an HTML page: the five special characters as entities, and bytes that are not UTF-8
// (a file name in another encoding) as U+FFFD, so the page stays valid whatever a name holds.
std::string htmlEscaped(const std::string& text);

// The bytes in base64 (RFC 4648, with padding), for a data: URI.
std::string base64(const std::string& bytes);

}  // namespace photocheck
