#pragma once
#include <string>

namespace photocheck {

// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD, the same replacement
// the JSON lines of "photocheck-cli check" make, so the two outputs agree on every name.
std::string validUtf8(const std::string& bytes);

}  // namespace photocheck
